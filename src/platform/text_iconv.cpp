#include "text.h"

#include <cerrno>
#include <iconv.h>

namespace q2 {
namespace {

// One converter per direction and thread; opening one costs more than a
// typical conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  // Converts as much as possible; returns false at the first invalid or
  // incomplete sequence, leaving in/inLeft there.
  bool run(const char*& in, size_t& inLeft, std::string& out) {
    char buf[1024];
    while (inLeft > 0) {
      char* o = buf;
      size_t oLeft = sizeof buf;
      size_t r = iconv(cd_, const_cast<char**>(&in), &inLeft, &o, &oLeft);
      out.append(buf, static_cast<size_t>(o - buf));
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& Decoder() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

Converter& Encoder() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

bool AllAscii(std::string_view s) {
  for (unsigned char ch : s)
    if (ch >= 0x80) return false;
  return true;
}

}  // namespace

size_t Utf8CharLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  if (AllAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  Converter& c = Decoder();
  if (!c.ok()) {
    for (unsigned char ch : bytes) out += ch < 0x80 ? std::string(1, char(ch)) : "\xEF\xBF\xBD";
    return out;
  }
  c.reset();
  const char* in = bytes.data();
  size_t left = bytes.size();
  while (!c.run(in, left, out)) {
    out += "\xEF\xBF\xBD";
    ++in;
    --left;
    c.reset();
  }
  return out;
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

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  if (AllAscii(text)) return std::string(text);
  if (!IsValidUtf8(text)) return std::nullopt;
  Converter& c = Encoder();
  if (!c.ok()) return std::nullopt;
  c.reset();
  std::string out;
  const char* in = text.data();
  size_t left = text.size();
  if (!c.run(in, left, out)) return std::nullopt;
  return out;
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
