// The age graph dialog on a generated recording: icons, pixels of the bars,
// the age colours and the settings file.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QFrame>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <map>
#include <functional>
#include <set>

#include "platform/text.h"
#include "app/qt/Icons.h"
#include "app/qt/QtText.h"
#include "app/qt/UiSeam.h"
#include "cli/recording_generator.h"
#include "graph/qt/AgeGraphDlg.h"
#include "graph/qt/GraphCommands.h"
#include "replay/core/game_clock.h"
#include "replay/core/tech_table.h"
#include "settings/core/ini_file.h"
#include "support/settings_fixture.h"
#include "support/temp_dir.h"
#include "view/core/open_replay.h"

using namespace q2;

namespace {

class ScriptedSeam : public UiSeam {
 public:
  std::deque<std::optional<QColor>> answers;
  int picks = 0;
  int messages = 0;
  std::optional<QColor> pickColor(QWidget*) override {
    ++picks;
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  int showMessage(QWidget*, const Message&) override {
    ++messages;
    return 0;
  }
};

struct IconInfo {
  QRect rect;
  int iconId;
  QString tip;
};

std::vector<IconInfo> Icons(QWidget* dlg) {
  std::vector<IconInfo> out;
  for (QLabel* l : dlg->findChildren<QLabel*>()) {
    if (!l->objectName().startsWith(QStringLiteral("icon"))) continue;
    out.push_back({l->geometry(), l->property("iconId").toInt(), l->toolTip()});
  }
  return out;
}

// Row of an icon from its top: icons lie from 6 above to 36 below the bar top.
int RowOf(const QRect& r) { return (r.top() - 40) / 60; }

int CountIn(const std::array<ResearchList, kSlots>& lists) {
  int n = 0;
  for (const ResearchList& l : lists) n += l.count;
  return n;
}

QPushButton* Button(QWidget* dlg, int id) {
  return dlg->findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
}

std::string Cp932(const char* utf8) { return Utf8ToCp932(utf8).value(); }

}  // namespace

class TestGraph : public QObject {
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
    SetAllPlayerColors(kDefaultPlayerColor);
  }

