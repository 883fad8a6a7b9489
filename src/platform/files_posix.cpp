#include "files.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/syscall.h>
#endif

#include "text.h"

namespace fs = std::filesystem;

namespace q2 {

fs::path FsPath(const std::string& path) { return fs::path(path); }
std::string PathString(const fs::path& p) { return p.string(); }

std::optional<uint64_t> FileSizeOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(path.c_str()) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

namespace {

// The folder a path's last name is in ("." or "/" where it names none) and that name.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const size_t sep = path.rfind('/');
  if (sep == std::string::npos) return {".", path};
  return {sep == 0 ? "/" : path.substr(0, sep), path.substr(sep + 1)};
}

std::string SwapAsciiCase(std::string s) {
  for (char& c : s)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c ^ 0x20);
  return s;
}

// Whether the folder's file system finds entries by names in any case: an
// entry answers to its name with the case of its letters swapped, and no
// entry is listed under that name. Nothing is written to find out.
bool FolderIgnoresCase(const std::string& folder) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return false;
  std::string swapped;
  while (dirent* de = ::readdir(d)) {
    swapped = SwapAsciiCase(de->d_name);
    if (swapped != de->d_name) break;
    swapped.clear();
  }
  struct stat st;
  bool ignores = !swapped.empty() && ::fstatat(::dirfd(d), swapped.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  if (ignores) {
    ::rewinddir(d);
    while (dirent* de = ::readdir(d))
      if (swapped == de->d_name) ignores = false;
  }
  ::closedir(d);
  return ignores;
}

// The name in upper case, character by character, as file systems that
// ignore case compare names; bytes that are no UTF-8 only in ASCII.
std::string UpperName(const std::string& name) {
  static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  std::string out;
  if (!utf8 || !IsValidUtf8(name)) {
    out = name;
    for (char& c : out)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    return out;
  }
  for (size_t i = 0; i < name.size();) {
    const size_t n = Utf8CharLength(static_cast<unsigned char>(name[i]));
    char32_t c = n == 1 ? static_cast<unsigned char>(name[i]) : static_cast<unsigned char>(name[i]) & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(name[i + k]) & 0x3F);
    i += n;
    c = static_cast<char32_t>(::towupper_l(static_cast<wint_t>(c), utf8));
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
              static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return out;
}

RenameFallbackForTests testFallback;

bool SameEntry(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Where neither a no-replace rename nor a hard link can be had, the new name
// is first made as an empty placeholder that only this call can have made
// (O_EXCL: an existing file, folder or link fails it), and the file is
// renamed onto it with a plain rename. Just before, the placeholder is
// checked to be still ours (the same file, still empty): a file that took
// the name in between stays. A failed rename takes the placeholder away
// again, only if it is still ours. Left open: the instant between that
// check and the rename, and a crash between the steps (an empty file stays).
RenameError RenameOntoPlaceholder(const std::string& from, const std::string& to) {
  struct stat st;
  if (::lstat(from.c_str(), &st) != 0) return RenameError::Failed;  // nothing to make room for
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return errno == EEXIST ? RenameError::TargetExists : RenameError::Failed;
  struct stat made;
  const bool known = ::fstat(fd, &made) == 0;
  ::close(fd);
  auto stillOurs = [&] {
    struct stat now;
    return known && ::lstat(to.c_str(), &now) == 0 && S_ISREG(now.st_mode) && now.st_size == 0 && SameEntry(now, made);
  };
  if (testFallback.beforeRename) testFallback.beforeRename();
  if (!stillOurs()) return RenameError::TargetExists;
  if (::rename(from.c_str(), to.c_str()) == 0) return RenameError::None;
  if (stillOurs()) ::unlink(to.c_str());
  return RenameError::Failed;
}

}  // namespace

void SetRenameFallbackForTests(RenameFallbackForTests fallback) { testFallback = std::move(fallback); }

std::string EntryKey(const std::string& path) {
  const auto [folder, name] = SplitPath(path);
  struct stat st;
  std::string key = ::stat(folder.c_str(), &st) == 0 ? std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino)
                                                     : AbsolutePath(folder);
  key += '\0';
  key += FolderIgnoresCase(folder) ? UpperName(name) : name;
  return key;
}

