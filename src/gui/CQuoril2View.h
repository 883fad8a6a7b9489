// The form view: the folder list on the left, the display panel of the
// recording shown last on the right.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "gui/CQuoril2Doc.h"
#include "gui/FileList.h"
#include "core/texts/message.h"
#include "core/browse/folder_list.h"
#include "core/settings/settings.h"

class QCheckBox;
class QFileSystemWatcher;
class QTimer;
class QLabel;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace q2 {

class FormLayout;
class PathCaption;

class CQuoril2View : public QWidget {
  Q_OBJECT

 public:
  CQuoril2View(CQuoril2Doc* doc, QWidget* parent = nullptr);
  ~CQuoril2View() override;

  CQuoril2Doc* GetDocument() const { return doc_; }
  ReplaySummary& summary() { return doc_->summary; }

  // Settings, list columns, the first folder, the button icons.
  void OnInitialUpdate();
  // A folder or recording named on the command line.
  void OpenArgument(const std::string& path);

  // startupFolder: the stored start-up folder is being shown, and a
  // fallback replaces it.
  void NavigateTo(std::string folder, bool startupFolder = false);
  bool OpenReplay(const std::string& path);

  // Dialog data exchange: true takes the controls into the fields, false
  // pushes the fields into the controls.
  void UpdateData(bool saveAndValidate);
  // Repaints everything, with the current player colours.
  void RedrawAll();
  // The display panel as the user reads it, a line per box and then the
  // chat pane: what checks from outside the window compare (one build's
  // window against another's).
  QString PanelText() const;

  // 文字コード: how the recording's names and chat are decoded.
  EncodingChoice encodingChoice() const;
  void SetEncodingChoice(EncodingChoice choice);

  // Handlers.
  void OnBack();
  void OnForward();
  void OnUpFolder();
  void OnDesktop();
  void OnOpenFile();
  void OnListClick();
  void OnListDblClick();
  void OnListRClick(const QPoint& pos);
  // The pop-up menu's "開く": the selected row as Enter opens it, else the
  // open-file dialog; "ﾌﾟﾛﾊﾟﾃｨ": a box about the selected row.
  void OnListOpen();
  void OnProperties();
  // A recording opens, a folder is entered.
  void ActivateName(const std::string& name);
  // Lists the folder again, keeping the selection and the scroll position.
  void Refresh();
  // As Refresh when the folder changed on disk; the nearest folder still
  // there when it went away.
  void FollowFolder();
  // Watches the folder listed, when it can be watched and watching is on.
  void updateWatch();
  // Files dropped on the window: recordings before folders. One recording
  // opens (and its folder is listed), several are selected in the folder of
  // the first (for ファイル名選択変換), a folder is listed. False when none of
  // them is a recording or a folder.
  static bool TakesDrop(const std::vector<std::string>& paths);
  void OpenDropped(const std::vector<std::string>& paths);
  void OnEditUndo();
  void OnEditCut();
  void OnEditCopy();
  void OnEditPaste();
  void OnShowGraph();
  void OnBulkRename();
  void OnSelectedRename();

  const std::string& CurrentFolder() const { return nav_.currentFolder(); }
  const FolderNavigator& navigator() const { return nav_; }
  const std::string& settingsPath() const { return settingsPath_; }
  QTreeWidget* fileList() const { return list_; }
  // The selected rows' names as the file system has them, in list order.
  std::vector<std::string> selectedNames() const;

  // The folders the navigation falls back to (the platform's desktop and home).
  static Places CurrentPlaces();
  // Hidden folders listed too (kept by the window).
  void SetShowHidden(bool on);
  bool showHidden() const { return nav_.showHidden(); }
  // The caption's box, to type a path in; what was typed: a folder is
  // listed, a recording opened, anything else said to be missing.
  void FocusPath();
  void GoToTyped(const QString& text);

  // What the window remembers of the view: the splitter, the list's column
  // widths and whether hidden folders are listed.
  WindowState layoutState() const;
  // The window size at which the form has its own size.
  void setReferenceWindowSize(const QSize& size);

  // Lets tests point the desktop elsewhere; empty restores the platform's.
  static void OverrideDesktop(const std::string& desktop, const std::string& home = {});

 protected:
  bool event(QEvent* e) override;

 private:
  void buildForm();
  void fillList(const Listing& l);
  void updateHistoryButtons();
  std::string firstSelectedName() const;
  std::string pointedName() const;
  void applyNameColors();
  void showMessages(const Messages& m);

  CQuoril2Doc* doc_;
  FolderNavigator nav_;
  std::string settingsPath_;

  FormLayout* form_ = nullptr;
  PathCaption* pathEdit_ = nullptr;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* changed_ = nullptr;
  QString watched_;        // the folder listed, when it can be watched
  bool watching_ = true;   // off on Windows while the program is not in front
  QGroupBox* folderBox_ = nullptr;
  FileList* list_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* desktop_ = nullptr;
  QPushButton* open_ = nullptr;
  std::array<QLineEdit*, 8> names_{};
  QLineEdit* perspective_ = nullptr;
  QLineEdit* ally_ = nullptr;
  QLineEdit* enemy_ = nullptr;
  QPlainTextEdit* chat_ = nullptr;
  QString shownChat_;  // what chat_ was last given

  QCheckBox* hideWarnings_ = nullptr;
  QCheckBox* pregame_ = nullptr;
  QCheckBox* chatTimes_ = nullptr;   // "時刻表示"
  QCheckBox* gameLength_ = nullptr;  // "ゲーム時間"
  QLabel* gameLengthText_ = nullptr;
  QCheckBox* details_ = nullptr;     // "詳細": civilisations, winner, map and settings
  QLabel* detailsText_ = nullptr;
};

}  // namespace q2
