#include "body_scan.h"

#include <cstring>
#include <string_view>

#include "tech_table.h"

namespace q2 {
namespace {

// Calls f(j) for every j with body[j] == 0, body[j+3 … j+6] == FF and
// j + 6 inside the body, in increasing order. Research and age commands all
// end with a 32-bit -1; looking for that first keeps the pass fast.
template <typename F>
void ForEachMinusOneAnchor(const uint8_t* b, size_t n, F&& f) {
  if (n < 7) return;
  size_t k = 3;  // k = j + 3
  while (k + 3 < n) {
    const void* hit = std::memchr(b + k, 0xFF, n - 3 - k);
    if (!hit) return;
    k = static_cast<size_t>(static_cast<const uint8_t*>(hit) - b);
    if (b[k + 1] == 0xFF && b[k + 2] == 0xFF && b[k + 3] == 0xFF && b[k - 3] == 0) f(k - 3);
    ++k;
  }
}

struct TechLowBytes {
  bool v[256] = {};
  constexpr TechLowBytes() {
    for (int t : {12, 13, 14, 22, 55, 67, 68, 74, 75, 76, 77, 80, 81, 82, 182, 199, 200, 201, 202,
                  203, 211, 212, 213, 219, 221, 249})
      v[t] = true;
  }
};
constexpr TechLowBytes kTechLow;

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
      return;
    }
  }
  if (list.count < kResearchListMax) list.entries[list.count++] = {icon, when};
}

}  // namespace

void ResearchScan(ReplayDocument& doc, const uint8_t* body, size_t length) {
  doc.clearResearch();
  if (length == 0) return;
  ForEachMinusOneAnchor(body, length, [&](size_t j) {
    if (j < 1) return;
    const int player = static_cast<int8_t>(body[j - 1]);
    if (player < 1 || player > 8) return;
    const uint8_t lo = body[j + 1], hi = body[j + 2];
    if (kTechLow.v[lo] && hi == 0)
      RecordResearch(doc, player, lo, j, length);
    else if ((lo == 22 || lo == 23) && hi == 1)
      RecordResearch(doc, player, 256 + lo, j, length);
  });
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

namespace {
// The first position at or after `from` holding `byte`; length when none.
size_t Find(const uint8_t* b, size_t n, size_t from, uint8_t byte) {
  if (from >= n) return n;
  const void* p = std::memchr(b + from, byte, n - from);
  return p ? static_cast<size_t>(static_cast<const uint8_t*>(p) - b) : n;
}
}  // namespace

void BodyEventScan(ReplayView& view, const uint8_t* body, size_t length) {
  if (length < 3) return;
  static constexpr char kWarning[] = "--\x8C\x78\x8D\x90";  // "--警告"
  const uint8_t* end = body + length;
  // One pass with two cursors: the next FF byte (age commands end with a
  // 32-bit -1 at j + 3) and the next "@" (chat lines). Ages and chat are
  // independent, so which of two nearby matches goes first doesn't matter.
  size_t k = Find(body, length, 3, 0xFF);
  size_t at = Find(body, length, 0, '@');
  while (true) {
    const bool ageLeft = k + 3 < length;
    const bool chatLeft = at + 2 < length && !(view.ingameChat.full() && view.ingameChatFiltered.full());
    if (!ageLeft && !chatLeft) break;
    if (ageLeft && (!chatLeft || k - 3 <= at)) {
      const size_t j = k - 3;
      if (body[k + 1] == 0xFF && body[k + 2] == 0xFF && body[k + 3] == 0xFF && body[j] == 0 && j >= 1 &&
          j + 7 < length && body[j + 1] >= kTechFeudal && body[j + 1] <= kTechImperial && body[j + 2] == 0)
        RecordAgeAdvance(view, static_cast<int8_t>(body[j - 1]), body[j + 1], static_cast<uint32_t>(j));
      k = Find(body, length, k + 1, 0xFF);
    } else {
      if (body[at + 1] == '#' && body[at + 2] >= '1' && body[at + 2] <= '8') {
        const std::string_view line = ChatLineAt(body + at + 3, end);
        if (line.substr(0, 6) != std::string_view(kWarning, 6)) view.ingameChatFiltered.appendLine(line);
        view.ingameChat.appendLine(line);
      }
      at = Find(body, length, at + 1, '@');
    }
  }
}

}  // namespace q2
