#include "core/rename/rename_format.h"

#include <cstdio>

#include "platform/text.h"
#include "core/recording/game_clock.h"
#include "core/recording/game_settings.h"
#include "core/recording/game_summary.h"
#include "core/recording/team_lineup.h"
#include "core/texts/texts.h"

namespace q2 {
namespace {

struct TokenName {
  const char* text;
  TokenKind kind;
};

constexpr TokenName kTokenTable[] = {
    {"YEAR", TokenKind::Year},       {"MONTH", TokenKind::Month},
    {"DAY", TokenKind::Day},         {"HOUR", TokenKind::Hour},
    {"MIN", TokenKind::Min},         {"SEC", TokenKind::Sec},
    {"REC_PLAYER", TokenKind::RecPlayer}, {"ALL", TokenKind::All},
    {kTokenTeamVs, TokenKind::TeamVs}, {kTokenAlly, TokenKind::Ally},
    {"GAME_TIME", TokenKind::GameTime},
    {"MAP", TokenKind::Map},         {"MATCHUP", TokenKind::Matchup},
    {"REC_CIV", TokenKind::RecCiv},  {"WINNER", TokenKind::Winner},
};

bool IsDateKind(TokenKind k) { return static_cast<int>(k) <= static_cast<int>(TokenKind::Sec); }

std::string Format(const char* fmt, int value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, fmt, value);
  return buf;
}

// Fills the placeholders in order; `expand` gives the text of placeholder i.
template <class Expand>
std::string Fill(const CompiledFormat& compiled, const TokenList& tokens, Expand expand) {
  std::string out = compiled.literals.front();
  for (size_t i = 0; i < compiled.placeholders(); ++i) {
    if (i < tokens.size() && i < kMaxFormatTokens) out += expand(tokens[i]);
    out += compiled.literals[i + 1];
  }
  return TruncateToCp932Bytes(out, kMaxBuiltNameBytes);
}

}  // namespace

TokenKind TokenKindOf(const std::string& tokenText) {
  for (const TokenName& t : kTokenTable)
    if (tokenText == t.text) return t.kind;
  return TokenKind::Unknown;
}

bool TokenNeedsReplayData(TokenKind kind) {
  return kind == TokenKind::RecPlayer || kind == TokenKind::All || kind == TokenKind::TeamVs ||
         kind == TokenKind::Ally || kind == TokenKind::Map || kind == TokenKind::Matchup ||
         kind == TokenKind::RecCiv || kind == TokenKind::Winner;
}

bool needsGameClock(const TokenList& tokens) {
  for (TokenKind k : tokens)
    if (k == TokenKind::GameTime || k == TokenKind::Winner) return true;
  return false;
}

std::string GameTimeText(uint64_t ms) { return FormatClock(ms, kGameTimeFormat); }

bool needsReplayData(const TokenList& tokens) {
  for (TokenKind k : tokens)
    if (TokenNeedsReplayData(k)) return true;
  return false;
}

std::string CompiledFormat::text() const {
  std::string out = literals.front();
  for (size_t i = 1; i < literals.size(); ++i) out += "%s" + literals[i];
  return out;
}

int CompileRenameFormat(const std::string& formatText, CompiledFormat& compiled, TokenList& tokens) {
  compiled.literals.assign(1, std::string());
  tokens.clear();
  // "[" and "]" are ASCII, and no byte of a multi-byte UTF-8 character is,
  // so a byte search walks the text character by character.
  size_t pos = 0;
  for (;;) {
    const size_t open = formatText.find('[', pos);
    if (open == std::string::npos) {
      compiled.literals.back() += formatText.substr(pos);
      return 0;
    }
    const size_t close = formatText.find(']', open + 1);
    if (close == std::string::npos) {
      compiled.literals.back() += formatText.substr(pos);
      return -1;
    }
    compiled.literals.back() += formatText.substr(pos, open - pos);
    compiled.literals.emplace_back();
    tokens.push_back(TokenKindOf(formatText.substr(open + 1, close - open - 1)));
    pos = close + 1;
  }
}

