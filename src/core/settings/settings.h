// The settings file beside the executable and the process-wide values it
// feeds: the player colour table and the start-up folder.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/texts/message.h"

namespace q2 {

// Windows COLORREF: red in the low byte, then green, then blue.
using ColorRef = uint32_t;

inline constexpr const char* kSectionPlayer = "PLAYER_INFO";
inline constexpr const char* kSectionFile = "FILE_INFO";
inline constexpr const char* kSectionView = "VIEW_INFO";
inline constexpr const char* kKeySaveGameDir = "SAVEGAME_DIR";
inline constexpr const char* kKeyLastFormat = "LAST_FORMAT";

inline constexpr std::array<ColorRef, 8> kDefaultPlayerColor = {
    0xFF0000, 0x0000FF, 0x008000, 0x59FFFF, 0xFFFF00, 0xFF00FF, 0x646464, 0x0048DD};

inline constexpr const char* kDefaultSaveGameDir =
    "C:\\Program Files\\Microsoft Games\\Age of Empires II\\SaveGame";

inline constexpr const char* kSettingsFileName = "Quoran.ini";

// Quoran.ini beside the executable, as long as that folder (or the file
// in it) is writable and is not the folder the program was installed to; else the file of the
// same name in the user's own settings folder ("quoril2" under
// `userConfigFolder`), so that an installed program keeps its settings.
std::string SettingsPathFor(const std::string& exeFolder, const std::string& installedBinFolder,
                            const std::string& userConfigFolder);
// The settings file of this process; creates its folder when needed (for
// the window, which writes it).
std::string SettingsPath();
// The same path, touching nothing: for tools that only name it.
std::string SettingsPathWithoutFolders();
// Lets tests keep their settings apart; empty restores the default.
void OverrideSettingsPath(const std::string& path);

// "PLAYER" + n + "COLOR" for slot n = 1 … 8.
std::string PlayerColorKey(int slot);

// Player colour of the 0-based index 0 … 7.
ColorRef PlayerColor(int index);
const std::array<ColorRef, 8>& PlayerColors();
void SetAllPlayerColors(const std::array<ColorRef, 8>& colors);

// The start-up folder as the file system names it.
const std::string& StartupFolder();
void SetStartupFolder(const std::string& path);
// Why the folder can't become the start-up folder (SAVEGAME_DIR holds at
// most 259 bytes, and a cut path would name another folder); nullopt when
// it can.
std::optional<Message> CheckStartupFolder(const std::string& folder);

// The folder shown when none is stored: the game's own default on Windows;
// under Wine the SaveGame folder of the first prefix that has one (see
// WinePrefixes), else the home folder.
std::string DefaultStartupFolder();

// Reads SAVEGAME_DIR and the eight player colours. Without a stored folder
// it takes DefaultStartupFolder with a message: the warning that it could
// not be read, or, under Wine on a first start (no settings file yet), a
// note saying which folder was chosen.
Messages LoadViewSettings(const std::string& settingsPath);
// A first start's note for the folder chosen.
Message FirstStartMessage(const std::string& folder);
// Writes the player colours, then SAVEGAME_DIR.
void SaveViewSettings(const std::string& settingsPath);

// What the window adds beyond the original, each off until the user turns
// it on: the game's length in the panel, times before the chat lines, the
// game's details (civilisations, winner, map and settings), the recording's
// text encoding chosen by hand, and the graph in game time.
enum class EncodingChoice { Auto = 0, Japanese = 1, Chinese = 2 };
struct ViewOptions {
  bool showGameLength = false;
  bool showChatTimes = false;
  bool showDetails = false;
  EncodingChoice encoding = EncodingChoice::Auto;
  bool operator==(const ViewOptions&) const = default;
};
inline constexpr const char* kKeyShowGameLength = "SHOW_GAME_TIME";
inline constexpr const char* kKeyChatTimes = "CHAT_TIME";
inline constexpr const char* kKeyShowDetails = "SHOW_DETAILS";
inline constexpr const char* kKeyTextEncoding = "TEXT_ENCODING";
inline constexpr const char* kKeyGraphGameTime = "GRAPH_GAME_TIME";
ViewOptions LoadViewOptions(const std::string& settingsPath);
// These write only a key whose value differs from what the file holds, so
// a window that changed nothing leaves the file as it was.
void SaveViewOptions(const std::string& settingsPath, const ViewOptions& options);
// The graph's own choice, kept by the graph dialog.
bool LoadGraphInGameTime(const std::string& settingsPath);
void SaveGraphInGameTime(const std::string& settingsPath, bool on);

// The window as the user left it, in a section of this program's own (the
// Windows program reads none of it).
inline constexpr const char* kSectionQuoril2 = "QUORIL2";
struct WindowState {
  int x = 0, y = 0, width = 0, height = 0;  // the normal (not maximised) frame; width 0: none stored
  bool maximized = false;
  int splitter = 0;          // the folder list's share of the two panes, in 1/10000; 0: the form's own
  std::vector<int> columns;  // the list's column widths at the form's own size; empty: the defaults
  bool showHidden = false;   // hidden folders listed
  bool operator==(const WindowState&) const = default;
};
WindowState LoadWindowState(const std::string& settingsPath);
// Writes what differs between the state the window started with and the
// one it ends with; a window the user left as it was writes nothing.
void SaveWindowState(const std::string& settingsPath, const WindowState& before, const WindowState& now);

// Age colours of the graph: dark, feudal, castle, imperial.
using AgeColors = std::array<ColorRef, 4>;
inline constexpr AgeColors kDefaultAgeColors = {16711680, 255, 32768, 5898239};
inline constexpr std::array<const char*, 4> kAgeColorKeys = {"COLOR_ANKOKU", "COLOR_RYOUSYU",
                                                             "COLOR_JYOUSYU", "COLOR_TEIOU"};
AgeColors LoadAgeColors(const std::string& settingsPath);
void SaveAgeColors(const std::string& settingsPath, const AgeColors& colors);

}  // namespace q2
