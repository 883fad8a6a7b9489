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
  // Bytes that start no character, a lead byte without a valid trail byte,
  // an unassigned double-byte code, and a lead byte at the very end.
  EXPECT_EQ(Cp932ToUtf8("a\x80" "b"), "a" + kReplacement + "b");
  EXPECT_EQ(Cp932ToUtf8("\xA0"), kReplacement);
  EXPECT_EQ(Cp932ToUtf8("\xFD\xFE\xFF"), kReplacement + kReplacement + kReplacement);
  EXPECT_EQ(Cp932ToUtf8("\x81 x"), kReplacement + " x");
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
  EXPECT_FALSE(Utf8ToCp932("\xE5\xA4").has_value());  // cut UTF-8
  EXPECT_FALSE(Utf8ToCp932("\xFF").has_value());
  EXPECT_EQ(Utf8ToCp932("").value(), "");
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
