// The folder list: what a folder shows, in which order, and where the
// navigation goes.
#include "core/browse/folder_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/browse/properties.h"
#include "core/settings/settings.h"
#include "support/core_support.h"
#include "support/file_time.h"

namespace fs = std::filesystem;
using namespace q2;

TEST(FolderTexts, SizeTimeCaptionAndParentFolder) {
  // The size in KiB, its count cut to 32 bits as the list always showed it.
  for (const auto& [bytes, text] : {std::pair{1263616ull, "1,234 KB"}, {1023ull, "0 KB"}, {1024ull, "1 KB"},
                                    {1024ull * 1000 * 1000, "1,000,000 KB"}, {(1ull << 42) + 5 * 1024, "5 KB"}})
    EXPECT_EQ(SizeText(bytes), text) << bytes;
  EXPECT_EQ(TimeText({2005, 3, 26, 2, 23, 59}), "2005/03/26 02:23");
  // The caption from the first "デスクトップ" after the first character.
  for (const auto& [folder, caption] : {std::pair{"/home/u/デスクトップ/games", "デスクトップ/games"},
                                        {"デスクトップ/a/デスクトップ/b", "デスクトップ/b"}, {"/home/u/Desktop", "/home/u/Desktop"},
                                        {"/xデスクトップ/デスクトップ", "デスクトップ/デスクトップ"}})
    EXPECT_EQ(FolderCaption(folder), caption);
  // A recording's extension anywhere after the first character.
  for (const auto& [path, recording] : {std::pair{"/r/a.mgx", true}, {"a.mgl.txt", true}, {".mgxa", false}, {".mgz", false}})
    EXPECT_EQ(ContainsRecordingExtension(path), recording) << path;
  const Places places{"/home/u/Desktop", "/home/u"};
#ifdef _WIN32
  const std::pair<const char*, std::string> up[] = {
      {"C:\\a\\b", "C:\\a"}, {"C:\\a", "C:"}, {"C:", places.desktop}, {"C:\\", places.desktop}, {"C:\\a\\b\\", "C:\\a\\b"},
      {"C:/a/b", "C:/a"}, {"\\\\srv\\share\\x", "\\\\srv\\share"}, {"\\\\srv\\share", places.desktop}};
  EXPECT_EQ(AbsolutePath("C:\\a\\b\\..\\c\\") + "|" + AbsolutePath("C:\\"), "C:\\a\\c|C:\\");
#else
  const std::pair<const char*, std::string> up[] = {
      {"/a/b", "/a"}, {"/x", "/"}, {"/", places.desktop}, {"/a/b/", "/a/b"}, {"C:\\Program Files\\SaveGame", places.desktop}};
  EXPECT_EQ(AbsolutePath("/a/b/../c/") + "|" + AbsolutePath("/"), "/a/c|/");
  EXPECT_EQ(AbsolutePath("x/./y"), PathString(fs::current_path() / "x/y"));
#endif
  for (const auto& [current, target] : up) EXPECT_EQ(UpTarget(current, places), target) << current;
}

