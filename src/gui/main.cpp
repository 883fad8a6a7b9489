// quoril2 [FOLDER | RECORDING]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <QSaveFile>
#include <QTimer>

#include "gui/CMainFrame.h"
#include "gui/CQuoril2App.h"
#include "gui/CQuoril2View.h"
#include "platform/console.h"

namespace {

// QUORIL2_PANEL_FILE: once the window is up, its caption and its display
// panel as text go to that file (UTF-8, whole or not at all), so that a
// check from outside, such as the Windows build's under Wine, reads what the
// window shows.
void WritePanelWhenShown(q2::CQuoril2App& app) {
  const QString path = qEnvironmentVariable("QUORIL2_PANEL_FILE");
  if (path.isEmpty()) return;
  QTimer::singleShot(0, &app, [&app, path] {
    q2::CMainFrame* frame = app.mainFrame();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return;
    out.write((frame->windowTitle() + QLatin1Char('\n') + frame->view()->PanelText()).toUtf8());
    out.commit();
  });
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before any window or setting is touched.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("usage: quoril2 [FOLDER | RECORDING]\n"
                  "  FOLDER     list this folder (the start-up folder stays as it is)\n"
                  "  RECORDING  open this recording and list its folder\n"
                  "  --version  print the version\n");
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quoril2 %s\n", QUORIL2_VERSION);
      return 0;
    }
  }
#ifdef Q_OS_WIN
  bool styleChosen = true;  // Windows itself: the system's own look
#else
  bool styleChosen = !qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE");
#endif
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "-style", 6) == 0 || std::strncmp(argv[i], "--style", 7) == 0) styleChosen = true;
  q2::CQuoril2App app(argc, argv);
  // The classic look of the Windows program, unless the user chose a style.
  if (!styleChosen) QApplication::setStyle(QStringLiteral("Windows"));
  // What Qt left of the command line, as the platform gives it (UTF-16 on
  // Windows, so a folder name in any script arrives whole).
  const std::vector<std::string> args = q2::ProgramArgs(argc, argv);
  if (args.size() > 1) {
    std::fprintf(stderr, "usage: quoril2 [FOLDER | RECORDING]\n");
    return 2;
  }
  const std::string argument = args.empty() ? std::string() : args.front();
  if (!app.InitInstance(argument)) return 1;
  WritePanelWhenShown(app);
  return app.exec();
}
