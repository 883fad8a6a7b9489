// Runs one of the project's programs from the system's shell, as a user
// would, and captures what it prints.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "support/core_support.h"

namespace q2test {

struct ProgramRun {
  int code = -1;
  std::string out, err;
};

// One word for the shell: sh takes any bytes between single quotes; cmd.exe
// takes any text between double quotes but a quote or a '%', which no test
// argument holds.
inline std::string ShellWord(const std::string& s) {
#ifdef _WIN32
  return '"' + s + '"';
#else
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + '\'';
#endif
}

// Output goes through two files in captureDir, removed afterwards; the
// program runs in workDir when one is given.
inline ProgramRun RunProgram(const std::string& exe, const std::vector<std::string>& args,
                             const std::string& captureDir, const std::string& workDir = "") {
  const std::string outPath = captureDir + "/run-out.txt", errPath = captureDir + "/run-err.txt";
  std::string line = ShellWord(exe);
  for (const std::string& a : args) line.append(" ").append(ShellWord(a));
  line.append(" >").append(ShellWord(outPath)).append(" 2>").append(ShellWord(errPath));
  ProgramRun r;
#ifdef _WIN32
  if (!workDir.empty()) line = "cd /d " + ShellWord(workDir) + " && " + line;
  // cmd.exe takes off the first and the last quote of the line.
  r.code = _wsystem(q2::FsPath('"' + line + '"').c_str());
#else
  if (!workDir.empty()) line = "cd " + ShellWord(workDir) + " && " + line;
  const int status = std::system(line.c_str());
  if (WIFEXITED(status)) r.code = WEXITSTATUS(status);
#endif
  r.out = ReadBytes(outPath);
  r.err = ReadBytes(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return r;
}

}  // namespace q2test
