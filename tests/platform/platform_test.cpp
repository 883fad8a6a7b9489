// The platform layer on the real file system and text of each platform:
// Japanese names, no-replace renames, local file times, and code page 932
// as Windows maps it.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/text.h"
#include "support/core_support.h"
#include "support/file_time.h"

using namespace q2;
using namespace q2test;

TEST(PlatformFiles, NamesKeepTheirCharactersAndRenamesNeverReplace) {
  TempDir dir;
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
  ASSERT_TRUE(SetLocalMtime(a, t0));
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
  EXPECT_EQ(Snapshot(dir.path()), files);
  EXPECT_EQ(FileLocalTime(moved), t0);  // file times are local calendar times
  EXPECT_FALSE(FileLocalTime(JoinPath(dir.path(), "missing.mgx")));
}

#ifndef _WIN32
// On a file system without a no-replace rename or hard links (exFAT through
// FUSE, many network shares) the new name is made first as a placeholder:
// nothing that is there, or comes in between, is replaced, and no
// placeholder stays behind. Each case also runs with the usual rename, which
// must answer alike.
TEST(PlatformFiles, RenamesWithoutANoReplaceRenameNeverReplaceNorLeaveAPlaceholder) {
  using Folder = std::map<std::string, std::string>;
  struct Case {
    const char* what;
    std::function<void(const std::string&)> make;     // the folder beside a.mgx
    std::function<void(const std::string&)> between;  // after the placeholder is made
    RenameError result;
    Folder after;
    unsigned userMode = 0;  // run as an ordinary user in a folder of this mode, root's files in it
  };
  auto put = [](const std::string& name, const std::string& bytes) {
    return [=](const std::string& d) { WriteBytes(d + "/" + name, bytes); };
  };
  const Case cases[] = {
      {"a free name", {}, {}, RenameError::None, {{"b.mgx", "A"}}},
      {"a file of the name", put("b.mgx", "B"), {}, RenameError::TargetExists, {{"a.mgx", "A"}, {"b.mgx", "B"}}},
      {"a folder of the name", [](const std::string& d) { std::filesystem::create_directory(d + "/b.mgx"); }, {},
       RenameError::TargetExists, {{"a.mgx", "A"}, {"b.mgx", "<dir>"}}},
      {"a link of the name to nowhere", [](const std::string& d) { ::symlink("nowhere", (d + "/b.mgx").c_str()); }, {},
       RenameError::TargetExists, {{"a.mgx", "A"}, {"b.mgx", ""}}},  // the link, read as nothing
      {"no recording", [](const std::string& d) { std::remove((d + "/a.mgx").c_str()); }, {}, RenameError::Failed, {}},
      {"another file takes the name in between", {},
       [](const std::string& d) {
         WriteBytes(d + "/theirs", "C");
         std::rename((d + "/theirs").c_str(), (d + "/b.mgx").c_str());
       },
       RenameError::TargetExists, {{"a.mgx", "A"}, {"b.mgx", "C"}}},
      {"the recording goes in between", {}, [](const std::string& d) { std::remove((d + "/a.mgx").c_str()); },
       RenameError::Failed, {}},
      {"a read-only folder", {}, {}, RenameError::Failed, {{"a.mgx", "A"}}, 0555},
      {"another user's recording in a sticky folder", {}, {}, RenameError::Failed, {{"a.mgx", "A"}}, 01777},
  };
  for (const Case& c : cases) {
    for (const bool fallback : {true, false}) {
      if (c.between && !fallback) continue;  // the usual rename has no in between
      if (c.userMode & S_ISVTX && !IsRoot()) continue;  // needs a file of another user
      SCOPED_TRACE(std::string(c.what) + (fallback ? ", placeholder" : ", usual rename"));
      TempDir dir;
      WriteBytes(dir / "a.mgx", "A");
      if (c.make) c.make(dir.path());
      SetRenameFallbackForTests({fallback, c.between ? [&] { c.between(dir.path()); } : std::function<void()>()});
      if (c.userMode) {
        ASSERT_EQ(::chmod(dir.path().c_str(), c.userMode), 0);
        const std::string why = RunAsUser([&] { EXPECT_EQ(RenameNoReplace(dir / "a.mgx", dir / "b.mgx"), c.result); });
        ::chmod(dir.path().c_str(), 0755);
        if (!why.empty()) GTEST_SKIP() << why;
      } else {
        EXPECT_EQ(RenameNoReplace(dir / "a.mgx", dir / "b.mgx"), c.result);
      }
      SetRenameFallbackForTests({});
      EXPECT_EQ(Snapshot(dir.path()), c.after);
      EXPECT_FALSE(PathExists(dir / "nowhere"));
    }
  }
}
#endif

