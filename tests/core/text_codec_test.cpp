#include "platform/text.h"

#include <gtest/gtest.h>

using namespace q2;

namespace {
const std::string kReplacement = "\xEF\xBF\xBD";
}

TEST(TextCodec, Cp932RoundTripsKeepTheWindowsMappings) {
  struct Case {
    const char* utf8;
    std::string cp932;
  };
  // Names from recordings, half-width katakana, and the characters where
  // code page 932 differs from plain Shift-JIS (wave dash, minus, NEC and
  // IBM extensions).
  const Case cases[] = {
      {"North", "North"},
      {"太郎", "\x91\xBE\x98\x59"},
      {"ｶﾐｶｾﾞ", "\xB6\xD0\xB6\xBE\xDE"},
      {"～", "\x81\x60"},
      {"－", "\x81\x7C"},
      {"∥", "\x81\x61"},
      {"￢", "\x81\xCA"},
      {"①", "\x87\x40"},
      {"髙", "\xFB\xFC"},
      {"＼", "\x81\x5F"},
      {"--警告", "--\x8C\x78\x8D\x90"},
      {"￠￡―", "\x81\x91\x81\x92\x81\x5C"},
      // Single bytes and the user-defined area, as Windows maps them.
      {"a\u0080b", "a\x80" "b"},
      {"\uF8F0\uF8F1\uF8F2\uF8F3", "\xA0\xFD\xFE\xFF"},
      {"\uE000\uE757", "\xF0\x40\xF9\xFC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    auto enc = Utf8ToCp932(c.utf8);
    ASSERT_TRUE(enc.has_value());
    EXPECT_EQ(*enc, c.cp932);
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
  }
  // The NEC-selected copy of an IBM extension character decodes alike.
  EXPECT_EQ(Cp932ToUtf8("\xEE\xE0"), "髙");
}

TEST(TextCodec, InvalidBytesDecodeToReplacementAndDecodingGoesOn) {
  // A lead byte without a valid trail byte, unassigned double-byte codes,
  // and a lead byte at the very end.
  EXPECT_EQ(Cp932ToUtf8("\x81 x"), kReplacement + " x");
  EXPECT_EQ(Cp932ToUtf8("\x82\x80"), kReplacement + "\u0080");
  EXPECT_EQ(Cp932ToUtf8("\x81\x45\x81\xAD"), "・" + kReplacement + "\uFF6D");
  EXPECT_EQ(Cp932ToUtf8("\x85\x40"), kReplacement + "@");
  EXPECT_EQ(Cp932ToUtf8("\x91\xBE\x98"), "太" + kReplacement);
  EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Cp932ToUtf8(""), "");
  // Every result is valid UTF-8 whatever the input.
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_TRUE(IsValidUtf8(Cp932ToUtf8(all)));
}

TEST(TextCodec, EncodingFailsForCharactersWithoutACp932Form) {
  EXPECT_FALSE(Utf8ToCp932("한국").has_value());
  EXPECT_FALSE(Utf8ToCp932("太郎😀").has_value());
  EXPECT_FALSE(Utf8ToCp932("é").has_value());
  // Windows has only look-alikes for these (glibc would write them).
  for (const char* c : {"¥", "‾", "¢", "£", "¬", "—", "‖", "−", "〜"}) EXPECT_FALSE(Utf8ToCp932(c).has_value()) << c;
  EXPECT_FALSE(Utf8ToCp932("\xE5\xA4").has_value());  // cut UTF-8
  EXPECT_FALSE(Utf8ToCp932("\xFF").has_value());
  EXPECT_EQ(Utf8ToCp932("").value(), "");
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
  for (int b = 0x80; b < 0x100; ++b) {
    fold(Cp932ToUtf8(std::string(1, static_cast<char>(b))));
    for (int t = 0x40; t < 0x100; ++t)
      fold(Cp932ToUtf8(std::string{static_cast<char>(b), static_cast<char>(t)}));
  }
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    std::string u;
    if (cp < 0x800) {
      u += static_cast<char>(0xC0 | cp >> 6);
    } else {
      u += static_cast<char>(0xE0 | cp >> 12);
      u += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    }
    u += static_cast<char>(0x80 | (cp & 0x3F));
    fold(Utf8ToCp932(u).value_or("-"));
  }
  EXPECT_EQ(h, 13930627658145410014u);
}

TEST(TextCodec, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("abc"));
  EXPECT_TRUE(IsValidUtf8("太郎"));
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
  EXPECT_TRUE(IsValidUtf8("\xC2\xA0"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE5\xA4"));          // cut
  EXPECT_FALSE(IsValidUtf8("\x91\xBE\x98\x59"));  // code page 932 bytes
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(TextCodec, ByteCountingAndTruncationFollowTheCp932Form) {
  EXPECT_EQ(Cp932Length("abc"), 3u);
  EXPECT_EQ(Cp932Length("太郎abc"), 7u);
  EXPECT_EQ(Cp932Length("ｶﾐ"), 2u);
  // A character without a code page 932 form counts with its UTF-8 length.
  EXPECT_EQ(Cp932Length("太한"), 5u);
  EXPECT_EQ(Cp932Length(""), 0u);

  EXPECT_EQ(TruncateToCp932Bytes("太郎", 4), "太郎");
  EXPECT_EQ(TruncateToCp932Bytes("太郎", 3), "太");
  EXPECT_EQ(TruncateToCp932Bytes("太郎", 1), "");
  EXPECT_EQ(TruncateToCp932Bytes("aｶ太", 3), "aｶ");
  EXPECT_EQ(TruncateToCp932Bytes("a한b", 3), "a");
  EXPECT_EQ(TruncateToCp932Bytes("a한b", 4), "a한");
  EXPECT_EQ(TruncateToCp932Bytes("abc", 0), "");

  EXPECT_EQ(Utf8CharLength('a'), 1u);
  EXPECT_EQ(Utf8CharLength(0xC3), 2u);
  EXPECT_EQ(Utf8CharLength(0xE5), 3u);
  EXPECT_EQ(Utf8CharLength(0xF0), 4u);
  EXPECT_EQ(Utf8CharLength(0x80), 1u);
}

TEST(TextCodec, FileNamesShowAsUtf8OrElseAsCp932) {
  const std::string kiroku = Utf8ToCp932("記録").value();
  EXPECT_EQ(DisplayFileName("記録.mgx"), "記録.mgx");
  EXPECT_EQ(DisplayFileName(kiroku + ".mgx"), "記録.mgx");
  // Each name of a path on its own.
  EXPECT_EQ(DisplayPath("/home/ゲーム/" + kiroku + "/a.mgx"), "/home/ゲーム/記録/a.mgx");
  EXPECT_EQ(DisplayPath("/"), "/");
}
