// The main window: menus, accelerators, status bar, and the form view.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>

#include "core/settings/settings.h"

class QAction;
class QLabel;
class QLockFile;

namespace q2 {

class CQuoril2Doc;
class CQuoril2View;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CQuoril2Doc* doc, QWidget* parent = nullptr);
  // Remembers how the user left the window.
  ~CMainFrame() override;

  // The size and place the window first opens at.
  static constexpr QRect kDefaultFrame{10, 100, 863, 514};
  // Places the window as the user left it last time, or at the default
  // place; a second window of the same settings opens a step below and to
  // the right of the first. Shows it.
  void placeAndShow();
  // How the window is now, as the settings file keeps it.
  WindowState currentState() const;

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

  QPoint cascadeStep();

  CQuoril2View* view_;
  std::map<int, QAction*> commands_;
  WindowState started_;
  bool placed_ = false;
  std::unique_ptr<QLockFile> slot_;
  QPoint normalMargins_;  // the frame around the window's inside, while not maximised

 protected:
  void moveEvent(QMoveEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
};

}  // namespace q2
