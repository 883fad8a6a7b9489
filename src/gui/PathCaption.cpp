#include "gui/PathCaption.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace q2 {

PathCaption::PathCaption(QGroupBox* box) : QLineEdit(box->parentWidget()), box_(box) {
  setFrame(false);
  setTextMargins(0, 0, 0, 0);
  setAutoFillBackground(true);
  box->installEventFilter(this);
  place();
}

void PathCaption::setFolder(const QString& caption, const QString& path) {
  caption_ = caption;
  path_ = path;
  setToolTip(path);
  place();
}

void PathCaption::place() {
  const bool editing = hasFocus();
  const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, box_) + 8;
  const QString shown = fontMetrics().elidedText(caption_, Qt::ElideMiddle, std::max(0, box_->width() - 2 * margin));
  if (box_->title() != shown) box_->setTitle(shown);
  QStyleOptionGroupBox opt;
  opt.initFrom(box_);
  opt.text = shown;
  opt.lineWidth = 1;
  opt.textAlignment = box_->alignment();
  opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  QRect title = box_->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box_);
  title.translate(box_->pos());
  // Room for the text's own margin inside a line edit.
  title.adjust(-2, 0, 2, 0);
  if (editing) title.setRight(box_->geometry().right() - margin / 2);
  setGeometry(title);
  QPalette p = palette();
  p.setColor(QPalette::Base, editing ? Qt::white : box_->palette().color(QPalette::Window));
  setPalette(p);
  if (!editing) {
    setText(shown);
    setCursorPosition(0);
  }
  raise();
}

void PathCaption::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  place();
  setText(path_);
  selectAll();
}

void PathCaption::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  place();
}

void PathCaption::keyPressEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && onGo) {
    onGo(text());
    return;
  }
  if (e->key() == Qt::Key_Escape) {
    setText(path_);
    if (onLeave) onLeave();
    return;
  }
  QLineEdit::keyPressEvent(e);
}

bool PathCaption::eventFilter(QObject* o, QEvent* e) {
  if (o == box_ && (e->type() == QEvent::Resize || e->type() == QEvent::Move)) place();
  return false;
}

}  // namespace q2
