#include "core/recording/body_scan.h"

#include <cstring>
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

// The first position at or after `from` holding `byte`; n when none.
size_t Find(const uint8_t* b, size_t n, size_t from, uint8_t byte) {
  if (from >= n) return n;
  const void* p = std::memchr(b + from, byte, n - from);
  return p ? static_cast<size_t>(static_cast<const uint8_t*>(p) - b) : n;
}

// The next "@#" with its "@" at or after `from`, found by the "#", which is
// the rarer byte in a body; n - 1 when none.
size_t FindChat(const uint8_t* b, size_t n, size_t from) {
  for (size_t h = Find(b, n, from + 1, '#');; h = Find(b, n, h + 1, '#'))
    if (h == n || b[h - 1] == '@') return h - 1;
}

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

// A chat line at j, where FindChat found an "@#".
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

// One pass over the body with two cursors: the next FF byte (research and
// age commands end with a 32-bit -1 at j + 3 … j + 6, after a zero byte at
// j) and the next "@#" (chat lines). What they find is independent, so which
// of two nearby matches goes first doesn't matter. A null doc or view
// leaves its part out.
void Scan(ReplayDocument* doc, ReplayView* view, const uint8_t* body, size_t length) {
  if (length < 3) return;
  size_t k = doc || view ? Find(body, length, 3, 0xFF) : length;
  size_t at = view ? FindChat(body, length, 0) : length;
  while (true) {
    const bool anchorLeft = k + 3 < length;
    const bool chatLeft =
        view && at + 2 < length && !(view->ingameChat.full() && view->ingameChatFiltered.full());
    if (!anchorLeft && !chatLeft) return;
    if (anchorLeft && (!chatLeft || k - 3 <= at)) {
      const size_t j = k - 3;
      if (body[k + 1] == 0xFF && body[k + 2] == 0xFF && body[k + 3] == 0xFF && body[j] == 0) {
        if (doc) ResearchAt(*doc, body, length, j);
        if (view) AgeAt(*view, body, length, j);
      }
      // Both patterns need a technology's high byte of 0 or 1 just before
      // their FF run, so only the first FF of a run can start one: the
      // search goes on behind the run.
      size_t next = k + 1;
      while (next < length && body[next] == 0xFF) ++next;
      k = Find(body, length, next, 0xFF);
    } else {
      ChatAt(*view, body, length, at);
      at = FindChat(body, length, at + 1);
    }
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
