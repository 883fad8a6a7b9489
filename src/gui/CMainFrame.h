// The main window: menus, accelerators, status bar, and the form view.
#pragma once

#include <QMainWindow>
#include <map>

class QAction;
class QLabel;

namespace q2 {

class CQuoril2Doc;
class CQuoril2View;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CQuoril2Doc* doc, QWidget* parent = nullptr);

  CQuoril2View* view() const { return view_; }
  // The menu command with this id (tests and the menus use the same ids).
  QAction* command(int id) const;

  void OnSetStartupFolder();
  void OnPlayerColors();
  void OnResetAgeColors();
  void OnAppAbout();

 private:
  void buildMenus();
  void buildStatusBar();
  QAction* addCommand(QMenu* menu, int id, const QString& text);

  CQuoril2View* view_;
  std::map<int, QAction*> commands_;
};

}  // namespace q2
