#include "settings/core/ini_file.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "core_support.h"
#include "support/temp_dir.h"

using namespace q2;
using q2test::ReadBytes;
using q2test::WriteBytes;

TEST(IniFile, SectionAndKeyLookupIgnoresCase) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  WriteBytes(ini, "[file_info]\r\nSaveGame_Dir = D:\\Games \r\n[Player_Info]\r\nplayer1color=255\r\n");
  EXPECT_EQ(IniReadString(ini, "FILE_INFO", "SAVEGAME_DIR"), "D:\\Games");
  EXPECT_EQ(IniReadInt(ini, "PLAYER_INFO", "PLAYER1COLOR", 7), 255);
  // A key is found only in its own section.
  EXPECT_EQ(IniReadString(ini, "PLAYER_INFO", "SAVEGAME_DIR", "none"), "none");
  EXPECT_EQ(IniReadInt(ini, "FILE_INFO", "PLAYER1COLOR", 7), 7);
  // Missing file, section or key all read as absent.
  EXPECT_FALSE(IniReadRaw(dir / "missing.ini", "FILE_INFO", "SAVEGAME_DIR").has_value());
  EXPECT_FALSE(IniReadRaw(ini, "VIEW_INFO", "COLOR_TEIOU").has_value());
  EXPECT_EQ(IniReadInt(ini, "VIEW_INFO", "COLOR_TEIOU", 5898239), 5898239);
}

TEST(IniFile, WriteCreatesFileSectionAndKey) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "C:\\x"));
  EXPECT_EQ(ReadBytes(ini), "[FILE_INFO]\r\nSAVEGAME_DIR=C:\\x\r\n");
  ASSERT_TRUE(IniWriteInt(ini, "PLAYER_INFO", "PLAYER1COLOR", 16711680));
  ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "LAST_FORMAT", "[YEAR]"));
  EXPECT_EQ(ReadBytes(ini),
            "[FILE_INFO]\r\nSAVEGAME_DIR=C:\\x\r\nLAST_FORMAT=[YEAR]\r\n"
            "[PLAYER_INFO]\r\nPLAYER1COLOR=16711680\r\n");
  EXPECT_FALSE(PathExists(ini + ".tmp"));
}

TEST(IniFile, WriteKeepsEveryOtherLine) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const std::string before =
      "; written by hand\r\n"
      "[FILE_INFO]\r\n"
      "SAVEGAME_DIR=C:\\old\r\n"
      "\r\n"
      "  odd line without equals\r\n"
      "RENAME_1=[YEAR]\r\n"
      "[PLAYER_INFO]\r\n"
      "PLAYER1COLOR=255\r\n"
      "[OTHER]\r\n"
      "SAVEGAME_DIR=keep me";
  WriteBytes(ini, before);

  // Replacing a key (matched without regard to case) changes its line only.
  ASSERT_TRUE(IniWriteString(ini, "file_info", "savegame_dir", "D:\\new"));
  std::string expected = before;
  expected.replace(expected.find("SAVEGAME_DIR=C:\\old"), 19, "savegame_dir=D:\\new");
  EXPECT_EQ(ReadBytes(ini), expected);

  // A new key goes after the last key of its section.
  ASSERT_TRUE(IniWriteString(ini, "PLAYER_INFO", "PLAYER2COLOR", "0"));
  expected.insert(expected.find("[OTHER]"), "PLAYER2COLOR=0\r\n");
  EXPECT_EQ(ReadBytes(ini), expected);

  // A new section goes at the end, after a line end for the last line.
  ASSERT_TRUE(IniWriteInt(ini, "VIEW_INFO", "COLOR_TEIOU", 0));
  expected += "\r\n[VIEW_INFO]\r\nCOLOR_TEIOU=0\r\n";
  EXPECT_EQ(ReadBytes(ini), expected);
  EXPECT_EQ(IniReadString(ini, "OTHER", "SAVEGAME_DIR"), "keep me");

  // Files with bare LF line ends keep them.
  const std::string lf = dir / "lf.ini";
  WriteBytes(lf, "[A]\nx=1\n");
  ASSERT_TRUE(IniWriteString(lf, "A", "y", "2"));
  EXPECT_EQ(ReadBytes(lf), "[A]\nx=1\ny=2\n");
}

