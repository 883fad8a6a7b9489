#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/files.h"
#include "platform/text.h"
#include "settings/core/settings.h"
#include "support/temp_dir.h"
#include "view/core/folder_list.h"

namespace fs = std::filesystem;
using namespace q2;

TEST(FolderTexts, SizeTimeAndTypeRules) {
  EXPECT_EQ(SizeText(1263616), "1,234 KB");
  EXPECT_EQ(SizeText(1023), "0 KB");
  EXPECT_EQ(SizeText(1024), "1 KB");
  EXPECT_EQ(SizeText(1024ull * 1000 * 1000), "1,000,000 KB");
  // The KiB count is a 32-bit value, as the list always showed it.
  EXPECT_EQ(SizeText((1ull << 42) + 5 * 1024), "5 KB");
  EXPECT_EQ(TimeText({2005, 3, 26, 2, 23, 59}), "2005/03/26 02:23");

}

TEST(FolderScan, RecordingsOfEachKindAreTypedByTheirExtension) {
  q2test::TempDir d;
  // name, type text ("" = not listed)
  const std::pair<std::string, std::string> cases[] = {
      {"game.mgx", kTypeRecording},     {"game.mgx.bak", kTypeRecording}, {".mgx", ""},
      {"GAME.MGX", ""},                 {"rec.20200101-101010.mgz", kTypeRecordingMgz},
      {"a.MGZ", ""},                    {".mgz", ""},
      {"old.mgl", kTypeRecordingMgl},   {"x.mgl.mgx", kTypeRecording},
      {"notes.txt", ""},
  };
  for (const auto& [name, type] : cases) std::ofstream(d / name);
  fs::create_directory(d / "old.mgz");  // a folder of that name lists as a recording
  auto entries = ScanFolder(d.path());
  ASSERT_TRUE(entries);
  std::map<std::string, std::string> listed;
  for (const FolderEntry& e : *entries) listed[e.name] = e.typeText;
  for (const auto& [name, type] : cases) {
    EXPECT_EQ(listed.count(name) ? listed[name] : "", type) << name;
    EXPECT_EQ(ContainsRecordingExtension("/a/" + name), !type.empty() || name.size() == 4) << name;
  }
  EXPECT_EQ(listed["old.mgz"], kTypeRecordingMgz);
}

TEST(FolderTexts, CaptionFromDesktopWord) {
  EXPECT_EQ(FolderCaption("/home/u/デスクトップ/games"), "デスクトップ/games");
  EXPECT_EQ(FolderCaption("デスクトップ/games"), "デスクトップ/games");
  EXPECT_EQ(FolderCaption("/home/u/Desktop"), "/home/u/Desktop");
  // The first occurrence counts.
  EXPECT_EQ(FolderCaption("/xデスクトップ/デスクトップ"), "デスクトップ/デスクトップ");
}

TEST(FolderTexts, ParentAndJoin) {
  const Places places{"/home/u/Desktop", "/home/u"};
  struct Case {
    const char* current;
    std::string up;
  };
#ifdef _WIN32
  const Case cases[] = {
      {"C:\\a\\b", "C:\\a"},   {"C:\\a", "C:"},           {"C:", places.desktop},
      {"C:\\", places.desktop}, {"C:\\a\\b\\", "C:\\a\\b"}, {"C:/a/b", "C:/a"},
      {"\\\\srv\\share\\x", "\\\\srv\\share"}, {"\\\\srv\\share", places.desktop},
  };
  EXPECT_EQ(JoinPath("C:\\a", "b.mgx"), "C:\\a\\b.mgx");
  EXPECT_EQ(JoinPath("C:\\", "b.mgx"), "C:\\b.mgx");
  EXPECT_EQ(JoinPath("C:\\a", ""), "C:\\a\\");
  EXPECT_EQ(AbsolutePath("C:\\a\\b\\..\\c\\"), "C:\\a\\c");
  EXPECT_EQ(AbsolutePath("C:\\"), "C:\\");
#else
  const Case cases[] = {
      {"/a/b", "/a"}, {"/x", "/"}, {"/", places.desktop}, {"/a/b/", "/a/b"},
      {"C:\\Program Files\\SaveGame", places.desktop},
  };
  EXPECT_EQ(JoinPath("/a", "b.mgx"), "/a/b.mgx");
  EXPECT_EQ(JoinPath("/", "b.mgx"), "/b.mgx");
  EXPECT_EQ(JoinPath("/a", ""), "/a/");
  EXPECT_EQ(AbsolutePath("/a/b/../c/"), "/a/c");
  EXPECT_EQ(AbsolutePath("/"), "/");
  EXPECT_EQ(AbsolutePath("x/./y"), PathString(fs::current_path() / "x/y"));
#endif
  for (const Case& c : cases) EXPECT_EQ(UpTarget(c.current, places), c.up) << c.current;
}

