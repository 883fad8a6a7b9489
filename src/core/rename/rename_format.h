// The rename format: literal text with bracketed tokens, such as
// "[REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]", and the names built
// from it. Texts are UTF-8; where a limit counts bytes it counts them in the
// code page 932 form, as the names were counted when they were Shift-JIS.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "core/recording/replay_summary.h"
#include "core/texts/texts.h"

namespace q2 {


// The name builders expand at most this many tokens; later ones are empty.
inline constexpr size_t kMaxFormatTokens = 50;
// Longest built name (without ".mgx"), in code page 932 bytes.
inline constexpr size_t kMaxBuiltNameBytes = 259;

enum class TokenKind : int {
  Year = 0,
  Month = 1,
  Day = 2,
  Hour = 3,
  Min = 4,
  Sec = 5,
  RecPlayer = 6,
  All = 7,
  TeamVs = 8,  // チーム別
  Ally = 9,    // 味方
  Unknown = 10,  // any other text: expands to nothing
  GameTime = 11, // the game's length, "47分24秒"
  Map = 12,      // the map's name
  Matchup = 13,  // "2v2"
  RecCiv = 14,   // the recorder's civilisation
  Winner = 15,   // the winning team's names, as チーム別 joins them
};

using TokenList = std::vector<TokenKind>;

// Kind of a token text, matched exactly (case and spaces count).
TokenKind TokenKindOf(const std::string& tokenText);
// True for the kinds that read the replay data model.
bool TokenNeedsReplayData(TokenKind kind);
bool needsReplayData(const TokenList& tokens);
// True when a token needs the game's length or outcome, which only the
// body gives.
bool needsGameClock(const TokenList& tokens);
// "47分24秒".
std::string GameTimeText(uint64_t ms);

// A compiled format keeps the literal pieces apart from the placeholders,
// so a "%" or "%s" the user typed stays literal: literals[i] comes before
// placeholder i, and the last literal after the last placeholder.
struct CompiledFormat {
  std::vector<std::string> literals{std::string()};

  size_t placeholders() const { return literals.size() - 1; }
  // The format with "%s" for each placeholder, for display.
  std::string text() const;
  bool operator==(const CompiledFormat&) const = default;
};

// Six texts of one recording's date and time.
struct DateFields {
  std::string year, month, day, hour, minute, second;
  bool operator==(const DateFields&) const = default;
};

// 0 when well formed, -1 when a "[" has no later "]". Brackets are found
// character by character, so the second byte of a double-byte character is
// never taken for one.
int CompileRenameFormat(const std::string& formatText, CompiledFormat& compiled, TokenList& tokens);

// The token's text for one recording.
std::string ExpandToken(TokenKind kind, const DateFields& date, const ReplayDocument& doc,
                        uint64_t gameMs = 0);

// The new name without extension, at most kMaxBuiltNameBytes.
std::string BuildNewFileName(const CompiledFormat& compiled, const TokenList& tokens,
                             const DateFields& date, const ReplayDocument& doc, uint64_t gameMs = 0);

// The sample text of a token; date kinds from `now`.
std::string PreviewTokenText(TokenKind kind, const LocalTime& now);
std::string PreviewTokenText(TokenKind kind);

// The sample name without extension; the clock is read for each token.
std::string BuildPreviewName(const CompiledFormat& compiled, const TokenList& tokens,
                             const std::function<LocalTime()>& now = NowLocal);

}  // namespace q2
