// The game's default names: which names are one, and the date fields they give.
#include "rename/core/default_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "support/core_support.h"
#include "support/file_time.h"

namespace q2 {
namespace {

TEST(DefaultName, LayoutsOfEveryVersionAndTheirDates) {
  const std::string jp = DefaultNamePrefix, en = DefaultNamePrefixEnglish, up = DefaultNamePrefixUserPatch;
  const DateFields d20050305 = {"2005", "03", "05", "10", "40", "55"};
  struct Case {
    std::string name;
    int kind;                         // -1: none
    std::optional<DateFields> date;   // from the name, when checked
  } cases[] = {
      // The Japanese one by the file search's pattern: "?" one character
      // (a double-byte one too), "*" any run, letters in any case; the short
      // form's one-character month gets a leading zero.
      {jp + "05-3-2005 10`40`55.mgx", 0, d20050305},
      {jp + "05-12-2005 10`40`55.MGX", 0, DateFields{"2005", "12", "05", "10", "40", "55"}},
      {jp + "05-3-2005 10`40`55.mGx", 0, d20050305},
      {jp + "日本-3-2005 10`40`55.mgx", 0, {}},
      {jp + "日-3-2005 10`40`55.mgx", -1, DateFields{"2005", "03", "日", "10", "40", "55"}},  // positions count code page 932 bytes
      {jp + "05--2005 10`40`55.mgx", 0, {}},
      {jp + "05-a-b-c-2005 10`40`55.mgx", 0, {}},
      {jp + "5-3-2005 10`40`55.mgx", -1, {}},
      {jp + "05-3-2005 10'40'55.mgx", -1, {}},
      {jp + "05-3-2005 10`40`55.mgx.bak", -1, {}},
      {jp + "05-3-2005 10`40`555.mgx", -1, {}},
      {jp + "05-3-205 10`40`55.mgx", -1, {}},
      {"記録されたゲーム - 05-3-2005 10`40`55.mgx", -1, {}},
      {"05-3-2005 10`40`55.mgx", -1, {}},
      {"", -1, {}},
      // With the prefix the fields are taken by place, not tested for
      // digits, and end where the name ends.
      {jp + "abcdefghijklmnopqrstuvw", -1, DateFields{"ghij", "de", "ab", "lm", "op", "rs"}},
      {jp + "05-12-20", -1, DateFields{"20", "12", "05", "", "", ""}},
      {jp + "05-1", -1, DateFields{"", "1", "05", "", "", ""}},
      // The English and UserPatch ones exactly, month names as the game writes them.
      {en + "05-Mar-2005 10`40`55.mgx", 1, d20050305},
      {en + "31-Dec-1999 23`59`59.MGX", 1, DateFields{"1999", "12", "31", "23", "59", "59"}},
      {en + "05-mar-2005 10`40`55.mgx", -1, {}},
      {en + "05-Mrz-2005 10`40`55.mgx", -1, {}},
      {en + "5-Mar-2005 10`40`55.mgx", -1, {}},
      {en + "05-Mar-2005 10'40'55.mgx", -1, {}},
      {en + "05-Mar-2005 10`40`55.mgz", -1, {}},
      {"recorded game - 05-Mar-2005 10`40`55.mgx", -1, {}},
      {up + "20080412-203015.mgz", 2, DateFields{"2008", "04", "12", "20", "30", "15"}},
      {up + "20080412-203015.MGZ", 2, DateFields{"2008", "04", "12", "20", "30", "15"}},
      {up + "2008041-2203015.mgz", -1, {}},
      {up + "20080412_203015.mgz", -1, {}},
      {up + "20080412-203015.mgx", -1, {}},
      {up + "2008O412-203015.mgz", -1, {}},
      {"rec.20080412-203015.mgz.bak", -1, {}},
  };
  for (const Case& c : cases) {
    const auto kind = DefaultNameKindOf(c.name);
    EXPECT_EQ(kind ? static_cast<int>(*kind) : -1, c.kind) << c.name;
    // Only the file name counts, not the folders.
    if (c.date) EXPECT_EQ(ReadDefaultNameDate("/" + jp + "99-9-9999 99`99`99/" + c.name), *c.date) << c.name;
  }
  const std::tuple<const char*, const char*, bool> patterns[] = {
      {"abcabd", "a*b?", true}, {"", "*", true}, {"ABC", "a*c", true}, {"abcabe", "a*bd", false},
      {"ab", "ab?", false}, {"Ａ", "ａ", false}};  // only ASCII letters fold
  for (const auto& [name, pattern, match] : patterns) EXPECT_EQ(MatchesFileSearchPattern(name, pattern), match) << name;
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
