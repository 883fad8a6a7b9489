#include "fs_ops.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/syscall.h>
#include <linux/fs.h>
#endif
#endif

namespace fs = std::filesystem;

namespace q2 {

fs::path FsPath(const std::string& utf8) {
#ifdef _WIN32
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
#else
  return fs::path(utf8);
#endif
}

std::string Utf8Path(const fs::path& p) {
#ifdef _WIN32
  auto s = p.u8string();
  return std::string(s.begin(), s.end());
#else
  return p.string();
#endif
}

std::optional<uint64_t> FileSizeOf(const std::string& path) {
#ifdef _WIN32
  std::error_code ec;
  auto st = fs::status(FsPath(path), ec);
  if (ec || !fs::exists(st)) return std::nullopt;
  if (!fs::is_regular_file(st)) return 0;
  auto n = fs::file_size(FsPath(path), ec);
  if (ec) return std::nullopt;
  return n;
#else
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
#endif
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(FsPath(path), ec);
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(FsPath(path), ec);
}

bool RemoveFile(const std::string& path) {
  std::error_code ec;
  auto st = fs::symlink_status(FsPath(path), ec);
  if (ec || fs::is_directory(st)) return false;
  return fs::remove(FsPath(path), ec);
}

LocalTime ToLocalTime(int64_t unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

LocalTime NowLocal() { return ToLocalTime(static_cast<int64_t>(std::time(nullptr))); }

std::optional<LocalTime> FileLocalTime(const std::string& path) {
#ifdef _WIN32
  std::error_code ec;
  auto ft = fs::last_write_time(FsPath(path), ec);
  if (ec) return std::nullopt;
  auto sys = std::chrono::clock_cast<std::chrono::system_clock>(ft);
  return ToLocalTime(std::chrono::duration_cast<std::chrono::seconds>(sys.time_since_epoch()).count());
#else
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return ToLocalTime(static_cast<int64_t>(st.st_mtime));
#endif
}

RenameError RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (MoveFileExW(FsPath(from).c_str(), FsPath(to).c_str(), 0)) return RenameError::None;
  DWORD e = GetLastError();
  return (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS) ? RenameError::TargetExists
                                                               : RenameError::Failed;
#else
#if defined(__linux__) && defined(SYS_renameat2)
  if (syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return RenameError::None;
  if (errno == EEXIST) return RenameError::TargetExists;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return RenameError::Failed;
#endif
  // File systems without the no-replace flag: a hard link fails when the
  // target exists, so the target is never replaced.
  if (::link(from.c_str(), to.c_str()) != 0)
    return errno == EEXIST ? RenameError::TargetExists : RenameError::Failed;
  if (::unlink(from.c_str()) != 0) {
    ::unlink(to.c_str());
    return RenameError::Failed;
  }
  return RenameError::None;
#endif
}

File::File(const std::string& path, const char* mode) {
#ifdef _WIN32
  std::wstring m(mode, mode + std::char_traits<char>::length(mode));
  f_ = _wfopen(FsPath(path).c_str(), m.c_str());
#else
  f_ = std::fopen(path.c_str(), mode);
#endif
}

File::~File() {
  if (f_) std::fclose(f_);
}

bool File::close() {
  if (!f_) return true;
  bool ok = std::fclose(f_) == 0;
  f_ = nullptr;
  return ok;
}

ReadStatus ReadWholeFile(const std::string& path, uint64_t size, ByteBuffer& out) {
  if (IsDirectory(path)) return ReadStatus::CannotOpen;
  if (size > static_cast<uint64_t>(SIZE_MAX / 2)) return ReadStatus::TooLarge;
  File f(path, "rb");
  if (!f) return ReadStatus::CannotOpen;
  try {
    // One spare zero byte after the data, so that byte scans may look one past the end.
    out.data.reset(new uint8_t[static_cast<size_t>(size) + 1]);
  } catch (const std::bad_alloc&) {
    return ReadStatus::TooLarge;
  }
  out.size = std::fread(out.data.get(), 1, static_cast<size_t>(size), f.get());
  out.data[out.size] = 0;
  return out.size == size ? ReadStatus::Ok : ReadStatus::Short;
}

std::string ExecutablePath() {
#ifdef _WIN32
  wchar_t buf[32768];
  DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
  return Utf8Path(fs::path(std::wstring(buf, n)));
#else
  std::error_code ec;
  auto p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
#endif
}

std::string ParentOf(const std::string& path) {
  auto pos = path.find_last_of(kPathSep == '/' ? "/" : "\\/");
  return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == kPathSep) return folder + name;
  return folder + kPathSep + name;
}

std::string FileNameOf(const std::string& path) {
  auto pos = path.find_last_of(kPathSep == '/' ? "/" : "\\/");
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

}  // namespace q2
