// The player colour dialog and the reset of the age colours.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "platform/files.h"
#include "app/qt/QtText.h"
#include "app/qt/UiSeam.h"
#include "graph/qt/AgeGraphDlg.h"
#include "graph/qt/GraphCommands.h"
#include "graph/qt/PlayerColorDlg.h"
#include "settings/core/ini_file.h"
#include "support/settings_fixture.h"
#include "support/temp_dir.h"

using namespace q2;

namespace {

class ScriptedSeam : public UiSeam {
 public:
  std::deque<std::optional<QColor>> answers;
  int picks = 0;
  std::optional<QColor> pickColor(QWidget*) override {
    ++picks;
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  int showMessage(QWidget*, const Message&) override { return 0; }
};

constexpr int kChangeIds[8] = {1001, 1059, 1062, 1064, 1066, 1068, 1070, 1072};

const std::array<ColorRef, 8> kUserColors = {0x111111, 0x222222, 0x333333, 0x444444,
                                             0x555555, 0x666666, 0x777777, 0x888888};

QPushButton* Button(QWidget* dlg, int id) {
  return dlg->findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
}

ColorLabel* Label(QWidget* dlg, int slot) {
  return dlg->findChild<ColorLabel*>(QStringLiteral("id%1").arg(1073 + slot));
}

// Runs the colour command with `script` acting on the open dialog.
void RunPlayerColors(const std::function<void(CPlayerColorDlg*)>& script) {
  QTimer::singleShot(0, [script] {
    auto* dlg = qobject_cast<CPlayerColorDlg*>(QApplication::activeModalWidget());
    if (!dlg) return;
    script(dlg);
    if (dlg->isVisible()) dlg->reject();  // never leave the loop hanging
  });
  OnPlayerColors(nullptr);
}

}  // namespace

class TestColors : public QObject {
  Q_OBJECT

  q2test::SettingsAndSeam<ScriptedSeam> fx_;
  q2test::TempDir& dir_ = fx_.dir;
  const std::string& ini_ = fx_.ini;
  ScriptedSeam& seam_ = fx_.seam;

 private slots:
  void init() {
    std::filesystem::remove(FsPath(ini_));
    seam_.answers.clear();
    seam_.picks = 0;
    SetAllPlayerColors(kUserColors);
  }

  void dialogShowsTheSlotsInTheirColours() {
    CPlayerColorDlg dlg(nullptr);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("プレイヤー表示色設定"));
    QCOMPARE(dlg.workingColors(), kUserColors);
    for (int slot = 1; slot <= 8; ++slot) {
      ColorLabel* l = Label(&dlg, slot);
      QVERIFY(l);
      QCOMPARE(l->text(), QStringLiteral("　　Player%1　　").arg(slot));
      QCOMPARE(l->textColor(), ToQColor(kUserColors[slot - 1]));
      QPushButton* b = Button(&dlg, kChangeIds[slot - 1]);
      QVERIFY(b);
      QCOMPARE(b->text(), QStringLiteral("変更"));
      // The button stands to the right of its label, on its line.
      QVERIFY(b->geometry().left() > l->geometry().right());
      QVERIFY(qAbs(b->geometry().center().y() - l->geometry().center().y()) <= 3);
    }
    QCOMPARE(Button(&dlg, 1043)->text(), QStringLiteral("Default色に戻す"));
    QCOMPARE(Button(&dlg, 1)->text(), QStringLiteral("設定"));
    QVERIFY(Button(&dlg, 1)->isDefault());
    QCOMPARE(Button(&dlg, 2)->text(), QStringLiteral("ｷｬﾝｾﾙ"));

