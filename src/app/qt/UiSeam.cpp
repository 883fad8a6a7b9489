#include "UiSeam.h"

#include <QColorDialog>
#include <QFileDialog>
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
  QColorDialog dlg(owner);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  return dlg.selectedColor();
}

QString UiSeam::pickOpenFile(QWidget* owner, const QString& startFolder) {
  QFileDialog dlg(owner);
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setNameFilter(QStringLiteral("mgxﾌｧｲﾙ(*.mgx) (*.mgx)"));
  dlg.setDefaultSuffix(QStringLiteral("mgx"));
  dlg.setDirectory(startFolder);
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
