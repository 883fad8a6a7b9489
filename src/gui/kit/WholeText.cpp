#include "gui/kit/WholeText.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace q2 {
namespace {

// The width a line edit gives its text.
int TextRoom(const QLineEdit* box) {
  QStyleOptionFrame opt;
  opt.initFrom(box);
  opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
  const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
  const QMargins m = box->textMargins();
  // QLineEdit keeps two pixels on either side of its text.
  return contents.width() - m.left() - m.right() - 4;
}

}  // namespace

void ShowWhole(QLineEdit* box, const QString& text) {
  // Measured from the font the box has without a text of its own.
  const QFont own = box->parentWidget() ? box->parentWidget()->font() : box->font();
  QFont font = own;
  const int room = TextRoom(box);
  while (QFontMetrics(font).horizontalAdvance(text) > room && font.pointSizeF() > 6) font.setPointSizeF(font.pointSizeF() - 0.5);
  box->setFont(font);
  box->setText(text);
  box->setCursorPosition(0);
  box->setToolTip(font == own ? QString() : text);
}

void ElideToWidth(QLabel* label, const QString& text) {
  const QString shown = label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width());
  label->setText(shown);
  label->setToolTip(shown == text ? QString() : text);
}

}  // namespace q2
