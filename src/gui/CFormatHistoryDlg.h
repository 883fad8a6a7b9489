// The format-history dialog (template 169): lists the stored rename
// formats, lets the user delete one or pick one for the format dialog.
#pragma once

#include <QDialog>
#include <string>

#include "core/rename/format_history.h"

class QListWidget;
class QPushButton;

namespace q2 {

class CFormatHistoryDlg : public QDialog {
  Q_OBJECT
 public:
  // Loads and sorts the history from the settings file.
  explicit CFormatHistoryDlg(QWidget* parent = nullptr);

  void LoadFormatHistory();
  bool AddFormatToHistory(const std::string& format);
  void SaveFormatHistory() const;
  // The entry picked with "参照"; empty until then.
  const std::string& ChosenFormat() const { return chosen_; }
  const FormatHistory& history() const { return history_; }

  // "参照": the selected entry becomes the chosen format.
  void accept() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void OnInitDialog();
  void OnSelectionChanged();
  void OnDelete();
  int selectedIndex() const;

  std::string settingsPath_;
  FormatHistory history_;
  std::string chosen_;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* delete_ = nullptr;
};

}  // namespace q2
