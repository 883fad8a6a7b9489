// What the core tests share: files as bytes, folder snapshots, hand-built
// headers and bodies, the texts the program shows, and running a case as an
// ordinary user.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/recording_generator.h"
#include "core/recording/recording_kind.h"
#include "platform/files.h"
#include "core/texts/message.h"
#include "platform/text.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace q2test {

// The texts as the user sees them, kept apart from the program's own
// constants so that a typo there shows up here.
inline const std::string kTextCannotOpen = "ファイルをオープンできませんでした";
inline const std::string kTextCorrupt = "解凍エラーです(ファイルが壊れています)";
inline const std::string kTextInflate = "解凍エラーです";
inline const std::string kTextScenario = "シナリオには未対応ですナッ ( ゜Д゜)y ＼_ ポロッ";
inline const std::string kTextHeaderData = "HEADER_DATA_ERROR";
inline const std::string kWarning = "--\x8C\x78\x8D\x90";  // "--警告" in code page 932

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(q2::FsPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(q2::FsPath(path), std::ios::binary | std::ios::trunc) << bytes;
}

// Every entry of a folder: name → content, "<dir>" for a folder.
inline std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(q2::FsPath(dir)))
    out[q2::PathString(e.path().filename())] = e.is_directory() ? "<dir>" : ReadBytes(q2::PathString(e.path()));
  return out;
}

inline std::string Cp932(const std::string& utf8) { return q2::Utf8ToCp932(utf8).value(); }

inline std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// A generated recording of a small game: names from slot 1, all on team 1.
inline std::string Game(const std::vector<std::string>& names, uint64_t seed, int recorder = 1) {
  return q2::gen::BuildRecording(
      q2::gen::TypicalGame(names, std::vector<int>(names.size(), 1), recorder, seed, 20000, 20000));
}

inline const std::string kRandomGame = "RandomGame";
inline const std::string kPlayerMarker("\xFF\xFF\xFF\x9D\xFF", 5);
inline const std::string kTeamMarker("\x9A\x99\x99\x99\x99\x99\xF9\x3F", 8);

// An inflated header built piece by piece: 62 zero bytes (so offsets 12 to
// 15 are zero) with the recorder slot at 61, then whatever the test appends.
struct HeaderBytes {
  std::string b;

  explicit HeaderBytes(uint8_t recorder = 1) : b(62, '\0') { b[61] = static_cast<char>(recorder); }
  HeaderBytes& pad(size_t n, char c = '\0') { return raw(std::string(n, c)); }
  HeaderBytes& raw(const std::string& s) { return b += s, *this; }
  // "RandomGame" and the 180 bytes the scanner skips after it.
  HeaderBytes& randomGame() { return raw(kRandomGame).pad(180); }
  // The player-table marker and the 22 bytes before the first record (18
  // in the earlier game, which has no map id there).
  HeaderBytes& tableMarker(q2::Edition e = q2::Edition::Conquerors) {
    return raw(kPlayerMarker).pad(e == q2::Edition::Kings ? 18 : 22);
  }
  // One player record: slot byte, 7 bytes, length byte, 3 bytes, name.
  HeaderBytes& record(int slot, const std::string& name, int lengthByte = -1) {
    b += static_cast<char>(slot);
    b.append(7, '\0');
    b += static_cast<char>(lengthByte < 0 ? static_cast<int>(name.size()) : lengthByte);
    return pad(3).raw(name);
  }
  HeaderBytes& emptyRecords(int n) {
    for (int i = 0; i < n; ++i) record(0, "");
    return *this;
  }
  // The team marker, 5 bytes, then the eight team bytes.
  HeaderBytes& teams(const std::vector<int>& t) {
    raw(kTeamMarker).pad(5);
    for (int i = 0; i < 8; ++i) b += static_cast<char>(i < static_cast<int>(t.size()) ? t[i] : 0);
    return *this;
  }
  HeaderBytes& lobby(int digit, const std::string& text) {
    return raw(Le32(static_cast<uint32_t>(text.size() + 4)) + "@#" + char('0' + digit) + text + '\0');
  }
  size_t size() const { return b.size(); }
};

// A heap copy of exactly the given bytes, so that the address sanitizer
// sees any read past their end.
struct ExactBuffer {
  std::vector<uint8_t> v;
  explicit ExactBuffer(const std::string& s, size_t n = std::string::npos)
      : v(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n < s.size() ? n : s.size())) {}
  const uint8_t* data() const { return v.empty() ? nullptr : v.data(); }
  size_t size() const { return v.size(); }
};

// A research or age command as the body carries it, with the position j
// (the zero byte after the player byte) at `at`.
inline void PutCommand(std::string& body, size_t at, int player, int lo, int hi) {
  if (body.size() < at + 7) body.resize(at + 7, '\x01');
  body.replace(at - 1, 8, std::string{char(player), '\0', char(lo), char(hi)} + "\xFF\xFF\xFF\xFF");
}

inline void PutChat(std::string& body, size_t at, int digit, const std::string& text) {
  const std::string line = "@#" + std::string(1, char('0' + digit)) + text + '\0';
  if (body.size() < at + line.size()) body.resize(at + line.size(), '\x01');
  body.replace(at, line.size(), line);
}

// Runs part of a test as an ordinary user. Root ignores file modes, so a
// permission case run as root proves nothing: as root the body runs in a
// child process that switches to uid and gid 65534, and its failures count
// here; otherwise it runs in this process. File modes and user ids are
// POSIX: Windows builds leave these cases out.
#ifndef _WIN32
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
#endif

}  // namespace q2test
