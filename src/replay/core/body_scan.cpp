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

void BodyEventScan(ReplayView& view, const uint8_t* body, size_t length) {
  if (length < 3) return;
  ForEachMinusOneAnchor(body, length, [&](size_t j) {
    const uint8_t tech = body[j + 1];
    if (j >= 1 && j + 7 < length && tech >= kTechFeudal && tech <= kTechImperial && body[j + 2] == 0)
      RecordAgeAdvance(view, static_cast<int8_t>(body[j - 1]), tech, static_cast<uint32_t>(j));
  });

  static constexpr char kWarning[] = "--\x8C\x78\x8D\x90";  // "--警告"
  const uint8_t* end = body + length;
  const uint8_t* p = body;
  while (p < end - 2) {
    p = static_cast<const uint8_t*>(std::memchr(p, '@', static_cast<size_t>(end - 2 - p)));
    if (!p) break;
    if (p[1] == '#' && p[2] >= '1' && p[2] <= '8') {
      const uint8_t* text = p + 3;
      const uint8_t* zero =
          static_cast<const uint8_t*>(std::memchr(text, 0, static_cast<size_t>(end - text)));
      std::string_view line(reinterpret_cast<const char*>(text),
                            static_cast<size_t>((zero ? zero : end) - text));
      if (line.substr(0, 6) != std::string_view(kWarning, 6)) view.ingameChatFiltered.appendLine(line);
      view.ingameChat.appendLine(line);
    }
    ++p;
  }
}

}  // namespace q2
