#include "gui/kit/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace q2 {

QFont DialogFont() {
  static const QFont font = [] {
    // Proportional Gothic faces first, as the Windows dialog font is one:
    // Windows's own where they are (which of them depends on the version and
    // on the Japanese fonts installed), then those of a Linux system.
    const QStringList families = {
#ifdef Q_OS_WIN
        QStringLiteral("MS UI Gothic"), QStringLiteral("MS PGothic"), QStringLiteral("ＭＳ Ｐゴシック"),
        QStringLiteral("Meiryo UI"), QStringLiteral("Meiryo"), QStringLiteral("メイリオ"),
        QStringLiteral("Yu Gothic UI"), QStringLiteral("Yu Gothic"), QStringLiteral("游ゴシック"),
#endif
        QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("MS PGothic"),
        QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")};
    const QStringList installed = QFontDatabase::families();
    QFont f;
    auto found = std::find_if(families.begin(), families.end(), [&](const QString& fam) { return installed.contains(fam); });
    if (found != families.end()) {
      f = QFont(*found);
    } else {
      // None of them: any face that holds Japanese, rather than boxes.
      for (const QString& fam : installed)
        if (QFontDatabase::writingSystems(fam).contains(QFontDatabase::Japanese)) {
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
