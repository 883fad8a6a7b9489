#include "core/rename/rename_run.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/files.h"
#include "platform/text.h"
#include "core/recording/container.h"
#include "core/recording/recording_kind.h"
#include "core/recording/display.h"
#include "core/recording/game_settings.h"
#include "core/recording/open_replay.h"
#include "core/texts/texts.h"

namespace q2 {
namespace {

// A renamed recording keeps its kind's extension (in lower case, as the
// game writes it); a name without one becomes an .mgx.
std::string ExtensionFor(const std::string& name) {
  std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  for (RecordingKind k : kRecordingKinds)
    if (ext == ExtensionOf(k)) return ext;
  return ".mgx";
}

bool IsReservedDeviceName(const std::string& fileName) {
  std::string base = fileName.substr(0, fileName.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
         base[3] <= '9';
}

// Where the file of this entry is as far as the dry run has gone; empty
// when there is none.
std::string DryPath(const RenameRunResult& run, const std::string& key, const std::string& path) {
  if (auto it = run.dryAdded.find(key); it != run.dryAdded.end()) return it->second;
  if (run.dryRemoved.count(key) || !PathExists(path)) return {};
  return path;
}


// Recordings named in the box of header messages.
constexpr size_t kNamedRecordings = 5;

// The header messages of a run in one box that counts the recordings and
// names the first few: a folder of unreadable headers is one box, not one
// per file. A run over one recording shows that recording's own boxes.
Messages HeaderMessages(const RenameRunResult& run, const char* caption) {
  std::vector<const FileRenameResult*> hit;
  size_t recordings = 0;
  for (const FileRenameResult& f : run.files) {
    recordings += !f.skipped;
    if (!f.messages.empty()) hit.push_back(&f);
  }
  if (hit.empty()) return {};
  if (recordings == 1) return hit.front()->messages;
  std::string text = kHeaderErrorsHead + std::to_string(hit.size()) + kHeaderErrorsTail;
  for (size_t i = 0; i < hit.size() && i < kNamedRecordings; ++i)
    for (const Message& m : hit[i]->messages) text += "\n" + DisplayFileName(hit[i]->oldName) + kNameSeparator + m.text;
  if (hit.size() > kNamedRecordings) text += "\n" + (kMoreHead + std::to_string(hit.size() - kNamedRecordings)) + kMoreTail;
  return {{text, caption, MsgIcon::Exclamation}};
}

// The header box, then the outcome's boxes.
void AddRunMessages(RenameRunResult& run, const char* caption, const Messages& outcome) {
  run.messages = HeaderMessages(run, caption);
  run.messages.insert(run.messages.end(), outcome.begin(), outcome.end());
}

bool Finish(RenameRunResult& run, FileRenameResult r) {
  const bool ok = r.ok();
  run.files.push_back(std::move(r));
  return ok;
}

}  // namespace

Message MalformedFormatMessage() {
  return {kMsgMalformedFormat, kCaptionFormatError, MsgIcon::Exclamation};
}

Message EmptyFormatMessage() { return {kMsgEmptyFormat, kCaptionFormatError, MsgIcon::Exclamation}; }

Message ConfirmFormatMessage(const std::string& formatText) {
  return {" " + formatText + kConfirmFormatTail, kCaptionBulkRename,
          MsgIcon::Information, MsgButtons::YesNo};
}

Message NothingSelectedMessage() { return {kMsgNothingSelected, kCaptionSelectedRename, MsgIcon::Error}; }

Messages BulkOutcomeMessages(RenameOutcome outcome) {
  if (outcome == RenameOutcome::Ok)
    return {{kMsgBulkDone, kCaptionBulkRename, MsgIcon::None},
            {kMsgBulkGentleman, kCaptionBulkRename, MsgIcon::Information}};
  if (outcome == RenameOutcome::NothingToRename) return {{kMsgBulkNoMatch, kCaptionBulkRename, MsgIcon::Error}};
  return {{kMsgBulkFailed, kCaptionBulkRename, MsgIcon::Error}};
}

Messages SelectedOutcomeMessages(RenameOutcome outcome) {
  if (outcome == RenameOutcome::Ok)
    return {{kMsgSelectedDone, kCaptionSelectedRename, MsgIcon::None},
            {kMsgSelectedGentleman, kCaptionSelectedRename, MsgIcon::Information}};
  return {{kMsgSelectedFailed, kCaptionSelectedRename, MsgIcon::Error}};
}

std::string FailureText(RenameFailure f) {
  switch (f) {
    case RenameFailure::None: return "";
    case RenameFailure::Missing: return kFailMissing;
    case RenameFailure::HeaderUnreadable: return kFailHeaderUnreadable;
    case RenameFailure::EmptyName: return kFailEmptyName;
    case RenameFailure::RefusedCharacter: return kFailRefusedCharacter;
    case RenameFailure::TooLong: return kFailTooLong;
    case RenameFailure::TargetExists: return kFailTargetExists;
    case RenameFailure::RenameFailed: return kFailRenameFailed;
  }
  return "";
}

RenameFailure CheckNewFileName(const std::string& builtName, const std::string& fileName) {
  if (builtName.empty() || builtName == "." || builtName == "..") return RenameFailure::EmptyName;
  if (!IsValidUtf8(fileName)) return RenameFailure::RefusedCharacter;
  for (unsigned char c : fileName)
    if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c)) return RenameFailure::RefusedCharacter;
  if (IsReservedDeviceName(fileName)) return RenameFailure::RefusedCharacter;
  if (FileNameUnits(fileName) > kFileNameMax) return RenameFailure::TooLong;
  return RenameFailure::None;
}

