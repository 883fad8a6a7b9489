#include "file_write.h"

#include <windows.h>

#include <algorithm>

#include "files.h"

namespace q2 {
namespace {

std::wstring Wide(const std::string& path) { return FsPath(path).native(); }

bool WriteAll(HANDLE h, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
    if (!WriteFile(h, data.data() + done, chunk, &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}

// The file a symbolic link leads to.
std::wstring FinalPath(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return path;
  std::wstring buf(32768, L'\0');
  const DWORD n = GetFinalPathNameByHandleW(h, buf.data(), static_cast<DWORD>(buf.size()),
                                            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(h);
  if (n == 0 || n >= buf.size()) return path;
  buf.resize(n);
  return buf;
}

bool WriteNew(const std::wstring& path, const std::string& data, DWORD attributes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteAll(h, data);
  if (!CloseHandle(h) || !ok) {
    DeleteFileW(path.c_str());
    return false;
  }
  return true;
}

}  // namespace

WholeRead ReadSmallFile(const std::string& path, std::string& out) {
  out.clear();
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? WholeRead::Missing : WholeRead::Unreadable;
  }
  WholeRead result = WholeRead::Ok;
  char buf[8192];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(h, buf, sizeof buf, &n, nullptr)) {
      result = WholeRead::Unreadable;
      break;
    }
    if (n == 0) break;
    out.append(buf, n);
  }
  CloseHandle(h);
  if (result != WholeRead::Ok) out.clear();
  return result;
}

bool RewriteFile(const std::string& path, const std::string& data) {
  std::wstring target = Wide(path);
  DWORD attr = GetFileAttributesW(target.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES)
    return GetLastError() == ERROR_FILE_NOT_FOUND && WriteNew(target, data, FILE_ATTRIBUTE_NORMAL);
  if (attr & FILE_ATTRIBUTE_REPARSE_POINT) {
    target = FinalPath(target);
    attr = GetFileAttributesW(target.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return false;
  }
  // Windows refuses to write a read-only file, also for an administrator.
  if (attr & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;

  // A sibling file moved over the original; ReplaceFileW keeps the
  // original's attributes, security and owner.
  const std::wstring tmp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  if (WriteNew(tmp, data, FILE_ATTRIBUTE_NORMAL)) {
    if (ReplaceFileW(target.c_str(), tmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
      return true;
    DeleteFileW(tmp.c_str());
  }
  // The folder takes no new file: the file itself is written.
  HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteAll(h, data) && SetEndOfFile(h);
  return CloseHandle(h) && ok;
}

}  // namespace q2
