// Conversions between the code page 932 bytes that recordings and the
// settings file hold and the UTF-8 text that the rest of the program uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace q2 {

// Decodes code page 932 bytes; a byte that starts no valid character becomes
// U+FFFD and decoding goes on with the next byte.
std::string Cp932ToUtf8(std::string_view bytes);

// Encodes UTF-8 text; nullopt when a character has no code page 932 form or
// the input is not valid UTF-8.
std::optional<std::string> Utf8ToCp932(std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// Code page 936 (GBK), as the Chinese game writes names and chat; decoded
// as code page 932 is, with U+FFFD for a byte that starts no character.
std::string GbkToUtf8(std::string_view bytes);
// nullopt when a character has no code page 936 form.
std::optional<std::string> Utf8ToGbk(std::string_view text);

// Length of the text's code page 932 form; a character without one counts
// with its UTF-8 length.
size_t Cp932Length(std::string_view text);

// The longest prefix of the text whose code page 932 form has at most
// maxBytes bytes; never splits a character.
std::string TruncateToCp932Bytes(std::string_view text, size_t maxBytes);

// True when every byte is below 0x80: the text reads the same in every
// code page and needs no conversion.
bool AllAscii(std::string_view s);

// A code page 932 lead byte: it and the byte after it are one character.
inline bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Byte length of the UTF-8 sequence starting with this lead byte (1 for a
// stray continuation byte).
size_t Utf8CharLength(unsigned char lead);

// A file name as the user reads it: names are UTF-8 on Linux today, but an
// archive unpacked from Japanese Windows keeps code page 932 bytes.
inline std::string DisplayFileName(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : Cp932ToUtf8(bytes);
}

// A path as the user reads it, each name decoded on its own ('/' is never
// part of a code page 932 character).
inline std::string DisplayPath(std::string_view path) {
  std::string out;
  size_t start = 0;
  while (true) {
    const size_t sep = path.find('/', start);
    out += DisplayFileName(path.substr(start, sep == std::string_view::npos ? sep : sep - start));
    if (sep == std::string_view::npos) return out;
    out += '/';
    start = sep + 1;
  }
}

}  // namespace q2
