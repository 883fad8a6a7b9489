#include "file_write.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q2 {
namespace {

// The file a chain of links ends in (the path itself when it is no link);
// a link whose target is missing leads to the path a write would create.
std::string FollowLinks(std::string path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buf) return path;
    std::string to(buf, static_cast<size_t>(n));
    const size_t sep = path.rfind('/');
    path = (to[0] == '/' || sep == std::string::npos) ? to : path.substr(0, sep + 1) + to;
  }
  return path;
}

bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool CreateNew(const std::string& path, const std::string& data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, data);
  if (::close(fd) != 0 || !ok) {
    ::unlink(path.c_str());
    return false;
  }
  return true;
}

enum class Replace { Done, NotHere, Failed };

// A sibling file with the new content, given the old one's owner and mode,
// then moved over it. NotHere when the folder takes no new file or the
// owner can't be kept; the file is then untouched.
Replace ReplaceWhole(const std::string& target, const struct stat& old, const std::string& data) {
  const size_t sep = target.rfind('/');
  std::string tmp = sep == std::string::npos ? "." + target + ".XXXXXX"
                                             : target.substr(0, sep + 1) + "." + target.substr(sep + 1) + ".XXXXXX";
  const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
  if (fd < 0) return Replace::NotHere;
  struct stat now;
  Replace result = Replace::Done;
  if (::fstat(fd, &now) != 0 ||
      ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0) ||
      ::fchmod(fd, old.st_mode & 07777) != 0)
    result = Replace::NotHere;
  else if (!WriteAll(fd, data))
    result = Replace::Failed;
  if (::close(fd) != 0 && result == Replace::Done) result = Replace::Failed;
  // Replacing is meant here: the target is the file being rewritten.
  if (result == Replace::Done && ::rename(tmp.c_str(), target.c_str()) != 0) result = Replace::NotHere;
  if (result != Replace::Done) ::unlink(tmp.c_str());
  return result;
}

bool WriteInPlace(const std::string& target, const struct stat& old, const std::string& data) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = true;
#ifdef __linux__
  // Room for the longer content first, so that a full disk fails before a
  // byte of the file has changed.
  if (static_cast<off_t>(data.size()) > old.st_size &&
      ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(data.size())) != 0 && errno == ENOSPC)
    ok = false;
#else
  (void)old;
#endif
  ok = ok && WriteAll(fd, data) && ::ftruncate(fd, static_cast<off_t>(data.size())) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace

WholeRead ReadSmallFile(const std::string& path, std::string& out) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? WholeRead::Missing : WholeRead::Unreadable;
  struct stat st;
  WholeRead result = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? WholeRead::Ok : WholeRead::Unreadable;
  char buf[8192];
  while (result == WholeRead::Ok) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) result = WholeRead::Unreadable;
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  if (result != WholeRead::Ok) out.clear();
  return result;
}

bool RewriteFile(const std::string& path, const std::string& data) {
  const std::string target = FollowLinks(path);
  struct stat st;
  if (::stat(target.c_str(), &st) != 0) return errno == ENOENT && CreateNew(target, data);
  if (!S_ISREG(st.st_mode)) return false;
  // No write bit at all is Windows' read-only attribute, which holds even
  // for an administrator; root ignores the bits, so they are looked at here.
  if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
  // A file with other hard links is written in place so that they all see it.
  if (st.st_nlink == 1) {
    const Replace r = ReplaceWhole(target, st, data);
    if (r != Replace::NotHere) return r == Replace::Done;
  }
  return WriteInPlace(target, st, data);
}

}  // namespace q2
