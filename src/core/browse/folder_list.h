// The folder list: what a folder holds (subfolders and recordings), the
// texts of its columns, and the navigation history.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "core/texts/message.h"
#include "core/texts/texts.h"

namespace q2 {


struct FolderEntry {
  std::string name;  // as the file system gives it
  std::string sizeText;
  std::string typeText;
  std::string timeText;
  bool isRecording() const { return typeText != kTypeFolder; }
};

// True when ".mgx", ".mgz" or ".mgl" occurs in the text at a position after
// its first byte: how the list tells a recording.
bool ContainsRecordingExtension(const std::string& text);

// The list's type text for a name: the recording's kind by its extension,
// else the folder kind for a folder; empty for anything the list leaves out.
std::string ListedKindText(const std::string& name, bool isDir);

// "1,263,616": the number with thousands separators.
std::string GroupedDigits(uint64_t n);
// "1,234 KB": the size in KiB, cut to 32 bits, with thousands separators.
std::string SizeText(uint64_t bytes);
// "2005/03/26 02:23".
std::string TimeText(const LocalTime& t);
// "2005/03/26 02:23:59".
std::string TimeTextWithSeconds(const LocalTime& t);

// Subfolders and recordings of a folder, hidden items left out (hidden
// folders too unless asked for), in the list's order (by the shown name, in
// Japanese collation). nullopt when the folder can't be listed.
std::optional<std::vector<FolderEntry>> ScanFolder(const std::string& folder, bool hiddenFolders = false);
void SortForList(std::vector<FolderEntry>& entries);

// The caption of the list's frame: from "デスクトップ" on, when the word
// occurs after the first character.
std::string FolderCaption(const std::string& folder);

// Folders the navigation falls back to.
struct Places {
  std::string desktop;
  std::string home;
};

// The parent-folder button's target.
std::string UpTarget(const std::string& current, const Places& places);

Message MissingFolderMessage();
// A folder typed into the caption that isn't there.
Message NoSuchFolderMessage(const std::string& typed);

struct Listing {
  std::string folder;  // the folder listed (CurrentFolder)
  std::string caption;
  std::vector<FolderEntry> entries;
  Messages messages;
  bool listed = false;  // false when not even a fallback could be listed
  // Set when the folder could not be listed: what the missing-folder
  // message names as the new start-up folder (the desktop, or the home
  // folder when only that could be listed). Navigation writes no setting;
  // the caller decides.
  std::optional<std::string> fallbackStartup;
};

class FolderNavigator {
 public:
  // Lists the folder; a folder that can't be listed gives the missing-folder
  // message and lists the desktop, then (once) the home folder, then nothing.
  Listing NavigateTo(std::string folder, const Places& places);

  // Hidden folders listed too.
  void setShowHidden(bool on) { showHidden_ = on; }
  bool showHidden() const { return showHidden_; }

  // Starts the history with one element.
  void StartHistory(const std::string& folder);
  void PushHistory(const std::string& folder);
  // Step back or forward if possible; returns the current element.
  const std::string& StepBack();
  const std::string& StepForward();
  // Enabled states of the back and forward buttons.
  std::pair<bool, bool> HistoryButtons() const;

  const std::string& currentFolder() const { return current_; }
  const std::vector<std::string>& history() const { return history_; }
  int historyPosition() const { return position_; }  // 1-based

 private:
  std::string current_;
  std::vector<std::string> history_;
  int position_ = 0;
  bool showHidden_ = false;
};

}  // namespace q2
