#include "gui/kit/UiSeam.h"

#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QMessageBox>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>
#include <algorithm>

#include "core/browse/folder_list.h"
#include "gui/kit/QtText.h"

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

namespace {

// Qt wraps a message wider than half the screen at that width, which can
// leave a line's last syllable alone below it; each line stays whole while
// the screen has room for it. Measured as the box is shown, in the font it
// is shown in.
class KeepLinesWhole : public QObject {
 public:
  explicit KeepLinesWhole(QMessageBox* box) : QObject(box), box_(box) { box->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::Show) return false;
    if (auto* label = box_->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
      // Measured as the label lays out wrapped text, which needs a little
      // more than the bare advance.
      int widest = 0;
      for (const QString& line : box_->text().split(QLatin1Char('\n')))
        widest = std::max(widest, label->fontMetrics()
                                      .boundingRect(QRect(0, 0, 100000, 1000), Qt::AlignLeft | Qt::TextWordWrap, line)
                                      .width() + label->fontMetrics().averageCharWidth());
      const QScreen* screen = box_->screen();
      const int room = screen ? screen->availableGeometry().width() * 3 / 4 : widest;
      label->setMinimumWidth(std::min(widest, room));
    }
    return false;
  }

 private:
  QMessageBox* box_;
};

}  // namespace

int UiSeam::showMessage(QWidget* owner, const Message& m) {
  QMessageBox box(IconOf(m.icon), QString::fromStdString(m.caption), QString::fromStdString(m.text),
                  m.buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  owner);
  box.setTextFormat(Qt::PlainText);
  KeepLinesWhole keep(&box);
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

// The open-file dialog's size, type and date columns as the folder list
// shows them. Qt's own come from the system's locale ("5 bytes", "2.86
// MiB", an English date) and from an untranslated "Folder"; other files'
// types are the MIME database's comments, in the default locale's language.
class ListColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
      return QIdentityProxyModel::data(index, role);
    const QFileInfo info = files->fileInfo(mapToSource(index));
    const std::string name = ToU8(info.fileName());
    switch (index.column()) {
      case 1:
        return info.isDir() ? QString() : U8(SizeText(static_cast<uint64_t>(info.size())));
      case 2: {
        const std::string kind = ListedKindText(name, info.isDir());
        return kind.empty() ? QIdentityProxyModel::data(index, role) : QVariant(U8(kind));
      }
      default: {
        const QDateTime t = info.lastModified();
        return U8(TimeText({t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(),
                            t.time().second()}));
      }
    }
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
  dlg.setProxyModel(new ListColumns(&dlg));
  // The date column wide enough for the whole date and time.
  if (auto* tree = dlg.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    const int date = tree->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00")) + 16;
    tree->header()->resizeSection(3, std::max(tree->header()->sectionSize(3), date));
  }
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
