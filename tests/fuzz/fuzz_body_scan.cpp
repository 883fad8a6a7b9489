// ResearchScan and BodyEventScan over arbitrary command bodies.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/recording/body_scan.h"

namespace {
void CheckList(const q2::ResearchList& l, int max) {
  if (l.count < 0 || l.count > max) std::abort();
  for (int i = 0; i < l.count; ++i) {
    if (!(l.entries[i].when >= 0.0 && l.entries[i].when < 1.0)) std::abort();
    for (int k = 0; k < i; ++k)
      if (l.entries[k].iconId == l.entries[i].iconId) std::abort();
  }
}
// The text's limits, and one position for each line it shows (split at
// CR LF, as the chat pane and the JSON split it).
void CheckChat(const q2::ChatText& c, const std::vector<uint32_t>& positions) {
  const std::string& s = c.str();
  if (s.size() >= q2::kChatTextSize) std::abort();
  if (!s.empty() && s.compare(s.size() - 2, 2, "\r\n") != 0) std::abort();
  size_t lines = 0;
  for (size_t at = s.find("\r\n"); at != std::string::npos; at = s.find("\r\n", at + 2)) ++lines;
  if (lines != positions.size()) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  q2::ReplayDocument doc;
  q2::ResearchScan(doc, data, size);
  for (int s = 0; s < q2::kSlots; ++s) {
    CheckList(doc.economyResearch[s], 13);
    CheckList(doc.blacksmithResearch[s], 15);
  }
  q2::ReplayView view;
  q2::BodyEventScan(view, data, size);
  CheckChat(view.ingameChat, view.ingameChatPos);
  CheckChat(view.ingameChatFiltered, view.ingameChatFilteredPos);
  // The filtered text is the full one without the warnings; only when the
  // full one had to drop lines may the filtered one hold more.
  const size_t all = view.ingameChat.str().size(), filtered = view.ingameChatFiltered.str().size();
  if (all + 256 < q2::kChatTextSize - 1 && filtered > all) std::abort();
  // The display step's single pass finds the same.
  q2::ReplayDocument doc2;
  q2::ReplayView view2;
  q2::ScanBody(doc2, view2, data, size);
  for (int s = 0; s < q2::kSlots; ++s) {
    for (const auto& [a, b] : {std::make_pair(&doc.economyResearch[s], &doc2.economyResearch[s]),
                               std::make_pair(&doc.blacksmithResearch[s], &doc2.blacksmithResearch[s])}) {
      if (a->count != b->count) std::abort();
      for (int i = 0; i < a->count; ++i)
        if (!(a->entries[i] == b->entries[i])) std::abort();
    }
  }
  if (view2.ageTimes != view.ageTimes || view2.castleRank != view.castleRank ||
      view2.ingameChat.str() != view.ingameChat.str() ||
      view2.ingameChatFiltered.str() != view.ingameChatFiltered.str())
    std::abort();
  const int32_t counts[3] = {view.feudalCount, view.castleCount, view.imperialCount};
  for (int a = 0; a < 3; ++a) {
    if (counts[a] < 0 || counts[a] > 8) std::abort();
    const auto& ranks = a == 0 ? view.feudalRank : a == 1 ? view.castleRank : view.imperialRank;
    int seen = 0;
    for (int s = 0; s < q2::kSlots; ++s) {
      if (ranks[s] > counts[a]) std::abort();
      if ((ranks[s] != 0) != (view.ageTimes[s][a] != 0)) std::abort();
      if (ranks[s] && view.ageTimes[s][a] - q2::kAgeTimeOffset + 7 >= size) std::abort();
      seen += ranks[s] != 0;
    }
    if (seen != counts[a]) std::abort();
  }
  // The game clock over the same bytes, in both games' layouts: every time
  // asked for is at most the game's length, and times never go back along
  // the body.
  for (q2::Edition edition : {q2::Edition::Conquerors, q2::Edition::Kings}) {
    q2::TimeBodyEvents(doc2, view2, data, size, edition);
    if (view2.ingameChatMs.size() != view2.ingameChatPos.size()) std::abort();
    for (size_t i = 0; i < view2.ingameChatMs.size(); ++i) {
      if (view2.ingameChatMs[i] > view2.gameDurationMs) std::abort();
      if (i && view2.ingameChatMs[i] < view2.ingameChatMs[i - 1]) std::abort();
    }
    for (const auto& slot : view2.ageClickMs)
      for (uint64_t t : slot)
        if (t > view2.gameDurationMs) std::abort();
  }
  return 0;
}