bool RenameOneRecording(const std::string& folder, const std::string& recordingPath,
                       const RenameRequest& req, DateSource source, ReplaySummary& s,
                       RenameRunResult& run) {
  FileRenameResult r;
  r.oldName = FileNameOf(recordingPath);
  // A recording given twice, in two spellings, is one file: the dry run
  // keeps to what the real run finds, entry by entry.
  const std::string from = EntryKey(recordingPath);
  // A dry run reads a recording where it really is, also under a new name it planned.
  const std::string path = req.dryRun ? DryPath(run, from, recordingPath) : recordingPath;
  if (req.dryRun ? path.empty() : !PathExists(path)) {
    r.failure = RenameFailure::Missing;
    return Finish(run, std::move(r));
  }

  HeaderRead read = HeaderRead::Ok;
  if (needsReplayData(req.tokens)) {
    read = ReadReplayHeader(path, s, r.messages);  // with its message
  } else if (needsGameClock(req.tokens)) {
    // The length alone asks as much of the recording as the players do.
    read = ReadHeader(path, ThreadHeaderBuffer());
    if (read != HeaderRead::Ok) r.messages.push_back({HeaderReadText(read)});
  }
  if (read == HeaderRead::Ok && needsGameClock(req.tokens)) {
    std::vector<ResignOp> resigns;
    read = ReadGameLength(path, s.view.gameDurationMs, &resigns);
    if (read != HeaderRead::Ok) r.messages.push_back({HeaderReadText(read)});
    if (needsReplayData(req.tokens)) DecideOutcome(s.doc.game, resigns);
  }
  // Without its own header the model holds another recording's players, and
  // a recording that can't be read has no length: a name built from either
  // would be wrong, so the file keeps its name.
  if (read != HeaderRead::Ok) {
    r.failure = RenameFailure::HeaderUnreadable;
    return Finish(run, std::move(r));
  }
  // A default name's date is in the name as given; a file time is the file's.
  const DateFields date = ReadDate(source == DateSource::FromDefaultName ? recordingPath : path, source);
  const std::string built = BuildNewFileName(req.format, req.tokens, date, s.doc, s.view.gameDurationMs);
  r.newName = built + ExtensionFor(r.oldName);
  r.failure = CheckNewFileName(built, r.newName);
  if (r.failure != RenameFailure::None) return Finish(run, std::move(r));

  if (!NameFitsIn(folder, r.newName)) {
    r.failure = RenameFailure::TooLong;
    return Finish(run, std::move(r));
  }
  const std::string target = JoinPath(folder, r.newName);
  const std::string to = EntryKey(target);
  if (to == from && r.newName == r.oldName) return Finish(run, std::move(r));  // already so named
  // Only the case changes, where names ignore case: the name is the recording's own.
  const bool ownName = to == from && kRenameChangesCase;

  if (req.dryRun) {
    // As the real rename would fail: an existing target first, then permissions.
    if (!ownName && !DryPath(run, to, target).empty()) {
      r.failure = RenameFailure::TargetExists;
    } else if (!MayRename(path, target)) {
      r.failure = RenameFailure::RenameFailed;
    } else {
      run.dryAdded.erase(from);
      run.dryRemoved.insert(from);
      run.dryRemoved.erase(to);
      run.dryAdded[to] = path;
    }
    return Finish(run, std::move(r));
  }

  switch (RenameNoReplace(recordingPath, target)) {
    case RenameError::None: break;
    case RenameError::TargetExists: r.failure = RenameFailure::TargetExists; break;
    case RenameError::Failed: r.failure = RenameFailure::RenameFailed; break;
  }
  return Finish(run, std::move(r));
}

