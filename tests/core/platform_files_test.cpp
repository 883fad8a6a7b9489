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
  for (const char* n : {"記録されたゲーム -  05-3-2005 10`40`55.mgx", "髙橋①～＼∥－.mgx", "한국어.mgx", "Ünïcödé 😀.mgx"})
    files[n] = n;
  for (const auto& [name, content] : files) ASSERT_TRUE(gen::WriteFile(JoinPath(dir.path(), name), content));
  EXPECT_EQ(q2test::Snapshot(dir.path()), files);
  std::vector<std::string> listed;
  const auto items = ListFolder(dir.path());
  for (const DirItem& it : items.value()) {
    listed.push_back(it.name);
    EXPECT_EQ(it.size, it.name.size());
  }
  EXPECT_EQ(listed.size(), 4u);

  const std::string first = files.begin()->first;
  const std::string a = JoinPath(dir.path(), first), b = JoinPath(dir.path(), files.rbegin()->first);
  const std::string sub = JoinPath(dir.path(), "sub"), moved = JoinPath(dir.path(), "太郎：2005年03月05日： vs .mgx");
  std::filesystem::create_directory(FsPath(sub));
  EXPECT_EQ(RenameNoReplace(a, b), RenameError::TargetExists);
  EXPECT_EQ(RenameNoReplace(a, sub), RenameError::TargetExists);
  EXPECT_EQ(RenameNoReplace(JoinPath(dir.path(), "missing.mgx"), JoinPath(dir.path(), "new.mgx")), RenameError::Failed);
  EXPECT_EQ(RenameNoReplace(a, moved), RenameError::None);
  files[FileNameOf(moved)] = files[first];
  files.erase(first);
  files["sub"] = "<dir>";
#ifdef _WIN32
  // Characters Windows refuses in file names: the rename fails there.
  for (const char* bad : {"a?b.mgx", "a*b.mgx", "a<b>.mgx", "a|b.mgx", "a\"b.mgx"})
    EXPECT_EQ(RenameNoReplace(moved, JoinPath(dir.path(), bad)), RenameError::Failed) << bad;
#endif
  EXPECT_EQ(q2test::Snapshot(dir.path()), files);
}

TEST(PlatformFiles, FileTimesAreLocalCalendarTimes) {
  q2test::TempDir dir;
  const std::string path = JoinPath(dir.path(), "時刻.mgx");
  ASSERT_TRUE(gen::WriteFile(path, "x"));
  for (const LocalTime t : {LocalTime{2004, 6, 7, 18, 30, 12}, LocalTime{2006, 1, 14, 23, 59, 1}}) {
    ASSERT_TRUE(q2test::SetLocalMtime(path, t.year, t.month, t.day, t.hour, t.minute, t.second));
    EXPECT_EQ(FileLocalTime(path), t);
    EXPECT_EQ(ListFolder(dir.path()).value().at(0).modified, t);
  }
  EXPECT_FALSE(FileLocalTime(JoinPath(dir.path(), "missing.mgx")));
}

}  // namespace
}  // namespace q2
