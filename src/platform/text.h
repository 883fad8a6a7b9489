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

// Length of the text's code page 932 form; a character without one counts
// with its UTF-8 length.
size_t Cp932Length(std::string_view text);

// The longest prefix of the text whose code page 932 form has at most
// maxBytes bytes; never splits a character.
std::string TruncateToCp932Bytes(std::string_view text, size_t maxBytes);

// Byte length of the UTF-8 sequence starting with this lead byte (1 for a
// stray continuation byte).
size_t Utf8CharLength(unsigned char lead);

}  // namespace q2
