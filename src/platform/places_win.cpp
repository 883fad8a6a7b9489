#include "places.h"

#include <shlobj.h>
#include <windows.h>

#include "files.h"

namespace q2 {

std::string UserConfigFolder() {
  PWSTR p = nullptr;
  std::string out;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &p)) && p)
    out = PathString(std::filesystem::path(p));
  CoTaskMemFree(p);
  return out;
}

std::string HomeFolder() {
  PWSTR p = nullptr;
  std::string out;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &p)) && p)
    out = PathString(std::filesystem::path(p));
  CoTaskMemFree(p);
  return out;
}

std::vector<std::string> WinePrefixes() { return {}; }

bool MakeFolders(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(FsPath(path), ec);
  return std::filesystem::is_directory(FsPath(path), ec);
}

}  // namespace q2
