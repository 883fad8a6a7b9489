#include "gui/RenameCommands.h"

#include <QProgressDialog>
#include <algorithm>
#include <memory>

#include "gui/CRenameFormatDlg.h"
#include "platform/files.h"
#include "gui/kit/QtText.h"
#include "gui/kit/UiSeam.h"
#include "core/rename/rename_run.h"

namespace q2 {
namespace {

// Shows "n / total" in a window-modal progress dialog once a run is long
// enough to need one.
class RunProgress {
 public:
  RunProgress(QWidget* owner, const char* caption) : owner_(owner), caption_(caption) {}

  void operator()(size_t done, size_t total) {
    if (total <= kRenameProgressThreshold) return;
    if (!dialog_) {
      dialog_ = std::make_unique<QProgressDialog>(owner_);
      dialog_->setObjectName(QStringLiteral("renameProgress"));
      dialog_->setWindowTitle(U8(caption_));
      dialog_->setWindowModality(Qt::WindowModal);
      dialog_->setCancelButton(nullptr);
      dialog_->setMinimumDuration(0);
      dialog_->setAutoClose(false);
      dialog_->setAutoReset(false);
      dialog_->setRange(0, static_cast<int>(total));
    }
    dialog_->setLabelText(QStringLiteral("%1 / %2").arg(done).arg(total));
    dialog_->setValue(static_cast<int>(done));  // processes events while modal
  }

 private:
  QWidget* owner_;
  const char* caption_;
  std::unique_ptr<QProgressDialog> dialog_;
};

// Runs the format dialog; false when it ended in any way but OK.
bool ChooseFormat(RenameHost& host, RenameRequest& req) {
  // Parented to the window (the original had none) so it is modal over it.
  CRenameFormatDlg dlg(host.owner());
  if (dlg.exec() != QDialog::Accepted) return false;
  req.format = dlg.compiledFormat();
  req.tokens = dlg.tokenList();
  return true;
}

// The run's header box comes before the refreshed list, the outcome's
// boxes after it.
void Finish(RenameHost& host, const std::string& folder, const RenameRunResult& run, size_t outcomeBoxes) {
  for (const FileRenameResult& f : run.files)
    if (f.ok() && !f.newName.empty() && f.newName != f.oldName)
      host.recordingRenamed(JoinPath(folder, f.oldName), JoinPath(folder, f.newName));
  const size_t split = run.messages.size() - std::min(outcomeBoxes, run.messages.size());
  ShowMessages(host.owner(), Messages(run.messages.begin(), run.messages.begin() + split));
  host.refreshList();
  ShowMessages(host.owner(), Messages(run.messages.begin() + split, run.messages.end()));
}

}  // namespace

void RunBulkRename(RenameHost& host) {
  RenameRequest req;
  if (!ChooseFormat(host, req)) return;
  RenameRunResult run;
  {
    RunProgress progress(host.owner(), kCaptionBulkRename);
    req.progress = [&progress](size_t done, size_t total) { progress(done, total); };
    // The run reads recordings into a model of its own: the shown one stays.
    ReplaySummary scratch;
    run = RenameDefaultNamedFiles(host.currentFolder(), req, scratch);
  }
  Finish(host, host.currentFolder(), run, BulkOutcomeMessages(run.outcome).size());
}

void RunSelectedRename(RenameHost& host) {
  const std::vector<std::string> names = host.selectedNames();
  if (names.empty()) {
    ShowMessage(host.owner(), NothingSelectedMessage());
    return;
  }
  const std::string folder = host.currentFolder();
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const std::string& n : names) paths.push_back(JoinPath(folder, n));

  RenameRequest req;
  if (!ChooseFormat(host, req)) return;
  RenameRunResult run;
  {
    RunProgress progress(host.owner(), kCaptionSelectedRename);
    req.progress = [&progress](size_t done, size_t total) { progress(done, total); };
    ReplaySummary scratch;
    run = RenameSelectedFiles(folder, paths, req, scratch);
  }
  Finish(host, folder, run, SelectedOutcomeMessages(run.outcome).size());
}

}  // namespace q2