std::vector<std::string> FindDefaultNamedFiles(const std::string& folder, bool* searched) {
  std::vector<std::string> names;
  auto items = ListFolder(folder);
  if (searched) *searched = items.has_value();
  if (!items) return names;
  for (DirItem& it : *items)
    // Directories are not recordings.
    // Names from an archive made on Japanese Windows are code page 932 bytes: matched as shown.
    if (it.isRegular && IsDefaultRecordingName(DisplayFileName(it.name))) names.push_back(std::move(it.name));
  std::sort(names.begin(), names.end());
  return names;
}

RenameRunResult RenameDefaultNamedFiles(const std::string& folder, const RenameRequest& req,
                                        ReplaySummary& s) {
  RenameRunResult run;
  // Collected first, so a new name that fits the pattern again is not met
  // a second time.
  const std::vector<std::string> names = FindDefaultNamedFiles(folder);
  if (names.empty()) {
    run.outcome = RenameOutcome::NothingToRename;
  } else {
    if (req.progress) req.progress(0, names.size());
    bool failed = false;
    for (size_t i = 0; i < names.size(); ++i) {
      if (!RenameOneRecording(folder, JoinPath(folder, names[i]), req, DateSource::FromDefaultName, s, run))
        failed = true;
      if (req.progress) req.progress(i + 1, names.size());
    }
    run.outcome = failed ? RenameOutcome::SomeFailed : RenameOutcome::Ok;
  }
  AddRunMessages(run, kCaptionBulkRename, BulkOutcomeMessages(run.outcome));
  return run;
}

RenameRunResult RenameSelectedFiles(const std::vector<SelectedRecording>& files,
                                    const RenameRequest& req, ReplaySummary& s) {
  RenameRunResult run;
  bool failed = false;
  if (req.progress) req.progress(0, files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const SelectedRecording& f = files[i];
    const std::string name = FileNameOf(f.path);
    if (!KindByExactExtension(name) || IsDirectory(f.path)) {
      FileRenameResult skip;
      skip.oldName = name;
      skip.skipped = true;
      run.files.push_back(std::move(skip));
    } else {
      const DateSource source =
          TakesDateFromName(DisplayFileName(name)) ? DateSource::FromDefaultName : DateSource::FromFileTime;
      if (!RenameOneRecording(f.folder, f.path, req, source, s, run)) failed = true;
    }
    if (req.progress) req.progress(i + 1, files.size());
  }
  run.outcome = failed ? RenameOutcome::SomeFailed : RenameOutcome::Ok;
  AddRunMessages(run, kCaptionSelectedRename, SelectedOutcomeMessages(run.outcome));
  return run;
}

RenameRunResult RenameSelectedFiles(const std::string& currentFolder,
                                    const std::vector<std::string>& paths,
                                    const RenameRequest& req, ReplaySummary& s) {
  std::vector<SelectedRecording> files;
  files.reserve(paths.size());
  for (const std::string& p : paths) files.push_back({currentFolder, p});
  return RenameSelectedFiles(files, req, s);
}

}  // namespace q2