TEST(FolderScan, ListsFoldersAndRecordingsInJapaneseOrderWithoutHiddenItems) {
  q2test::TempDir d;
  // Typed by the extension anywhere after the first character; other
  // files and hidden items are left out; a folder named like a recording
  // lists as one.
  const std::tuple<std::string, bool, std::string> kinds[] = {  // name, folder, type ("" not listed)
      {"game.mgx.bak", false, kTypeRecording}, {".mgx", false, ""}, {"GAME.MGX", false, ""},
      {"rec.20200101-101010.mgz", false, kTypeRecordingMgz}, {"a.MGZ", false, ""}, {".mgz", false, ""},
      {"old.mgl", false, kTypeRecordingMgl}, {"x.mgl.mgx", false, kTypeRecording}, {"readme.txt", false, ""},
      {"old.mgz", true, kTypeRecordingMgz}, {"sub", true, kTypeFolder}, {".hidden.mgx", false, ""}, {".git", true, ""}};
  for (const auto& [name, folder, type] : kinds)
    folder ? void(fs::create_directory(d / name)) : q2test::WriteBytes(d / name, std::string(name.size() * 1000, 'x'));
#ifdef _WIN32
  // Windows hides by attribute, not by name.
  for (const char* n : {".hidden.mgx", ".git"}) SetFileAttributesW(FsPath(d / n).c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
  // Digits, Latin, kana (half-width katakana among the full-width forms),
  // kanji in dictionary order; a code page 932 name by its decoded form;
  // more than the 3000 entries the list once held.
  const std::vector<std::string> shown = {"10.mgx", "2005.mgx", "abc.mgx", "ABD.mgx", "sub", "Zulu.mgx", "ｱｲｽ.mgx",
                                          "かたな.mgx", "ｹﾞｰﾑ.mgx", "サクラ.mgx", "ﾀﾞﾝｽ.mgx", "はな.mgx",
                                          "記録されたゲーム.mgx", "古い記録.mgx", "新記録.mgx", "大会決勝.mgx"};
  const std::string ownName = kPathSep == '/' ? q2test::Cp932("新記録.mgx") : "新記録.mgx";  // from a Japanese archive
  for (const std::string& n : shown) q2test::WriteBytes(d / (n == "新記録.mgx" ? ownName : n), "");
  for (int i = 0; i < 3000; ++i) fs::create_hard_link(d / "10.mgx", d / ("r" + std::to_string(i) + ".mgx"));  // quick to make
  const auto entries = ScanFolder(d.path());
  ASSERT_TRUE(entries);
  EXPECT_EQ(entries->size(), 3000 + shown.size() + 5);
  std::map<std::string, std::pair<std::string, std::string>> listed;  // name → type, size
  std::vector<std::string> order;
  for (const FolderEntry& e : *entries) {
    listed[e.name] = {e.typeText, e.sizeText};
    if (std::count(shown.begin(), shown.end(), DisplayFileName(e.name))) order.push_back(DisplayFileName(e.name));
  }
  EXPECT_EQ(order, shown);
  EXPECT_EQ(listed.count(ownName), 1u);  // listed by its own bytes
  for (const auto& [name, folder, type] : kinds) EXPECT_EQ(listed.count(name) ? listed[name].first : "", type) << name;
  EXPECT_EQ(listed["rec.20200101-101010.mgz"].second + "|" + listed["sub"].second, "22 KB|0 KB");  // 23000 bytes
  // Asked for, hidden folders are listed; hidden files still are not.
  const auto withHidden = ScanFolder(d.path(), true);
  ASSERT_TRUE(withHidden);
  EXPECT_EQ(withHidden->size(), entries->size() + 1);
  EXPECT_EQ(std::count_if(withHidden->begin(), withHidden->end(), [](const FolderEntry& e) { return e.name == ".git"; }), 1);
  EXPECT_FALSE(ScanFolder(d / "missing"));
  EXPECT_FALSE(ScanFolder(d / "readme.txt"));
}

TEST(FolderNavigation, HistoryFollowsTheButtons) {
  FolderNavigator n;
  n.StartHistory("A");
  // Steps and what they give: "+x" pushes x; "<" and ">" step; the buttons after.
  // Pushing drops everything after the current element; no duplicate check.
  const std::tuple<std::string, std::string, std::pair<bool, bool>> steps[] = {
      {"", "", {false, false}}, {"+A/B", "", {true, false}}, {"<", "A", {false, true}}, {"<", "A", {false, true}},
      {"+B", "", {true, false}}, {"+B", "", {true, false}}, {"<", "B", {true, true}}, {">", "B", {true, false}},
      {">", "B", {true, false}}};
  for (const auto& [step, got, buttons] : steps) {
    const std::string went = step == "<" ? n.StepBack() : step == ">" ? n.StepForward() : "";
    if (step[0] == '+') n.PushHistory(step.substr(1));
    EXPECT_EQ(std::make_pair(went, n.HistoryButtons()), std::make_pair(got, buttons)) << step;
  }
  EXPECT_EQ(n.history(), (std::vector<std::string>{"A", "B", "B"}));
  EXPECT_EQ(n.historyPosition(), 3);
}

TEST(FolderNavigation, AMissingFolderFallsBackWithoutLooping) {
  q2test::TempDir d;
  fs::create_directory(d / "desk");
  fs::create_directory(d / "home");
  q2test::WriteBytes(d / "home/h.mgx", "");
  FolderNavigator n;
  const Listing found = n.NavigateTo(d / "desk", {d / "desk", d / "home"});
  EXPECT_TRUE(found.messages.empty());
  EXPECT_FALSE(found.fallbackStartup);
  // The desktop is named the new start-up folder; without one the home
  // folder, once; then an empty list.
  const std::tuple<std::string, std::string, std::string, bool> cases[] = {
      {d / "desk", d / "home", d / "desk", true}, {d / "nodesk", d / "home", d / "home", true},
      {d / "nodesk", d / "nohome", d / "nohome", false}};
  for (const auto& [desktop, home, listed, ok] : cases) {
    Listing l = n.NavigateTo(d / "gone", {desktop, home});
    EXPECT_EQ(l.messages, (Messages{{"指定のﾃﾞｨﾚｸﾄﾘが見つかりません\n参照ﾃﾞｨﾚｸﾄﾘをﾃﾞｽｸﾄｯﾌﾟに設定します。",
                                     "ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ", MsgIcon::Exclamation}}));
    EXPECT_EQ(l.folder + "|" + n.currentFolder(), listed + "|" + listed);
    EXPECT_EQ(l.listed, ok);
    EXPECT_EQ(l.entries.size(), listed == d / "home" ? 1u : 0u);
    EXPECT_EQ(l.fallbackStartup, ok ? listed : desktop);
  }
}

// The pop-up's ﾌﾟﾛﾊﾟﾃｨ: every line but the creation time, which not every
// file system keeps; a recording's game length, or 不明 when it can't be read.
TEST(FolderProperties, NameKindPlaceSizeTimesAndGameLength) {
  q2test::TempDir d;
  q2::gen::Placed placed;
  q2::gen::WriteFile(d / "two.mgx", q2::gen::BuildRecording(q2::gen::TypicalGame({"a", "b"}, {1, 2}, 1, 7, 300000, 20000), &placed));
  const std::string own = kPathSep == '/' ? q2test::Cp932("大会.mgx") : "大会.mgx";
  q2test::WriteBytes(d / own, std::string(1263616, '\0'));
  fs::create_directory(d / "sub");
  const LocalTime when{2005, 3, 26, 2, 23, 45};
  for (const std::string& n : {std::string("two.mgx"), own, std::string("sub")}) ASSERT_TRUE(q2test::SetLocalMtime(d / n, when));
  const uint64_t size = fs::file_size(FsPath(d / "two.mgx"));
  char length[32];
  std::snprintf(length, sizeof length, "%llu分%02llu秒", (unsigned long long)(placed.durationMs / 60000),
                (unsigned long long)(placed.durationMs / 1000 % 60));
  const std::string place = "場所：" + d.path(), times = "更新日時：2005/03/26 02:23:45\nアクセス日時：2005/03/26 02:23:45";
  const std::tuple<std::string, std::string, MsgIcon> cases[] = {
      {"two.mgx", "名前：two.mgx\n種類：mgxﾌｧｲﾙ\n" + place + "\nサイズ：" + SizeText(size) + " (" + GroupedDigits(size) +
                      " バイト)\n" + times + "\nゲーム時間：" + length, MsgIcon::Information},
      {own, "名前：大会.mgx\n種類：mgxﾌｧｲﾙ\n" + place + "\nサイズ：1,234 KB (1,263,616 バイト)\n" + times + "\nゲーム時間：不明",
       MsgIcon::Information},
      {"sub", "名前：sub\n種類：ﾃﾞｨﾚｸﾄﾘ\n" + place + "\n" + times, MsgIcon::Information},
      {"gone.mgx", "gone.mgx\nファイルが見つかりません", MsgIcon::Exclamation},
  };
  for (const auto& [name, text, icon] : cases) {
    Message m = PropertiesMessage(d.path(), name);
    const size_t created = m.text.find("作成日時：");
    if (created != std::string::npos) m.text.erase(created, m.text.find('\n', created) + 1 - created);
    EXPECT_EQ(m, (Message{text, "ﾌﾟﾛﾊﾟﾃｨ", icon})) << name;
  }
}
