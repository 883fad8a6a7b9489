// Sets a file's last-write time from local calendar fields, the inverse of
// the conversion the program reads it with.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/times.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#include <utime.h>
#endif

namespace q2test {

inline bool SetLocalMtime(const std::string& path, const q2::LocalTime& t) {
#ifdef _WIN32
  SYSTEMTIME st{WORD(t.year), WORD(t.month), 0, WORD(t.day), WORD(t.hour), WORD(t.minute), WORD(t.second), 0};
  FILETIME local, utc;
  if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
  HANDLE f = CreateFileW(q2::FsPath(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  const bool ok = f != INVALID_HANDLE_VALUE && SetFileTime(f, nullptr, &utc, &utc);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  return ok;
#else
  std::tm tm{};
  tm.tm_year = t.year - 1900, tm.tm_mon = t.month - 1, tm.tm_mday = t.day;
  tm.tm_hour = t.hour, tm.tm_min = t.minute, tm.tm_sec = t.second, tm.tm_isdst = -1;
  const std::time_t s = std::mktime(&tm);
  const utimbuf times{s, s};
  return utime(path.c_str(), &times) == 0;
#endif
}

}  // namespace q2test
