#include "times.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace q2 {

LocalTime ToLocalTime(int64_t unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

LocalTime NowLocal() { return ToLocalTime(static_cast<int64_t>(std::time(nullptr))); }

std::optional<LocalTime> FileLocalTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return ToLocalTime(static_cast<int64_t>(st.st_mtime));
}

FileTimes FileTimesOf(const std::string& path) {
  FileTimes t;
#ifdef STATX_BTIME
  struct statx sx;
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME | STATX_ATIME, &sx) == 0) {
    if (sx.stx_mask & STATX_BTIME) t.created = ToLocalTime(sx.stx_btime.tv_sec);
    if (sx.stx_mask & STATX_MTIME) t.modified = ToLocalTime(sx.stx_mtime.tv_sec);
    if (sx.stx_mask & STATX_ATIME) t.accessed = ToLocalTime(sx.stx_atime.tv_sec);
    return t;
  }
  if (errno != ENOSYS) return t;
#endif
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return t;
  t.modified = ToLocalTime(static_cast<int64_t>(st.st_mtime));
  t.accessed = ToLocalTime(static_cast<int64_t>(st.st_atime));
  return t;
}

}  // namespace q2
