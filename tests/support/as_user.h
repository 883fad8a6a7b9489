// Runs part of a test as an ordinary user. Root ignores file modes, so a
// permission case run as root proves nothing: as root the body runs in a
// child process that switches to uid and gid 65534, and its failures count
// here; otherwise it runs in this process. File modes and user ids are
// POSIX: Windows builds leave these cases out.
#pragma once
#ifndef _WIN32

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>

namespace q2test {

inline constexpr unsigned kUnprivilegedId = 65534;

inline bool IsRoot() { return ::geteuid() == 0; }

// Empty when the body ran (failures already recorded), else why it could
// not: the caller skips with that reason.
[[nodiscard]] inline std::string RunAsUser(const std::function<void()>& body) {
  if (!IsRoot()) return body(), std::string();
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return "fork failed";
  if (pid == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 || ::setuid(kUnprivilegedId) != 0) ::_exit(77);
    try {
      body();
    } catch (...) {
      ADD_FAILURE() << "exception as user " << kUnprivilegedId;
    }
    std::fflush(nullptr);
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return "cannot switch to user id 65534";
  // The child printed its own failures.
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the case failed as user " << kUnprivilegedId;
  return {};
}

}  // namespace q2test

#endif
