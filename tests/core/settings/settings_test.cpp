// The settings file read and written as the Windows profile functions do it,
// never a line of it lost, and the settings the program keeps in it.
#include "core/settings/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <tuple>

#include "core/settings/age_colors.h"
#include "core/settings/ini_file.h"
#include "support/core_support.h"

using namespace q2;
using namespace q2test;

// Every core test process keeps its settings in a file of its own, never in
// a Quoran.ini beside the test executable.
struct SettingsEnvironment : ::testing::Environment {
  std::optional<TempDir> dir;
  void SetUp() override { OverrideSettingsPath(dir.emplace() / "Quoran.ini"); }
  void TearDown() override { dir.reset(); }
};
static const bool kRegistered = (::testing::AddGlobalTestEnvironment(new SettingsEnvironment), true);

#ifndef _WIN32
namespace {

// An environment variable set for a scope, then put back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

const std::string kSaveGame = "drive_c/Program Files/Microsoft Games/Age of Empires II/SaveGame";
const std::string kSaveGame86 = "drive_c/Program Files (x86)/Microsoft Games/Age of Empires II/SaveGame";

}  // namespace

// A first start under Wine lists the game's SaveGame folder: the first
// prefix that has one, in the order $WINEPREFIX, ~/.wine, the tools' own
// prefixes; else the home folder.
TEST(Settings, AFirstStartFindsTheSaveGameFolderOfAWinePrefix) {
  const struct {
    const char* what;
    std::vector<std::string> folders;  // below HOME ("@" stands for $WINEPREFIX's folder)
    std::string expected;              // below HOME; empty: HOME itself
    bool winePrefix = false;
  } cases[] = {
      {"nothing", {}, ""},
      {"a prefix without the game", {".wine/drive_c/Program Files"}, ""},
      {"~/.wine", {".wine/" + kSaveGame}, ".wine/" + kSaveGame},
      {"(x86) first", {".wine/" + kSaveGame, ".wine/" + kSaveGame86}, ".wine/" + kSaveGame86},
      {"other case", {".wine/drive_c/program files/microsoft games/age of empires ii/savegame"},
       ".wine/drive_c/program files/microsoft games/age of empires ii/savegame"},
      {"~/.wine before the others",
       {".local/share/wineprefixes/aoc/" + kSaveGame, ".wine/" + kSaveGame86}, ".wine/" + kSaveGame86},
      {"winetricks' prefixes by name",
       {".local/share/wineprefixes/b/" + kSaveGame, ".local/share/wineprefixes/a/" + kSaveGame86},
       ".local/share/wineprefixes/a/" + kSaveGame86},
      {"Proton", {".steam/steam/steamapps/compatdata/813780/pfx/" + kSaveGame},
       ".steam/steam/steamapps/compatdata/813780/pfx/" + kSaveGame},
      {"Lutris", {"Games/age-of-empires-ii/" + kSaveGame86}, "Games/age-of-empires-ii/" + kSaveGame86},
      {"$WINEPREFIX first", {".wine/" + kSaveGame, "@/" + kSaveGame}, "@/" + kSaveGame, true},
  };
  for (const auto& c : cases) {
    TempDir home;
    auto below = [&](const std::string& rel) {
      return rel.rfind("@/", 0) == 0 ? home / ("elsewhere/" + rel.substr(2)) : home / rel;
    };
    for (const std::string& f : c.folders) std::filesystem::create_directories(below(f));
    ScopedEnv h("HOME", home.path().c_str());
    ScopedEnv w("WINEPREFIX", c.winePrefix ? (home / "elsewhere").c_str() : nullptr);
    EXPECT_EQ(DefaultStartupFolder(), c.expected.empty() ? home.path() : below(c.expected)) << c.what;
  }
  // A file where the folder would be is no folder.
  TempDir home;
  std::filesystem::create_directories(home / ".wine/drive_c/Program Files/Microsoft Games/Age of Empires II");
  WriteBytes(home / (".wine/" + kSaveGame), "x");
  ScopedEnv h("HOME", home.path().c_str());
  ScopedEnv w("WINEPREFIX", nullptr);
  EXPECT_EQ(DefaultStartupFolder(), home.path());
}
#endif

