#include "places.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

#include "files.h"

namespace q2 {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') {
    const passwd* pw = getpwuid(getuid());
    home = pw ? pw->pw_dir : nullptr;
  }
  if (!home || home[0] != '/') return {};
  std::string h = home;
  while (h.size() > 1 && h.back() == '/') h.pop_back();
  return h;
}

std::string UserConfigFolder() {
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const std::string h = HomeFolder();
  if (h.empty()) return {};
  return (h == "/" ? "" : h) + "/.config";
}

namespace {

// The subfolders of a folder that hold a drive_c (below `inner`), by name.
void AddPrefixesIn(const std::string& folder, const std::string& inner, std::vector<std::string>& out) {
  auto items = ListFolder(folder);
  if (!items) return;
  std::vector<std::string> names;
  for (const DirItem& it : *items)
    if (it.isDir) names.push_back(it.name);
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) {
    const std::string prefix = inner.empty() ? JoinPath(folder, n) : JoinPath(JoinPath(folder, n), inner);
    if (IsDirectory(JoinPath(prefix, "drive_c"))) out.push_back(prefix);
  }
}

}  // namespace

std::vector<std::string> WinePrefixes() {
  std::vector<std::string> out;
  const char* chosen = std::getenv("WINEPREFIX");
  if (chosen && chosen[0] == '/' && IsDirectory(chosen)) out.push_back(chosen);
  const std::string home = HomeFolder();
  if (!home.empty()) {
    const std::string wine = JoinPath(home, ".wine");
    if (IsDirectory(wine)) out.push_back(wine);
    AddPrefixesIn(JoinPath(home, ".local/share/wineprefixes"), "", out);
    AddPrefixesIn(JoinPath(home, ".PlayOnLinux/wineprefix"), "", out);
    AddPrefixesIn(JoinPath(home, ".local/share/bottles/bottles"), "", out);
    AddPrefixesIn(JoinPath(home, "Games"), "", out);
    for (const char* steam : {".steam/steam/steamapps/compatdata", ".local/share/Steam/steamapps/compatdata"})
      AddPrefixesIn(JoinPath(home, steam), "pfx", out);
  }
  // $WINEPREFIX may also be one of the others, and ~/.steam/steam is often a
  // link to ~/.local/share/Steam.
  std::vector<std::string> unique;
  for (const std::string& p : out)
    if (std::none_of(unique.begin(), unique.end(), [&](const std::string& u) { return SameFile(u, p); }))
      unique.push_back(p);
  return unique;
}

bool MakeFolders(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

}  // namespace q2
