// The game's default names: the search pattern and the date fields.
#include <gtest/gtest.h>

#include <ctime>

#include "cli/recording_generator.h"
#include "rename/core/default_name.h"
#include "support/file_time.h"
#include "support/temp_dir.h"

namespace q2 {
namespace {

const std::string kPrefix = DefaultNamePrefix;

TEST(DefaultName, PatternMatchesAsTheFileSearchDoes) {
  EXPECT_TRUE(IsDefaultRecordingName(gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55})));
  EXPECT_TRUE(IsDefaultRecordingName(gen::DefaultRecordingName({2006, 12, 31, 0, 0, 5})));
  EXPECT_TRUE(IsDefaultRecordingName(kPrefix + "05-3-2005 10`40`55.MGX"));  // case ignored
  EXPECT_TRUE(IsDefaultRecordingName(kPrefix + "05-3-2005 10`40`55.mGx"));
  // "?" is one character, a double-byte one too; "*" any run.
  EXPECT_TRUE(IsDefaultRecordingName(kPrefix + "日本-3-2005 10`40`55.mgx"));
  EXPECT_TRUE(IsDefaultRecordingName(kPrefix + "05--2005 10`40`55.mgx"));
  EXPECT_TRUE(IsDefaultRecordingName(kPrefix + "05-a-b-c-2005 10`40`55.mgx"));

  EXPECT_FALSE(IsDefaultRecordingName(kPrefix + "5-3-2005 10`40`55.mgx"));     // one-digit day
  EXPECT_FALSE(IsDefaultRecordingName(kPrefix + "05-3-2005 10'40'55.mgx"));    // apostrophes
  EXPECT_FALSE(IsDefaultRecordingName(kPrefix + "05-3-2005 10`40`55.mgx.bak"));
  EXPECT_FALSE(IsDefaultRecordingName(kPrefix + "05-3-2005 10`40`555.mgx"));
  EXPECT_FALSE(IsDefaultRecordingName(kPrefix + "05-3-205 10`40`55.mgx"));
  EXPECT_FALSE(IsDefaultRecordingName("記録されたゲーム - 05-3-2005 10`40`55.mgx"));  // one space
  EXPECT_FALSE(IsDefaultRecordingName("05-3-2005 10`40`55.mgx"));
  EXPECT_FALSE(IsDefaultRecordingName(""));

  EXPECT_TRUE(MatchesFileSearchPattern("abcabd", "a*b?"));
  EXPECT_TRUE(MatchesFileSearchPattern("", "*"));
  EXPECT_TRUE(MatchesFileSearchPattern("ABC", "a*c"));
  EXPECT_FALSE(MatchesFileSearchPattern("abcabe", "a*bd"));
  EXPECT_FALSE(MatchesFileSearchPattern("ab", "ab?"));
  EXPECT_FALSE(MatchesFileSearchPattern("Ａ", "ａ"));  // only ASCII letters fold
}