TEST(Settings, ViewSettingsWithDefaultsOneWarningAndEveryOtherKeyKept) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const std::array<ColorRef, 8> defaults = {16711680, 255, 32768, 5898239, 16776960, 16711935, 6579300, 18653};
  const Message unread{"SaveGameのﾃﾞｨﾚｸﾄﾘﾊﾟｽの読み込みに失敗しました\nﾃﾞﾌｫﾙﾄのﾃﾞｨﾚｸﾄﾘﾊﾟｽ設定を使用します。",
                       "iniﾌｧｲﾙ読み込みｴﾗｰ", MsgIcon::Exclamation};
#ifdef _WIN32
  // No file, an empty value: the warning and the game's own folder.
  const Messages firstStart{unread};
  const std::string defaultFolder = "C:\\Program Files\\Microsoft Games\\Age of Empires II\\SaveGame";
#else
  // Under Wine a first start says which folder it chose, and never warns;
  // a file without the folder still warns.
  TempDir home;
  const std::string defaultFolder = home / ".wine/" + kSaveGame;
  std::filesystem::create_directories(defaultFolder);
  ScopedEnv h("HOME", home.path().c_str());
  ScopedEnv w("WINEPREFIX", nullptr);
  const Messages firstStart{{"Age of Empires II の SaveGame フォルダを見つけました。\nここを起動時の参照場所にします：\n" +
                                 defaultFolder + "\n\nﾌｧｲﾙ メニューの「このフォルダを起動時の参照場所にする」で変えられます。",
                             "はじめての起動", MsgIcon::Information}};
  EXPECT_EQ(FirstStartMessage(home.path()).text,
            "Age of Empires II の SaveGame フォルダが見つからないため\nホームフォルダを起動時の参照場所にします：\n" +
                home.path() + "\n\nﾌｧｲﾙ メニューの「このフォルダを起動時の参照場所にする」で変えられます。");
