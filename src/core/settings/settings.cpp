#include "core/settings/settings.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/places.h"
#include "platform/text.h"
#include "core/settings/ini_file.h"
#include "core/texts/texts.h"

namespace q2 {
namespace {

struct ProcessSettings {
  std::array<ColorRef, 8> playerColors = kDefaultPlayerColor;
  std::string startupFolder;
  std::string pathOverride;
};

ProcessSettings& State() {
  static ProcessSettings s;
  return s;
}

}  // namespace

std::string SettingsPathFor(const std::string& exeFolder, const std::string& installedBinFolder,
                            const std::string& userConfigFolder) {
  const std::string beside = JoinPath(exeFolder, kSettingsFileName);
  // A settings file the user can write serves even in a folder the user can't.
  const bool installed = (!installedBinFolder.empty() && SameFile(exeFolder, installedBinFolder)) ||
                         (!FolderWritable(exeFolder) && !FileWritable(beside));
  if (!installed || userConfigFolder.empty()) return beside;
  return JoinPath(JoinPath(userConfigFolder, "quoril2"), kSettingsFileName);
}

std::string SettingsPath() {
  if (!State().pathOverride.empty()) return State().pathOverride;
  const std::string path = SettingsPathWithoutFolders();
  // The per-user folder may not exist yet; a write needs it.
  MakeFolders(ParentOf(path));
  return path;
}

std::string SettingsPathWithoutFolders() {
  if (!State().pathOverride.empty()) return State().pathOverride;
  return SettingsPathFor(ParentOf(ExecutablePath()), QUORIL2_INSTALL_BINDIR, UserConfigFolder());
}

void OverrideSettingsPath(const std::string& path) { State().pathOverride = path; }

std::string PlayerColorKey(int slot) { return "PLAYER" + std::to_string(slot) + "COLOR"; }

ColorRef PlayerColor(int index) { return State().playerColors.at(static_cast<size_t>(index)); }
const std::array<ColorRef, 8>& PlayerColors() { return State().playerColors; }
void SetAllPlayerColors(const std::array<ColorRef, 8>& colors) { State().playerColors = colors; }

const std::string& StartupFolder() { return State().startupFolder; }
void SetStartupFolder(const std::string& path) { State().startupFolder = path; }

std::optional<Message> CheckStartupFolder(const std::string& folder) {
  if (IniHoldsWhole(folder)) return std::nullopt;
  return Message{kMsgStartupFolderTooLong, kCaptionIniWrite, MsgIcon::Exclamation};
}

namespace {

// A folder below `base`, each name matched without regard to ASCII case when
// no name matches exactly (Wine keeps what the installer typed).
std::optional<std::string> FindFolderIgnoringCase(std::string base, const std::vector<std::string>& names) {
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  for (const std::string& name : names) {
    std::string next = JoinPath(base, name);
    if (!IsDirectory(next)) {
      next.clear();
      if (auto items = ListFolder(base))
        for (const DirItem& it : *items)
          if (it.isDir && lower(it.name) == lower(name)) {
            next = JoinPath(base, it.name);
            break;
          }
      if (next.empty()) return std::nullopt;
    }
    base = std::move(next);
  }
  return base;
}

}  // namespace

std::string DefaultStartupFolder() {
  if (kWindowsNative) return kDefaultSaveGameDir;
  for (const std::string& prefix : WinePrefixes())
    for (const char* programs : {"Program Files (x86)", "Program Files"})
      if (auto found = FindFolderIgnoringCase(prefix, {"drive_c", programs, "Microsoft Games", "Age of Empires II", "SaveGame"}))
        return *found;
  return HomeFolder();
}

Message FirstStartMessage(const std::string& folder) {
  const bool found = folder != HomeFolder();
  return {std::string(found ? kMsgFirstStartFound : kMsgFirstStartHome) + DisplayPath(folder) + kMsgFirstStartTail,
          kCaptionFirstStart, MsgIcon::Information};
}

Messages LoadViewSettings(const std::string& settingsPath) {
  Messages out;
  std::string dir = IniReadPath(settingsPath, kSectionFile, kKeySaveGameDir);
  if (dir.empty()) {
    dir = DefaultStartupFolder();
    if (!kWindowsNative && !PathExists(settingsPath))
      out.push_back(FirstStartMessage(dir));
    else
      out.push_back({kMsgSaveGameDirUnread, kCaptionIniRead, MsgIcon::Exclamation});
  }
  SetStartupFolder(dir);
  std::array<ColorRef, 8> colors{};
  for (int n = 1; n <= 8; ++n) {
    auto v = static_cast<ColorRef>(IniReadInt(settingsPath, kSectionPlayer, PlayerColorKey(n), 0));
    colors[n - 1] = v == 0 ? kDefaultPlayerColor[n - 1] : v;
  }
  SetAllPlayerColors(colors);
  return out;
}

void SaveViewSettings(const std::string& settingsPath) {
  for (int n = 1; n <= 8; ++n)
    IniWriteInt(settingsPath, kSectionPlayer, PlayerColorKey(n), PlayerColor(n - 1));
  IniWriteString(settingsPath, kSectionFile, kKeySaveGameDir, StartupFolder());
}

AgeColors LoadAgeColors(const std::string& settingsPath) {
  AgeColors c{};
  for (size_t i = 0; i < 4; ++i)
    c[i] = static_cast<ColorRef>(IniReadInt(settingsPath, kSectionView, kAgeColorKeys[i],
                                            static_cast<int>(kDefaultAgeColors[i])));
  return c;
}

void SaveAgeColors(const std::string& settingsPath, const AgeColors& colors) {
  for (size_t i = 0; i < 4; ++i) IniWriteInt(settingsPath, kSectionView, kAgeColorKeys[i], colors[i]);
}

namespace {
bool ReadFlag(const std::string& path, const char* key) { return IniReadInt(path, kSectionView, key, 0) != 0; }
void WriteFlagIfChanged(const std::string& path, const char* key, bool on) {
  if (ReadFlag(path, key) != on) IniWriteInt(path, kSectionView, key, on ? 1 : 0);
}
}  // namespace

namespace {
EncodingChoice ReadEncodingChoice(const std::string& path) {
  const int v = IniReadInt(path, kSectionView, kKeyTextEncoding, 0);
  return v == 1 ? EncodingChoice::Japanese : v == 2 ? EncodingChoice::Chinese : EncodingChoice::Auto;
}
}  // namespace

ViewOptions LoadViewOptions(const std::string& settingsPath) {
  return {ReadFlag(settingsPath, kKeyShowGameLength), ReadFlag(settingsPath, kKeyChatTimes),
          ReadFlag(settingsPath, kKeyShowDetails), ReadEncodingChoice(settingsPath)};
}

void SaveViewOptions(const std::string& settingsPath, const ViewOptions& o) {
  WriteFlagIfChanged(settingsPath, kKeyShowGameLength, o.showGameLength);
  WriteFlagIfChanged(settingsPath, kKeyChatTimes, o.showChatTimes);
  WriteFlagIfChanged(settingsPath, kKeyShowDetails, o.showDetails);
  if (ReadEncodingChoice(settingsPath) != o.encoding)
    IniWriteInt(settingsPath, kSectionView, kKeyTextEncoding, static_cast<int>(o.encoding));
}

bool LoadGraphInGameTime(const std::string& settingsPath) { return ReadFlag(settingsPath, kKeyGraphGameTime); }

void SaveGraphInGameTime(const std::string& settingsPath, bool on) {
  WriteFlagIfChanged(settingsPath, kKeyGraphGameTime, on);
}

}  // namespace q2

