// The application: start-up order, the one document, frame and view.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

namespace q2 {

class CMainFrame;
class CQuoril2Doc;

class CQuoril2App : public QApplication {
  Q_OBJECT

 public:
  CQuoril2App(int& argc, char** argv);
  ~CQuoril2App() override;

  // Creates the document, the frame and the view (whose initial update
  // shows its messages now), handles the argument, then places and shows
  // the window. `argument` is a folder or a recording, or empty.
  bool InitInstance(const std::string& argument);
  CMainFrame* mainFrame() const { return frame_.get(); }

  // The start-up steps after the application object exists: the frame and
  // view over `doc`, the initial update, the argument, then the window
  // placed, captioned and shown.
  static std::unique_ptr<CMainFrame> CreateMainWindow(CQuoril2Doc* doc, const std::string& argument);

  // Qt's own texts (the standard dialogs, box buttons, edit menus) in
  // Japanese, whatever the user's locale; false when Qt's Japanese
  // translation is not installed.
  static bool InstallJapanese();

 private:
  std::unique_ptr<CQuoril2Doc> doc_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace q2
