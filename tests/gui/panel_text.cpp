// panel_text RECORDING...: the main window's display panel for each
// recording, opened as from the command line, printed as text; then again
// after each round of check-box clicks: 警告無し on; 警告無し off with
// 時刻表示 and ゲーム時間 on; 開始前チャット on. Any box the window shows is
// printed where it comes. scripts/test-windows.sh compares
// the Windows build's output, run under Wine, with the Linux build's.
#include "gui/CMainFrame.h"
#include "gui/CQuoril2App.h"
#include "gui/CQuoril2Doc.h"
#include "gui/CQuoril2View.h"
#include "gui/kit/ControlIds.h"
#include "gui/qt_support.h"
#include "platform/console.h"
#include "platform/files.h"
#include "core/settings/ini_file.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::vector<std::string> files = q2::ProgramArgs(argc, argv);
  auto print = [](const QString& text) { q2::WriteOut(stdout, text.toStdString()); };
  q2test::Settings settings;
  q2test::Seam seam;
  seam.onMessage = [&](const q2::Message& m) {
    print(QStringLiteral("[box] %1: %2\n").arg(QString::fromStdString(m.caption), QString::fromStdString(m.text)));
  };
  for (const std::string& file : files) {
    print(QStringLiteral("== %1\n").arg(QFileInfo(QString::fromStdString(file)).fileName()));
    settings.clear();
    q2::IniWriteString(settings.ini, q2::kSectionFile, q2::kKeySaveGameDir, q2::ParentOf(file));
    q2::CQuoril2Doc doc;
    auto frame = q2::CQuoril2App::CreateMainWindow(&doc, file);
    q2::CQuoril2View* view = frame->view();
    print(view->PanelText());
    for (std::vector<int> ids : {std::vector<int>{q2::id::kHideWarnings},
                                 {q2::id::kHideWarnings, q2::id::kChatTimes, q2::id::kGameLength},
                                 {q2::id::kPregameChat}}) {
      QStringList shown;
      for (int id : ids) {
        auto* box = q2test::Id<QCheckBox>(view, id);
        box->click();
        shown << box->text();
      }
      print(QStringLiteral("-- %1\n").arg(shown.join(QLatin1Char(' '))) + view->PanelText());
    }
  }
  return 0;
}