  void layoutMatchesTheBars() {
    CAgeGraphDlg dlg(nullptr);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
    // Wide enough for the 850-pixel bars, tall enough for the eighth row.
    QVERIFY(dlg.width() > 850);
    QVERIFY(dlg.height() >= BarTop(7) + kBarHeight);
    const int ids[kSlots] = {1096, 1001, 1002, 1097, 1004, 1005, 1006, 1007};
    for (int r = 0; r < kSlots; ++r) {
      auto* box = dlg.findChild<QLineEdit*>(QStringLiteral("id%1").arg(ids[r]));
      QVERIFY(box);
      QVERIFY(box->isReadOnly());
      QCOMPARE(box->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
      // Each name box stands beside its bar, left of it, and each row frame
      // encloses its bar with the frames 60 pixels apart like the bars.
      QVERIFY(box->geometry().right() < kBarLeft);
      QVERIFY(box->geometry().top() >= BarTop(r) - 2 && box->geometry().bottom() <= BarTop(r) + kBarHeight);
      auto* frame = dlg.findChild<QFrame*>(QStringLiteral("frameRow%1").arg(r));
      QVERIFY(frame);
      QVERIFY(frame->geometry().top() < BarTop(r));
      QVERIFY(frame->geometry().bottom() >= BarTop(r) + kBarHeight);
      QVERIFY(frame->geometry().right() >= kBarRight);
      if (r > 0) {
        auto* prev = dlg.findChild<QFrame*>(QStringLiteral("frameRow%1").arg(r - 1));
        QCOMPARE(frame->geometry().top() - prev->geometry().top(), kRowPitch);
      }
    }
    // Each legend box sits right before its colour button.
    const int colorIds[4] = {1061, 1065, 1066, 1067};
    const char* texts[4] = {"：暗黒", "：領主", "：城主", "：帝王"};
    const auto legend = LegendRects();
    for (int a = 0; a < 4; ++a) {
      QPushButton* b = Button(&dlg, colorIds[a]);
      QVERIFY(b);
      QCOMPARE(b->text(), QString::fromUtf8(texts[a]));
      QCOMPARE(b->focusPolicy(), Qt::ClickFocus);
      const int gap = b->geometry().left() - legend[a].right;
      QVERIFY2(gap >= 0 && gap <= 4, qPrintable(QString::number(gap)));
      QVERIFY(b->geometry().top() <= legend[a].top && b->geometry().bottom() + 1 >= legend[a].bottom);
    }
    QCOMPARE(Button(&dlg, 1100)->text(), QStringLiteral("内政"));
    QCOMPARE(Button(&dlg, 1101)->text(), QStringLiteral("鉄鋼"));
    QCOMPARE(Button(&dlg, 1043)->text(), QStringLiteral("その他"));
    QCOMPARE(Button(&dlg, 2)->text(), QStringLiteral("閉じる"));
  }

  void iconsOnAGeneratedRecording() {
    gen::GameParams params = gen::TypicalGame({"侍ジャック", "North", "ゆきむら", "弓兵マスター"}, {2, 2, 3, 3}, 1, 7);
    gen::Placed placed;
    const std::string path = dir_ / "game.mgx";
    QVERIFY(gen::WriteFile(path, gen::BuildRecording(params, &placed)));
    ReplaySummary s;
    QVERIFY(OpenReplay(path, s).ok);
    const int nEcon = CountIn(s.doc.economyResearch), nSmith = CountIn(s.doc.blacksmithResearch);
    QVERIFY(nEcon > 8 && nSmith > 8);

    // Where the generator put each research, as the icon's left edge.
    std::map<std::pair<int, int>, int> expectedX;  // (row, icon id) → x
    for (size_t k = 0; k < params.researches.size(); ++k) {
      const gen::Research& r = params.researches[k];
      const double when = static_cast<double>(placed.researchPos[k]) / s.view.bodyLength;
      expectedX[{r.player - 1, IconForTech(r.techId)}] = static_cast<int>(when * 720 + 130);
    }

    struct Seen {
      std::vector<IconInfo> econ, econAgain, smith, smithAgain, none;
      bool flagsOk = true;
      QStringList names;
    } seen;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<CAgeGraphDlg*>(QApplication::activeModalWidget());
      if (!dlg) return;
      for (int id : {1096, 1001, 1002, 1097})
        seen.names << dlg->findChild<QLineEdit*>(QStringLiteral("id%1").arg(id))->text();
      Button(dlg, 1100)->click();
      seen.econ = Icons(dlg);
      seen.flagsOk &= dlg->economyShown() && !dlg->blacksmithShown() && dlg->iconCount() == nEcon;
      Button(dlg, 1100)->click();
      seen.none = Icons(dlg);
      seen.flagsOk &= !dlg->economyShown() && dlg->iconCount() == 0;
      Button(dlg, 1100)->click();
      Button(dlg, 1101)->click();
      seen.smith = Icons(dlg);
      seen.flagsOk &= !dlg->economyShown() && dlg->blacksmithShown() && dlg->iconCount() == nSmith;
      Button(dlg, 1100)->click();
      seen.econAgain = Icons(dlg);
      Button(dlg, 1043)->click();  // "その他": nothing
      seen.flagsOk &= dlg->economyShown() && dlg->iconCount() == nEcon;
      Button(dlg, 1101)->click();
      Button(dlg, 1101)->click();
      seen.smithAgain = Icons(dlg);
      seen.flagsOk &= !dlg->economyShown() && !dlg->blacksmithShown();
      Button(dlg, 2)->click();
    });
    ShowAgeGraph(nullptr, s);
    QVERIFY(!QApplication::activeModalWidget());