std::string ExpandToken(TokenKind kind, const DateFields& date, const ReplayDocument& doc, uint64_t gameMs) {
  switch (kind) {
    case TokenKind::Year: return date.year;
    case TokenKind::Month: return date.month;
    case TokenKind::Day: return date.day;
    case TokenKind::Hour: return date.hour;
    case TokenKind::Min: return date.minute;
    case TokenKind::Sec: return date.second;
    case TokenKind::RecPlayer:
      if (doc.recorderSlot < 1 || doc.recorderSlot > kSlots) return {};
      return DecodeText(doc.playerNames[doc.recorderSlot - 1], doc.game.encoding);
    case TokenKind::All: {
      std::string all;
      for (int s = 0; s < kSlots; ++s) {
        if (s > 0) all += ' ';
        all += doc.playerNames[s];
      }
      return DecodeText(all, doc.game.encoding);
    }
    case TokenKind::TeamVs: {
      const TeamLineup lineup = LineupOf(doc);
      return DecodeText(lineup.allyList, doc.game.encoding) + " vs " + DecodeText(lineup.enemyList, doc.game.encoding);
    }
    case TokenKind::Ally: return DecodeText(LineupOf(doc).allyList, doc.game.encoding);
    case TokenKind::GameTime: return GameTimeText(gameMs);
    case TokenKind::Map: return MapName(doc.game).value_or("");
    case TokenKind::Matchup: return MatchupText(doc.game).value_or("");
    case TokenKind::RecCiv: return CivName(doc.game, doc.recorderSlot).value_or("");
    case TokenKind::Winner: {
      // Each name followed by one space, as the team lists are.
      std::string names;
      for (int index : WinningPlayers(doc.game)) names += doc.playerNames[index - 1] + " ";
      return DecodeText(names, doc.game.encoding);
    }
    case TokenKind::Unknown: break;
  }
  return {};
}

std::string BuildNewFileName(const CompiledFormat& compiled, const TokenList& tokens,
                             const DateFields& date, const ReplayDocument& doc, uint64_t gameMs) {
  return Fill(compiled, tokens, [&](TokenKind k) { return ExpandToken(k, date, doc, gameMs); });
}

std::string PreviewTokenText(TokenKind kind, const LocalTime& now) {
  switch (kind) {
    case TokenKind::Year: return Format("%04d", now.year);
    case TokenKind::Month: return Format("%02d", now.month);
    case TokenKind::Day: return Format("%02d", now.day);
    case TokenKind::Hour: return Format("%02d", now.hour);
    case TokenKind::Min: return Format("%02d", now.minute);
    case TokenKind::Sec: return Format("%02d", now.second);
    case TokenKind::RecPlayer: return kDescribeRecPlayer;
    case TokenKind::All: return kDescribeAll;
    case TokenKind::TeamVs: return kDescribeTeamVs;
    case TokenKind::Ally: return kDescribeAlly;
    case TokenKind::GameTime: return kDescribeGameTime;
    case TokenKind::Map: return kDescribeMap;
    case TokenKind::Matchup: return kDescribeMatchup;
    case TokenKind::RecCiv: return kDescribeRecCiv;
    case TokenKind::Winner: return kDescribeWinner;
    case TokenKind::Unknown: break;
  }
  return {};
}

std::string PreviewTokenText(TokenKind kind) {
  return PreviewTokenText(kind, IsDateKind(kind) ? NowLocal() : LocalTime{});
}

std::string BuildPreviewName(const CompiledFormat& compiled, const TokenList& tokens,
                             const std::function<LocalTime()>& now) {
  return Fill(compiled, tokens, [&](TokenKind k) {
    return PreviewTokenText(k, IsDateKind(k) ? now() : LocalTime{});
  });
}

}  // namespace q2
