// The format compiler, the name builders and the team lists they share
// with the display panel.
#include "rename/core/rename_format.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/core_support.h"

namespace q2 {
namespace {

using K = TokenKind;

ReplayDocument Doc(const std::vector<std::string>& names, const std::vector<int>& teams, int recorder) {
  ReplayDocument d;
  for (size_t i = 0; i < names.size(); ++i) d.playerNames[i] = q2test::Cp932(names[i]);
  for (size_t i = 0; i < teams.size(); ++i) d.playerTeams[i] = teams[i];
  d.recorderSlot = static_cast<uint8_t>(recorder);
  return d;
}

std::string Build(const std::string& text, const ReplayDocument& doc = {}, uint64_t gameMs = 0) {
  CompiledFormat f;
  TokenList t;
  EXPECT_EQ(CompileRenameFormat(text, f, t), 0) << text;
  return BuildNewFileName(f, t, {"2005", "03", "05", "10", "40", "55"}, doc, gameMs);
}

TEST(RenameFormat, CompilesBracketsCharacterByCharacter) {
  CompiledFormat f;
  TokenList t;
  // "チーム別" holds "ー", whose second code page 932 byte is "[": still one token.
  ASSERT_EQ(CompileRenameFormat(kDefaultRenameFormat, f, t), 0);
  EXPECT_EQ(t, (TokenList{K::RecPlayer, K::Year, K::Month, K::Day, K::TeamVs}));
  EXPECT_EQ(f.text(), "%s：%s年%s月%s日：%s");
  EXPECT_TRUE(needsReplayData(t));
  // Nested brackets: the token "[YEAR" is unknown, the second "]" literal.
  ASSERT_EQ(CompileRenameFormat("a]b[[YEAR]]", f, t), 0);
  EXPECT_EQ(f.literals, (std::vector<std::string>{"a]b", "]"}));
  EXPECT_EQ(t, TokenList{K::Unknown});
  // An opening bracket without a closing one is malformed.
  for (const char* bad : {"[YEAR", "a[YEAR]b[MONTH", "]]]["}) EXPECT_EQ(CompileRenameFormat(bad, f, t), -1) << bad;
  CompileRenameFormat("[YEAR][MONTH][DAY][HOUR][MIN][SEC][x][GAME_TIME]", f, t);
  EXPECT_FALSE(needsReplayData(t));
  EXPECT_TRUE(needsGameClock(t));
  CompileRenameFormat("[game_time]%s[DAY]", f, t);
  EXPECT_FALSE(needsGameClock(t));
  EXPECT_EQ(f.placeholders(), 2u);
}

TEST(RenameFormat, TokensExpandForOneRecordingWithinTheLimits) {
  const std::tuple<std::string, ReplayDocument, std::string> cases[] = {
      {"[YEAR]-[MONTH]-[DAY] [HOUR]`[MIN]`[SEC][SEC]", {}, "2005-03-05 10`40`5555"},
      // Stray closing brackets, percent signs and unknown tokens.
      {"YEAR]a]b[YEAR]", {}, "YEAR]a]b2005"},
      {"100%%[YEAR]%s%d%n", {}, "100%%2005%s%d%n"},
      {"x[]y[year]y[ YEAR]y[YEAR ]y[YEARS]y[ちーむ別]y[[YEAR]]", {}, "xyyyyyy]"},
      // The other six slots still get their separators; names are decoded.
      {"[REC_PLAYER]：[ALL]", Doc({"太郎", "ｶﾐｶｾﾞ"}, {1, 1}, 2), "ｶﾐｶｾﾞ：太郎 ｶﾐｶｾﾞ      "},
      // At most 259 code page 932 bytes, never splitting a character.
      {std::string(300, 'a'), {}, std::string(259, 'a')},
      {"[ALL]" + std::string(255, 'x'), Doc({"North"}, {1}, 1), ("North" + std::string(7, ' ') + std::string(255, 'x')).substr(0, 259)},
  };
  for (const auto& [format, doc, name] : cases) EXPECT_EQ(Build(format, doc), name) << format;
  std::string kana, days, name;  // 130 "あ" are 260 bytes; tokens after the 50th expand to nothing
  for (int i = 0; i < 130; ++i) kana += "あ";
  EXPECT_EQ(Build(kana + "[YEAR]"), kana.substr(0, 129 * 3));
  for (int i = 0; i < 60; ++i) days += "[DAY]-", name += i < 50 ? "05-" : "-";
  EXPECT_EQ(Build(days), name);
  const std::pair<uint64_t, std::string> times[] = {{2844945, "47分24秒"}, {0, "0分00秒"}, {59999, "0分59秒"}, {7203000, "120分03秒"}};
  for (const auto& [ms, text] : times) EXPECT_EQ(Build("[GAME_TIME]", {}, ms), text);

  // The recorder, the recorder's team, and both sides only in teams of four.
  const std::vector<std::string> s = {"s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8"}, abcd = {"a", "b", "c", "d"};
  const std::tuple<std::vector<int>, int, std::vector<std::string>, std::string> lineups[] = {
      {{2, 2, 3, 3}, 0, s, "|| vs "}, {{2, 2, 3, 3}, 9, s, "|| vs "}, {{2, 2, 3, 3}, 255, s, "|| vs "},
      {{2, 2, 3, 3}, 1, s, "s1|s1 s2 |s1 s2  vs "}, {{2, 2, 3, 3}, 4, s, "s4|s3 s4 |s3 s4  vs "},
      // Teams of four list both sides; empty slots each add a lone space.
      {{2, 3, 2, 3, 2, 3, 2, 3}, 3, s, "s3|s1 s3 s5 s7 |s1 s3 s5 s7  vs s2 s4 s6 s8 "},
      {{2, 3, 2, 3, 2, 3, 2, 3}, 2, s, "s2|s2 s4 s6 s8 |s2 s4 s6 s8  vs s1 s3 s5 s7 "},
      {{4, 4, 4, 4}, 2, abcd, "b|a b c d |a b c d  vs     "},
      // Any team 1 (a free-for-all is all 1), or a recorder alone: no lists.
      {{2, 2, 3, 1}, 1, s, "s1|| vs "}, {{1, 1, 1, 1, 1, 1, 1, 1}, 2, s, "s2|| vs "}, {{2, 3, 3, 3}, 1, s, "s1|| vs "},
      // Empty slots count towards a team 0: five members, no enemies.
      {{0, 2, 2, 3}, 1, abcd, "a|a     |a      vs "},
      // Team bytes are signed: -1 matches -1 only.
      {{-1, -1, 2, 2}, 2, s, "s2|s1 s2 |s1 s2  vs "},
  };
  for (const auto& [teams, recorder, names, text] : lineups)
    EXPECT_EQ(Build("[REC_PLAYER]|[味方]|[チーム別]", Doc(names, teams, recorder)), text) << recorder << " " << teams[0];
}

TEST(RenameFormat, PreviewUsesSamplesAndTheClock) {
  int reads = 0;
  auto clock = [&] { return ++reads, LocalTime{2005, 2, 5, 7, 8, 9}; };
  CompiledFormat f;
  TokenList t;
  CompileRenameFormat("[YEAR][MONTH][DAY][HOUR][MIN][SEC]|[REC_PLAYER]|[ALL]|[チーム別]|[味方]|[x]", f, t);
  EXPECT_EQ(BuildPreviewName(f, t, clock), "20050205070809|記録者名|P1～P8|ﾁｰﾑA vs ﾁｰﾑB|記録者のﾁｰﾑのﾌﾟﾚｲﾔｰ名|");
  EXPECT_EQ(reads, 6);  // once per date token
  EXPECT_EQ(PreviewTokenText(K::Hour, LocalTime{2005, 2, 5, 23, 0, 0}), "23");
  EXPECT_EQ(PreviewTokenText(K::Year, LocalTime{987, 1, 1, 0, 0, 0}), "0987");
}

}  // namespace
}  // namespace q2
