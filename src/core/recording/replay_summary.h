// What opening a recording yields: the document part (players, research,
// graph rows) and the view part (chat, age records, the panel's texts).
// Names and chat stay code page 932 bytes; they are decoded where shown.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/recording/game_info.h"

namespace q2 {

inline constexpr int kSlots = 8;
inline constexpr int kResearchListMax = 100;
inline constexpr size_t kChatTextSize = 30000;
// Longest chat line text; with CR LF it fills a 256-byte line buffer.
inline constexpr size_t kChatLineMax = 254;

// The text of a chat line starting at `text`: up to the first zero byte or
// the end, and never more than kChatLineMax bytes, so finding the zero byte
// costs at most that many comparisons.
inline std::string_view ChatLineAt(const uint8_t* text, const uint8_t* end) {
  const size_t room = static_cast<size_t>(end - text) < kChatLineMax ? static_cast<size_t>(end - text) : kChatLineMax;
  size_t m = 0;
  while (m < room && text[m] != 0) ++m;
  return std::string_view(reinterpret_cast<const char*>(text), m);
}

struct ResearchEntry {
  int32_t iconId = 0;
  double when = 0.0;  // body position / body length
  uint32_t position = 0;  // the body position itself
  uint64_t ms = 0;        // game time at that position
  // An entry is its icon and its time; the rest follows from them.
  bool operator==(const ResearchEntry& o) const { return iconId == o.iconId && when == o.when; }
};

struct ResearchList {
  std::array<ResearchEntry, kResearchListMax> entries{};
  int32_t count = 0;
};

struct GraphRow {
  std::string first, second;          // unused by the graph
  std::array<double, 4> shares{};     // dark, feudal, castle, imperial
};

// A chat text of 30000 bytes: lines end with CR LF, the text stays
// zero-terminated, and once a line no longer fits whole no more are taken.
class ChatText {
 public:
  void clear() {
    text_.clear();
    full_ = false;
  }
  // Appends text (cut to kChatLineMax bytes) and CR LF. Returns the lines
  // that adds as the text is shown, split at each CR LF: one, and one more
  // for each CR LF the text itself holds; 0 when it no longer fits.
  size_t appendLine(std::string_view line);
  const std::string& str() const { return text_; }
  bool empty() const { return text_.empty(); }
  // True once a line didn't fit: no further line is taken.
  bool full() const { return full_; }

 private:
  std::string text_;
  bool full_ = false;
};

struct ReplayDocument {
  std::array<int32_t, kSlots> playerTeams{};
  std::array<std::string, kSlots> playerNames;  // code page 932
  uint8_t recorderSlot = 0;
  std::array<GraphRow, kSlots> graphRows;
  std::array<ResearchList, kSlots> economyResearch;
  std::array<ResearchList, kSlots> blacksmithResearch;
  // Civilisations, map, settings and the outcome; its players go by index,
  // as the names do.
  GameInfo game;

  void clearHeaderFields();
  void clearResearch();
};

enum Age { kFeudal = 0, kCastle = 1, kImperial = 2 };

struct ReplayView {
  std::string currentReplayPath;                 // UTF-8 path
  std::array<std::string, kSlots> slotNameTexts;  // code page 932
  int32_t hideWarnings = 0;
  int32_t showPregameChat = 0;
  int32_t showChatTimes = 0;  // "時刻表示": "[mm:ss] " before each in-game chat line
  // "文字コード": 0 as the header tells, 1 code page 932, 2 GBK; and the
  // encoding the texts here are in as that choice makes it.
  int32_t encodingChoice = 0;
  TextEncoding textEncoding = TextEncoding::Cp932;
  std::string chatText;  // code page 932, lines end with CR LF
  std::string perspectivePlayerText, allyTeamText, enemyTeamText;  // code page 932
  int32_t feudalCount = 0, castleCount = 0, imperialCount = 0;
  std::array<uint8_t, kSlots> feudalRank{}, castleRank{}, imperialRank{};
  std::array<std::array<uint32_t, 3>, kSlots> ageTimes{};  // feudal, castle, imperial
  int32_t bodyLength = 0;
  ChatText ingameChat, ingameChatFiltered, pregameChat;

  // The game clock, beside the byte positions (filled by the display step).
  uint64_t gameDurationMs = 0;
  bool clockComplete = false;
  // Game time of the position recorded for each age (0 when never reached).
  std::array<std::array<uint64_t, 3>, kSlots> ageClickMs{};
  // Per line of ingameChat and of ingameChatFiltered as shown (a record
  // whose text holds CR LF shows as more than one): its record's body
  // position and game time.
  std::vector<uint32_t> ingameChatPos, ingameChatFilteredPos;
  std::vector<uint64_t> ingameChatMs, ingameChatFilteredMs;

  void resetAgeRecords();
  void clearIngameChat();
};

struct ReplaySummary {
  ReplayDocument doc;
  ReplayView view;
};

}  // namespace q2
