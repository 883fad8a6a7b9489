#include "gui/kit/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>

namespace q2 {

QFont DialogFont() {
  static const QFont font = [] {
    // Proportional Gothic faces first, as the Windows dialog font is one.
    const QStringList families = {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                                  QStringLiteral("MS PGothic"), QStringLiteral("ＭＳ Ｐゴシック"),
                                  QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")};
    const QStringList installed = QFontDatabase::families();
    QFont f;
    for (const QString& fam : families) {
      if (installed.contains(fam)) {
        f = QFont(fam);
        break;
      }
    }
    f.setPointSize(9);
    return f;
  }();
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  // The Windows rule: average width of the 52 Latin letters, and the
  // font's height.
  QFontMetrics fm(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  baseX_ = (fm.horizontalAdvance(letters) / 26 + 1) / 2;
  baseY_ = fm.height();
  if (baseX_ < 1) baseX_ = 1;
  if (baseY_ < 1) baseY_ = 1;
}

int DialogUnits::x(int du) const { return (du * baseX_ + 2) / 4; }
int DialogUnits::y(int du) const { return (du * baseY_ + 4) / 8; }

QRect DialogUnits::rect(int x0, int y0, int w, int h) const {
  const int l = x(x0), t = y(y0);
  return QRect(l, t, x(x0 + w) - l, y(y0 + h) - t);
}

void PlaceDu(QWidget* w, const DialogUnits& du, int x, int y, int width, int height) {
  w->setGeometry(du.rect(x, y, width, height));
}

}  // namespace q2
