// The few file-system operations the program needs. Paths are the file
// system's own bytes on POSIX and UTF-8 on Windows; they are never decoded
// on the way from a listing to an open or a rename.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "times.h"

namespace q2 {

#ifdef _WIN32
inline constexpr char kPathSep = '\\';
#else
inline constexpr char kPathSep = '/';
#endif

std::filesystem::path FsPath(const std::string& path);
std::string PathString(const std::filesystem::path& p);

// Size of what the path names; nullopt when its status can't
// be obtained.
std::optional<uint64_t> FileSizeOf(const std::string& path);

bool IsDirectory(const std::string& path);
bool PathExists(const std::string& path);
// Removes a file (never a directory); false when it could not.
bool RemoveFile(const std::string& path);
// True when both paths name the same existing file (links followed).
bool SameFile(const std::string& a, const std::string& b);

// Names one entry of a folder however its path is spelt ("a.mgx",
// "/abs/d/a.mgx", "d//a.mgx"): the folder by its identity, links followed,
// and the name as the folder's file system compares names: bytes on POSIX
// unless the file system ignores case (exFAT, FAT, a case-folding folder),
// ignoring case on Windows. Equal keys name the same entry, there or not.
std::string EntryKey(const std::string& path);

enum class RenameError { None, TargetExists, Failed };

// Renames without ever replacing an existing target, also on file systems
// without a no-replace rename or hard links.
RenameError RenameNoReplace(const std::string& from, const std::string& to);

// Whether renaming a file to its own name in another case renames it where
// names ignore case (Windows). Elsewhere the file system finds the new name
// taken, by the file itself.
#ifdef _WIN32
inline constexpr bool kRenameChangesCase = true;
#else
inline constexpr bool kRenameChangesCase = false;

// For tests: renames go as on a file system that has neither a no-replace
// rename nor hard links (exFAT through FUSE, many network shares), and
// `beforeRename` runs between making the new name and renaming onto it.
struct RenameFallbackForTests {
  bool forced = false;
  std::function<void()> beforeRename;
};
void SetRenameFallbackForTests(RenameFallbackForTests fallback);
#endif

// Whether the folder lets this process create and rename files in it.
bool FolderWritable(const std::string& folder);

// Whether this process may write the file, or create it when it is missing.
bool FileWritable(const std::string& path);

// Whether the permissions let this process move the file to the path (both
// folders writable; a sticky folder's rule on other users' files). Whether
// the target exists is not looked at.
bool MayRename(const std::string& from, const std::string& to);

// Whether the file system of the folder takes a file of this name there:
// within its limits on the length of a name and of a whole path.
bool NameFitsIn(const std::string& folder, const std::string& name);

// One item of a folder.
struct DirItem {
  std::string name;  // as the file system gives it
  bool isDir = false;
  bool isRegular = false;
  bool hidden = false;  // dot-names on POSIX, the hidden attribute on Windows
  uint64_t size = 0;
  LocalTime modified;
};

// Every item of the folder but "." and "..", in the file system's order;
// nullopt when the folder can't be listed.
std::optional<std::vector<DirItem>> ListFolder(const std::string& folder);

// Length of a file name as the file system limits it (bytes on POSIX,
// UTF-16 units on Windows).
size_t FileNameUnits(const std::string& name);
// Longest file name the file system takes, in those units.
inline constexpr size_t kFileNameMax = 255;

// A file opened by path; closed when it goes out of scope.
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

// The path made absolute against the working folder, "." and ".." resolved
// by name, without a trailing separator (but at a root).
std::string AbsolutePath(const std::string& path);

// Everything before the last separator ("" when there is none).
std::string ParentOf(const std::string& path);
// folder + separator + name, without doubling a separator at the root.
std::string JoinPath(const std::string& folder, const std::string& name);
// Everything after the last separator.
std::string FileNameOf(const std::string& path);
// The folder above, as the parent-folder button goes; nullopt at a root
// (a drive, or "/"), whose parent is the desktop.
std::optional<std::string> ParentFolder(const std::string& folder);

}  // namespace q2
