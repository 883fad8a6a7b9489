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

}  // namespace q2
