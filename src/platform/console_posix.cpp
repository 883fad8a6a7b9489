#include "console.h"

#include <unistd.h>

#include <cstdarg>

namespace q2 {

std::vector<std::string> ProgramArgs(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void WriteOut(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

void PrintTo(std::FILE* stream, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::vfprintf(stream, format, ap);
  va_end(ap);
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace q2
