#include <windows.h>

#include "files.h"
#include "win_internal.h"

namespace fs = std::filesystem;

namespace q2 {
namespace {

std::wstring Wide(const std::string& utf8) { return Utf8ToWide(utf8); }
std::string Narrow(std::wstring_view w) { return WideToUtf8(w); }

bool IsSep(char c) { return c == '\\' || c == '/'; }

size_t LastSep(const std::string& path) { return path.find_last_of("\\/"); }

}  // namespace

fs::path FsPath(const std::string& path) { return fs::path(Wide(path)); }
std::string PathString(const fs::path& p) { return Narrow(p.native()); }

std::optional<uint64_t> FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &d)) return std::nullopt;
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (uint64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool IsDirectory(const std::string& path) {
  DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool RemoveFile(const std::string& path) {
  if (IsDirectory(path)) return false;
  return DeleteFileW(Wide(path).c_str()) != 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  auto id = [](const std::string& p, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileW(Wide(p).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION ia, ib;
  return id(a, ia) && id(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

namespace {

// The name in upper case, as NTFS and FAT compare names.
std::wstring UpperName(const std::wstring& name) {
  if (name.empty()) return name;
  std::wstring out(name.size(), L'\0');
  const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(name.size()),
                              out.data(), static_cast<int>(out.size()), nullptr, nullptr, 0);
  if (n <= 0) return name;
  out.resize(static_cast<size_t>(n));
  return out;
}

}  // namespace

std::string EntryKey(const std::string& path) {
  const size_t sep = LastSep(path);
  // The folder keeps its separator, so that "C:\" and "\" stay roots.
  const std::string folder = sep == std::string::npos ? "." : path.substr(0, sep + 1);
  const std::wstring name = Wide(sep == std::string::npos ? path : path.substr(sep + 1));
  std::string key;
  HANDLE h = CreateFileW(Wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info;
  if (h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info)) {
    key = std::to_string(info.dwVolumeSerialNumber) + ':' +
          std::to_string((uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
  } else {
    key = Narrow(UpperName(Wide(AbsolutePath(folder))));
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return key + '\0' + Narrow(UpperName(name));
}

RenameError RenameNoReplace(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
  if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), 0)) return RenameError::None;
  DWORD e = GetLastError();
  return (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS) ? RenameError::TargetExists : RenameError::Failed;
}

bool FolderWritable(const std::string& folder) {
  // Access rules on Windows are lists, not bits: try it, with a file of a
  // new name that is gone again when its handle closes.
  const std::wstring base = Wide(JoinPath(folder.empty() ? "." : folder, "quoril2-write-check-"));
  for (int i = 0; i < 16; ++i) {
    const std::wstring name = base + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64() + i);
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

bool FileWritable(const std::string& path) {
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  if (a != INVALID_FILE_ATTRIBUTES) return !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
  return GetLastError() == ERROR_FILE_NOT_FOUND && FolderWritable(ParentOf(path));
}

// Windows moves read-only files too; only the folders matter.
bool MayRename(const std::string& from, const std::string& to) {
  return FolderWritable(ParentOf(from)) && FolderWritable(ParentOf(to));
}

// The wide API without the long-path prefix stops at MAX_PATH.
bool NameFitsIn(const std::string& folder, const std::string& name) {
  return FileNameUnits(name) <= kFileNameMax && FileNameUnits(JoinPath(folder, name)) < MAX_PATH;
}

std::optional<std::vector<DirItem>> ListFolder(const std::string& folder) {
  const std::string pattern = JoinPath(folder.empty() ? "." : folder, "*");
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Wide(pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<DirItem> out;
  do {
    const std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    DirItem it;
    it.name = Narrow(name);
    it.isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    it.isRegular = !it.isDir && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DEVICE);
    it.hidden = (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    it.size = it.isDir ? 0 : (uint64_t(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    it.modified = LocalTimeOfFileTime(fd.ftLastWriteTime);
    out.push_back(std::move(it));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return out;
}

size_t FileNameUnits(const std::string& name) { return Wide(name).size(); }

File::File(const std::string& path, const char* mode) {
  const std::wstring m(mode, mode + std::char_traits<char>::length(mode));
  f_ = _wfopen(Wide(path).c_str(), m.c_str());
}

std::string ExecutablePath() {
  std::wstring buf(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  buf.resize(n);
  return Narrow(buf);
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(FsPath(path), ec);
  if (ec) p = FsPath(path);
  std::string out = PathString(p.lexically_normal());
  // "C:\" keeps its separator.
  while (out.size() > 3 && IsSep(out.back())) out.pop_back();
  return out;
}

std::string ParentOf(const std::string& path) {
  auto pos = LastSep(path);
  return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && IsSep(folder.back())) return folder + name;
  return folder + '\\' + name;
}

std::string FileNameOf(const std::string& path) {
  auto pos = LastSep(path);
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::optional<std::string> ParentFolder(const std::string& folder) {
  // A drive ("C:", "C:\\") and a share ("\\\\server\\share") have the
  // desktop above them.
  const size_t sep = LastSep(folder);
  if (sep == std::string::npos) return std::nullopt;
  if (folder.size() >= 2 && IsSep(folder[0]) && IsSep(folder[1])) {
    const size_t shareSep = folder.find_first_of("\\/", 2);
    if (shareSep == std::string::npos || sep <= shareSep) return std::nullopt;
  }
  if (sep == 2 && folder.size() == 3 && folder[1] == ':') return std::nullopt;
  if (sep == 0) return folder.size() == 1 ? std::nullopt : std::optional<std::string>(folder.substr(0, 1));
  return folder.substr(0, sep);
}

}  // namespace q2