RenameError RenameNoReplace(const std::string& from, const std::string& to) {
  if (testFallback.forced) return RenameOntoPlaceholder(from, to);
#if defined(__linux__) && defined(SYS_renameat2)
  if (syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return RenameError::None;
  if (errno == EEXIST) return RenameError::TargetExists;
  // Refused flags (EINVAL) are how FUSE, NFS and SMB mounts answer.
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return RenameError::Failed;
#endif
  // A hard link fails when the target exists, so the target is never replaced.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return RenameError::None;
    struct stat a, b;
    if (::lstat(from.c_str(), &a) == 0 && ::lstat(to.c_str(), &b) == 0 && SameEntry(a, b)) ::unlink(to.c_str());
    return RenameError::Failed;
  }
  if (errno == EEXIST) return RenameError::TargetExists;
  // No hard links here (exFAT, FAT, many network shares; EPERM), or not for this file.
  return RenameOntoPlaceholder(from, to);
}

bool FolderWritable(const std::string& folder) {
  return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

namespace {
std::string FolderOf(const std::string& path) {
  const size_t sep = path.rfind('/');
  if (sep == std::string::npos) return ".";
  return sep == 0 ? "/" : path.substr(0, sep);
}
}  // namespace

bool FileWritable(const std::string& path) {
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) return !IsDirectory(path);
  return errno == ENOENT && FolderWritable(FolderOf(path));
}

bool MayRename(const std::string& from, const std::string& to) {
  const std::string src = FolderOf(from);
  if (!FolderWritable(src) || !FolderWritable(FolderOf(to))) return false;
  // In a sticky folder (like /tmp) only the file's or the folder's owner may move it.
  struct stat folder, file;
  const uid_t me = ::geteuid();
  return me == 0 || ::stat(src.c_str(), &folder) != 0 || !(folder.st_mode & S_ISVTX) ||
         folder.st_uid == me || ::lstat(from.c_str(), &file) != 0 || file.st_uid == me;
}

bool NameFitsIn(const std::string& folder, const std::string& name) {
  const long nameMax = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return name.size() <= (nameMax > 0 ? static_cast<size_t>(nameMax) : kFileNameMax) &&
         JoinPath(folder, name).size() < PATH_MAX;
}

std::optional<std::vector<DirItem>> ListFolder(const std::string& folder) {
  DIR* d = opendir(folder.empty() ? "." : folder.c_str());
  if (!d) return std::nullopt;
  std::vector<DirItem> out;
  const int dfd = dirfd(d);
  while (dirent* de = readdir(d)) {
    const std::string name = de->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    // A broken link is listed by what it is itself.
    if (fstatat(dfd, de->d_name, &st, 0) != 0 && fstatat(dfd, de->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
      continue;
    DirItem it;
    it.name = name;
    it.isDir = S_ISDIR(st.st_mode);
    it.isRegular = S_ISREG(st.st_mode);
    it.hidden = name[0] == '.';
    it.size = static_cast<uint64_t>(st.st_size);
    it.modified = ToLocalTime(static_cast<int64_t>(st.st_mtime));
    out.push_back(std::move(it));
  }
  closedir(d);
  return out;
}

size_t FileNameUnits(const std::string& name) { return name.size(); }

File::File(const std::string& path, const char* mode) { f_ = std::fopen(path.c_str(), mode); }

std::string ExecutablePath() {
  std::error_code ec;
  auto p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(path), ec);
  if (ec) p = fs::path(path);
  std::string out = p.lexically_normal().string();
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

std::string ParentOf(const std::string& path) {
  auto pos = path.rfind('/');
  return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + '/' + name;
}

std::string FileNameOf(const std::string& path) {
  auto pos = path.rfind('/');
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::optional<std::string> ParentFolder(const std::string& folder) {
  size_t sep = folder.rfind('/');
  if (sep == std::string::npos || folder.find_first_not_of('/') == std::string::npos) return std::nullopt;
  return sep == 0 ? std::string("/") : folder.substr(0, sep);
}

}  // namespace q2
