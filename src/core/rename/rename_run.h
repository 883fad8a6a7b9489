// Renaming recordings by a compiled format: every default-named recording
// of a folder, or the recordings the user selected. A rename never replaces
// an existing file, and a recording is never written or deleted.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/texts/message.h"
#include "core/rename/default_name.h"
#include "core/rename/rename_format.h"
#include "core/recording/replay_summary.h"
#include "core/texts/texts.h"

namespace q2 {



enum class RenameOutcome {
  Ok,
  NothingToRename,  // bulk run: no default-named recording
  SomeFailed,
};

Message MalformedFormatMessage();
Message EmptyFormatMessage();
// Asks whether to rename by this format (Yes / No).
Message ConfirmFormatMessage(const std::string& formatText);
Message NothingSelectedMessage();
Messages BulkOutcomeMessages(RenameOutcome outcome);
Messages SelectedOutcomeMessages(RenameOutcome outcome);

enum class RenameFailure {
  None,
  Missing,           // the recording is not there
  HeaderUnreadable,  // its header could not be extracted
  EmptyName,         // the name came out empty, "." or ".."
  RefusedCharacter,  // a character (or device name) Windows refuses in file names
  TooLong,           // longer than a file name can be
  TargetExists,      // a file of the new name exists
  RenameFailed,      // the file system refused the rename
};
// A short text for the command line.
std::string FailureText(RenameFailure f);

// Whether a file name (with extension) can be given to a recording here
// and on Windows.
RenameFailure CheckNewFileName(const std::string& builtName, const std::string& fileName);

struct FileRenameResult {
  std::string oldName;   // file name before
  std::string newName;   // file name built, with ".mgx"; empty when none was built
  bool skipped = false;  // not a recording: left alone, no failure
  RenameFailure failure = RenameFailure::None;
  Messages messages;     // what reading its header reported
  bool ok() const { return !skipped && failure == RenameFailure::None; }
};

// files done, files in all
using RenameProgress = std::function<void(size_t done, size_t total)>;

struct RenameRequest {
  CompiledFormat format;
  TokenList tokens;
  // Reports what would happen and changes nothing: renames are only
  // checked against the folder as the run would leave it.
  bool dryRun = false;
  RenameProgress progress;
};

struct RenameRunResult {
  RenameOutcome outcome = RenameOutcome::Ok;
  std::vector<FileRenameResult> files;
  // The boxes to show: the header messages of the run gathered into one
  // (a run over one recording shows its own), then the outcome's.
  Messages messages;

  // What a dry run has renamed so far, by EntryKey, however the paths were
  // spelt: each new name with the path its recording is really at, and the
  // names it left.
  std::map<std::string, std::string> dryAdded;
  std::set<std::string> dryRemoved;
};

// Renames one recording into `folder`; false on failure. Its
// result, with its header messages, is appended to `run.files`. When the
// format reads replay data, the header is scanned into `s` first.
bool RenameOneRecording(const std::string& folder, const std::string& recordingPath,
                       const RenameRequest& req, DateSource source, ReplaySummary& s,
                       RenameRunResult& run);

// Every regular file of the folder whose name fits DefaultNamePattern, in
// name order, collected before the first rename.
std::vector<std::string> FindDefaultNamedFiles(const std::string& folder, bool* searched = nullptr);

// Bulk run over `folder` (no trailing separator). 
RenameRunResult RenameDefaultNamedFiles(const std::string& folder, const RenameRequest& req,
                                        ReplaySummary& s);

struct SelectedRecording {
  std::string folder;  // where it is renamed
  std::string path;    // full path
};

// Selected run: names not ending in ".mgx" and directories are skipped; a
// default name gives the date, else the file time.
RenameRunResult RenameSelectedFiles(const std::vector<SelectedRecording>& files,
                                    const RenameRequest& req, ReplaySummary& s);
RenameRunResult RenameSelectedFiles(const std::string& currentFolder,
                                    const std::vector<std::string>& paths,
                                    const RenameRequest& req, ReplaySummary& s);

}  // namespace q2
