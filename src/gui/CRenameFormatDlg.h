// The rename-format dialog (template 168): edits the format with token
// insertion and a sample name, offers the history, and on confirmation
// hands the compiled format to the rename command.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "platform/files.h"
#include "core/rename/rename_format.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace q2 {

class CFormatHistoryDlg;

class CRenameFormatDlg : public QDialog {
  Q_OBJECT
 public:
  // Constructs the history dialog, which loads the history.
  explicit CRenameFormatDlg(QWidget* parent = nullptr);
  ~CRenameFormatDlg() override;

  // The result once the dialog ended with OK.
  const CompiledFormat& compiledFormat() const { return compiled_; }
  const TokenList& tokenList() const { return tokens_; }
  const std::string& formatText() const { return formatText_; }
  CFormatHistoryDlg& historyDialog() { return *history_; }

  // The clock of the sample name (the local time by default).
  void setPreviewClock(std::function<LocalTime()> clock) { clock_ = std::move(clock); }

  void RefreshPreview();
  void OnInsertDatePart();
  void OnInsertGameToken();
  void OnHistory();
  void OnOK();
  void OnCancel();

  void accept() override { OnOK(); }
  void reject() override { OnCancel(); }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void OnInitDialog();
  void InsertIntoFormat(const std::string& text);
  void setFormatText(const QString& text);

  CompiledFormat compiled_;
  TokenList tokens_;
  std::string formatText_;
  std::string settingsPath_;
  bool initialised_ = false;
  std::function<LocalTime()> clock_ = NowLocal;
  CFormatHistoryDlg* history_ = nullptr;

  QLineEdit* edit_ = nullptr;
  QLabel* sample_ = nullptr;
  QComboBox* dateList_ = nullptr;
  QComboBox* gameList_ = nullptr;
  QPushButton* dateInsert_ = nullptr;
};

}  // namespace q2
