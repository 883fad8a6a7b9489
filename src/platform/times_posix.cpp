#include "times.h"

#include <ctime>
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

}  // namespace q2
