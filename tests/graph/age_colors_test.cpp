#include <gtest/gtest.h>

#include "platform/files.h"
#include "graph/core/age_colors.h"
#include "settings/core/ini_file.h"
#include "support/temp_dir.h"

namespace q2 {
namespace {

TEST(AgeColors, ResetWritesTheFourDefaultsInOrderAndKeepsTheRest) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  OverrideSettingsPath(ini);
  IniWriteInt(ini, kSectionView, "COLOR_RYOUSYU", 0);
  IniWriteInt(ini, kSectionView, "COLOR_TEIOU", 123);
  IniWriteInt(ini, kSectionPlayer, "PLAYER3COLOR", 4242);
  EXPECT_EQ(LoadAgeColors(ini)[1], 0u);  // a stored 0 is black here, not the default

  ResetAgeColors(ini);
  EXPECT_EQ(IniReadRaw(ini, kSectionView, "COLOR_ANKOKU"), "16711680");
  EXPECT_EQ(IniReadRaw(ini, kSectionView, "COLOR_RYOUSYU"), "255");
  EXPECT_EQ(IniReadRaw(ini, kSectionView, "COLOR_JYOUSYU"), "32768");
  EXPECT_EQ(IniReadRaw(ini, kSectionView, "COLOR_TEIOU"), "5898239");
  EXPECT_EQ(IniReadInt(ini, kSectionPlayer, "PLAYER3COLOR", 0), 4242);
  EXPECT_EQ(LoadAgeColors(ini), kDefaultAgeColors);

  // Written in a fresh file, the keys come in the order dark … imperial.
  const std::string fresh = dir / "fresh.ini";
  ResetAgeColors(fresh);
  const std::optional<uint64_t> size = FileSizeOf(fresh);
  ASSERT_TRUE(size);
  ByteBuffer buf;
  ASSERT_EQ(ReadWholeFile(fresh, *size, buf), ReadStatus::Ok);
  const std::string text(reinterpret_cast<const char*>(buf.data.get()), buf.size);
  const size_t a = text.find("COLOR_ANKOKU"), b = text.find("COLOR_RYOUSYU"),
               c = text.find("COLOR_JYOUSYU"), d = text.find("COLOR_TEIOU");
  ASSERT_NE(d, std::string::npos);
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_LT(c, d);

  // A file that can't be written: silently nothing.
  ResetAgeColors(dir / "no-such-folder/Quoran.ini");
  EXPECT_FALSE(IniReadRaw(dir / "no-such-folder/Quoran.ini", kSectionView, "COLOR_ANKOKU"));
  OverrideSettingsPath("");
}

}  // namespace
}  // namespace q2