    QCOMPARE(seen.names, (QStringList{QStringLiteral("侍ジャック"), QStringLiteral("North"),
                                      QStringLiteral("ゆきむら"), QStringLiteral("弓兵マスター")}));
    QVERIFY(seen.flagsOk);
    QCOMPARE(int(seen.econ.size()), nEcon);
    QCOMPARE(int(seen.econAgain.size()), nEcon);
    QVERIFY(seen.none.empty());
    QVERIFY(seen.smithAgain.empty());
    QCOMPARE(int(seen.smith.size()), nSmith);

    auto check = [&](const std::vector<IconInfo>& icons, int category) {
      std::set<std::pair<int, int>> keys;
      for (const IconInfo& i : icons) {
        const int row = RowOf(i.rect);
        QCOMPARE(i.rect.size(), QSize(14, 14));
        QVERIFY(i.rect.top() >= BarTop(row) - 6 && i.rect.top() <= BarTop(row) + 36);
        const TechInfo* t = TechForIcon(i.iconId);
        QVERIFY(t);
        QCOMPARE(t->category, category);
        QCOMPARE(i.tip, QString::fromUtf8(t->nameJa));
        auto it = expectedX.find({row, i.iconId});
        QVERIFY(it != expectedX.end());
        QCOMPARE(i.rect.left(), it->second);
        keys.insert({row, i.iconId});
      }
      QCOMPARE(keys.size(), icons.size());  // each research once
    };
    check(seen.econ, kCategoryEconomy);
    check(seen.smith, kCategoryBlacksmith);
    // Only the four played rows have icons.
    for (const IconInfo& i : seen.econ) QVERIFY(RowOf(i.rect) < 4);
  }

  void gameTimeToggle() {
    gen::GameParams params = gen::TypicalGame({"侍ジャック", "North"}, {1, 1}, 1, 9, 400000, 20000);
    gen::Placed placed;
    const std::string path = dir_ / "clock.mgx";
    QVERIFY(gen::WriteFile(path, gen::BuildRecording(params, &placed)));
    ReplaySummary s;
    QVERIFY(OpenReplay(path, s).ok);
    const double L = static_cast<double>(placed.durationMs);
    auto reached = [&](int player, int tech) -> uint64_t {
      for (size_t k = 0; k < params.ages.size(); ++k)
        if (params.ages[k].player == player && params.ages[k].tech == tech)
          return placed.ageMs[k] + (tech == 101 ? 130000 : tech == 102 ? 160000 : 190000);
      return 0;
    };
    const uint64_t feudal = reached(1, 101), castle = reached(1, 102);
    QVERIFY(feudal > 0 && castle > feudal && castle < placed.durationMs);
    const int edge = kBarLeft + static_cast<int>(feudal / L * kBarSpan);
    {
      CAgeGraphDlg dlg(nullptr);
      PrepareAgeGraph(dlg, s);
      QPushButton* toggle = Button(&dlg, 1044);
      QVERIFY(toggle->isEnabled() && !toggle->isChecked() && !dlg.inGameTime());
      QCOMPARE(dlg.SegmentToolTip({edge + 2, BarTop(0) + 10}), QString());  // byte axis: no tips
      toggle->click();
      QVERIFY(dlg.inGameTime());
      // Row 1: Dark up to the estimated Feudal time, then Feudal up to Castle.
      QCOMPARE(dlg.SegmentToolTip({edge - 2, BarTop(0) + 10}),
               U8("暗黒 0:00〜" + ClockText(feudal) + " (推定)"));
      QCOMPARE(dlg.SegmentToolTip({edge + 2, BarTop(0) + 10}),
               U8("領主 " + ClockText(feudal) + "〜" + ClockText(castle) + " (推定)"));
      QCOMPARE(dlg.SegmentToolTip({edge + 2, BarTop(0) - 5}), QString());
      // Icons stand at their game times.
      Button(&dlg, 1100)->click();
      std::map<int, int> xs;  // icon id of row 1 → x
      for (const IconInfo& i : Icons(&dlg))
        if (RowOf(i.rect) == 0) xs[i.iconId] = i.rect.left();
      for (size_t k = 0; k < params.researches.size(); ++k)
        if (params.researches[k].player == 1 && xs.count(IconForTech(params.researches[k].techId)))
          QCOMPARE(xs[IconForTech(params.researches[k].techId)],
                   kBarLeft + static_cast<int>(placed.researchMs[k] / L * kBarSpan));
      QVERIFY(!xs.empty());
    }
    QCOMPARE(IniReadInt(ini_, kSectionView, "GRAPH_GAME_TIME", -1), 1);
    {
      CAgeGraphDlg again(nullptr);
      PrepareAgeGraph(again, s);
      QVERIFY(again.inGameTime());
      // Without a recording there is no clock: the toggle waits, the choice stays.
      ReplaySummary none;
      CAgeGraphDlg empty(nullptr);
      PrepareAgeGraph(empty, none);
      QVERIFY(!Button(&empty, 1044)->isEnabled() && !empty.inGameTime());
    }
    QCOMPARE(IniReadInt(ini_, kSectionView, "GRAPH_GAME_TIME", -1), 1);
  }

  void barPixels() {
    IniWriteInt(ini_, kSectionView, "COLOR_ANKOKU", 0x102030);
    IniWriteInt(ini_, kSectionView, "COLOR_RYOUSYU", 0x405060);
    IniWriteInt(ini_, kSectionView, "COLOR_JYOUSYU", 0x708090);
    IniWriteInt(ini_, kSectionView, "COLOR_TEIOU", 0xA0B0C0);
    CAgeGraphDlg dlg(nullptr);
    std::array<PlayerBar, kSlots> bars{};
    bars[0] = {Cp932("太郎"), AgeSharesOf(300, 600, 900, 1000), 0x0000FF};
    bars[1] = {Cp932("花子"), AgeSharesOf(1000, 0, 0, 4000), 0xFF0000};
    bars[2].shares = {1, 0.02, 0.98, 8};  // a feudal segment one pixel wide: 202–203
    for (int r = 3; r < kSlots; ++r) bars[r].shares = AgeSharesOf(0, 0, 0, 0);
    dlg.SetPlayerBars(bars);
    auto* name1 = dlg.findChild<QLineEdit*>(QStringLiteral("id1096"));
    QCOMPARE(name1->text(), QStringLiteral("太郎"));
    QCOMPARE(name1->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(name1->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(dlg.findChild<QLineEdit*>(QStringLiteral("id1001"))->palette().color(QPalette::Text),
             QColor(0, 0, 255));

    const QImage img = dlg.grab().toImage();
    auto px = [&](int x, int y) { return QColor(img.pixel(x, y)); };
    const QColor black(0, 0, 0), dark = ToQColor(0x102030), feudal = ToQColor(0x405060),
                 castle = ToQColor(0x708090), imperial = ToQColor(0xA0B0C0);
    const int y = 70;  // inside row 0
    // Row 0: 130–346, 346–562, 562–778, 778–850, right edges excluded.
    QCOMPARE(px(129, y) == black, false);
    QCOMPARE(px(130, y), black);
    QCOMPARE(px(131, y), dark);
    QCOMPARE(px(344, y), dark);
    QCOMPARE(px(345, y), black);
    QCOMPARE(px(346, y), black);
    QCOMPARE(px(347, y), feudal);
    QCOMPARE(px(561, y), black);
    QCOMPARE(px(600, y), castle);
    QCOMPARE(px(800, y), imperial);
    QCOMPARE(px(848, y), imperial);
    QCOMPARE(px(849, y), black);
    QVERIFY(px(850, y) != black && px(850, y) != imperial);
    QCOMPARE(px(200, 46), black);
    QCOMPARE(px(200, 47), dark);
    QCOMPARE(px(200, 90), dark);
    QCOMPARE(px(200, 91), black);
    QVERIFY(px(200, 92) != black && px(200, 92) != dark);
    // Row 1: 130–310 dark, 310–850 feudal; the zero-width segments draw nothing.
    QCOMPARE(px(300, 130), dark);
    QCOMPARE(px(309, 130), black);
    QCOMPARE(px(311, 130), feudal);
    QCOMPARE(px(848, 130), feudal);
    QCOMPARE(px(849, 130), black);
    // A one-pixel segment is its outline alone.
    QCOMPARE(px(200, 190), dark);
    for (int x : {201, 202, 203}) QCOMPARE(px(x, 190), black);
    QCOMPARE(px(204, 190), castle);
    // An empty slot: one Dark bar.
    for (int x : {131, 400, 848}) QCOMPARE(px(x, BarTop(5) + 20), dark);
    // Legend boxes.
    QCOMPARE(px(545, 18), dark);
    QCOMPARE(px(530, 10), black);
    QCOMPARE(px(559, 26), black);
    QCOMPARE(px(632, 18), feudal);
    QCOMPARE(px(719, 18), castle);
    QCOMPARE(px(806, 18), imperial);
  }

  void iconsAboveTheBars() {
    CAgeGraphDlg dlg(nullptr);
    std::array<ResearchList, kSlots> econ{};
    econ[0].entries[0] = {159, 0.5};
    econ[0].count = 1;
    dlg.SetEconomyResearch(econ);
    Button(&dlg, 1100)->click();
    auto* icon = dlg.findChild<QLabel*>(QStringLiteral("icon0"));
    QVERIFY(icon);
    QCOMPARE(icon->geometry(), QRect(490, 61, 14, 14));
    QCOMPARE(icon->property("childId").toInt(), 1000);
    // With artwork the icon covers part of the bar.
    if (TechIcon(159).isNull()) QSKIP("no icon artwork");
    const QImage img = dlg.grab().toImage();
    int covered = 0;
    for (int y = 61; y < 75; ++y)
      for (int x = 490; x < 504; ++x) covered += QColor(img.pixel(x, y)) != ToQColor(kDefaultAgeColors[0]);
    QVERIFY(covered > 20);
  }

  void twoHundredIconSlotsAtMost() {
    CAgeGraphDlg dlg(nullptr);
    std::array<ResearchList, kSlots> many{};
    for (ResearchList& l : many) {
      for (int j = 0; j < kResearchListMax; ++j) l.entries[j] = {154 + j % 13, j / 100.0};
      l.count = kResearchListMax;
    }
    dlg.CreateResearchIcons(many);
    QCOMPARE(dlg.iconCount(), 200);
    dlg.CreateResearchIcons(many);
    QCOMPARE(dlg.iconCount(), 200);
    QCOMPARE(int(Icons(&dlg).size()), 200);
    dlg.DestroyResearchIcons();
    QCOMPARE(dlg.iconCount(), 0);
    QVERIFY(Icons(&dlg).empty());
  }

  void ageColourPickedAndSaved() {
    int paints = 0;
    {
      CAgeGraphDlg dlg(nullptr);
      QCOMPARE(dlg.ageColors(), kDefaultAgeColors);
      std::array<PlayerBar, kSlots> bars{};
      for (PlayerBar& b : bars) b.shares = AgeSharesOf(300, 600, 900, 1000);
      dlg.SetPlayerBars(bars);
      dlg.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dlg));
      struct Counter : QObject {
        int* n;
        explicit Counter(int* p) : n(p) {}
        bool eventFilter(QObject*, QEvent* e) override {
          if (e->type() == QEvent::Paint) ++*n;
          return false;
        }
      } counter(&paints);
      dlg.installEventFilter(&counter);

      // Cancelling keeps the colour but repaints at once.
      seam_.answers = {std::nullopt};
      paints = 0;
      Button(&dlg, 1061)->click();
      QCOMPARE(seam_.picks, 1);
      QCOMPARE(dlg.ageColors(), kDefaultAgeColors);
      QVERIFY(paints > 0);

      seam_.answers = {QColor(10, 200, 30)};
      paints = 0;
      Button(&dlg, 1065)->click();
      QVERIFY(paints > 0);
      QCOMPARE(dlg.ageColors()[1], ToColorRef(QColor(10, 200, 30)));
      QCOMPARE(dlg.ageColors()[0], kDefaultAgeColors[0]);
      const QImage img = dlg.grab().toImage();
      for (int r = 0; r < kSlots; ++r) QCOMPARE(QColor(img.pixel(450, BarTop(r) + 20)), QColor(10, 200, 30));
      QCOMPARE(QColor(img.pixel(632, 18)), QColor(10, 200, 30));
      dlg.removeEventFilter(&counter);

      seam_.answers = {QColor(1, 2, 3)};
      Button(&dlg, 1067)->click();
      // Not written before the dialog goes away.
      QVERIFY(!IniReadRaw(ini_, kSectionView, "COLOR_RYOUSYU"));
      QTest::keyClick(&dlg, Qt::Key_Escape);
      QCOMPARE(dlg.result(), int(QDialog::Rejected));
      QVERIFY(!dlg.isVisible());
    }
    QCOMPARE(IniReadInt(ini_, kSectionView, "COLOR_RYOUSYU", -1), int(ToColorRef(QColor(10, 200, 30))));
    QCOMPARE(IniReadInt(ini_, kSectionView, "COLOR_TEIOU", -1), int(ToColorRef(QColor(1, 2, 3))));
    QCOMPARE(IniReadInt(ini_, kSectionView, "COLOR_ANKOKU", -1), 16711680);
    QCOMPARE(IniReadInt(ini_, kSectionView, "COLOR_JYOUSYU", -1), 32768);
    // The next graph starts with the saved colours.
    CAgeGraphDlg next(nullptr);
    QCOMPARE(next.ageColors()[1], ToColorRef(QColor(10, 200, 30)));
  }

  void openAndCloseRewritesTheColours() {
    IniWriteInt(ini_, kSectionView, "COLOR_TEIOU", 0);  // black, kept as black
    { CAgeGraphDlg dlg(nullptr); }
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_ANKOKU").value_or(""), std::string("16711680"));
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_RYOUSYU").value_or(""), std::string("255"));
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_JYOUSYU").value_or(""), std::string("32768"));
    QCOMPARE(IniReadRaw(ini_, kSectionView, "COLOR_TEIOU").value_or(""), std::string("0"));
  }

  void noRecordingOpen() {
    ReplaySummary s;  // nothing opened
    bool allDark = true;
    int icons = -1;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<CAgeGraphDlg*>(QApplication::activeModalWidget());
      if (!dlg) return;
      const QImage img = dlg->grab().toImage();
      for (int r = 0; r < kSlots; ++r)
        for (int x : {131, 500, 848}) allDark &= QColor(img.pixel(x, BarTop(r) + 20)) == ToQColor(kDefaultAgeColors[0]);
      Button(dlg, 1100)->click();
      icons = dlg->iconCount();
      dlg->reject();
    });
    ShowAgeGraph(nullptr, s);
    QVERIFY(allDark);
    QCOMPARE(icons, 0);
    for (const GraphRow& g : s.doc.graphRows) QCOMPARE(g.shares[0], 10.0);
  }

  void enterOutsideAButtonCloses() {
    CAgeGraphDlg dlg(nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* box = dlg.findChild<QLineEdit*>(QStringLiteral("id1001"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.iconCount(), 0);
  }

  void realRecording() {
    const std::string path = std::string(QUORIL2_REAL_RECORDINGS) + "/aoc-1.0c.mgx";
    if (!PathExists(path)) QSKIP("real recordings not present");
    ReplaySummary s;
    QVERIFY(OpenReplay(path, s).ok);
    int econ = -1, smith = -1;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<CAgeGraphDlg*>(QApplication::activeModalWidget());
      if (!dlg) return;
      Button(dlg, 1100)->click();
      econ = dlg->iconCount();
      Button(dlg, 1101)->click();
      smith = dlg->iconCount();
      dlg->reject();
    });
    ShowAgeGraph(nullptr, s);
    QCOMPARE(econ, CountIn(s.doc.economyResearch));
    QCOMPARE(smith, CountIn(s.doc.blacksmithResearch));
  }
};

QTEST_MAIN(TestGraph)
#include "tst_graph.moc"
