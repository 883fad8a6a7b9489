// The format compiler and the name builders.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "rename/core/rename_format.h"

namespace q2 {
namespace {

using K = TokenKind;

struct Compiled {
  int result;
  CompiledFormat format;
  TokenList tokens;
};

Compiled Compile(const std::string& text) {
  Compiled c;
  c.result = CompileRenameFormat(text, c.format, c.tokens);
  return c;
}

DateFields SampleDate() { return {"2005", "03", "05", "10", "40", "55"}; }

ReplayDocument Doc(const std::vector<std::string>& utf8Names, const std::vector<int>& teams, int recorder) {
  ReplayDocument d;
  for (size_t i = 0; i < utf8Names.size(); ++i) d.playerNames[i] = *Utf8ToCp932(utf8Names[i]);
  for (size_t i = 0; i < teams.size(); ++i) d.playerTeams[i] = teams[i];
  d.recorderSlot = static_cast<uint8_t>(recorder);
  return d;
}

std::string Build(const std::string& text, const ReplayDocument& doc = {}, DateFields date = SampleDate()) {
  Compiled c = Compile(text);
  EXPECT_EQ(c.result, 0) << text;
  return BuildNewFileName(c.format, c.tokens, date, doc);
}

TEST(RenameFormat, CompilesTheDefaultFormatIntoFivePlaceholders) {
  Compiled c = Compile(kDefaultRenameFormat);
  ASSERT_EQ(c.result, 0);
  // "チーム別" holds "ー", whose second Shift-JIS byte is "[": still one token.
  EXPECT_EQ(c.tokens, (TokenList{K::RecPlayer, K::Year, K::Month, K::Day, K::TeamVs}));
  EXPECT_EQ(c.format.literals, (std::vector<std::string>{"", "：", "年", "月", "日：", ""}));
  EXPECT_EQ(c.format.text(), "%s：%s年%s月%s日：%s");
  EXPECT_TRUE(needsReplayData(c.tokens));
}

TEST(RenameFormat, BracketRules) {
  // An opening bracket without a closing one is malformed.
  EXPECT_EQ(Compile("[YEAR").result, -1);
  EXPECT_EQ(Compile("a[YEAR]b[MONTH").result, -1);
  EXPECT_EQ(Compile("]]][").result, -1);

  // A stray closing bracket is literal text.
  Compiled stray = Compile("YEAR]");
  EXPECT_EQ(stray.result, 0);
  EXPECT_TRUE(stray.tokens.empty());
  EXPECT_EQ(Build("YEAR]"), "YEAR]");
  Compiled mid = Compile("a]b[YEAR]");
  EXPECT_EQ(mid.format.literals, (std::vector<std::string>{"a]b", ""}));
  EXPECT_EQ(mid.tokens, TokenList{K::Year});
  EXPECT_EQ(Build("a]b[YEAR]"), "a]b2005");

  // Nested brackets: the token text is "[YEAR", unknown, and the second
  // closing bracket stays.
  Compiled nested = Compile("[[YEAR]]");
  EXPECT_EQ(nested.format.literals, (std::vector<std::string>{"", "]"}));
  EXPECT_EQ(nested.tokens, TokenList{K::Unknown});
  EXPECT_EQ(Build("[[YEAR]]"), "]");

  // Empty, lower-case, spaced and misspelt tokens expand to nothing.
  for (const char* t : {"[]", "[year]", "[ YEAR]", "[YEAR ]", "[YEARS]", "[ちーむ別]"}) {
    Compiled c = Compile(t);
    EXPECT_EQ(c.tokens, TokenList{K::Unknown}) << t;
    EXPECT_EQ(Build(std::string("x") + t + "y"), "xy") << t;
  }
  EXPECT_FALSE(needsReplayData(Compile("[YEAR][MONTH][DAY][HOUR][MIN][SEC][x]").tokens));
}

TEST(RenameFormat, PercentSignsTypedByTheUserStayLiteral) {
  EXPECT_EQ(Build("100%[YEAR]"), "100%2005");
  EXPECT_EQ(Build("100%%[YEAR]"), "100%%2005");
  EXPECT_EQ(Build("%s%d%n[MONTH]%s"), "%s%d%n03%s");
  EXPECT_EQ(Compile("%s[DAY]").format.placeholders(), 1u);
}

TEST(RenameFormat, DateTokensTakeTheDateFields) {
  EXPECT_EQ(Build("[YEAR]-[MONTH]-[DAY] [HOUR]`[MIN]`[SEC]"), "2005-03-05 10`40`55");
  EXPECT_EQ(Build("[SEC][SEC]", {}, {"", "", "", "", "", "7"}), "77");
}

TEST(RenameFormat, PlayerTokens) {
  // Two players: the other six slots still get their separators.
  ReplayDocument two = Doc({"A", "B"}, {2, 3}, 1);
  EXPECT_EQ(Build("[ALL]", two), "A B      ");
  EXPECT_EQ(Build("[REC_PLAYER]", two), "A");
  EXPECT_EQ(Build("[チーム別]", two), " vs ");  // each alone on a team
  EXPECT_EQ(Build("[味方]", two), "");

  // Names are decoded from Shift-JIS.
  ReplayDocument jp = Doc({"太郎", "ｶﾐｶｾﾞ"}, {1, 1}, 2);
  EXPECT_EQ(Build("[REC_PLAYER]：[ALL]", jp), "ｶﾐｶｾﾞ：太郎 ｶﾐｶｾﾞ      ");
  EXPECT_EQ(Build("[チーム別]", jp), " vs ");  // team 1 means no teams

  // Two against two: allies only, the enemy list stays empty.
  ReplayDocument twoVsTwo = Doc({"侍", "North", "ゆき", "弓兵"}, {2, 2, 3, 3}, 1);
  EXPECT_EQ(Build("[チーム別]", twoVsTwo), "侍 North  vs ");
  EXPECT_EQ(Build("[味方]", twoVsTwo), "侍 North ");

  // Four against four: both lists.
  ReplayDocument eight = Doc({"a", "b", "c", "d", "e", "f", "g", "h"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3);
  EXPECT_EQ(Build("[REC_PLAYER]：[チーム別]", eight), "c：a c e g  vs b d f h ");
  EXPECT_EQ(Build("[味方]", eight), "a c e g ");

  // No recorder, or a recorder slot out of range: empty.
  EXPECT_EQ(Build("[REC_PLAYER]|[チーム別]", Doc({"A", "B"}, {2, 2}, 0)), "| vs ");
  EXPECT_EQ(Build("[REC_PLAYER]|[味方]", Doc({"A", "B"}, {2, 2}, 9)), "|");
}

TEST(RenameFormat, GameTimeIsMinutesAndSeconds) {
  const std::pair<uint64_t, std::string> cases[] = {
      {2844945, "47分24秒"}, {0, "0分00秒"}, {59999, "0分59秒"}, {7203000, "120分03秒"}};
  for (const auto& [ms, text] : cases) {
    Compiled c = Compile("[GAME_TIME]");
    EXPECT_EQ(BuildNewFileName(c.format, c.tokens, SampleDate(), {}, ms), text);
  }
  EXPECT_FALSE(needsReplayData(Compile("[GAME_TIME]").tokens));
  EXPECT_TRUE(needsGameClock(Compile("[YEAR][GAME_TIME]").tokens));
  EXPECT_FALSE(needsGameClock(Compile("[game_time]").tokens));
}

TEST(RenameFormat, NamesAreCutToTheirLimits) {
  // Tokens after the 50th expand to nothing.
  std::string fmt;
  for (int i = 0; i < 60; ++i) fmt += "[DAY]-";
  std::string expected;
  for (int i = 0; i < 50; ++i) expected += "05-";
  for (int i = 0; i < 10; ++i) expected += "-";
  EXPECT_EQ(Build(fmt), expected);

  // At most 259 bytes in Shift-JIS, never splitting a character.
  EXPECT_EQ(Build(std::string(300, 'a')), std::string(259, 'a'));
  std::string kana;
  for (int i = 0; i < 130; ++i) kana += "あ";
  const std::string built = Build(kana + "[YEAR]");
  EXPECT_EQ(Cp932Length(built), 258u);
  EXPECT_EQ(built, kana.substr(0, 129 * 3));
  EXPECT_EQ(Build("[ALL]" + std::string(255, 'x'), Doc({"North"}, {1}, 1)).size(), 259u);
}

TEST(RenameFormat, PreviewUsesSamplesAndTheClock) {
  const LocalTime feb5{2005, 2, 5, 7, 8, 9};
  int reads = 0;
  auto clock = [&] {
    ++reads;
    return feb5;
  };
  Compiled c = Compile("[YEAR]-[MONTH]");
  EXPECT_EQ(BuildPreviewName(c.format, c.tokens, clock), "2005-02");
  Compiled all = Compile("[YEAR][MONTH][DAY][HOUR][MIN][SEC]|[REC_PLAYER]|[ALL]|[チーム別]|[味方]|[x]");
  reads = 0;
  EXPECT_EQ(BuildPreviewName(all.format, all.tokens, clock),
            "20050205070809|記録者名|P1～P8|ﾁｰﾑA vs ﾁｰﾑB|記録者のﾁｰﾑのﾌﾟﾚｲﾔｰ名|");
  EXPECT_EQ(reads, 6);  // once per date token
  EXPECT_EQ(PreviewTokenText(K::Hour, LocalTime{2005, 2, 5, 23, 0, 0}), "23");
  EXPECT_EQ(PreviewTokenText(K::Year, LocalTime{987, 1, 1, 0, 0, 0}), "0987");
}

}  // namespace
}  // namespace q2
