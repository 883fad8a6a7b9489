#include "core/recording/body_scan.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif
#include <string_view>

#include "core/recording/game_clock.h"
#include "core/recording/tech_table.h"

namespace q2 {
namespace {

// The followed technologies by their id's two bytes, for the scan's quick test.
struct TechIdBytes {
  bool v[2][256] = {};
  constexpr TechIdBytes() {
    for (const TrackedTech& t : kTrackedTechs) v[t.techId >> 8][t.techId & 0xFF] = true;
  }
};
constexpr TechIdBytes kTechIds;

void RecordResearch(ReplayDocument& doc, int player, int tech, size_t j, size_t length) {
  const int category = CategoryOfTech(tech);
  if (category != kCategoryEconomy && category != kCategoryBlacksmith) return;
  ResearchList& list = category == kCategoryEconomy ? doc.economyResearch[player - 1]
                                                    : doc.blacksmithResearch[player - 1];
  const int icon = IconForTech(tech);
  const double when = static_cast<double>(j) / static_cast<double>(length);
  for (int i = 0; i < list.count; ++i) {
    if (list.entries[i].iconId == icon) {
      list.entries[i].when = when;
      list.entries[i].position = static_cast<uint32_t>(j);
      return;
    }
  }
  if (list.count < kResearchListMax) list.entries[list.count++] = {icon, when, static_cast<uint32_t>(j)};
}

// Finds the FF bytes of a body, and its '#' bytes while `hash` is on, in
// one pass: two searches would each read the whole body. Hits are some
// hundred bytes apart, so a 64-byte block's hits are found at once and
// handed out in order.
class HitFinder {
 public:
  HitFinder(const uint8_t* b, size_t n, bool hash) : b_(b), n_(n), other_(hash ? '#' : 0xFF) {}

  void stopHash() {
    other_ = 0xFF;
    base_ = kNone;
  }

  // The first hit at or after `from`; n when none. `from` never goes back.
  size_t next(size_t from) {
    if (from >= n_) return n_;
    size_t base = from & ~size_t{63};
    uint64_t m = (base == base_ ? bits_ : hitsAt(base)) & (~uint64_t{0} << (from - base));
    while (m == 0) {
      base += 64;
      if (base >= n_) return n_;
      m = hitsAt(base);
    }
    base_ = base;
    bits_ = m;
    return base + static_cast<size_t>(std::countr_zero(m));
  }

 private:
  static constexpr size_t kNone = ~size_t{0};

  uint64_t hitsAt(size_t at) const {
#if defined(__SSE2__) || defined(_M_X64)
    if (at + 64 <= n_) {
      const __m128i ff = _mm_set1_epi8(static_cast<char>(0xFF));
      const __m128i other = _mm_set1_epi8(static_cast<char>(other_));
      const uint8_t* p = b_ + at;
      auto bits = [&](int i) -> uint64_t {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        return static_cast<uint16_t>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, ff), _mm_cmpeq_epi8(v, other))));
      };
      return bits(0) | bits(16) << 16 | bits(32) << 32 | bits(48) << 48;
    }
#endif
    uint64_t m = 0;
    const size_t end = std::min(n_, at + 64);
    for (size_t i = at; i < end; ++i)
      if (b_[i] == 0xFF || b_[i] == other_) m |= uint64_t{1} << (i - at);
    return m;
  }

  const uint8_t* const b_;
  const size_t n_;
  uint8_t other_;  // '#' while chat is wanted, else FF again
  size_t base_ = kNone;
  uint64_t bits_ = 0;  // hits of the block at base_ not yet handed out
};

// Research at j: the player byte before it, the technology id, the -1.
void ResearchAt(ReplayDocument& doc, const uint8_t* body, size_t length, size_t j) {
  if (j < 1) return;
  const int player = static_cast<int8_t>(body[j - 1]);
  if (player < 1 || player > 8) return;
  const uint8_t lo = body[j + 1], hi = body[j + 2];
  if (hi <= 1 && kTechIds.v[hi][lo]) RecordResearch(doc, player, hi << 8 | lo, j, length);
}

void AgeAt(ReplayView& view, const uint8_t* body, size_t length, size_t j) {
  if (j >= 1 && j + 7 < length && body[j + 1] >= kTechFeudal && body[j + 1] <= kTechImperial && body[j + 2] == 0)
    RecordAgeAdvance(view, static_cast<int8_t>(body[j - 1]), body[j + 1], static_cast<uint32_t>(j));
}

// A chat line at j, where the scan found an "@#".
void ChatAt(ReplayView& view, const uint8_t* body, size_t length, size_t j) {
  static constexpr char kWarning[] = "--\x8C\x78\x8D\x90";  // "--警告"
  if (body[j + 2] < '1' || body[j + 2] > '8') return;
  const std::string_view line = ChatLineAt(body + j + 3, body + length);
  const auto pos = static_cast<uint32_t>(j);
  // Every line shown gets a position, also those a CR LF in the text splits
  // off: they all take the record's.
  if (line.substr(0, 6) != std::string_view(kWarning, 6))
    view.ingameChatFilteredPos.insert(view.ingameChatFilteredPos.end(), view.ingameChatFiltered.appendLine(line), pos);
  view.ingameChatPos.insert(view.ingameChatPos.end(), view.ingameChat.appendLine(line), pos);
}

