// Code page 932 through glibc's iconv, made to map exactly as Windows does
// where the two tables differ, so that a recording's names and the settings
// file read alike on both platforms.
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

// CP936 rather than GBK: it holds the euro sign at 0x80, as Windows does.
Converter& GbkDecoder() {
  thread_local Converter c("UTF-8", "CP936");
  return c;
}

Converter& GbkEncoder() {
  thread_local Converter c("CP936", "UTF-8");
  return c;
}

// Single bytes that Windows maps and glibc refuses.
const char* WindowsSingleByte(unsigned char b) {
  switch (b) {
    case 0x80: return "\xC2\x80";      // U+0080
    case 0xA0: return "\xEF\xA3\xB0";  // U+F8F0
    case 0xFD: return "\xEF\xA3\xB1";  // U+F8F1
    case 0xFE: return "\xEF\xA3\xB2";  // U+F8F2
    case 0xFF: return "\xEF\xA3\xB3";  // U+F8F3
  }
  return nullptr;
}

// Characters whose encoding differs: byte 0..255 for the single byte Windows
// writes, -1 for those Windows has no code for (it only writes a look-alike
// of them, as a best fit), where glibc writes one.
struct EncodingDifference {
  char32_t cp;
  int byte;
};
constexpr EncodingDifference kEncodingDifferences[] = {
    {0x0080, 0x80}, {0x00A2, -1}, {0x00A3, -1}, {0x00A5, -1}, {0x00AC, -1},   {0x2014, -1},
    {0x2016, -1},   {0x203E, -1}, {0x2212, -1}, {0x301C, -1}, {0xF8F0, 0xA0}, {0xF8F1, 0xFD},
    {0xF8F2, 0xFE}, {0xF8F3, 0xFF},
};

// The code point of the valid UTF-8 character at s[i].
char32_t CodePointAt(std::string_view s, size_t i, size_t len) {
  const auto b = [&](size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(s[i + k])); };
  switch (len) {
    case 1: return b(0);
    case 2: return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    case 3: return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
    default: return (b(0) & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
  }
}

const EncodingDifference* EncodingDifferenceOf(char32_t cp) {
  for (const EncodingDifference& d : kEncodingDifferences)
    if (d.cp == cp) return &d;
  return nullptr;
}

// Decodes with `c`, a byte it refuses becoming `single(byte)` or U+FFFD.
std::string DecodeWith(Converter& c, std::string_view bytes, const char* (*single)(unsigned char)) {
  if (AllAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  if (!c.ok()) {
    for (unsigned char ch : bytes) out += ch < 0x80 ? std::string(1, char(ch)) : "\xEF\xBF\xBD";
    return out;
  }
  c.reset();
  const char* in = bytes.data();
  size_t left = bytes.size();
  while (!c.run(in, left, out)) {
    const char* s = single(static_cast<unsigned char>(*in));
    out += s ? s : "\xEF\xBF\xBD";
    ++in;
    --left;
    c.reset();
  }
  return out;
}

const char* NoSingleByte(unsigned char) { return nullptr; }

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) { return DecodeWith(Decoder(), bytes, WindowsSingleByte); }

std::string GbkToUtf8(std::string_view bytes) { return DecodeWith(GbkDecoder(), bytes, NoSingleByte); }

std::optional<std::string> Utf8ToGbk(std::string_view text) {
  if (AllAscii(text)) return std::string(text);
  if (!IsValidUtf8(text)) return std::nullopt;
  Converter& c = GbkEncoder();
  if (!c.ok()) return std::nullopt;
  c.reset();
  std::string out;
  const char* in = text.data();
  size_t left = text.size();
  if (!c.run(in, left, out)) return std::nullopt;
  return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  if (AllAscii(text)) return std::string(text);
  if (!IsValidUtf8(text)) return std::nullopt;
  Converter& c = Encoder();
  if (!c.ok()) return std::nullopt;
  c.reset();
  std::string out;
  // Runs between the characters that Windows encodes otherwise go through
  // iconv; those characters are written here.
  size_t runStart = 0;
  auto flush = [&](size_t end) {
    const char* in = text.data() + runStart;
    size_t left = end - runStart;
    return c.run(in, left, out);
  };
  for (size_t i = 0; i < text.size();) {
    const size_t len = Utf8CharLength(static_cast<unsigned char>(text[i]));
    if (len > 1) {
      if (const EncodingDifference* d = EncodingDifferenceOf(CodePointAt(text, i, len))) {
        if (d->byte < 0 || !flush(i)) return std::nullopt;
        out += static_cast<char>(d->byte);
        runStart = i + len;
      }
    }
    i += len;
  }
  if (!flush(text.size())) return std::nullopt;
  return out;
}

}  // namespace q2