#endif
  // Reading never creates the file. A stored 0 or a non-number colour is the default.
  for (const std::string& text : {std::string(), std::string("[FILE_INFO]\r\nSAVEGAME_DIR=\r\n")}) {
    if (!text.empty()) WriteBytes(ini, text);
    SetAllPlayerColors({1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(LoadViewSettings(ini), text.empty() ? firstStart : Messages{unread});
    EXPECT_EQ(StartupFolder(), defaultFolder);
    EXPECT_EQ(PlayerColors(), defaults);
    EXPECT_EQ(PathExists(ini), !text.empty());
  }
  WriteBytes(ini, "[FILE_INFO]\r\nSAVEGAME_DIR=" + Cp932("/no/such/フォルダ") + "\r\n[PLAYER_INFO]\r\n"
                  "PLAYER1COLOR=123\r\nPLAYER2COLOR=abc\r\nPLAYER3COLOR=0\r\nplayer8color=65280\r\n");
  EXPECT_TRUE(LoadViewSettings(ini).empty());
  EXPECT_EQ(StartupFolder(), "/no/such/フォルダ");  // used as it is
  EXPECT_EQ(PlayerColors(), (std::array<ColorRef, 8>{123, 255, 32768, 5898239, 16776960, 16711935, 6579300, 65280}));
  // Saving writes the colours, then the folder, and keeps the other keys.
  WriteBytes(ini, "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\nSAVEGAME_DIR=old\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=1\r\n");
  SetAllPlayerColors({10, 20, 30, 40, 50, 60, 70, 0x7FFFFFFF});
  SetStartupFolder("D:\\記録");
  SaveViewSettings(ini);
  EXPECT_EQ(ReadBytes(ini), "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\nSAVEGAME_DIR=D:\\" + Cp932("記録") +
                                "\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=1\r\n[PLAYER_INFO]\r\nPLAYER1COLOR=10\r\nPLAYER2COLOR=20\r\n"
                                "PLAYER3COLOR=30\r\nPLAYER4COLOR=40\r\nPLAYER5COLOR=50\r\nPLAYER6COLOR=60\r\n"
                                "PLAYER7COLOR=70\r\nPLAYER8COLOR=2147483647\r\n");
  // Age colours keep a stored 0 as black; a reset writes the four defaults at once.
  WriteBytes(ini, "[VIEW_INFO]\r\nCOLOR_TEIOU=0\r\ncolor_ryousyu=65535\r\n[PLAYER_INFO]\r\nPLAYER3COLOR=4242\r\n");
  EXPECT_EQ(LoadAgeColors(ini), (AgeColors{16711680, 65535, 32768, 0}));
  SaveAgeColors(ini, {1, 2, 3, 4});
  EXPECT_EQ(ReadBytes(ini), "[VIEW_INFO]\r\nCOLOR_TEIOU=4\r\nCOLOR_RYOUSYU=2\r\nCOLOR_ANKOKU=1\r\nCOLOR_JYOUSYU=3\r\n"
                            "[PLAYER_INFO]\r\nPLAYER3COLOR=4242\r\n");
  ResetAgeColors(ini);
  EXPECT_EQ(LoadAgeColors(ini), kDefaultAgeColors);
  ResetAgeColors(dir / "fresh.ini");
  EXPECT_EQ(ReadBytes(dir / "fresh.ini"),
            "[VIEW_INFO]\r\nCOLOR_ANKOKU=16711680\r\nCOLOR_RYOUSYU=255\r\nCOLOR_JYOUSYU=32768\r\nCOLOR_TEIOU=5898239\r\n");
  ResetAgeColors(dir / "no-such-folder/Quoran.ini");  // silently nothing
  EXPECT_EQ(Snapshot(dir.path()).size(), 2u);
}

// The window's own section: nothing written for a window left as it was,
// the frame's four values together, every other value alone; what can't
// be a window's state reads as none.
TEST(Settings, TheWindowStateIsWrittenOnlyWhereItChanged) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const std::string others = "[FILE_INFO]\r\nSAVEGAME_DIR=/x\r\n";
  WindowState before;
  before.x = 10, before.y = 100, before.width = 863, before.height = 514;
  before.columns = {120, 60, 50, 110};
  const struct {
    const char* what;
    std::function<void(WindowState&)> change;
    std::string written;
  } cases[] = {
      {"nothing", [](WindowState&) {}, ""},
      {"moved", [](WindowState& s) { s.x = 30; },
       "[QUORIL2]\r\nWINDOW_X=30\r\nWINDOW_Y=100\r\nWINDOW_WIDTH=863\r\nWINDOW_HEIGHT=514\r\n"},
      {"maximised", [](WindowState& s) { s.maximized = true; }, "[QUORIL2]\r\nWINDOW_MAXIMIZED=1\r\n"},
      {"splitter and columns",
       [](WindowState& s) {
         s.splitter = 5200;
         s.columns[0] = 200;
       },
       "[QUORIL2]\r\nSPLITTER=5200\r\nLIST_COLUMNS=200,60,50,110\r\n"},
      {"hidden folders", [](WindowState& s) { s.showHidden = true; }, "[QUORIL2]\r\nSHOW_HIDDEN=1\r\n"},
  };
  for (const auto& c : cases) {
    WriteBytes(ini, others);
    WindowState now = before;
    c.change(now);
    SaveWindowState(ini, before, now);
    EXPECT_EQ(ReadBytes(ini), others + c.written) << c.what;
    // Over a file that held the state before, the next start reads the new one.
    WriteBytes(ini, others);
    SaveWindowState(ini, WindowState(), before);
    SaveWindowState(ini, before, now);
    EXPECT_EQ(LoadWindowState(ini), now) << c.what;
  }
  // A frame without a size, a splitter out of range, a column that is no
  // width: each the default.
  WriteBytes(ini, "[QUORIL2]\r\nWINDOW_X=5\r\nWINDOW_Y=5\r\nWINDOW_WIDTH=0\r\nWINDOW_HEIGHT=400\r\n"
                  "SPLITTER=10000\r\nLIST_COLUMNS=200,,40,100\r\n");
  EXPECT_EQ(LoadWindowState(ini), WindowState());
  WriteBytes(ini, "[quoril2]\r\nlist_columns=200,60\r\nSPLITTER=1\r\n");
  EXPECT_EQ(LoadWindowState(ini).columns, (std::vector<int>{200, 60}));
  EXPECT_EQ(LoadWindowState(ini).splitter, 1);
}

// The start-up folder names the same folder after a restart, whether its
// name is UTF-8, code page 932 bytes from an old archive, or was written by
// the Windows program; a path the file can't hold whole is refused.
TEST(Settings, StartupFolderSurvivesARestart) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini", cp932 = Cp932("記録");
  const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
      // folders that exist; what the file holds (empty: as this program saves it); the folder read
