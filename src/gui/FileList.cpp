#include "gui/FileList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "core/texts/texts.h"

namespace q2 {
namespace {
constexpr int kColumns = 4;
constexpr int kNarrowestName = 40;
}  // namespace

FileList::FileList(QWidget* parent) : QTreeWidget(parent) {
  // A width the user drags is kept at the form's size.
  connect(header(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    if (!placingColumns_ && column == 0) nameWidth_ = size - grown();
  });
}

void FileList::mouseReleaseEvent(QMouseEvent* e) {
  QTreeWidget::mouseReleaseEvent(e);
  if (e->button() != Qt::LeftButton) return;
  if (afterDoubleClick_) {
    afterDoubleClick_ = false;
    return;
  }
  if (onClick) onClick();
}

void FileList::mouseDoubleClickEvent(QMouseEvent* e) {
  QTreeWidget::mouseDoubleClickEvent(e);
  if (e->button() != Qt::LeftButton) return;
  afterDoubleClick_ = true;
  if (onDoubleClick) onDoubleClick();
}

void FileList::keyPressEvent(QKeyEvent* e) {
  const auto mods = e->modifiers() & ~Qt::KeypadModifier;
  if (state() != EditingState && mods == Qt::NoModifier) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && onEnter) {
      if (QTreeWidgetItem* it = currentItem()) onEnter(it);
      return;
    }
    if (e->key() == Qt::Key_Backspace && onParent) {
      onParent();
      return;
    }
    // The row the keyboard rests on after a listing is not chosen yet: the
    // first arrow chooses it rather than moving past it.
    if ((e->key() == Qt::Key_Down || e->key() == Qt::Key_Up) && selectedItems().isEmpty()) {
      if (QTreeWidgetItem* it = currentItem()) {
        setCurrentItem(it);
        return;
      }
    }
  }
  QTreeWidget::keyPressEvent(e);
}

std::vector<int> FileList::defaultColumnWidths() const {
  // Each column as wide as its widest text, with the room the style puts
  // around a cell's text and a heading's.
  const QFontMetrics fm(font());
  const int cellPad = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 2;
  const int headPad = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header()) + 2;
  auto fit = [&](int column, std::initializer_list<QString> texts) {
    int w = header()->fontMetrics().horizontalAdvance(headerItem()->text(column)) + headPad;
    for (const QString& t : texts) w = std::max(w, fm.horizontalAdvance(t) + cellPad);
    return w;
  };
  std::vector<int> out(kColumns);
  out[1] = fit(1, {QStringLiteral("99,999 KB")});
  out[2] = fit(2, {QString::fromUtf8(kTypeRecording), QString::fromUtf8(kTypeRecordingMgz),
                   QString::fromUtf8(kTypeRecordingMgl), QString::fromUtf8(kTypeFolder)});
  out[3] = fit(3, {QStringLiteral("0000/00/00 00:00")});
  const int home = homeWidth_ > 0 ? homeWidth_ : width();
  const int room = home - 2 * frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  out[0] = std::max(kNarrowestName * 2, room - out[1] - out[2] - out[3]);
  return out;
}

void FileList::setColumnWidths(std::vector<int> widths) {
  if (widths.size() != kColumns) widths = defaultColumnWidths();
  placingColumns_ = true;
  for (int c = 1; c < kColumns; ++c) setColumnWidth(c, widths[c]);
  placingColumns_ = false;
  nameWidth_ = widths[0];
  fitNameColumn();
}

std::vector<int> FileList::columnWidths() const {
  std::vector<int> out(kColumns);
  for (int c = 0; c < kColumns; ++c) out[c] = columnWidth(c);
  out[0] = nameWidth_;
  return out;
}

void FileList::fitNameColumn() {
  placingColumns_ = true;
  setColumnWidth(0, std::max(kNarrowestName, nameWidth_ + grown()));
  placingColumns_ = false;
}

void FileList::resizeEvent(QResizeEvent* e) {
  QTreeWidget::resizeEvent(e);
  if (nameWidth_ > 0) fitNameColumn();
}

}  // namespace q2
