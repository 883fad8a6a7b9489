#include <windows.h>

#include "times.h"
#include "win_internal.h"

namespace q2 {
namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochAsFileTime = 116444736000000000LL;

}  // namespace

LocalTime LocalTimeOfFileTime(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return {};
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

LocalTime ToLocalTime(int64_t unixSeconds) {
  const uint64_t ticks = static_cast<uint64_t>(unixSeconds * 10000000LL + kUnixEpochAsFileTime);
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  return LocalTimeOfFileTime(ft);
}

LocalTime NowLocal() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return LocalTimeOfFileTime(ft);
}

std::optional<LocalTime> FileLocalTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return LocalTimeOfFileTime(data.ftLastWriteTime);
}

FileTimes FileTimesOf(const std::string& path) {
  FileTimes t;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data)) return t;
  t.created = LocalTimeOfFileTime(data.ftCreationTime);
  t.modified = LocalTimeOfFileTime(data.ftLastWriteTime);
  t.accessed = LocalTimeOfFileTime(data.ftLastAccessTime);
  return t;
}

}  // namespace q2