#ifndef _WIN32
      {{dir / cp932}, "", dir / cp932},  // POSIX names are bytes
      {{dir / "記録", dir / cp932}, dir.path() + "/" + cp932, dir / "記録"},
      {{dir / cp932}, dir.path() + "/" + cp932, dir / cp932},
#endif
      {{dir / "記録"}, "", dir / "記録"}, {{dir / "ﾃｱ"}, "", dir / "ﾃｱ"},
      {{dir / "記録"}, dir.path() + "/" + cp932, dir / "記録"}, {{}, dir.path() + "/" + cp932, dir / "記録"},
  };
  for (const auto& [folders, stored, expected] : cases) {
    SCOPED_TRACE(expected);
    for (const std::string& f : folders) std::filesystem::create_directory(FsPath(f));
    SetStartupFolder(expected);
    SaveViewSettings(ini);
    if (!stored.empty()) WriteBytes(ini, "[FILE_INFO]\r\nSAVEGAME_DIR=" + stored + "\r\n");
    SetStartupFolder("");
    EXPECT_TRUE(LoadViewSettings(ini).empty());
    EXPECT_EQ(StartupFolder(), expected);
    for (const std::string& f : folders) std::filesystem::remove(FsPath(f));
  }
  // SAVEGAME_DIR holds 259 bytes: code page 932 text, or a name's own bytes.
  const std::string base = "/" + std::string(255, 'a') + "/";
  for (const auto& [folder, fits] : {std::pair{base + "記", true}, {base + Cp932("記"), true}, {base + "記b", false},
                                     {base + Cp932("記") + "b", false}}) {
    const auto message = CheckStartupFolder(folder);
    EXPECT_EQ(message ? message->icon : MsgIcon::None, fits ? MsgIcon::None : MsgIcon::Exclamation);
  }
}

TEST(Settings, TheSettingsFileIsBesideTheProgramUnlessInstalled) {
  TempDir dir;
  const std::string bin = dir / "bin", other = dir / "portable", config = dir / "config", locked = dir / "locked";
  for (const std::string& f : {bin, other, locked, dir / "empty"}) std::filesystem::create_directories(f);
  const std::string userFile = JoinPath(JoinPath(config, "quoril2"), "Quoran.ini");
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
      {other, bin, config, JoinPath(other, "Quoran.ini")},  // portable: writable, not installed
      {bin, bin, config, userFile},                         // started from where it was installed
      {bin + "/../bin", bin, config, userFile},             // the same folder by another name
      {dir / "gone", bin, config, userFile},                // a folder that can't be written
      {bin, bin, "", JoinPath(bin, "Quoran.ini")},          // no user folder known
      {other, "", config, JoinPath(other, "Quoran.ini")},   // no install folder compiled in
  };
  for (const auto& [exeFolder, installedBin, userConfig, expected] : cases)
    EXPECT_EQ(SettingsPathFor(exeFolder, installedBin, userConfig), expected) << exeFolder;
#ifndef _WIN32
  // Folders the user can't write: a Quoran.ini the user can write there
  // still holds the settings; without one they go to the user's folder.
  WriteBytes(locked + "/Quoran.ini", "[FILE_INFO]\r\n");
  ASSERT_TRUE(!IsRoot() || ::chown((locked + "/Quoran.ini").c_str(), kUnprivilegedId, 0) == 0);
  for (const std::string& f : {locked, dir / "empty"}) ::chmod(f.c_str(), 0555);
  const std::string why = RunAsUser([&] {
    EXPECT_EQ(SettingsPathFor(locked, bin, config), locked + "/Quoran.ini");
    EXPECT_EQ(SettingsPathFor(dir / "empty", bin, config), userFile);
  });
  for (const std::string& f : {locked, dir / "empty"}) ::chmod(f.c_str(), 0755);
  if (!why.empty()) GTEST_SKIP() << why;
#endif
}

