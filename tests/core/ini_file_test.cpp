#include "settings/core/ini_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"
#include "core_support.h"
#include "support/as_user.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

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

  // 130 "あ" in code page 932 (260 bytes) and behind the UTF-8 mark: both
  // are cut to 259 code page 932 bytes, never splitting a character.
  std::string kanaUtf8;
  for (int i = 0; i < 130; ++i) kanaUtf8 += "あ";
  const std::string kanaCp932 = Utf8ToCp932(kanaUtf8).value();
  WriteBytes(ini, "[S]\r\nC=" + kanaCp932 + "\r\nU=\xEF\xBB\xBF" + kanaUtf8 + "\r\n");
  const std::string expect129 = kanaUtf8.substr(0, 129 * 3);
  EXPECT_EQ(IniReadString(ini, "S", "C"), expect129);
  EXPECT_EQ(IniReadString(ini, "S", "U"), expect129);
}

TEST(IniFile, TextIsCp932UnlessMarkedAsUtf8) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  const std::string mark = "\xEF\xBB\xBF";
  struct Case {
    std::string text;    // as the program holds it
    std::string stored;  // as the file holds it
  };
  const Case cases[] = {
      {"C:\\ゲーム\\記録", Utf8ToCp932("C:\\ゲーム\\記録").value()},
      // Half-width katakana whose bytes happen to form UTF-8 ("ﾃｱ" is C3 B1).
      {"ﾃｱ", "\xC3\xB1"},
      {"C:\\ｱｲ\\ﾃｽﾄ", Utf8ToCp932("C:\\ｱｲ\\ﾃｽﾄ").value()},
      // Without an exact code page 932 form: marked UTF-8 ("¥" would read back as "\\").
      {"/home/유저/記録", mark + "/home/유저/記録"},
      {"¥100", mark + "¥100"},
      {"  quoted  ", "\"  quoted  \""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    // As the Windows program or another copy of this one left it.
    WriteBytes(ini, "[FILE_INFO]\r\nLAST_FORMAT=" + c.stored + "\r\n");
    EXPECT_EQ(IniReadString(ini, "FILE_INFO", "LAST_FORMAT"), c.text);
    if (c.stored.front() == '"') continue;
    ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "RENAME_1", c.text));
    EXPECT_EQ(IniReadRaw(ini, "FILE_INFO", "RENAME_1").value(), c.stored);
  }
  // Bytes that are no UTF-8 (a folder name from an old archive) are stored as they are.
  ASSERT_TRUE(IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", "/r/\x8B\x4C\x98\x5E"));
  EXPECT_EQ(IniReadRaw(ini, "FILE_INFO", "SAVEGAME_DIR").value(), "/r/\x8B\x4C\x98\x5E");
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

#ifndef _WIN32
namespace {
struct FileState {
  std::string content;
  unsigned mode = 0, uid = 0, gid = 0;
  bool link = false;
  bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::string& path) {
  struct stat st {};
  FileState f;
  f.link = ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  ::stat(path.c_str(), &st);
  f.mode = st.st_mode & 07777;
  f.uid = st.st_uid;
  f.gid = st.st_gid;
  f.content = ReadBytes(path);
  return f;
}

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}
}  // namespace

// A write the user can't do leaves the file as it was; one the user can do
// keeps its mode, owner and link.
TEST(IniFile, WritesRespectTheFileAsTheUserHasIt) {
  struct Case {
    const char* what;
    unsigned fileMode;
    bool fileIsUsers;  // else root's
    unsigned folderMode;
    bool link;    // Quoran.ini is a relative link to the file
    bool asUser;  // else the program runs as root
    bool written;
  };
  const Case cases[] = {
      {"another user's, unreadable", 0600, false, 0755, false, true, false},
      {"write-only", 0200, true, 0755, false, true, false},
      {"read-only", 0444, true, 0755, false, true, false},
      {"read-only, program run as root", 0444, true, 0755, false, false, false},
      {"writable in a read-only folder", 0644, true, 0555, false, true, true},
      {"a link", 0640, true, 0755, true, true, true},
      {"the user's, program run as root", 0640, true, 0755, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if ((!c.fileIsUsers || !c.asUser) && !q2test::IsRoot()) continue;  // needs a second user
    q2test::TempDir dir;
    const std::string folder = dir / "cfg", fileFolder = c.link ? dir / "real" : folder;
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(fileFolder);
    const std::string file = fileFolder + "/Quoran.ini", ini = folder + "/Quoran.ini";
    if (c.link) std::filesystem::create_symlink("../real/Quoran.ini", ini);
    WriteBytes(file, "[FILE_INFO]\r\nLAST_FORMAT=[YEAR]\r\n");
    // Without root everything is the user's already.
    auto own = [](const std::string& p, unsigned id) {
      if (q2test::IsRoot()) {
        ASSERT_EQ(::chown(p.c_str(), id, id), 0);
      }
    };
    own(file, c.fileIsUsers ? q2test::kUnprivilegedId : 0);
    ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
    for (const std::string& f : {folder, fileFolder}) {
      own(f, q2test::kUnprivilegedId);
      ASSERT_EQ(::chmod(f.c_str(), c.folderMode), 0);
    }
    const FileState before = StateOf(file);
    const auto namesBefore = Names(folder);

    auto write = [&] { EXPECT_EQ(IniWriteString(ini, "FILE_INFO", "LAST_FORMAT", "[DAY]"), c.written); };
    if (!c.asUser) {
      write();
    } else if (std::string why = q2test::RunAsUser(write); !why.empty()) {
      GTEST_SKIP() << why;
    }

    FileState expected = before;
    if (c.written) expected.content = "[FILE_INFO]\r\nLAST_FORMAT=[DAY]\r\n";
    EXPECT_EQ(StateOf(file), expected);
    EXPECT_EQ(StateOf(ini).link, c.link);
    EXPECT_EQ(Names(folder), namesBefore);  // no file left beside it
    ::chmod(folder.c_str(), 0755);
  }
}
#endif
