#include "settings/core/settings.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "core_support.h"
#include "settings/core/ini_file.h"
#include "support/as_user.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace q2;
using q2test::ReadBytes;
using q2test::WriteBytes;

namespace {
const char* kDefaultFolder = "C:\\Program Files\\Microsoft Games\\Age of Empires II\\SaveGame";
const std::array<ColorRef, 8> kDefaults = {16711680, 255, 32768, 5898239, 16776960, 16711935, 6579300, 18653};
}  // namespace

TEST(Settings, NoFileGivesOneWarningTheDefaultsAndWritesThemOnSave) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  SetAllPlayerColors({1, 2, 3, 4, 5, 6, 7, 8});
  SetStartupFolder("/somewhere/else");

  Messages m = LoadViewSettings(ini);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].text,
            "SaveGameのﾃﾞｨﾚｸﾄﾘﾊﾟｽの読み込みに失敗しました\n"
            "ﾃﾞﾌｫﾙﾄのﾃﾞｨﾚｸﾄﾘﾊﾟｽ設定を使用します。");
  EXPECT_EQ(m[0].caption, "iniﾌｧｲﾙ読み込みｴﾗｰ");
  EXPECT_EQ(m[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(m[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(StartupFolder(), kDefaultFolder);
  EXPECT_EQ(std::string(kDefaultFolder).size(), 59u);
  EXPECT_EQ(PlayerColors(), kDefaults);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(PlayerColor(i), kDefaults[i]);
  EXPECT_FALSE(PathExists(ini)) << "reading never creates the file";

  SaveViewSettings(ini);
  EXPECT_EQ(ReadBytes(ini),
            "[PLAYER_INFO]\r\n"
            "PLAYER1COLOR=16711680\r\nPLAYER2COLOR=255\r\nPLAYER3COLOR=32768\r\nPLAYER4COLOR=5898239\r\n"
            "PLAYER5COLOR=16776960\r\nPLAYER6COLOR=16711935\r\nPLAYER7COLOR=6579300\r\nPLAYER8COLOR=18653\r\n"
            "[FILE_INFO]\r\n"
            "SAVEGAME_DIR=C:\\Program Files\\Microsoft Games\\Age of Empires II\\SaveGame\r\n");

  // Read again: no warning now, the same values.
  SetAllPlayerColors({1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_TRUE(LoadViewSettings(ini).empty());
  EXPECT_EQ(StartupFolder(), kDefaultFolder);
  EXPECT_EQ(PlayerColors(), kDefaults);
}

TEST(Settings, EmptyFolderValueWarnsAndAnyOtherValueIsUsedUnchanged) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  WriteBytes(ini, "[FILE_INFO]\r\nSAVEGAME_DIR=\r\n");
  Messages m = LoadViewSettings(ini);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].caption, "iniﾌｧｲﾙ読み込みｴﾗｰ");
  EXPECT_EQ(StartupFolder(), kDefaultFolder);

  WriteBytes(ini, "[FILE_INFO]\r\nSAVEGAME_DIR=" + Utf8ToCp932("/no/such/フォルダ").value() + "\r\n");
  EXPECT_TRUE(LoadViewSettings(ini).empty());
  EXPECT_EQ(StartupFolder(), "/no/such/フォルダ");
}

// The start-up folder names the same folder after a restart, whether its
// name is UTF-8, code page 932 bytes from an old archive, or was written by
// the Windows program.
TEST(Settings, StartupFolderSurvivesARestart) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const std::string cp932 = Utf8ToCp932("記録").value();
  struct Case {
    std::vector<std::string> folders;  // that exist
    std::string stored;                // in the file; empty: as this program saves `expected`
    std::string expected;
  };
  const Case cases[] = {
#ifndef _WIN32
      // Folder names that are code page 932 bytes: POSIX names are bytes.
      {{dir / cp932}, "", dir / cp932},
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
}

TEST(Settings, StoredZeroOrNonNumberPlayerColourReadsAsTheDefault) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  WriteBytes(ini,
             "[FILE_INFO]\r\nSAVEGAME_DIR=C:\\g\r\n[PLAYER_INFO]\r\n"
             "PLAYER1COLOR=123\r\nPLAYER2COLOR=abc\r\nPLAYER3COLOR=0\r\nPLAYER8COLOR=65280\r\n");
  EXPECT_TRUE(LoadViewSettings(ini).empty());
  EXPECT_EQ(PlayerColor(0), 123u);
  EXPECT_EQ(PlayerColor(1), 255u);
  EXPECT_EQ(PlayerColor(2), 32768u);
  EXPECT_EQ(PlayerColor(3), 5898239u);
  EXPECT_EQ(PlayerColor(7), 65280u);
}

TEST(Settings, SaveWritesColoursThenFolderAndKeepsOtherKeys) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  WriteBytes(ini, "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\nSAVEGAME_DIR=old\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=1\r\n");
  SetAllPlayerColors({10, 20, 30, 40, 50, 60, 70, 0x7FFFFFFF});
  SetStartupFolder("D:\\記録");
  SaveViewSettings(ini);
  EXPECT_EQ(ReadBytes(ini),
            "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\nSAVEGAME_DIR=D:\\" + Utf8ToCp932("記録").value() +
                "\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=1\r\n"
                "[PLAYER_INFO]\r\nPLAYER1COLOR=10\r\nPLAYER2COLOR=20\r\nPLAYER3COLOR=30\r\nPLAYER4COLOR=40\r\n"
                "PLAYER5COLOR=50\r\nPLAYER6COLOR=60\r\nPLAYER7COLOR=70\r\nPLAYER8COLOR=2147483647\r\n");
  EXPECT_EQ(PlayerColorKey(8), "PLAYER8COLOR");
}