TEST(IniFile, ReadsTheKeyOfItsSectionIgnoringCaseAsCp932UnlessMarked) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  std::string kana;  // 130 "あ": 260 bytes in code page 932
  for (int i = 0; i < 130; ++i) kana += "あ";
  WriteBytes(ini, "[file_info]\r\nSaveGame_Dir = D:\\Games \r\nQ=\"  quoted  \"\r\n[Player_Info]\r\nplayer1color=255\r\n"
                  "[S]\r\na=12abc\r\nb=abc\r\nc=-1\r\nd=\r\ne=4294967295\r\nf= 42 \r\nlong=" + std::string(300, 'a') +
                  "\r\nmax=" + std::string(259, 'b') + "\r\nkana=" + Cp932(kana) + "\r\nutf8=\xEF\xBB\xBF" + kana + "\r\n");
  const std::tuple<const char*, const char*, std::string> strings[] = {
      {"FILE_INFO", "SAVEGAME_DIR", "D:\\Games"}, {"FILE_INFO", "Q", "  quoted  "},
      {"PLAYER_INFO", "SAVEGAME_DIR", "(default)"},  // only in its own section
      {"VIEW_INFO", "COLOR_TEIOU", "(default)"},
      // Cut to 259 bytes as stored, or in code page 932 behind the UTF-8
      // mark, never splitting a character.
      {"S", "long", std::string(259, 'a')}, {"S", "max", std::string(259, 'b')},
      {"S", "kana", kana.substr(0, 129 * 3)}, {"S", "utf8", kana.substr(0, 129 * 3)},
  };
  for (const auto& [section, key, value] : strings) EXPECT_EQ(IniReadString(ini, section, key, "(default)"), value) << key;
  EXPECT_FALSE(IniReadRaw(dir / "missing.ini", "FILE_INFO", "SAVEGAME_DIR").has_value());
  // Leading digits as the Windows function reads them, wrapping to 32 bits.
  const std::tuple<const char*, const char*, int> ints[] = {
      {"PLAYER_INFO", "PLAYER1COLOR", 255}, {"FILE_INFO", "PLAYER1COLOR", 9}, {"S", "a", 12}, {"S", "b", 0},
      {"S", "c", -1}, {"S", "d", 0}, {"S", "e", -1}, {"S", "f", 42}, {"S", "missing", 9}};
  for (const auto& [section, key, value] : ints) EXPECT_EQ(IniReadInt(ini, section, key, 9), value) << key;
  const std::string mark = "\xEF\xBB\xBF";
  const std::pair<std::string, std::string> written[] = {  // as the program holds it, as the file holds it
      {"C:\\ゲーム\\記録", Cp932("C:\\ゲーム\\記録")}, {"C:\\ｱｲ\\ﾃｽﾄ", Cp932("C:\\ｱｲ\\ﾃｽﾄ")},
      {"ﾃｱ", "\xC3\xB1"},  // half-width katakana whose bytes happen to form UTF-8
      // Without an exact code page 932 form ("¥" would read back as "\").
      {"/home/유저/記録", mark + "/home/유저/記録"}, {"¥100", mark + "¥100"},
      // Bytes that are no UTF-8 (a folder name from an old archive) stay as they are.
      {"/r/\x8B\x4C\x98\x5E", "/r/\x8B\x4C\x98\x5E"},
  };
  for (const auto& [text, stored] : written) {
    ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "RENAME_1", text));
    EXPECT_EQ(IniReadRaw(ini, "FILE_INFO", "RENAME_1"), stored) << text;
    EXPECT_TRUE(!IsValidUtf8(text) || IniReadString(ini, "FILE_INFO", "RENAME_1") == text) << text;
  }
}

