// Folders that belong to the user rather than to the program.
#pragma once

#include <string>
#include <vector>

namespace q2 {

// Whether Windows programs run here natively; elsewhere a Windows game lives
// inside a Wine prefix.
#ifdef _WIN32
inline constexpr bool kWindowsNative = true;
#else
inline constexpr bool kWindowsNative = false;
#endif

// Where programs keep the user's settings: $XDG_CONFIG_HOME, else
// ~/.config on POSIX; the roaming application-data folder on Windows.
// Empty when neither is known.
std::string UserConfigFolder();

// The user's home folder ($HOME, else the password database's); empty when
// unknown.
std::string HomeFolder();

// The user's Wine prefixes (folders holding a drive_c) in the order a search
// tries them: $WINEPREFIX, ~/.wine, then those that winetricks, PlayOnLinux,
// Bottles, Lutris and Steam's Proton keep, each group in name order. Only
// folders that exist; none on Windows.
std::vector<std::string> WinePrefixes();

// Creates the folder and its missing parents; true when it exists after.
bool MakeFolders(const std::string& path);

}  // namespace q2
