// The command line, the standard streams and the terminal the program runs
// in, if any.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace q2 {

// The arguments in argv after the program name (less any that a library
// such as Qt took out), as UTF-8 on Windows (taken from the UTF-16 command
// line, so names in any script arrive whole) and as the bytes given on
// POSIX. Also sets the standard streams to pass bytes unchanged, so a pipe
// gets the same UTF-8 on every platform.
std::vector<std::string> ProgramArgs(int argc, char** argv);

// Writes UTF-8 text to stdout or stderr: to a Windows console as its
// characters, anywhere else as the bytes.
void WriteOut(std::FILE* stream, std::string_view text);

// printf into WriteOut.
void PrintTo(std::FILE* stream, const char* format, ...)
#if defined(__MINGW32__)
    // MinGW's C++ runtime formats with its own C99 printf, not msvcrt's.
    __attribute__((format(gnu_printf, 2, 3)))
#elif defined(__GNUC__) || defined(__clang__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Whether standard error is a terminal (for progress lines).
bool StderrIsTerminal();

}  // namespace q2