// One pass over the body for two bytes: an FF (research and age commands
// end with a 32-bit -1 at j + 3 … j + 6, after a zero byte at j) and the
// "#" of an "@#" (chat lines). A null doc or view leaves its part out.
void Scan(ReplayDocument* doc, ReplayView* view, const uint8_t* body, size_t length) {
  const bool anchors = doc || view;
  auto chatWanted = [&] { return view && !(view->ingameChat.full() && view->ingameChatFiltered.full()); };
  if (length < 3 || (!anchors && !chatWanted())) return;
  HitFinder find(body, length, chatWanted());
  // A "#" at 0 has no "@" before it.
  for (size_t h = find.next(1); h < length;) {
    if (body[h] == '#') {
      const size_t at = h - 1;
      if (body[at] == '@' && at + 2 < length && chatWanted()) {
        ChatAt(*view, body, length, at);
        if (!chatWanted()) {
          if (!anchors) return;
          find.stopHash();
        }
      }
      h = find.next(h + 1);
      continue;
    }
    const size_t k = h;
    // FF bytes before 3 can't end a command.
    if (!anchors || k < 3) {
      h = find.next(k + 1);
      continue;
    }
    if (k + 3 >= length) {
      if (!chatWanted()) return;
      h = find.next(k + 1);
      continue;
    }
    const size_t j = k - 3;
    if (body[k + 1] == 0xFF && body[k + 2] == 0xFF && body[k + 3] == 0xFF && body[j] == 0) {
      if (doc) ResearchAt(*doc, body, length, j);
      if (view) AgeAt(*view, body, length, j);
    }
    // Both patterns need a technology's high byte of 0 or 1 just before
    // their FF run, so only the first FF of a run can start one: the search
    // goes on behind the run.
    size_t after = k + 1;
    while (after < length && body[after] == 0xFF) ++after;
    h = find.next(after);
  }
}

}  // namespace

void ResearchScan(ReplayDocument& doc, const uint8_t* body, size_t length) {
  doc.clearResearch();
  Scan(&doc, nullptr, body, length);
}

bool RecordAgeAdvance(ReplayView& v, int player, int tech, uint32_t position) {
  if (player < 1 || player > 8 || tech < kTechFeudal || tech > kTechImperial) return true;
  const int age = tech - kTechFeudal;
  uint8_t& rank = age == kFeudal ? v.feudalRank[player - 1]
                  : age == kCastle ? v.castleRank[player - 1]
                                   : v.imperialRank[player - 1];
  if (rank != 0) return true;
  int32_t& counter = age == kFeudal ? v.feudalCount : age == kCastle ? v.castleCount : v.imperialCount;
  v.ageTimes[player - 1][age] = position + kAgeTimeOffset;
  rank = static_cast<uint8_t>(++counter);
  return true;
}

void BodyEventScan(ReplayView& view, const uint8_t* body, size_t length) { Scan(nullptr, &view, body, length); }

void ScanBody(ReplayDocument& doc, ReplayView& view, const uint8_t* body, size_t length) {
  doc.clearResearch();
  Scan(&doc, &view, body, length);
}

void TimeBodyEvents(ReplayDocument& doc, ReplayView& view, const uint8_t* body, size_t length,
                    const ClockIndex& index) {
  auto at = [&](size_t pos) { return TimeAt(body, length, index, pos); };
  for (int slot = 0; slot < kSlots; ++slot) {
    for (int age = 0; age < 3; ++age)
      view.ageClickMs[slot][age] = view.ageTimes[slot][age] ? at(view.ageTimes[slot][age] - kAgeTimeOffset) : 0;
    for (auto* lists : {&doc.economyResearch, &doc.blacksmithResearch}) {
      ResearchList& l = (*lists)[slot];
      for (int i = 0; i < l.count; ++i) l.entries[i].ms = at(l.entries[i].position);
    }
  }
  // A line past where an incomplete clock stopped has no time: the last
  // known one would look exact and be wrong.
  auto lineAt = [&](size_t pos) { return !index.clock.complete && pos >= index.stop ? kUnknownTime : at(pos); };
  view.ingameChatMs.clear();
  view.ingameChatFilteredMs.clear();
  for (uint32_t pos : view.ingameChatPos) view.ingameChatMs.push_back(lineAt(pos));
  for (uint32_t pos : view.ingameChatFilteredPos) view.ingameChatFilteredMs.push_back(lineAt(pos));
  view.gameDurationMs = index.clock.durationMs;
  view.clockComplete = index.clock.complete;
}

void TimeBodyEvents(ReplayDocument& doc, ReplayView& view, const uint8_t* body, size_t length, Edition edition) {
  TimeBodyEvents(doc, view, body, length, IndexGameClock(body, length, edition));
}

}  // namespace q2
