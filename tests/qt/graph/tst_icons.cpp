// The program's pictures: every technology has a readable icon of its category's palette.
#include <QColor>
#include <QImage>
#include <QSet>
#include <QtTest>

#include "app/qt/Icons.h"
#include "replay/core/tech_table.h"

namespace {

QImage Render(const QIcon& icon, int size) {
  return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Opaque pixels of more than one colour: something is drawn, not just a fill.
bool ShowsSomething(const QImage& img) {
  QSet<QRgb> colours;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(img.pixel(x, y)) > 200) colours.insert(img.pixel(x, y));
  return colours.size() > 3;
}

// Share of the clearly coloured pixels in the background hues that are steel blue rather
// than wheat or green; wood, bronze and fire (hues below 40) belong to neither.
double CoolShare(const QImage& img) {
  int warm = 0, cool = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = QColor::fromRgba(img.pixel(x, y));
      if (c.alpha() < 200 || c.hsvSaturationF() < 0.15 || c.valueF() < 0.2) continue;
      const int h = c.hsvHue();
      if (h >= 40 && h <= 120) ++warm;
      if (h >= 180 && h <= 260) ++cool;
    }
  return warm + cool == 0 ? 0.5 : double(cool) / (warm + cool);
}

}  // namespace

class TestIcons : public QObject {
  Q_OBJECT
 private slots:
  void techIconsAreDrawnAndDistinct();
  void categoriesHaveTheirOwnPalette();
  void buttonListAndProgramPicturesLoad();
  void unknownIdsGiveNoIcon();
};

void TestIcons::techIconsAreDrawnAndDistinct() {
  QSet<QByteArray> seen;
  for (const q2::TechInfo& t : q2::TechTable()) {
    const QIcon icon = q2::TechIcon(t.iconId);
    QVERIFY2(!icon.isNull(), qPrintable(QString::number(t.iconId)));
    const QImage img = Render(icon, 14);
    QCOMPARE(img.size(), QSize(14, 14));
    QVERIFY2(ShowsSomething(img), qPrintable(QString::number(t.iconId)));
    // Two technologies sharing one picture would be a mapping slip.
    const QByteArray bytes(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
    QVERIFY2(!seen.contains(bytes), qPrintable(QString::number(t.iconId)));
    seen.insert(bytes);
  }
  QCOMPARE(seen.size(), 28);
}

void TestIcons::categoriesHaveTheirOwnPalette() {
  double maxEconomy = 0, minBlacksmith = 1;
  for (const q2::TechInfo& t : q2::TechTable()) {
    const double cool = CoolShare(Render(q2::TechIcon(t.iconId), 32));
    if (t.category == q2::kCategoryEconomy) {
      QVERIFY2(cool < 0.2, qPrintable(QString("%1: %2").arg(t.iconId).arg(cool)));
      maxEconomy = std::max(maxEconomy, cool);
    } else {
      QVERIFY2(cool > 0.5, qPrintable(QString("%1: %2").arg(t.iconId).arg(cool)));
      minBlacksmith = std::min(minBlacksmith, cool);
    }
  }
  QVERIFY(minBlacksmith - maxEconomy > 0.3);
}

void TestIcons::buttonListAndProgramPicturesLoad() {
  for (int id : {168, 169, 170, 171, 172}) {
    const QIcon icon = q2::ButtonIcon(id);
    QVERIFY2(!icon.isNull(), qPrintable(QString::number(id)));
    QVERIFY(ShowsSomething(Render(icon, 16)));
  }
  // Back and forward must not be the same picture.
  QVERIFY(Render(q2::ButtonIcon(168), 16) != Render(q2::ButtonIcon(169), 16));
  for (bool recording : {false, true}) {
    const QIcon icon = q2::ListIcon(recording);
    QVERIFY(!icon.isNull());
    QVERIFY(ShowsSomething(Render(icon, 16)));
  }
  QVERIFY(Render(q2::ListIcon(false), 16) != Render(q2::ListIcon(true), 16));
  QVERIFY(!q2::AppIcon().isNull());
  const QPixmap about = q2::AboutPicture();
  QCOMPARE(about.size(), QSize(64, 64));
  QVERIFY(ShowsSomething(about.toImage().convertToFormat(QImage::Format_ARGB32)));
}

void TestIcons::unknownIdsGiveNoIcon() {
  // 3 is the table's "no technology"; 156 and 168 lie inside the range but name no technology.
  for (int id : {3, 0, -1, 153, 156, 168, 172, 188, 154 + 65536}) QVERIFY2(q2::TechIcon(id).isNull(), qPrintable(QString::number(id)));
  for (int id : {167, 173, 0}) QVERIFY(q2::ButtonIcon(id).isNull());
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