TEST(IniFile, ValuesAreCutTo259BytesOnRead) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const std::string longAscii(300, 'a');
  WriteBytes(ini, "[S]\r\nA=" + longAscii + "\r\nB=" + std::string(259, 'b') + "\r\n");
  EXPECT_EQ(IniReadRaw(ini, "S", "A").value(), std::string(259, 'a'));
  EXPECT_EQ(IniReadString(ini, "S", "A"), std::string(259, 'a'));
  EXPECT_EQ(IniReadString(ini, "S", "B"), std::string(259, 'b'));

  // 100 characters of code page 932 (200 bytes) and of UTF-8 (300 bytes):
  // the cut never splits a character.
  std::string kanaUtf8;
  for (int i = 0; i < 130; ++i) kanaUtf8 += "あ";
  const std::string kanaCp932 = Utf8ToCp932(kanaUtf8).value();  // 260 bytes
  WriteBytes(ini, "[S]\r\nC=" + kanaCp932 + "\r\nU=" + kanaUtf8 + "\r\n");
  std::string expect129;
  for (int i = 0; i < 129; ++i) expect129 += "あ";
  EXPECT_EQ(IniReadString(ini, "S", "C"), expect129);
  std::string expect86;
  for (int i = 0; i < 86; ++i) expect86 += "あ";
  EXPECT_EQ(IniReadString(ini, "S", "U"), expect86);
}

TEST(IniFile, TextIsStoredAsCp932WithUtf8Fallback) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "C:\\ゲーム\\記録"));
  EXPECT_EQ(IniReadRaw(ini, "FILE_INFO", "SAVEGAME_DIR").value(), Utf8ToCp932("C:\\ゲーム\\記録").value());
  EXPECT_EQ(IniReadString(ini, "FILE_INFO", "SAVEGAME_DIR"), "C:\\ゲーム\\記録");

  // One character without a code page 932 form: the whole value as UTF-8.
  ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "/home/유저/記録"));
  EXPECT_EQ(IniReadRaw(ini, "FILE_INFO", "SAVEGAME_DIR").value(), "/home/유저/記録");
  EXPECT_EQ(IniReadString(ini, "FILE_INFO", "SAVEGAME_DIR"), "/home/유저/記録");

  // Code page 932 bytes that happen to form valid UTF-8 ("ﾃｽ" is C3 BD)
  // would read back as another text, so such a value is stored as UTF-8.
  for (const char* v : {"ﾃｽﾄ", "ﾃｽ", "C:\\ｱｲ\\ﾃｽ"}) {
    SCOPED_TRACE(v);
    ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", v));
    EXPECT_EQ(IniReadString(ini, "FILE_INFO", "SAVEGAME_DIR"), v);
  }
}

TEST(IniFile, ValidUtf8IsReadAsUtf8AndAnythingElseAsCp932) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  WriteBytes(ini, "[S]\r\nU=\xE5\xA4\xAA\xE9\x83\x8E\r\nC=\x91\xBE\x98\x59\r\nQ=\"  quoted  \"\r\n");
  EXPECT_EQ(IniReadString(ini, "S", "U"), "太郎");
  EXPECT_EQ(IniReadString(ini, "S", "C"), "太郎");
  EXPECT_EQ(IniReadString(ini, "S", "Q"), "  quoted  ");
}

TEST(IniFile, IntegersReadLikeTheWindowsFunction) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  WriteBytes(ini, "[S]\r\na=12abc\r\nb=abc\r\nc=-1\r\nd=\r\ne=4294967295\r\nf= 42 \r\n");
  EXPECT_EQ(IniReadInt(ini, "S", "a", 9), 12);
  EXPECT_EQ(IniReadInt(ini, "S", "b", 9), 0);
  EXPECT_EQ(IniReadInt(ini, "S", "c", 9), -1);
  EXPECT_EQ(IniReadInt(ini, "S", "d", 9), 0);
  EXPECT_EQ(IniReadInt(ini, "S", "e", 9), -1);
  EXPECT_EQ(IniReadInt(ini, "S", "f", 9), 42);
  EXPECT_EQ(IniReadInt(ini, "S", "missing", 9), 9);
  ASSERT_TRUE(IniWriteInt(ini, "S", "g", -5));
  EXPECT_EQ(IniReadRaw(ini, "S", "g").value(), "-5");
}

TEST(IniFile, ALineBreakInAValueCannotAddLinesToTheFile) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "C:\\ok"));
  const std::string before = ReadBytes(ini);
  EXPECT_FALSE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "C:\\a\r\n[PLAYER_INFO]\r\nPLAYER1COLOR=1"));
  EXPECT_FALSE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "C:\\a\nb"));
  EXPECT_EQ(ReadBytes(ini), before);
}

TEST(IniFile, AnUnwritableFileReportsFailureAndKeepsItsContent) {
  q2test::TempDir dir;
  // The settings path names a folder: nothing can be written, nothing is lost.
  const std::string folder = dir / "Quoran.ini";
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(IniWriteString(folder, "FILE_INFO", "SAVEGAME_DIR", "x"));
  EXPECT_TRUE(IsDirectory(folder));
  EXPECT_FALSE(IniReadRaw(folder, "FILE_INFO", "SAVEGAME_DIR").has_value());
}
