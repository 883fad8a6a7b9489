// The format history in the settings file, and the format dialog's checks
// and insert texts.
#include "rename/core/format_history.h"

#include <gtest/gtest.h>

#include "rename/core/rename_format.h"
#include "settings/core/ini_file.h"
#include "settings/core/settings.h"
#include "support/core_support.h"

namespace q2 {
namespace {

std::vector<std::string> Entries(const FormatHistory& h) {
  std::vector<std::string> out;
  for (int i = 0; i < h.count(); ++i) out.push_back(h.entry(i));
  return out;
}

TEST(FormatHistory, LoadsSortedAsShiftJisTextAndSavesAllHundredKeys) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  // Shift-JIS order: ASCII by byte, half-width katakana (single bytes
  // 0xA1…) before every double-byte character, a shorter prefix first;
  // UTF-8 byte order would put "あ" before "ｱ". Gaps close up.
  for (const auto& [n, v] : {std::pair{3, "あい"}, {9, "ｱ"}, {17, "b"}, {40, "あ"}, {41, "B"}, {100, "[YEAR]漢字"}, {55, ""}})
    IniWriteString(ini, kSectionFile, FormatHistoryKey(n), v);
  FormatHistory h;
  h.LoadFormatHistory(ini);
  EXPECT_EQ(Entries(h), (std::vector<std::string>{"B", "[YEAR]漢字", "b", "ｱ", "あ", "あい"}));
  // Characters without a Shift-JIS form sort after all that have one.
  EXPECT_GT(CompareCp932Text("😀", "龠"), 0);
  EXPECT_EQ(CompareCp932Text("同じ", "同じ"), 0);
  // Added at the end while there is room and the format is new; deleting
  // moves the later entries up; a save writes all 100 keys, empty ones too,
  // Japanese as Shift-JIS.
  EXPECT_FALSE(h.AddFormatToHistory("b"));
  EXPECT_TRUE(h.AddFormatToHistory(kDefaultRenameFormat));
  h.DeleteFormat(0);
  h.DeleteFormat(50);  // no such entry
  h.SaveFormatHistory(ini);
  const std::vector<std::string> saved = {"[YEAR]漢字", "b", "ｱ", "あ", "あい", kDefaultRenameFormat};
  EXPECT_EQ(Entries(h), saved);
  for (int n = 1; n <= 100; ++n)
    EXPECT_EQ(IniReadRaw(ini, kSectionFile, FormatHistoryKey(n)), n <= 6 ? q2test::Cp932(saved[n - 1]) : "") << n;
  FormatHistory full;
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(full.AddFormatToHistory("f" + std::to_string(1000 + i)));
  EXPECT_FALSE(full.AddFormatToHistory("one more"));
  full.SaveFormatHistory(ini);
  EXPECT_EQ(IniReadRaw(ini, kSectionFile, FormatHistoryKey(100)), "f1099");
}

TEST(FormatHistory, FormatsMustFitTheFileAndInsertTextsAreBracketed) {
  // 259 bytes as the file stores them: a kanji takes two, a half-width katakana one.
  std::string kanji129;
  for (int i = 0; i < 129; ++i) kanji129 += "年";
  for (const auto& [format, fits] : {std::pair{kanji129 + "a", true}, {std::string(250, 'x') + "[ﾃｽﾄ]ｱｲ", true},
                                     {kanji129 + "ab", false}, {kanji129 + "年", false}, {std::string(260, 'x'), false}}) {
    const auto message = CheckFormatLength(format);
    EXPECT_EQ(message ? message->caption : "", fits ? "" : "変換処理ｴﾗｰ") << format;
  }
  // Date parts lose their last five Shift-JIS bytes ("(年)" is four of them).
  const std::pair<const char*, const char*> inserts[] = {{"year (年)", "[YEAR]"}, {"min (分)", "[MIN]"}, {"ab (年)", "[AB]"},
                                                         {"hello", ""}, {"年月日", ""}, {"月x12345", "[月X]"}, {"", ""}};
  for (const auto& [item, text] : inserts) EXPECT_EQ(DatePartInsertText(item), text) << item;
  for (const auto& [item, text] : {std::pair{"rec_player", "[REC_PLAYER]"}, {"チーム別", "[チーム別]"}, {"ｱｲ", "[ｱｲ]"}, {"", ""}})
    EXPECT_EQ(GameTokenInsertText(item), text) << item;
}

}  // namespace
}  // namespace q2
