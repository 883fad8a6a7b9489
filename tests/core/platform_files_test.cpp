// The file operations of the platform layer, on the real file system of
// each platform: Japanese names, no-replace renames, local file times.
#include "platform/files.h"

#include <gtest/gtest.h>

#include "support/core_support.h"
#include "support/file_time.h"

namespace q2 {
namespace {

TEST(PlatformFiles, NamesKeepTheirCharactersAndRenamesNeverReplace) {
  q2test::TempDir dir;
  // The game's default name, characters where code page 932 and Unicode
  // disagree, and names no code page 932 can hold.
  std::map<std::string, std::string> files;
  for (const char* n : {"記録されたゲーム -  05-3-2005 10`40`55.mgx", "髙橋①～＼∥－.mgx", "한국어.mgx", "Ünïcödé 😀.mgx"}) {
    files[n] = n;
    ASSERT_TRUE(gen::WriteFile(JoinPath(dir.path(), n), n));
  }
  const std::string sub = JoinPath(dir.path(), "sub"), moved = JoinPath(dir.path(), "太郎：2005年03月05日： vs .mgx");
  std::filesystem::create_directory(FsPath(sub));
  const std::string first = files.begin()->first, a = JoinPath(dir.path(), first);
  const LocalTime t0{2004, 6, 7, 18, 30, 12};
  ASSERT_TRUE(q2test::SetLocalMtime(a, t0.year, t0.month, t0.day, t0.hour, t0.minute, t0.second));
  const auto listed = ListFolder(dir.path());
  for (const DirItem& it : listed.value()) {
    EXPECT_EQ(it.isDir ? 0 : it.size, it.isDir ? 0 : files.at(it.name).size());
    EXPECT_TRUE(it.name != first || it.modified == t0);
  }
  EXPECT_EQ(RenameNoReplace(a, JoinPath(dir.path(), files.rbegin()->first)), RenameError::TargetExists);
  EXPECT_EQ(RenameNoReplace(a, sub), RenameError::TargetExists);
  EXPECT_EQ(RenameNoReplace(JoinPath(dir.path(), "missing.mgx"), JoinPath(dir.path(), "new.mgx")), RenameError::Failed);
  EXPECT_EQ(RenameNoReplace(a, moved), RenameError::None);
  files[FileNameOf(moved)] = first;
  files.erase(first);
  files["sub"] = "<dir>";
#ifdef _WIN32
  // Characters Windows refuses in file names: the rename fails there.
  for (const char* bad : {"a?b.mgx", "a*b.mgx", "a<b>.mgx", "a|b.mgx", "a\"b.mgx"})
    EXPECT_EQ(RenameNoReplace(moved, JoinPath(dir.path(), bad)), RenameError::Failed) << bad;
#endif
  EXPECT_EQ(q2test::Snapshot(dir.path()), files);
  EXPECT_EQ(FileLocalTime(moved), t0);  // file times are local calendar times
  EXPECT_FALSE(FileLocalTime(JoinPath(dir.path(), "missing.mgx")));
}

}  // namespace
}  // namespace q2
