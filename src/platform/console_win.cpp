#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <cstdarg>

#include "console.h"
#include "win_internal.h"

namespace q2 {
namespace {

std::string WideToAnsi(const wchar_t* w) {
  const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
  s.resize(s.size() - 1);
  return s;
}

std::string AnsiToUtf8(const char* a) {
  const int n = MultiByteToWideChar(CP_ACP, 0, a, -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, a, -1, w.data(), n);
  w.resize(w.size() - 1);
  return WideToUtf8(w);
}

}  // namespace

std::vector<std::string> ProgramArgs(int argc, char** argv) {
  // No "\n" to "\r\n" in pipes: the same bytes as on POSIX.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  int n = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
  std::vector<std::string> out;
  // argv is the ANSI form of the command line, less what a library (Qt)
  // took out of it; each of its entries is matched, in order, to the UTF-16
  // argument it came from.
  int w = 1;
  for (int i = 1; i < argc; ++i) {
    int k = w;
    while (wide && k < n && WideToAnsi(wide[k]) != argv[i]) ++k;
    if (wide && k < n) {
      out.push_back(WideToUtf8(wide[k]));
      w = k + 1;
    } else {
      out.push_back(AnsiToUtf8(argv[i]));
    }
  }
  if (wide) LocalFree(wide);
  return out;
}

void WriteOut(std::FILE* stream, std::string_view text) {
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode;
  if (h == INVALID_HANDLE_VALUE || !GetConsoleMode(h, &mode)) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  // A console shows characters, not bytes: its code page is rarely UTF-8.
  std::fflush(stream);
  const std::wstring w = Utf8ToWide(text);
  DWORD written = 0;
  WriteConsoleW(h, w.data(), static_cast<DWORD>(w.size()), &written, nullptr);
}

void PrintTo(std::FILE* stream, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  va_list again;
  va_copy(again, ap);
  const int n = std::vsnprintf(nullptr, 0, format, ap);
  va_end(ap);
  if (n > 0) {
    std::string s(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(s.data(), s.size(), format, again);
    s.resize(static_cast<size_t>(n));
    WriteOut(stream, s);
  }
  va_end(again);
}

bool StderrIsTerminal() {
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace q2
