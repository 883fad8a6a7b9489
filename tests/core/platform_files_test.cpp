// The file operations of the platform layer, on the real file system of
// each platform: Japanese names, no-replace renames, local file times.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/recording_generator.h"
#include "platform/files.h"
#include "support/file_time.h"
#include "support/temp_dir.h"

namespace q2 {
namespace {

std::string Content(const std::string& path) {
  auto size = FileSizeOf(path);
  ByteBuffer b;
  if (!size || ReadWholeFile(path, *size, b) != ReadStatus::Ok) return "<unreadable>";
  return std::string(reinterpret_cast<const char*>(b.data.get()), b.size);
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> out;
  for (const DirItem& it : ListFolder(folder).value_or(std::vector<DirItem>{})) out.push_back(it.name);
  std::sort(out.begin(), out.end());
  return out;
}

TEST(PlatformFiles, NamesKeepTheirCharactersAndRenamesNeverReplace) {
  q2test::TempDir dir;
  // The game's default name, characters where code page 932 and Unicode
  // disagree, and names no code page 932 can hold.
  std::vector<std::string> names = {"記録されたゲーム -  05-3-2005 10`40`55.mgx", "髙橋①～＼∥－.mgx", "한국어.mgx",
                                    "Ünïcödé 😀.mgx"};
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) ASSERT_TRUE(gen::WriteFile(JoinPath(dir.path(), n), n)) << n;
  EXPECT_EQ(Names(dir.path()), names);
  for (const std::string& n : names) {
    EXPECT_EQ(Content(JoinPath(dir.path(), n)), n);
    EXPECT_EQ(FileSizeOf(JoinPath(dir.path(), n)), n.size());
  }

  const std::string a = JoinPath(dir.path(), names[0]), b = JoinPath(dir.path(), names[1]);
  const std::string sub = JoinPath(dir.path(), "sub");
  std::filesystem::create_directory(FsPath(sub));
  EXPECT_EQ(RenameNoReplace(a, b), RenameError::TargetExists);
  EXPECT_EQ(RenameNoReplace(a, sub), RenameError::TargetExists);
  EXPECT_EQ(RenameNoReplace(JoinPath(dir.path(), "missing.mgx"), JoinPath(dir.path(), "new.mgx")),
            RenameError::Failed);
  EXPECT_EQ(Content(a), names[0]);
  EXPECT_EQ(Content(b), names[1]);
  EXPECT_TRUE(IsDirectory(sub));

  const std::string moved = JoinPath(dir.path(), "太郎：2005年03月05日： vs .mgx");
  EXPECT_EQ(RenameNoReplace(a, moved), RenameError::None);
  EXPECT_FALSE(PathExists(a));
  EXPECT_EQ(Content(moved), names[0]);

#ifdef _WIN32
  // Characters Windows refuses in file names: the rename fails there and
  // the recording keeps its name.
  for (const char* bad : {"a?b.mgx", "a*b.mgx", "a<b>.mgx", "a|b.mgx", "a\"b.mgx"}) {
    EXPECT_EQ(RenameNoReplace(moved, JoinPath(dir.path(), bad)), RenameError::Failed) << bad;
    EXPECT_EQ(Content(moved), names[0]);
  }
#endif
}

TEST(PlatformFiles, FileTimesAreLocalCalendarTimes) {
  q2test::TempDir dir;
  const std::string path = JoinPath(dir.path(), "時刻.mgx");
  ASSERT_TRUE(gen::WriteFile(path, "x"));
  for (const LocalTime t : {LocalTime{2004, 6, 7, 18, 30, 12}, LocalTime{2006, 1, 14, 23, 59, 1}}) {
    ASSERT_TRUE(q2test::SetLocalMtime(path, t.year, t.month, t.day, t.hour, t.minute, t.second));
    EXPECT_EQ(FileLocalTime(path), t);
    auto items = ListFolder(dir.path());
    ASSERT_TRUE(items && items->size() == 1);
    EXPECT_EQ(items->front().modified, t);
  }
  EXPECT_FALSE(FileLocalTime(JoinPath(dir.path(), "missing.mgx")));
}

}  // namespace
}  // namespace q2
