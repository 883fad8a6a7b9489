#include "core/settings/settings.h"

#include "platform/files.h"
#include "platform/places.h"
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

Messages LoadViewSettings(const std::string& settingsPath) {
  Messages out;
  std::string dir = IniReadPath(settingsPath, kSectionFile, kKeySaveGameDir);
  if (dir.empty()) {
    out.push_back({kMsgSaveGameDirUnread, kCaptionIniRead, MsgIcon::Exclamation});
    dir = kDefaultSaveGameDir;
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
