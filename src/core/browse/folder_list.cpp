#include "core/browse/folder_list.h"

#include <algorithm>
#include <cstdio>

#include "platform/collate.h"
#include "platform/text.h"
#include "core/recording/recording_kind.h"
#include "core/texts/texts.h"

namespace q2 {

bool ContainsRecordingExtension(const std::string& text) { return ListedKind(text).has_value(); }

std::string GroupedDigits(uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string SizeText(uint64_t bytes) { return GroupedDigits(static_cast<uint32_t>(bytes >> 10)) + " KB"; }

std::string TimeText(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04u/%02u/%02u %02u:%02u", unsigned(t.year), unsigned(t.month),
                unsigned(t.day), unsigned(t.hour), unsigned(t.minute));
  return buf;
}

std::string ListedKindText(const std::string& name, bool isDir) {
  if (const auto kind = ListedKind(name))
    return *kind == RecordingKind::Mgx ? kTypeRecording : *kind == RecordingKind::Mgz ? kTypeRecordingMgz : kTypeRecordingMgl;
  return isDir ? kTypeFolder : "";
}

std::string TimeTextWithSeconds(const LocalTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, ":%02u", unsigned(t.second));
  return TimeText(t) + buf;
}

namespace {

std::optional<FolderEntry> MakeEntry(std::string name, bool isDir, uint64_t size, const LocalTime& mtime) {
  FolderEntry e;
  e.typeText = ListedKindText(name, isDir);
  if (e.typeText.empty()) return std::nullopt;
  e.sizeText = SizeText(isDir ? 0 : size);
  e.timeText = TimeText(mtime);
  e.name = std::move(name);
  return e;
}

}  // namespace

void SortForList(std::vector<FolderEntry>& entries) {
  // Names are compared as the user reads them; equal ones keep a fixed
  // order by their bytes.
  std::vector<std::pair<std::string, FolderEntry>> keyed;
  keyed.reserve(entries.size());
  for (FolderEntry& e : entries) {
    std::string shown = DisplayFileName(e.name);
    keyed.emplace_back(std::move(shown), std::move(e));
  }
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    const int c = CollateJapanese(a.first, b.first);
    return c != 0 ? c < 0 : a.second.name < b.second.name;
  });
  for (size_t i = 0; i < entries.size(); ++i) entries[i] = std::move(keyed[i].second);
}

std::optional<std::vector<FolderEntry>> ScanFolder(const std::string& folder, bool hiddenFolders) {
  auto items = ListFolder(folder);
  if (!items) return std::nullopt;
  std::vector<FolderEntry> out;
  for (DirItem& it : *items) {
    if (it.hidden && !(hiddenFolders && it.isDir && !ContainsRecordingExtension(it.name))) continue;
    if (auto e = MakeEntry(std::move(it.name), it.isDir, it.size, it.modified)) out.push_back(std::move(*e));
  }
  SortForList(out);
  return out;
}

std::string FolderCaption(const std::string& folder) {
  size_t pos = folder.find(kDesktopWord, 1);
  return pos == std::string::npos ? folder : folder.substr(pos);
}

std::string UpTarget(const std::string& current, const Places& places) {
  return ParentFolder(current).value_or(places.desktop);
}

Message MissingFolderMessage() {
  return {kMsgMissingFolder, kCaptionMissingFolder, MsgIcon::Exclamation};
}

Message NoSuchFolderMessage(const std::string& typed) {
  return {kMsgNoSuchFolder + DisplayPath(typed), kCaptionMissingFolder, MsgIcon::Exclamation};
}

// The folder is taken by value: callers pass StartupFolder(), which the
// fallback replaces.
Listing FolderNavigator::NavigateTo(std::string folder, const Places& places) {
  Listing l;
  current_ = folder;
  auto scan = ScanFolder(folder, showHidden_);
  if (!scan) {
    l.messages.push_back(MissingFolderMessage());
    l.fallbackStartup = places.desktop;
    // The desktop, then the home folder, each tried once: never a loop.
    for (const std::string* fallback : {&places.desktop, &places.home}) {
      if (fallback->empty() || *fallback == folder) continue;
      current_ = *fallback;
      scan = ScanFolder(*fallback, showHidden_);
      if (scan) {
        if (fallback == &places.home) l.fallbackStartup = places.home;
        break;
      }
    }
  }
  l.folder = current_;
  l.caption = FolderCaption(current_);
  l.listed = scan.has_value();
  if (scan) l.entries = std::move(*scan);
  return l;
}

void FolderNavigator::StartHistory(const std::string& folder) {
  history_ = {folder};
  position_ = 1;
}

void FolderNavigator::PushHistory(const std::string& folder) {
  history_.resize(static_cast<size_t>(position_));
  history_.push_back(folder);
  position_ = static_cast<int>(history_.size());
}

const std::string& FolderNavigator::StepBack() {
  if (position_ > 1) --position_;
  return history_.at(static_cast<size_t>(position_ - 1));
}

const std::string& FolderNavigator::StepForward() {
  if (position_ < static_cast<int>(history_.size())) ++position_;
  return history_.at(static_cast<size_t>(position_ - 1));
}

std::pair<bool, bool> FolderNavigator::HistoryButtons() const {
  const int n = static_cast<int>(history_.size());
  if (n <= 1) return {false, false};
  if (position_ == 1) return {false, true};
  if (position_ == n) return {true, false};
  return {true, true};
}

}  // namespace q2
