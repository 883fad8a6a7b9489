// Runs one of the project's programs as a user would, without a shell, and
// captures what it prints.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "support/core_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace q2test {

struct ProgramRun {
  int code = -1;
  std::string out, err;
};

// Output goes through two files in captureDir, removed afterwards; the
// program runs in workDir when one is given.
inline ProgramRun RunProgram(const std::string& exe, const std::vector<std::string>& args,
                             const std::string& captureDir, const std::string& workDir = "") {
  const std::string outPath = captureDir + "/run-out.txt", errPath = captureDir + "/run-err.txt";
  ProgramRun r;
#ifdef _WIN32
  // Every argument in quotes, which is enough while none holds a quote or
  // ends in a backslash.
  auto wide = [](const std::string& s) { return q2::FsPath(s).native(); };
  std::wstring cmd = L"\"" + wide(exe) + L"\"";
  for (const std::string& a : args) cmd += L" \"" + wide(a) + L"\"";
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  auto capture = [&](const std::string& p) {
    return CreateFileW(wide(p).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  };
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = capture(outPath);
  si.hStdError = capture(errPath);
  PROCESS_INFORMATION pi{};
  const std::wstring dir = wide(workDir);
  if (CreateProcessW(wide(exe).c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     workDir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(pi.hProcess, &code)) r.code = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(si.hStdOutput);
  CloseHandle(si.hStdError);
#else
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.code = WEXITSTATUS(status);
#endif
  r.out = ReadBytes(outPath);
  r.err = ReadBytes(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return r;
}

}  // namespace q2test