TEST(TextCodec, Cp932KeepsTheWindowsMappings) {
  // Names from recordings, half-width katakana, ASCII, the single bytes and
  // the user-defined area; every other character is in the whole mapping below.
  const std::pair<const char*, std::string> both[] = {
      {"North", "North"}, {"太郎", "\x91\xBE\x98\x59"}, {"ｶﾐｶｾﾞ", "\xB6\xD0\xB6\xBE\xDE"}, {"--警告", "--\x8C\x78\x8D\x90"},
      {"a\u0080b", "a\x80" "b"}, {"\uF8F0\uF8F1\uF8F2\uF8F3", "\xA0\xFD\xFE\xFF"}, {"\uE000\uE757", "\xF0\x40\xF9\xFC"}};
  for (const auto& [utf8, cp932] : both) {
    EXPECT_EQ(Utf8ToCp932(utf8), cp932) << utf8;
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
  }
  // Decoding only: bytes that start no character become U+FFFD and
  // decoding goes on, also with a trail byte below 0x40 or cut off.
  const std::string bad = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> decoded[] = {
      {"\x81 x", bad + " x"}, {"\x91\xBE\x98", "太" + bad}, {std::string("a\0b", 3), std::string("a\0b", 3)}, {"", ""}};
  for (const auto& [cp932, utf8] : decoded) EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
  // Encoding fails beyond the Basic Multilingual Plane and for what is no UTF-8.
  for (const char* none : {"太郎😀", "\xE5\xA4", "\xFF"}) EXPECT_FALSE(Utf8ToCp932(none).has_value()) << none;
  // What is UTF-8: no overlong forms, surrogates, code points beyond U+10FFFF or cut characters.
  for (const auto& [text, valid] : {std::pair{"太郎", true}, {"\xF0\x9F\x98\x80", true}, {"\xC0\xAF", false},
                                    {"\xE0\x9F\xBF", false}, {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
                                    {"\xE5\xA4", false}, {"\x91\xBE\x98\x59", false}, {"\x80", false}})
    EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

// The Chinese game's names and chat: code page 936 as Windows maps it (the
// euro sign at 0x80), a bad or cut character as U+FFFD, and no half-width
// katakana, which GBK lacks.
TEST(TextCodec, GbkAsTheChineseGameWritesIt) {
  const std::pair<const char*, std::string> both[] = {
      {"长城你好", "\xB3\xA4\xB3\xC7\xC4\xE3\xBA\xC3"}, {"a€b", "a\x80" "b"}, {"North", "North"}, {"", ""}};
  for (const auto& [utf8, gbk] : both) {
    EXPECT_EQ(Utf8ToGbk(utf8), gbk) << utf8;
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
  }
  const std::string bad = "\xEF\xBF\xBD";
  for (const auto& [gbk, utf8] : {std::pair<std::string, std::string>{"\x81 x", bad + " x"}, {"\xB3\xA4\xB3", "长" + bad}})
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
  for (const char* none : {"ｶﾐｶｾﾞ", "\xE5\xA4"}) EXPECT_FALSE(Utf8ToGbk(none).has_value()) << none;
}

// Every single byte, every lead byte with every trail byte, and every
// character of the Basic Multilingual Plane, folded into one number: the
// Linux and the Windows build must agree on all of them.
TEST(TextCodec, WholeMappingIsTheSameOnEveryPlatform) {
  uint64_t h = 14695981039346656037ull;
  auto fold = [&](const std::string& s) {
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    h = (h ^ 0x100) * 1099511628211ull;
  };
  std::string all;
  for (int b = 0x80; b < 0x100; ++b) {
    fold(Cp932ToUtf8(std::string(1, static_cast<char>(b))));
    for (int t = 0x40; t < 0x100; ++t) fold(Cp932ToUtf8(std::string{static_cast<char>(b), static_cast<char>(t)}));
    all += static_cast<char>(b);
  }
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    std::string u = cp < 0x800 ? std::string{char(0xC0 | cp >> 6)} : std::string{char(0xE0 | cp >> 12), char(0x80 | (cp >> 6 & 0x3F))};
    fold(Utf8ToCp932(u + char(0x80 | (cp & 0x3F))).value_or("-"));
  }
  EXPECT_EQ(h, 13930627658145410014u);
  EXPECT_TRUE(IsValidUtf8(Cp932ToUtf8(all)));
}
