#include "core/recording/replay_summary.h"

namespace q2 {

size_t ChatText::appendLine(std::string_view line) {
  if (full_) return 0;
  if (line.size() > kChatLineMax) line = line.substr(0, kChatLineMax);
  // One byte stays free for the terminating zero.
  if (text_.size() + line.size() + 2 > kChatTextSize - 1) {
    full_ = true;
    return 0;
  }
  text_.append(line);
  text_.append("\r\n");
  // A CR LF can't overlap another, so the text's own ones and the one
  // added are all found apart, whatever the text ends with.
  size_t lines = 1;
  for (size_t at = line.find("\r\n"); at != std::string_view::npos; at = line.find("\r\n", at + 2)) ++lines;
  return lines;
}

void ReplayDocument::clearHeaderFields() {
  recorderSlot = 0;
  playerTeams.fill(0);
  for (auto& n : playerNames) n.clear();
  game.clear();
}

void ReplayDocument::clearResearch() {
  for (auto& l : economyResearch) l = ResearchList{};
  for (auto& l : blacksmithResearch) l = ResearchList{};
}

void ReplayView::resetAgeRecords() {
  feudalCount = castleCount = imperialCount = 0;
  feudalRank.fill(0);
  castleRank.fill(0);
  imperialRank.fill(0);
  for (auto& t : ageTimes) t.fill(0);
  for (auto& t : ageClickMs) t.fill(0);
}

void ReplayView::clearIngameChat() {
  ingameChat.clear();
  ingameChatFiltered.clear();
  ingameChatPos.clear();
  ingameChatFilteredPos.clear();
  ingameChatMs.clear();
  ingameChatFilteredMs.clear();
}

}  // namespace q2
