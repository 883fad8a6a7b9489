// Calendar times in the user's local time zone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace q2 {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const LocalTime&) const = default;
};

// Seconds since 1970-01-01 UTC, in local time.
LocalTime ToLocalTime(int64_t unixSeconds);
LocalTime NowLocal();

// Last-write time of the file, in local time; nullopt when the file's
// status can't be obtained.
std::optional<LocalTime> FileLocalTime(const std::string& path);

// A file's times in local time; each absent where the file system keeps
// none (many keep no creation time) or the file's status can't be obtained.
struct FileTimes {
  std::optional<LocalTime> created, modified, accessed;
};
FileTimes FileTimesOf(const std::string& path);

}  // namespace q2
