// The format history and the last format in the settings file, and the
// insert texts of the format dialog.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "rename/core/format_history.h"
#include "rename/core/rename_format.h"
#include "settings/core/ini_file.h"
#include "settings/core/settings.h"
#include "support/temp_dir.h"

namespace q2 {
namespace {

class FormatHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { OverrideSettingsPath(ini_); }
  void TearDown() override { OverrideSettingsPath(""); }

  void Put(int n, const std::string& v) { IniWriteString(ini_, kSectionFile, FormatHistoryKey(n), v); }
  std::optional<std::string> Stored(int n) { return IniReadRaw(ini_, kSectionFile, FormatHistoryKey(n)); }
  std::vector<std::string> Entries(const FormatHistory& h) {
    std::vector<std::string> out;
    for (int i = 0; i < h.count(); ++i) out.push_back(h.entry(i));
    return out;
  }

  q2test::TempDir dir_;
  std::string ini_ = dir_ / "Quoran.ini";
};

TEST_F(FormatHistoryTest, LoadClosesGapsAndSortsAsShiftJisText) {
  // Shift-JIS order: ASCII by byte, half-width katakana (single bytes
  // 0xA1…) before every double-byte character, a shorter prefix first.
  // UTF-8 byte order would put "あ" before "ｱ"; Shift-JIS byte order
  // would too (0x82 < 0xB1).
  Put(3, "あい");
  Put(9, "ｱ");
  Put(17, "b");
  Put(40, "あ");
  Put(41, "B");
  Put(100, "[YEAR]漢字");
  Put(55, "");
  FormatHistory h;
  h.LoadFormatHistory(ini_);
  EXPECT_EQ(Entries(h), (std::vector<std::string>{"B", "[YEAR]漢字", "b", "ｱ", "あ", "あい"}));

  EXPECT_LT(CompareCp932Text("ｱ", "あ"), 0);
  EXPECT_LT(CompareCp932Text("あ", "い"), 0);
  EXPECT_LT(CompareCp932Text("あ", "あ0"), 0);
  EXPECT_EQ(CompareCp932Text("同じ", "同じ"), 0);
  // Characters without a Shift-JIS form sort after all that have one.
  EXPECT_GT(CompareCp932Text("😀", "龠"), 0);
}

TEST_F(FormatHistoryTest, SaveWritesAllHundredKeys) {
  Put(1, "[MONTH]");
  Put(5, "[DAY]");
  Put(9, "[ALL]");
  FormatHistory h;
  h.LoadFormatHistory(ini_);
  ASSERT_EQ(h.count(), 3);
  h.SaveFormatHistory(ini_);
  EXPECT_EQ(Stored(1), "[ALL]");
  EXPECT_EQ(Stored(2), "[DAY]");
  EXPECT_EQ(Stored(3), "[MONTH]");
  for (int n = 4; n <= 100; ++n) EXPECT_EQ(Stored(n), "") << n;  // present, empty

  // Deleting moves the later entries up; the freed key is cleared.
  h.DeleteFormat(0);
  h.SaveFormatHistory(ini_);
  EXPECT_EQ(Stored(1), "[DAY]");
  EXPECT_EQ(Stored(2), "[MONTH]");
  EXPECT_EQ(Stored(3), "");
  h.DeleteFormat(5);  // no such entry
  EXPECT_EQ(h.count(), 2);

  // Japanese formats are stored as Shift-JIS.
  FormatHistory jp;
  jp.AddFormatToHistory(kDefaultRenameFormat);
  jp.SaveFormatHistory(ini_);
  EXPECT_EQ(Stored(1), Utf8ToCp932(kDefaultRenameFormat));
  FormatHistory back;
  back.LoadFormatHistory(ini_);
  EXPECT_EQ(Entries(back), std::vector<std::string>{kDefaultRenameFormat});
}

TEST_F(FormatHistoryTest, AddAppendsNewFormatsOnlyWhileThereIsRoom) {
  Put(1, "b");
  Put(2, "c");
  FormatHistory h;
  h.LoadFormatHistory(ini_);
  EXPECT_FALSE(h.AddFormatToHistory("c"));
  EXPECT_TRUE(h.AddFormatToHistory("a"));  // at the end, not sorted in
  EXPECT_FALSE(h.AddFormatToHistory("a"));
  EXPECT_EQ(Entries(h), (std::vector<std::string>{"b", "c", "a"}));
  h.SaveFormatHistory(ini_);
  FormatHistory again;
  again.LoadFormatHistory(ini_);
  EXPECT_EQ(Entries(again), (std::vector<std::string>{"a", "b", "c"}));

  FormatHistory full;
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(full.AddFormatToHistory(std::string("f").append(std::to_string(1000 + i))));
  EXPECT_FALSE(full.AddFormatToHistory("one more"));
  EXPECT_EQ(full.count(), 100);
  EXPECT_EQ(full.entry(99), "f1099");
  full.SaveFormatHistory(ini_);
  EXPECT_EQ(Stored(100), "f1099");
}

TEST(FormatLength, TheSettingsFileMustHoldTheWholeFormat) {
  // 259 bytes as the file stores them: a kanji takes two, a half-width
  // katakana one.
  const std::string kanji129 = [] {
    std::string s;
    for (int i = 0; i < 129; ++i) s += "年";
    return s;
  }();
  EXPECT_FALSE(CheckFormatLength(kanji129 + "a"));
  EXPECT_FALSE(CheckFormatLength(std::string(250, 'x') + "[ﾃｽﾄ]ｱｲ"));
  for (const std::string& tooLong : {kanji129 + "ab", kanji129 + "年", std::string(260, 'x')}) {
    auto refusal = CheckFormatLength(tooLong);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->caption, "変換処理ｴﾗｰ");
  }
}

TEST(InsertText, DatePartsAndGameTokens) {
  EXPECT_EQ(DatePartInsertText("year (年)"), "[YEAR]");
  EXPECT_EQ(DatePartInsertText("month (月)"), "[MONTH]");
  EXPECT_EQ(DatePartInsertText("min (分)"), "[MIN]");
  EXPECT_EQ(DatePartInsertText("sec (秒)"), "[SEC]");
  // Five Shift-JIS bytes dropped: "(年)" is four of them.
  EXPECT_EQ(DatePartInsertText("ab (年)"), "[AB]");
  EXPECT_EQ(DatePartInsertText("hello"), "");
  EXPECT_EQ(DatePartInsertText("年月日"), "");
  EXPECT_EQ(DatePartInsertText("月x12345"), "[月X]");
  EXPECT_EQ(DatePartInsertText(""), "");

  EXPECT_EQ(GameTokenInsertText("ALL"), "[ALL]");
  EXPECT_EQ(GameTokenInsertText("rec_player"), "[REC_PLAYER]");
  EXPECT_EQ(GameTokenInsertText("チーム別"), "[チーム別]");
  EXPECT_EQ(GameTokenInsertText("味方"), "[味方]");
  EXPECT_EQ(GameTokenInsertText("ｱｲ"), "[ｱｲ]");
  EXPECT_EQ(GameTokenInsertText(""), "");
}

}  // namespace
}  // namespace q2
