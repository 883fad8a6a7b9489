// Dialog templates are laid out in dialog units; this converts them to
// pixels from the dialog font, once for every dialog of the program.
#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace q2 {

// The dialog font: a proportional Japanese Gothic at 9 point.
QFont DialogFont();

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font = DialogFont());
  int x(int du) const;  // horizontal units to pixels
  int y(int du) const;  // vertical units to pixels
  QRect rect(int x, int y, int w, int h) const;
  int baseX() const { return baseX_; }
  int baseY() const { return baseY_; }

 private:
  int baseX_;
  int baseY_;
};

// Places a child at a dialog-unit rectangle.
void PlaceDu(QWidget* w, const DialogUnits& du, int x, int y, int width, int height);

}  // namespace q2
