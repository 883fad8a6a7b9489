// Sets a file's last-write time from local calendar fields, the inverse of
// the conversion the program reads it with.
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/files.h"
#else
#include <ctime>
#include <utime.h>
#endif

namespace q2test {

inline bool SetLocalMtime(const std::string& path, int year, int mon, int day, int h, int m, int sec) {
#ifdef _WIN32
  SYSTEMTIME st{static_cast<WORD>(year), static_cast<WORD>(mon), 0, static_cast<WORD>(day),
                static_cast<WORD>(h),    static_cast<WORD>(m),   static_cast<WORD>(sec), 0};
  FILETIME local, utc;
  if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
  HANDLE f = CreateFileW(q2::FsPath(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const bool ok = SetFileTime(f, nullptr, &utc, &utc) != 0;
  CloseHandle(f);
  return ok;
#else
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = mon - 1;
  tm.tm_mday = day;
  tm.tm_hour = h;
  tm.tm_min = m;
  tm.tm_sec = sec;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  utimbuf times{t, t};
  return utime(path.c_str(), &times) == 0;
#endif
}

}  // namespace q2test