TEST(DefaultName, OtherVersionsNamesAreRecognisedExactly) {
  const std::string en = DefaultNamePrefixEnglish, up = DefaultNamePrefixUserPatch;
  // name, kind (-1 none), date fields when recognised
  struct Case {
    std::string name;
    int kind;
    DateFields date;
  } cases[] = {
      {en + "05-Mar-2005 10`40`55.mgx", 1, {"2005", "03", "05", "10", "40", "55"}},
      {en + "31-Dec-1999 23`59`59.MGX", 1, {"1999", "12", "31", "23", "59", "59"}},
      {en + "05-mar-2005 10`40`55.mgx", -1, {}},   // month names as the game writes them
      {en + "05-Mrz-2005 10`40`55.mgx", -1, {}},
      {en + "5-Mar-2005 10`40`55.mgx", -1, {}},
      {en + "05-Mar-2005 10'40'55.mgx", -1, {}},
      {en + "05-Mar-2005 10`40`55.mgz", -1, {}},
      {"recorded game - 05-Mar-2005 10`40`55.mgx", -1, {}},  // one space
      {up + "20080412-203015.mgz", 2, {"2008", "04", "12", "20", "30", "15"}},
      {up + "20080412-203015.MGZ", 2, {"2008", "04", "12", "20", "30", "15"}},
      {up + "2008041-2203015.mgz", -1, {}},
      {up + "20080412_203015.mgz", -1, {}},
      {up + "20080412-203015.mgx", -1, {}},
      {up + "2008O412-203015.mgz", -1, {}},
      {"rec.20080412-203015.mgz.bak", -1, {}},
      {kPrefix + "05-3-2005 10`40`55.mgx", 0, {"2005", "03", "05", "10", "40", "55"}},
  };
  for (const Case& c : cases) {
    const auto kind = DefaultNameKindOf(c.name);
    EXPECT_EQ(kind ? static_cast<int>(*kind) : -1, c.kind) << c.name;
    if (c.kind >= 0) {
      EXPECT_EQ(ReadDefaultNameDate("/games/" + c.name), c.date) << c.name;
    }
    EXPECT_EQ(TakesDateFromName(c.name), c.kind >= 0) << c.name;
  }
}

TEST(DefaultName, DateFieldsComeFromTheLayout) {
  // The short form: a one-character month gets a leading zero.
  EXPECT_EQ(ReadDefaultNameDate("/x/" + kPrefix + "05-3-2005 10`40`55.mgx"),
            (DateFields{"2005", "03", "05", "10", "40", "55"}));
  EXPECT_EQ(ReadDefaultNameDate(kPrefix + "05-12-2005 10`40`55.mgx"),
            (DateFields{"2005", "12", "05", "10", "40", "55"}));
  EXPECT_EQ(ReadDefaultNameDate(kPrefix + "05-12-2005 10`40`55.MGX"),
            (DateFields{"2005", "12", "05", "10", "40", "55"}));
  // Only the file name counts, not the folders.
  EXPECT_EQ(ReadDefaultNameDate("/記録されたゲーム -  99-9-9999 99`99`99/" + kPrefix + "01-2-2003 04`05`06.mgx"),
            (DateFields{"2003", "02", "01", "04", "05", "06"}));

  // Fields are taken by position, not tested for digits.
  EXPECT_EQ(ReadDefaultNameDate(kPrefix + "abcdefghijklmnopqrstuvw"),
            (DateFields{"ghij", "de", "ab", "lm", "op", "rs"}));
  // Cut short: pieces end at the end of the name.
  EXPECT_EQ(ReadDefaultNameDate(kPrefix + "05-12-20"), (DateFields{"20", "12", "05", "", "", ""}));
  EXPECT_EQ(ReadDefaultNameDate(kPrefix + "05-1"), (DateFields{"", "1", "05", "", "", ""}));

  // Positions count Shift-JIS bytes: "日" is two of them.
  EXPECT_EQ(ReadDefaultNameDate(kPrefix + "日-3-2005 10`40`55.mgx"),
            (DateFields{"2005", "03", "日", "10", "40", "55"}));
}

TEST(DefaultName, FileTimeGivesLocalDateFields) {
  q2test::TempDir dir;
  const std::string path = dir / "my game.mgx";
  ASSERT_TRUE(gen::WriteFile(path, "x"));
  ASSERT_TRUE(q2test::SetLocalMtime(path, 2004, 6, 7, 18, 30, 2));
  EXPECT_EQ(ReadFileTimeDate(path), (DateFields{"2004", "06", "07", "18", "30", "02"}));
  EXPECT_EQ(ReadDate(path, DateSource::FromFileTime), ReadFileTimeDate(path));
  EXPECT_EQ(ReadFileTimeDate(dir / "missing.mgx"), DateFields{});
}

}  // namespace
}  // namespace q2