TEST(FolderScan, ListsWholeFolderSortedWithoutHiddenItems) {
  q2test::TempDir d;
  for (int i = 0; i < 3500; ++i) {
    std::string name = "r";
    name += std::to_string(i);
    std::ofstream(d / (name + ".mgx"));
  }
  std::ofstream(d / "B.mgx");
  std::ofstream(d / "a.mgx");
  std::ofstream(d / ".hidden.mgx");
  std::ofstream(d / "readme.txt");
  fs::create_directory(d / "sub");
  fs::create_directory(d / ".git");
#ifdef _WIN32
  // Windows hides by attribute, not by name.
  for (const char* n : {".hidden.mgx", ".git"}) SetFileAttributesW(FsPath(d / n).c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
  auto entries = ScanFolder(d.path());
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 3503u);
  EXPECT_EQ((*entries)[0].name, "a.mgx");
  EXPECT_EQ((*entries)[1].name, "B.mgx");
  EXPECT_EQ(entries->back().name, "sub");
  EXPECT_EQ(entries->back().typeText, kTypeFolder);
  EXPECT_EQ(entries->back().sizeText, "0 KB");
  EXPECT_FALSE(ScanFolder(d / "missing"));
  EXPECT_FALSE(ScanFolder(d / "readme.txt"));
}

TEST(FolderScan, SortsByTheShownNameInJapaneseOrder) {
  // Digits, Latin, kana (half-width katakana among the full-width forms),
  // kanji in dictionary order; a code page 932 name by its decoded form.
  const std::vector<std::string> shown = {
      "10.mgx", "2005.mgx", "abc.mgx", "ABD.mgx", "sub", "Zulu.mgx", "ｱｲｽ.mgx", "かたな.mgx",
      "ｹﾞｰﾑ.mgx", "サクラ.mgx", "ﾀﾞﾝｽ.mgx", "はな.mgx", "記録されたゲーム.mgx", "古い記録.mgx",
      "新記録.mgx", "大会決勝.mgx"};
#ifdef _WIN32
  const std::string ownName = "新記録.mgx";  // names are UTF-8 here
#else
  const std::string ownName = Utf8ToCp932("新記録.mgx").value();  // from a Japanese archive
#endif
  q2test::TempDir d;
  for (const std::string& n : shown) {
    if (n == "sub")
      fs::create_directory(FsPath(d / n));
    else
      std::ofstream(FsPath(d / (n == "新記録.mgx" ? ownName : n)));
  }
  auto entries = ScanFolder(d.path());
  ASSERT_TRUE(entries);
  std::vector<std::string> order;
  for (const FolderEntry& e : *entries) order.push_back(DisplayFileName(e.name));
  EXPECT_EQ(order, shown);
  EXPECT_EQ((*entries)[14].name, ownName);  // listed by its own bytes
}

TEST(FolderNavigation, HistoryFollowsTheButtons) {
  FolderNavigator n;
  n.StartHistory("A");
  EXPECT_EQ(n.HistoryButtons(), std::make_pair(false, false));
  n.PushHistory("A/B");
  EXPECT_EQ(n.HistoryButtons(), std::make_pair(true, false));
  EXPECT_EQ(n.StepBack(), "A");
  EXPECT_EQ(n.HistoryButtons(), std::make_pair(false, true));
  EXPECT_EQ(n.StepBack(), "A");  // already the first
  // Pushing drops everything after the current element.
  n.PushHistory("parent");
  EXPECT_EQ(n.history(), (std::vector<std::string>{"A", "parent"}));
  EXPECT_EQ(n.HistoryButtons(), std::make_pair(true, false));
  n.PushHistory("parent");  // no duplicate check
  EXPECT_EQ(n.history().size(), 3u);
  n.StepBack();
  EXPECT_EQ(n.HistoryButtons(), std::make_pair(true, true));
  EXPECT_EQ(n.StepForward(), "parent");
  EXPECT_EQ(n.StepForward(), "parent");
  EXPECT_EQ(n.historyPosition(), 3);
}

TEST(FolderNavigation, MissingFolderFallsBackWithoutLooping) {
  q2test::TempDir d;
  fs::create_directory(d / "desk");
  fs::create_directory(d / "home");
  std::ofstream(d / "home/h.mgx");
  FolderNavigator n;
  SetStartupFolder("untouched");

  Listing ok = n.NavigateTo(d / "desk", {d / "desk", d / "home"});
  EXPECT_TRUE(ok.messages.empty());
  EXPECT_EQ(StartupFolder(), "untouched");

  Listing l = n.NavigateTo(d / "gone", {d / "desk", d / "home"});
  ASSERT_EQ(l.messages.size(), 1u);
  EXPECT_EQ(l.messages[0], MissingFolderMessage());
  EXPECT_EQ(l.folder, d / "desk");
  EXPECT_EQ(n.currentFolder(), d / "desk");
  EXPECT_EQ(StartupFolder(), d / "desk");
  EXPECT_TRUE(l.listed);

  // Desktop gone too: the home folder once, then an empty list.
  l = n.NavigateTo(d / "gone", {d / "nodesk", d / "home"});
  EXPECT_EQ(l.messages.size(), 1u);
  EXPECT_EQ(l.folder, d / "home");
  ASSERT_EQ(l.entries.size(), 1u);
  EXPECT_EQ(StartupFolder(), d / "home");
  l = n.NavigateTo(d / "gone", {d / "nodesk", d / "nohome"});
  EXPECT_EQ(l.messages.size(), 1u);
  EXPECT_FALSE(l.listed);
  EXPECT_TRUE(l.entries.empty());

  // The start-up folder itself passed in: the fallback replaces it, the
  // folder being listed stays what was asked for.
  SetStartupFolder(d / "gone");
  l = n.NavigateTo(StartupFolder(), {d / "desk", d / "home"});
  EXPECT_EQ(l.folder, d / "desk");
}