TEST(Settings, StartupFolderMustFitTheFile) {
  // SAVEGAME_DIR holds 259 bytes (code page 932 text, or a name's own
  // bytes); a longer path would come back cut, naming another folder.
  const std::string base = "/" + std::string(255, 'a') + "/";
  EXPECT_FALSE(CheckStartupFolder(base + "記"));
  EXPECT_FALSE(CheckStartupFolder(base + Utf8ToCp932("記").value()));
  for (const std::string& tooLong : {base + "記b", base + Utf8ToCp932("記").value() + "b"}) {
    auto refusal = CheckStartupFolder(tooLong);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->icon, MsgIcon::Exclamation);
  }
}

TEST(Settings, AgeColoursKeepAStoredZeroAsBlack) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  EXPECT_EQ(LoadAgeColors(ini), (AgeColors{16711680, 255, 32768, 5898239}));
  WriteBytes(ini, "[VIEW_INFO]\r\nCOLOR_TEIOU=0\r\ncolor_ryousyu=65535\r\n");
  EXPECT_EQ(LoadAgeColors(ini), (AgeColors{16711680, 65535, 32768, 0}));

  SaveAgeColors(ini, {1, 2, 3, 4});
  EXPECT_EQ(ReadBytes(ini), "[VIEW_INFO]\r\nCOLOR_TEIOU=4\r\nCOLOR_RYOUSYU=2\r\nCOLOR_ANKOKU=1\r\nCOLOR_JYOUSYU=3\r\n");
  const std::string fresh = dir / "fresh.ini";
  SaveAgeColors(fresh, kDefaultAgeColors);
  EXPECT_EQ(ReadBytes(fresh),
            "[VIEW_INFO]\r\nCOLOR_ANKOKU=16711680\r\nCOLOR_RYOUSYU=255\r\nCOLOR_JYOUSYU=32768\r\nCOLOR_TEIOU=5898239\r\n");
}

TEST(Settings, SettingsFileLivesBesideTheExecutableUnlessOverridden) {
  const std::string saved = SettingsPath();
  OverrideSettingsPath("");
  const std::string real = SettingsPath();
  EXPECT_EQ(real, ParentOf(ExecutablePath()) + kPathSep + "Quoran.ini");
  OverrideSettingsPath("/tmp/elsewhere.ini");
  EXPECT_EQ(SettingsPath(), "/tmp/elsewhere.ini");
  OverrideSettingsPath(saved);
}

TEST(Settings, InstalledProgramKeepsItsSettingsInTheUsersFolder) {
  q2test::TempDir dir;
  const std::string bin = dir / "bin", other = dir / "portable", config = dir / "config";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(other);
  const std::string userFile = JoinPath(JoinPath(config, "quoril2"), "Quoran.ini");
  struct Case {
    std::string exeFolder, installedBin, userConfig, expected;
  } cases[] = {
      {other, bin, config, JoinPath(other, "Quoran.ini")},         // portable: writable, not installed
      {bin, bin, config, userFile},                                // started from where it was installed
      {bin + "/../bin", bin, config, userFile},                    // the same folder by another name
      {dir / "gone", bin, config, userFile},                       // a folder that can't be written
      {bin, bin, "", JoinPath(bin, "Quoran.ini")},                 // no user folder known
      {other, "", config, JoinPath(other, "Quoran.ini")},          // no install folder compiled in
  };
  for (const Case& c : cases)
    EXPECT_EQ(SettingsPathFor(c.exeFolder, c.installedBin, c.userConfig), c.expected) << c.exeFolder;

#ifndef _WIN32
  // Folders the user can't write: a Quoran.ini the user can write there
  // still holds the settings; without one they go to the user's folder.
  const std::string locked = dir / "locked", lockedFile = locked + "/Quoran.ini", empty = dir / "empty";
  std::filesystem::create_directories(locked);
  std::filesystem::create_directories(empty);
  WriteBytes(lockedFile, "[FILE_INFO]\r\n");
  if (q2test::IsRoot()) {
    ASSERT_EQ(::chown(lockedFile.c_str(), q2test::kUnprivilegedId, 0), 0);
  }
  for (const std::string& f : {locked, empty}) ::chmod(f.c_str(), 0555);
  const std::string why = q2test::RunAsUser([&] {
    EXPECT_EQ(SettingsPathFor(locked, bin, config), lockedFile);
    EXPECT_EQ(SettingsPathFor(empty, bin, config), userFile);
  });
  for (const std::string& f : {locked, empty}) ::chmod(f.c_str(), 0755);
  if (!why.empty()) GTEST_SKIP() << why;
#endif
}
