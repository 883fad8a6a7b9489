// The settings the program keeps: start-up folder, player and age colours,
// and where the settings file lives.
#include "settings/core/settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "graph/core/age_colors.h"
#include "settings/core/ini_file.h"
#include "support/as_user.h"
#include "support/core_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace q2;
using namespace q2test;

namespace {
const char* kDefaultFolder = "C:\\Program Files\\Microsoft Games\\Age of Empires II\\SaveGame";
const std::array<ColorRef, 8> kDefaults = {16711680, 255, 32768, 5898239, 16776960, 16711935, 6579300, 18653};
}  // namespace

TEST(Settings, MissingValuesGiveTheDefaultsAndOneWarning) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const Message warning{"SaveGameのﾃﾞｨﾚｸﾄﾘﾊﾟｽの読み込みに失敗しました\nﾃﾞﾌｫﾙﾄのﾃﾞｨﾚｸﾄﾘﾊﾟｽ設定を使用します。",
                        "iniﾌｧｲﾙ読み込みｴﾗｰ", MsgIcon::Exclamation};
  // No file, an empty value: the warning and the defaults, and reading
  // never creates the file. A stored 0 or a non-number colour is the default.
  for (const std::string& text : {std::string(), std::string("[FILE_INFO]\r\nSAVEGAME_DIR=\r\n")}) {
    if (!text.empty()) WriteBytes(ini, text);
    SetAllPlayerColors({1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(LoadViewSettings(ini), Messages{warning});
    EXPECT_EQ(StartupFolder(), kDefaultFolder);
    EXPECT_EQ(PlayerColors(), kDefaults);
    EXPECT_EQ(PathExists(ini), !text.empty());
  }
  WriteBytes(ini, "[FILE_INFO]\r\nSAVEGAME_DIR=" + Cp932("/no/such/フォルダ") + "\r\n[PLAYER_INFO]\r\n"
                  "PLAYER1COLOR=123\r\nPLAYER2COLOR=abc\r\nPLAYER3COLOR=0\r\nplayer8color=65280\r\n");
  EXPECT_TRUE(LoadViewSettings(ini).empty());
  EXPECT_EQ(StartupFolder(), "/no/such/フォルダ");  // used as it is
  EXPECT_EQ(PlayerColors(), (std::array<ColorRef, 8>{123, 255, 32768, 5898239, 16776960, 16711935, 6579300, 65280}));
  EXPECT_EQ(PlayerColor(7), 65280u);

  // Saving writes the colours, then the folder, and keeps the other keys.
  WriteBytes(ini, "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\nSAVEGAME_DIR=old\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=1\r\n");
  SetAllPlayerColors({10, 20, 30, 40, 50, 60, 70, 0x7FFFFFFF});
  SetStartupFolder("D:\\記録");
  SaveViewSettings(ini);
  EXPECT_EQ(ReadBytes(ini), "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\nSAVEGAME_DIR=D:\\" + Cp932("記録") +
                                "\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=1\r\n[PLAYER_INFO]\r\nPLAYER1COLOR=10\r\nPLAYER2COLOR=20\r\n"
                                "PLAYER3COLOR=30\r\nPLAYER4COLOR=40\r\nPLAYER5COLOR=50\r\nPLAYER6COLOR=60\r\n"
                                "PLAYER7COLOR=70\r\nPLAYER8COLOR=2147483647\r\n");
}

// The start-up folder names the same folder after a restart, whether its
// name is UTF-8, code page 932 bytes from an old archive, or was written by
// the Windows program; a path the file can't hold whole is refused.
TEST(Settings, StartupFolderSurvivesARestart) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini", cp932 = Cp932("記録");
  struct Case {
    std::vector<std::string> folders;  // that exist
    std::string stored;                // in the file; empty: as this program saves `expected`
    std::string expected;
  } cases[] = {
#ifndef _WIN32
      {{dir / cp932}, "", dir / cp932},  // POSIX names are bytes
      {{dir / "記録", dir / cp932}, dir.path() + "/" + cp932, dir / "記録"},
      {{dir / cp932}, dir.path() + "/" + cp932, dir / cp932},
#endif
      {{dir / "記録"}, "", dir / "記録"},
      {{dir / "ﾃｱ"}, "", dir / "ﾃｱ"},
      {{dir / "記録"}, dir.path() + "/" + cp932, dir / "記録"},
      {{}, dir.path() + "/" + cp932, dir / "記録"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    for (const std::string& f : c.folders) std::filesystem::create_directory(FsPath(f));
    if (c.stored.empty()) {
      SetStartupFolder(c.expected);
      SaveViewSettings(ini);
    } else {
      WriteBytes(ini, "[FILE_INFO]\r\nSAVEGAME_DIR=" + c.stored + "\r\n");
    }
    SetStartupFolder("");
    EXPECT_TRUE(LoadViewSettings(ini).empty());
    EXPECT_EQ(StartupFolder(), c.expected);
    for (const std::string& f : c.folders) std::filesystem::remove(FsPath(f));
  }
  // SAVEGAME_DIR holds 259 bytes: code page 932 text, or a name's own bytes.
  const std::string base = "/" + std::string(255, 'a') + "/";
  EXPECT_FALSE(CheckStartupFolder(base + "記"));
  EXPECT_FALSE(CheckStartupFolder(base + Cp932("記")));
  for (const std::string& tooLong : {base + "記b", base + Cp932("記") + "b"}) {
    ASSERT_TRUE(CheckStartupFolder(tooLong));
    EXPECT_EQ(CheckStartupFolder(tooLong)->icon, MsgIcon::Exclamation);
  }
}

TEST(Settings, AgeColoursKeepAStoredZeroAsBlackAndResetToTheDefaults) {
  TempDir dir;
  const std::string ini = dir / "Quoran.ini", fresh = dir / "fresh.ini";
  EXPECT_EQ(LoadAgeColors(ini), (AgeColors{16711680, 255, 32768, 5898239}));
  WriteBytes(ini, "[VIEW_INFO]\r\nCOLOR_TEIOU=0\r\ncolor_ryousyu=65535\r\n[PLAYER_INFO]\r\nPLAYER3COLOR=4242\r\n");
  EXPECT_EQ(LoadAgeColors(ini), (AgeColors{16711680, 65535, 32768, 0}));
  SaveAgeColors(ini, {1, 2, 3, 4});
  EXPECT_EQ(ReadBytes(ini), "[VIEW_INFO]\r\nCOLOR_TEIOU=4\r\nCOLOR_RYOUSYU=2\r\nCOLOR_ANKOKU=1\r\nCOLOR_JYOUSYU=3\r\n"
                            "[PLAYER_INFO]\r\nPLAYER3COLOR=4242\r\n");
  // A reset writes the four defaults at once, dark … imperial.
  ResetAgeColors(ini);
  EXPECT_EQ(LoadAgeColors(ini), kDefaultAgeColors);
  EXPECT_EQ(IniReadInt(ini, kSectionPlayer, "PLAYER3COLOR", 0), 4242);
  ResetAgeColors(fresh);
  EXPECT_EQ(ReadBytes(fresh),
            "[VIEW_INFO]\r\nCOLOR_ANKOKU=16711680\r\nCOLOR_RYOUSYU=255\r\nCOLOR_JYOUSYU=32768\r\nCOLOR_TEIOU=5898239\r\n");
  ResetAgeColors(dir / "no-such-folder/Quoran.ini");  // silently nothing
  EXPECT_EQ(Snapshot(dir.path()).size(), 2u);
}

TEST(Settings, TheSettingsFileIsBesideTheProgramUnlessInstalled) {
  const std::string saved = SettingsPath();
  OverrideSettingsPath("");
  EXPECT_EQ(SettingsPath(), ParentOf(ExecutablePath()) + kPathSep + "Quoran.ini");
  OverrideSettingsPath(saved);
  EXPECT_EQ(SettingsPath(), saved);

  TempDir dir;
  const std::string bin = dir / "bin", other = dir / "portable", config = dir / "config";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(other);
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
  const std::string locked = dir / "locked", lockedFile = locked + "/Quoran.ini", empty = dir / "empty";
  std::filesystem::create_directories(locked);
  std::filesystem::create_directories(empty);
  WriteBytes(lockedFile, "[FILE_INFO]\r\n");
  if (IsRoot()) ASSERT_EQ(::chown(lockedFile.c_str(), kUnprivilegedId, 0), 0);
  for (const std::string& f : {locked, empty}) ::chmod(f.c_str(), 0555);
  const std::string why = RunAsUser([&] {
    EXPECT_EQ(SettingsPathFor(locked, bin, config), lockedFile);
    EXPECT_EQ(SettingsPathFor(empty, bin, config), userFile);
  });
  for (const std::string& f : {locked, empty}) ::chmod(f.c_str(), 0755);
  if (!why.empty()) GTEST_SKIP() << why;
#endif
}