TEST(IniFile, WritesChangeTheirLineOnlyAndNeverAddOthers) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const std::string before = "; written by hand\r\n[FILE_INFO]\r\nSAVEGAME_DIR=C:\\old\r\n\r\n  odd line without equals\r\n"
                             "RENAME_1=[YEAR]\r\n[PLAYER_INFO]\r\nPLAYER1COLOR=255\r\n[OTHER]\r\nSAVEGAME_DIR=keep me";
  WriteBytes(ini, before);
  // A key matched without regard to case changes its line only; a new key
  // goes after the last key of its section; a new section at the end.
  ASSERT_TRUE(IniWriteString(ini, "file_info", "savegame_dir", "D:\\new"));
  ASSERT_TRUE(IniWriteString(ini, "PLAYER_INFO", "PLAYER2COLOR", "0"));
  ASSERT_TRUE(IniWriteInt(ini, "VIEW_INFO", "COLOR_TEIOU", -5));
  std::string expected = before + "\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=-5\r\n";
  expected.replace(expected.find("SAVEGAME_DIR=C:\\old"), 19, "savegame_dir=D:\\new");
  expected.insert(expected.find("[OTHER]"), "PLAYER2COLOR=0\r\n");
  // A line break in a value could add lines: refused, nothing written.
  EXPECT_FALSE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "C:\\a\r\n[PLAYER_INFO]\r\nPLAYER1COLOR=1"));
  EXPECT_FALSE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "C:\\a\nb"));
  EXPECT_EQ(ReadBytes(ini), expected);
  // Bare LF line ends are kept.
  WriteBytes(ini, "[A]\nx=1\n");
  ASSERT_TRUE(IniWriteString(ini, "a", "y", "2"));
  EXPECT_EQ(ReadBytes(ini), "[A]\nx=1\ny=2\n");
  EXPECT_EQ(Snapshot(dir.path()).size(), 1u);  // nothing left beside it
  // A settings path that names a folder: nothing written, nothing read.
  EXPECT_FALSE(IniWriteString(dir.path(), "FILE_INFO", "SAVEGAME_DIR", "x"));
  EXPECT_FALSE(IniReadRaw(dir.path(), "FILE_INFO", "SAVEGAME_DIR").has_value());
}

#ifndef _WIN32
// A write the user can't do leaves the file as it was; one the user can do
// keeps its mode, owner and link.
TEST(IniFile, WritesRespectTheFileAsTheUserHasIt) {
  const std::tuple<const char*, unsigned, bool, unsigned, bool, bool, bool> cases[] = {
      // file mode; the user's file (else root's); folder mode; Quoran.ini a relative link to the file;
      // the program run as the user (else as root); written
      {"another user's, unreadable", 0600, false, 0755, false, true, false}, {"write-only", 0200, true, 0755, false, true, false},
      {"read-only", 0444, true, 0755, false, true, false}, {"read-only, program run as root", 0444, true, 0755, false, false, false},
      {"writable in a read-only folder", 0644, true, 0555, false, true, true}, {"a link", 0640, true, 0755, true, true, true},
      {"the user's, program run as root", 0640, true, 0755, false, false, true},
  };
  auto state = [](const std::string& path) {  // content, mode, owner, and whether the path is a link
    struct stat st {};
    const bool link = ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    ::stat(path.c_str(), &st);
    return std::tuple(ReadBytes(path), st.st_mode & 07777, st.st_uid, st.st_gid, link);
  };
  // Without root everything is the user's already.
  auto own = [](const std::string& p, unsigned id) { return !IsRoot() || ::chown(p.c_str(), id, id) == 0; };
  for (const auto& [what, fileMode, usersFile, folderMode, link, asUser, written] : cases) {
    SCOPED_TRACE(what);
    if ((!usersFile || !asUser) && !IsRoot()) continue;  // needs a second user
    TempDir dir;
    const std::string folder = dir / "cfg", fileFolder = link ? dir / "real" : folder;
    const std::string file = fileFolder + "/Quoran.ini", ini = folder + "/Quoran.ini";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(fileFolder);
    if (link) std::filesystem::create_symlink("../real/Quoran.ini", ini);
    WriteBytes(file, "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\n");
    ASSERT_TRUE(own(file, usersFile ? kUnprivilegedId : 0) && own(folder, kUnprivilegedId) && own(fileFolder, kUnprivilegedId));
    ASSERT_EQ(::chmod(file.c_str(), fileMode) | ::chmod(folder.c_str(), folderMode) | ::chmod(fileFolder.c_str(), folderMode), 0);
    auto expected = state(file);
    if (written) std::get<0>(expected) = "[FILE_INFO]\r\nLAST_FORMAT=[DAY]\r\n";
    const size_t entries = Snapshot(folder).size();
    const bool writes = written;
    auto write = [&] { EXPECT_EQ(IniWriteString(ini, "FILE_INFO", "LAST_FORMAT", "[DAY]"), writes); };
    if (!asUser) {
      write();
    } else if (std::string why = RunAsUser(write); !why.empty()) {
      GTEST_SKIP() << why;
    }
    EXPECT_EQ(state(file), expected);
    EXPECT_EQ(std::get<4>(state(ini)), link);
    EXPECT_EQ(Snapshot(folder).size(), entries);  // no file left beside it
    ::chmod(folder.c_str(), 0755);
  }
}
#endif
