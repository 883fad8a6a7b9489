// The game's default names: which names are one, and the date fields they give.
#include "rename/core/default_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace q2 {
namespace {

TEST(DefaultName, LayoutsOfEveryVersionAndTheirDates) {
  const std::string jp = DefaultNamePrefix, en = DefaultNamePrefixEnglish, up = DefaultNamePrefixUserPatch;
  const DateFields d = {"2005", "03", "05", "10", "40", "55"}, upd = {"2008", "04", "12", "20", "30", "15"};
  const std::tuple<std::string, int, std::optional<DateFields>> cases[] = {  // name, kind (-1 none), date when checked
      // The Japanese one by the file search's pattern: "?" one character
      // (a double-byte one too), "*" any run, letters in any case; the short
      // form's one-character month gets a leading zero.
      {jp + "05-3-2005 10`40`55.mgx", 0, d}, {jp + "05-3-2005 10`40`55.mGx", 0, d},
      {jp + "05-12-2005 10`40`55.MGX", 0, DateFields{"2005", "12", "05", "10", "40", "55"}},
      {jp + "日本-3-2005 10`40`55.mgx", 0, {}}, {jp + "05--2005 10`40`55.mgx", 0, {}},
      {jp + "05-a-b-c-2005 10`40`55.mgx", 0, {}},
      // With the prefix alone the fields are taken by place in code page
      // 932 bytes, not tested for digits, and end where the name ends.
      {jp + "日-3-2005 10`40`55.mgx", -1, DateFields{"2005", "03", "日", "10", "40", "55"}},
      {jp + "abcdefghijklmnopqrstuvw", -1, DateFields{"ghij", "de", "ab", "lm", "op", "rs"}},
      {jp + "05-12-20", -1, DateFields{"20", "12", "05", "", "", ""}}, {jp + "05-1", -1, DateFields{"", "1", "05", "", "", ""}},
      // The English and UserPatch ones exactly, month names as the game writes them.
      {en + "05-Mar-2005 10`40`55.mgx", 1, d}, {en + "31-Dec-1999 23`59`59.MGX", 1, DateFields{"1999", "12", "31", "23", "59", "59"}},
      {up + "20080412-203015.mgz", 2, upd}, {up + "20080412-203015.MGZ", 2, upd},
  };
  for (const auto& [name, kind, date] : cases) {
    const auto k = DefaultNameKindOf(name);
    EXPECT_EQ(k ? static_cast<int>(*k) : -1, kind) << name;
    // Only the file name counts, not the folders.
    if (date) {
      EXPECT_EQ(ReadDefaultNameDate("/" + jp + "99-9-9999 99`99`99/" + name), *date) << name;
    }
  }
  for (const std::string& none : std::vector<std::string>{jp + "5-3-2005 10`40`55.mgx", jp + "05-3-2005 10'40'55.mgx", jp + "05-3-2005 10`40`55.mgx.bak",
        jp + "05-3-2005 10`40`555.mgx", jp + "05-3-205 10`40`55.mgx", "記録されたゲーム - 05-3-2005 10`40`55.mgx",
        "05-3-2005 10`40`55.mgx", "", en + "05-mar-2005 10`40`55.mgx", en + "05-Mrz-2005 10`40`55.mgx",
        en + "5-Mar-2005 10`40`55.mgx", en + "05-Mar-2005 10'40'55.mgx", en + "05-Mar-2005 10`40`55.mgz",
        "recorded game - 05-Mar-2005 10`40`55.mgx", up + "2008041-2203015.mgz", up + "20080412_203015.mgz",
        up + "20080412-203015.mgx", up + "2008O412-203015.mgz", "rec.20080412-203015.mgz.bak"})
    EXPECT_FALSE(DefaultNameKindOf(none)) << none;
  const std::tuple<const char*, const char*, bool> patterns[] = {
      {"abcabd", "a*b?", true}, {"", "*", true}, {"ABC", "a*c", true}, {"abcabe", "a*bd", false},
      {"ab", "ab?", false}, {"Ａ", "ａ", false}};  // only ASCII letters fold
  for (const auto& [name, pattern, match] : patterns) EXPECT_EQ(MatchesFileSearchPattern(name, pattern), match) << name;
}

}  // namespace
}  // namespace q2
