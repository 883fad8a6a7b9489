// The few file-system operations the program needs, with UTF-8 paths on
// every platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <filesystem>
#include <optional>
#include <string>

namespace q2 {

#ifdef _WIN32
inline constexpr char kPathSep = '\\';
#else
inline constexpr char kPathSep = '/';
#endif

std::filesystem::path FsPath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& p);

// Size of a regular file (or of whatever the path names); nullopt when its
// status can't be obtained.
std::optional<uint64_t> FileSizeOf(const std::string& path);

bool IsDirectory(const std::string& path);
bool PathExists(const std::string& path);
bool RemoveFile(const std::string& path);

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Last-write time of the file, in local time.
std::optional<LocalTime> FileLocalTime(const std::string& path);
LocalTime ToLocalTime(int64_t unixSeconds);
LocalTime NowLocal();

enum class RenameError { None, TargetExists, Failed };

// Renames without ever replacing an existing target.
RenameError RenameNoReplace(const std::string& from, const std::string& to);

// A file opened with a UTF-8 path; closed when it goes out of scope.
class File {
 public:
  File() = default;
  File(const std::string& path, const char* mode);
  ~File();
  File(File&& o) noexcept : f_(o.f_) { o.f_ = nullptr; }
  File& operator=(File&&) = delete;
  File(const File&) = delete;
  explicit operator bool() const { return f_ != nullptr; }
  std::FILE* get() const { return f_; }
  // Closes now; false when buffered data could not be written.
  bool close();

 private:
  std::FILE* f_ = nullptr;
};

// An uninitialised byte buffer, for whole-file reads.
struct ByteBuffer {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

enum class ReadStatus { Ok, CannotOpen, Short, TooLarge };

// Reads the whole file, expecting `size` bytes (as its status gave).
// Directories count as files that can't be opened.
ReadStatus ReadWholeFile(const std::string& path, uint64_t size, ByteBuffer& out);

// Full path of the running executable.
std::string ExecutablePath();

// Everything before the last separator ("" when there is none).
std::string ParentOf(const std::string& path);
// folder + separator + name, without doubling a separator at the root.
std::string JoinPath(const std::string& folder, const std::string& name);
// Everything after the last separator.
std::string FileNameOf(const std::string& path);

}  // namespace q2