namespace q2 {
namespace {

constexpr const char* kKeyX = "WINDOW_X";
constexpr const char* kKeyY = "WINDOW_Y";
constexpr const char* kKeyWidth = "WINDOW_WIDTH";
constexpr const char* kKeyHeight = "WINDOW_HEIGHT";
constexpr const char* kKeyMaximized = "WINDOW_MAXIMIZED";
constexpr const char* kKeySplitter = "SPLITTER";
constexpr const char* kKeyColumns = "LIST_COLUMNS";
constexpr const char* kKeyShowHidden = "SHOW_HIDDEN";

std::string ColumnsText(const std::vector<int>& columns) {
  std::string out;
  for (int w : columns) out += (out.empty() ? "" : ",") + std::to_string(w);
  return out;
}

// "200,60,40,100"; empty unless every width is a positive number.
std::vector<int> ParseColumns(const std::string& text) {
  std::vector<int> out;
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string part = text.substr(start, comma - start);
    if (part.empty() || part.size() > 5 || part.find_first_not_of("0123456789") != std::string::npos) return {};
    const int w = std::stoi(part);
    if (w <= 0) return {};
    out.push_back(w);
    start = comma + 1;
  }
  return out;
}

}  // namespace

WindowState LoadWindowState(const std::string& path) {
  WindowState s;
  auto read = [&](const char* key, int def) { return IniReadInt(path, kSectionQuoril2, key, def); };
  const int width = read(kKeyWidth, 0), height = read(kKeyHeight, 0);
  if (width > 0 && height > 0) {
    s.x = read(kKeyX, 0);
    s.y = read(kKeyY, 0);
    s.width = width;
    s.height = height;
  }
  s.maximized = read(kKeyMaximized, 0) != 0;
  const int split = read(kKeySplitter, 0);
  s.splitter = split > 0 && split < 10000 ? split : 0;
  s.columns = ParseColumns(IniReadString(path, kSectionQuoril2, kKeyColumns));
  s.showHidden = read(kKeyShowHidden, 0) != 0;
  return s;
}

void SaveWindowState(const std::string& path, const WindowState& before, const WindowState& now) {
  auto put = [&](const char* key, long long was, long long is) {
    if (was != is) IniWriteInt(path, kSectionQuoril2, key, is);
  };
  // The frame's four values go together: one alone would be no frame at all.
  const bool moved = now.x != before.x || now.y != before.y || now.width != before.width || now.height != before.height;
  if (moved && now.width > 0 && now.height > 0)
    for (auto [key, value] : {std::pair{kKeyX, now.x}, {kKeyY, now.y}, {kKeyWidth, now.width}, {kKeyHeight, now.height}})
      IniWriteInt(path, kSectionQuoril2, key, value);
  put(kKeyMaximized, before.maximized, now.maximized);
  put(kKeySplitter, before.splitter, now.splitter);
  if (before.columns != now.columns) IniWriteString(path, kSectionQuoril2, kKeyColumns, ColumnsText(now.columns));
  put(kKeyShowHidden, before.showHidden, now.showHidden);
}

}  // namespace q2
