// Code page 932 through the system's own conversion, the one every
// Windows program that shows Shift-JIS text uses.
#include <windows.h>

#include "text.h"
#include "win_internal.h"

namespace q2 {
namespace {

constexpr UINT kCp932 = 932;
constexpr UINT kCp936 = 936;
constexpr wchar_t kDefaultChar = 0x30FB;

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int len = static_cast<int>(utf8.size());
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), len, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), len, w.data(), n);
  return w;
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int len = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), len, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), len, s.data(), n, nullptr, nullptr);
  return s;
}

namespace {

// The whole text in one call, as nearly every text is valid; nullopt when
// some byte is not.
std::optional<std::wstring> DecodeWhole(UINT cp, std::string_view bytes) {
  const int len = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), len, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), len, w.data(), n);
  return w;
}

// No best fit: a character without its own code (é, ¥) is not written as a
// look-alike, which would change the name.
std::optional<std::string> EncodeExact(UINT cp, std::string_view text) {
  if (AllAscii(text)) return std::string(text);
  if (!IsValidUtf8(text)) return std::nullopt;
  const std::wstring w = Utf8ToWide(text);
  const int len = static_cast<int>(w.size());
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, w.data(), len, nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, w.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

// Decodes the whole text at once where it is valid, else character by
// character: `one` gives the character of the `len` bytes at p, or nullopt,
// and a byte that starts none shows as U+FFFD.
template <class One>
std::string Decode(UINT cp, std::string_view bytes, One one) {
  if (AllAscii(bytes)) return std::string(bytes);
  if (auto whole = DecodeWhole(cp, bytes)) return WideToUtf8(*whole);
  std::wstring w;
  w.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const int len = IsDBCSLeadByteEx(cp, static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    if (const std::optional<wchar_t> c = one(bytes.data() + i, len)) {
      w += *c;
      i += static_cast<size_t>(len);
    } else {
      w += L'\xFFFD';
      ++i;
    }
  }
  return WideToUtf8(w);
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  // Character by character without the error flag: with it the system
  // refuses bytes it maps without it (0xA0 and 0xFD to 0xFF). A bad sequence
  // comes back as the default character U+30FB, which only 0x81 0x45 really
  // is; where the system would swallow the byte after a bad lead byte, we
  // show U+FFFD and go on with that byte.
  return Decode(kCp932, bytes, [](const char* p, int len) -> std::optional<wchar_t> {
    const auto b = [&](int k) { return static_cast<unsigned char>(p[k]); };
    wchar_t wc[2];
    const int k = MultiByteToWideChar(kCp932, 0, p, len, wc, 2);
    const bool realDot = len == 2 && b(0) == 0x81 && b(1) == 0x45;
    if (k == 1 && (wc[0] != kDefaultChar || realDot) && !(len == 1 && IsDBCSLeadByteEx(kCp932, b(0)))) return wc[0];
    return std::nullopt;
  });
}

std::optional<std::string> Utf8ToCp932(std::string_view text) { return EncodeExact(kCp932, text); }

std::string GbkToUtf8(std::string_view bytes) {
  return Decode(kCp936, bytes, [](const char* p, int len) -> std::optional<wchar_t> {
    wchar_t wc[2];
    if (MultiByteToWideChar(kCp936, MB_ERR_INVALID_CHARS, p, len, wc, 2) == 1) return wc[0];
    return std::nullopt;
  });
}

std::optional<std::string> Utf8ToGbk(std::string_view text) { return EncodeExact(kCp936, text); }

}  // namespace q2