    // The text is written in the slot's colour on white.
    SetAllPlayerColors(kDefaultPlayerColor);
    CPlayerColorDlg shown(nullptr);
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    const QImage img = Label(&shown, 1)->grab().toImage();
    int white = 0, blue = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c(img.pixel(x, y));
        white += c == QColor(Qt::white);
        blue += c.blue() > 200 && c.red() < 60 && c.green() < 60;
      }
    QVERIFY(white > img.width() * img.height() / 3);
    QVERIFY(blue > 5);
    // Bordered labels have a black border, not one in the text colour.
    const QImage red = Label(&shown, 2)->grab().toImage();
    QCOMPARE(QColor(red.pixel(0, red.height() / 2)), QColor(Qt::black));
    QCOMPARE(QColor(img.pixel(0, img.height() / 2)), QColor(Qt::white));
  }

  void confirmWithoutChangesKeepsTheTable() {
    RunPlayerColors([](CPlayerColorDlg* d) { Button(d, 1)->click(); });
    QCOMPARE(PlayerColors(), kUserColors);
  }

  void changeSlotThreeThenCancelOrConfirm() {
    QColor seenAfterPick;
    seam_.answers = {QColor(Qt::white)};
    RunPlayerColors([&](CPlayerColorDlg* d) {
      Button(d, 1062)->click();
      seenAfterPick = Label(d, 3)->textColor();
      Button(d, 2)->click();
    });
    QCOMPARE(seenAfterPick, QColor(Qt::white));  // drawn white as soon as the picker closed
    QCOMPARE(PlayerColors(), kUserColors);

    seam_.answers = {QColor(Qt::white)};
    RunPlayerColors([&](CPlayerColorDlg* d) {
      Button(d, 1062)->click();
      Button(d, 1)->click();
    });
    std::array<ColorRef, 8> expected = kUserColors;
    expected[2] = 0xFFFFFF;
    QCOMPARE(PlayerColors(), expected);

    // Escape cancels as "ｷｬﾝｾﾙ" does.
    SetAllPlayerColors(kUserColors);
    seam_.answers = {QColor(Qt::white)};
    RunPlayerColors([&](CPlayerColorDlg* d) {
      Button(d, 1072)->click();
      QTest::keyClick(d, Qt::Key_Escape);
    });
    QCOMPARE(PlayerColors(), kUserColors);
  }

  void cancelledPickerKeepsTheSlot() {
    std::array<ColorRef, 8> working{};
    seam_.answers = {std::nullopt};
    RunPlayerColors([&](CPlayerColorDlg* d) {
      Button(d, 1001)->click();
      working = d->workingColors();
      Button(d, 1)->click();
    });
    QCOMPARE(seam_.picks, 1);
    QCOMPARE(working, kUserColors);
    QCOMPARE(PlayerColors(), kUserColors);
  }

  void defaultColoursThenCancelOrConfirm() {
    std::array<ColorRef, 8> working{};
    RunPlayerColors([&](CPlayerColorDlg* d) {
      Button(d, 1043)->click();
      working = d->workingColors();
      Button(d, 2)->click();
    });
    QCOMPARE(working, kDefaultPlayerColor);
    QCOMPARE(PlayerColors(), kUserColors);

    RunPlayerColors([&](CPlayerColorDlg* d) {
      Button(d, 1043)->click();
      QCOMPARE(Label(d, 8)->textColor(), ToQColor(kDefaultPlayerColor[7]));
      Button(d, 1)->click();
    });
    QCOMPARE(PlayerColors(), kDefaultPlayerColor);
  }

  void blackIsUsedUntilRestart() {
    seam_.answers = {QColor(Qt::black)};
    RunPlayerColors([&](CPlayerColorDlg* d) {
      Button(d, 1062)->click();
      Button(d, 1)->click();
    });
    QCOMPARE(PlayerColor(2), ColorRef(0));
    // Program exit writes it; the next start reads a stored 0 as the default.
    SetStartupFolder(dir_.path());
    SaveViewSettings(ini_);
    QCOMPARE(IniReadRaw(ini_, kSectionPlayer, "PLAYER3COLOR").value_or(""), std::string("0"));
    SetAllPlayerColors(kUserColors);
    const Messages m = LoadViewSettings(ini_);
    QVERIFY(m.empty());
    QCOMPARE(PlayerColor(2), ColorRef(32768));
    QCOMPARE(PlayerColor(0), kUserColors[0]);
  }

  void realPickerHasNoPresetColour() {
    // As the Windows picker without a preset: it starts on black, so OK
    // without a choice gives black, never white.
    QTimer::singleShot(0, [] {
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
    });
    QCOMPARE(UiSeam().pickColor(nullptr), std::optional<QColor>(QColor(Qt::black)));
  }

  void resetAgeColoursCommand() {
    IniWriteInt(ini_, kSectionView, "COLOR_ANKOKU", 1);
    IniWriteInt(ini_, kSectionView, "COLOR_RYOUSYU", 2);
    IniWriteInt(ini_, kSectionView, "COLOR_JYOUSYU", 3);
    IniWriteInt(ini_, kSectionView, "COLOR_TEIOU", 4);
    OnResetAgeColors();
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_ANKOKU").value_or(""), std::string("16711680"));
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_RYOUSYU").value_or(""), std::string("255"));
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_JYOUSYU").value_or(""), std::string("32768"));
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_TEIOU").value_or(""), std::string("5898239"));
    // The next graph shows blue, red, green and yellow.
    CAgeGraphDlg graph(nullptr);
    QCOMPARE(graph.ageColors(), kDefaultAgeColors);
  }
};

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
