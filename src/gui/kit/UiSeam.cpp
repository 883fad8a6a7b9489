#include "gui/kit/UiSeam.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>

namespace q2 {
namespace {
UiSeam* g_installed = nullptr;

QMessageBox::Icon IconOf(MsgIcon i) {
  switch (i) {
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}
}  // namespace

int UiSeam::showMessage(QWidget* owner, const Message& m) {
  QMessageBox box(IconOf(m.icon), QString::fromStdString(m.caption), QString::fromStdString(m.text),
                  m.buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  owner);
  box.setTextFormat(Qt::PlainText);
  return box.exec();
}

std::optional<QColor> UiSeam::pickColor(QWidget* owner) {
  // No preset colour: the Windows picker then starts on black, and OK
  // without a choice gives black.
  QColorDialog dlg(QColor(Qt::black), owner);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  return dlg.selectedColor();
}

namespace {

// The open-file dialog's filters: the description the user reads and the
// pattern it stands for.
struct OpenFilter {
  const char* description;
  const char* pattern;
};
// All recordings first, then each kind alone.
constexpr OpenFilter kOpenFilters[] = {{"Replayﾌｧｲﾙ(*.mgx *.mgz *.mgl)", "*.mgx *.mgz *.mgl"},
                                       {"mgxﾌｧｲﾙ(*.mgx) ", "*.mgx"},
                                       {"mgzﾌｧｲﾙ(*.mgz) ", "*.mgz"},
                                       {"mglﾌｧｲﾙ(*.mgl) ", "*.mgl"}};
constexpr const char* kOpenInitialName = "*.mgx";

// Qt's own dialog takes a name with wildcards for a file name; the Windows
// dialog filters its list by it and stays open, as this one does.
class OpenFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    const QStringList files = selectedFiles();
    const QString name = files.isEmpty() ? QString() : QFileInfo(files.first()).fileName();
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')))
      if (auto* model = findChild<QFileSystemModel*>()) {
        model->setNameFilters(name.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        return;
      }
    QFileDialog::accept();
  }
};

// Qt takes the patterns from a "(...)" at the end of a filter; a
// description that already ends so is used as it is.
QString QtFilter(const OpenFilter& f) {
  const QString description = QString::fromUtf8(f.description);
  const QString pattern = QString::fromUtf8(f.pattern);
  if (description.trimmed().endsWith(QLatin1Char('(') + pattern + QLatin1Char(')'))) return description;
  return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

}  // namespace

QString UiSeam::pickOpenFile(QWidget* owner, const QString& startFolder) {
  OpenFileDialog dlg(owner);
  // A name need not exist, as in the Windows dialog: opening it reports the
  // failure. Qt lists no name that is not UTF-8, but the name as the folder
  // list shows it can be typed (DiskPath finds the file).
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  QStringList filters;
  for (const OpenFilter& f : kOpenFilters) filters << QtFilter(f);
  dlg.setNameFilters(filters);
  dlg.setDefaultSuffix(QStringLiteral("mgx"));
  dlg.setDirectory(startFolder);
  dlg.selectFile(QString::fromUtf8(kOpenInitialName));
  dlg.setOption(QFileDialog::ReadOnly, true);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return dlg.selectedFiles().first();
}

UiSeam& UiSeam::current() {
  static UiSeam real;
  return g_installed ? *g_installed : real;
}

void UiSeam::install(UiSeam* seam) { g_installed = seam; }

int ShowMessage(QWidget* owner, const Message& m) { return UiSeam::current().showMessage(owner, m); }

void ShowMessages(QWidget* owner, const Messages& ms) {
  for (const Message& m : ms) ShowMessage(owner, m);
}

}  // namespace q2
