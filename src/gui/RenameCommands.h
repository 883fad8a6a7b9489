// The two rename buttons of the main view: "ファイル名一括変換" (1059) renames
// every default-named recording of the shown folder, "ファイル名選択変換"
// (1061) the selected ones.
#pragma once

#include <string>
#include <vector>


class QWidget;

namespace q2 {

class RenameHost {  // implemented by the main view
 public:
  virtual ~RenameHost() = default;
  virtual QWidget* owner() = 0;                          // parent for boxes and dialogs
  virtual std::string currentFolder() = 0;               // CurrentFolder, no trailing separator
  virtual std::vector<std::string> selectedNames() = 0;  // the selected rows' file names (the file system's bytes), list order
  virtual void refreshList() = 0;                        // NavigateTo(CurrentFolder)
  // A recording of the run got a new name (full paths): the shown one
  // stays shown under it.
  virtual void recordingRenamed(const std::string& from, const std::string& to) = 0;
};

// Runs over more than this many recordings show a progress dialog.
inline constexpr size_t kRenameProgressThreshold = 20;

void RunBulkRename(RenameHost& host);      // button 1059 "ファイル名一括変換"
void RunSelectedRename(RenameHost& host);  // button 1061 "ファイル名選択変換"

}  // namespace q2
