#include "gui/CQuoril2App.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "gui/CMainFrame.h"
#include "gui/CQuoril2Doc.h"
#include "gui/CQuoril2View.h"

namespace q2 {

CQuoril2App::CQuoril2App(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Quoril2"));
  InstallJapanese();
}

bool CQuoril2App::InstallJapanese() {
  static QTranslator* installed = nullptr;
  if (installed) return true;
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  // The MIME database's descriptions of files (the open-file dialog's
  // types) follow the default locale.
  QLocale::setDefault(japanese);
  auto* t = new QTranslator(QCoreApplication::instance());
  // Qt's own folder, then a "translations" folder beside the program (where
  // a Windows deployment puts it).
  for (const QString& dir : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                             QCoreApplication::applicationDirPath() + QStringLiteral("/translations")})
    if (t->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
      QCoreApplication::installTranslator(t);
      installed = t;
      return true;
    }
  delete t;
  return false;
}

CQuoril2App::~CQuoril2App() {
  // The view saves its settings when it is destroyed.
  frame_.reset();
}

std::unique_ptr<CMainFrame> CQuoril2App::CreateMainWindow(CQuoril2Doc* doc, const std::string& argument) {
  auto frame = std::make_unique<CMainFrame>(doc);
  frame->view()->OnInitialUpdate();
  if (!argument.empty()) frame->view()->OpenArgument(argument);
  frame->setWindowTitle(QStringLiteral("くおらん Ver 1.005"));
  frame->placeAndShow();
  return frame;
}

bool CQuoril2App::InitInstance(const std::string& argument) {
  doc_ = std::make_unique<CQuoril2Doc>();
  frame_ = CreateMainWindow(doc_.get(), argument);
  return frame_ != nullptr;
}

}  // namespace q2
