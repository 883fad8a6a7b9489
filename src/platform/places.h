// Folders that belong to the user rather than to the program.
#pragma once

#include <string>

namespace q2 {

// Where programs keep the user's settings: $XDG_CONFIG_HOME, else
// ~/.config on POSIX; the roaming application-data folder on Windows.
// Empty when neither is known.
std::string UserConfigFolder();

// Creates the folder and its missing parents; true when it exists after.
bool MakeFolders(const std::string& path);

}  // namespace q2
