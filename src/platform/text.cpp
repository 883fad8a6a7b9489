// The parts of the text helpers that are the same on every platform; the
// code page 932 codec itself is text_iconv.cpp or text_win.cpp.
#include "text.h"

namespace q2 {

size_t Utf8CharLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

bool AllAscii(std::string_view s) {
  for (unsigned char ch : s)
    if (ch >= 0x80) return false;
  return true;
}

namespace {


size_t CharCp932Length(std::string_view ch) {
  if (ch.size() == 1) return 1;
  auto enc = Utf8ToCp932(ch);
  return enc ? enc->size() : ch.size();
}

}  // namespace

size_t Cp932Length(std::string_view text) {
  if (AllAscii(text)) return text.size();
  if (auto enc = Utf8ToCp932(text)) return enc->size();
  size_t total = 0;
  for (size_t i = 0; i < text.size();) {
    size_t len = Utf8CharLength(static_cast<unsigned char>(text[i]));
    if (i + len > text.size()) len = text.size() - i;
    total += CharCp932Length(text.substr(i, len));
    i += len;
  }
  return total;
}

std::string TruncateToCp932Bytes(std::string_view text, size_t maxBytes) {
  if (Cp932Length(text) <= maxBytes) return std::string(text);
  size_t used = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t len = Utf8CharLength(static_cast<unsigned char>(text[i]));
    if (i + len > text.size()) len = text.size() - i;
    size_t b = CharCp932Length(text.substr(i, len));
    if (used + b > maxBytes) break;
    used += b;
    i += len;
  }
  return std::string(text.substr(0, i));
}

}  // namespace q2
