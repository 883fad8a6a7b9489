// The age graph (research icons, the game-time toggle and its tool tips,
// the drawn bars, the layout and the age colours), the player colour dialog
// and the program's pictures.
#include <map>

#include "gui/kit/Icons.h"
#include "gui/kit/QtText.h"
#include "gui/AgeGraphDlg.h"
#include "gui/GraphCommands.h"
#include "gui/PlayerColorDlg.h"
#include "gui/qt_support.h"
#include "core/recording/tech_table.h"
#include "core/recording/display.h"
#include "core/recording/open_replay.h"

using namespace q2;
using namespace q2test;

namespace {

// The icons shown, or where the core places those of the lists: place and tool tip by row and icon id.
using Shown = std::map<std::pair<int, int>, std::pair<QRect, QString>>;
Shown Icons(QWidget* dlg) {
  Shown out;
  for (QLabel* l : dlg->findChildren<QLabel*>(QRegularExpression("^icon")))
    out[{(l->y() - 40) / kRowPitch, l->property("iconId").toInt()}] = {l->geometry(), l->toolTip()};
  return out;
}
Shown Expected(const ResearchLists& lists) {
  Shown out;
  for (const IconPlacement& p : PlaceResearchIcons(lists))
    out[{p.row, p.iconId}] = {QRect(p.rect.left, p.rect.top, p.rect.width(), p.rect.height()),
                              QString::fromUtf8(TechForIcon(p.iconId)->nameJa)};
  return out;
}

// Pixels of the image that pass.
int Count(const QImage& img, const std::function<bool(QColor)>& pass) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += pass(QColor::fromRgba(img.pixel(x, y)));
  return n;
}
QImage Picture(const QIcon& icon, int size) { return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32); }
// How many opaque colours the icon drawn at `size` has (more than a few: a
// picture, not a fill), and the share of its clearly coloured pixels that are
// steel blue rather than wheat or green.
std::pair<int, double> Look(const QIcon& icon, int size) {
  QSet<QRgb> colours;
  int warm = 0, cool = 0;
  Count(Picture(icon, size), [&](QColor c) {
    if (c.alpha() > 200) colours.insert(c.rgba());
    if (c.alpha() < 200 || c.hsvSaturationF() < 0.15 || c.valueF() < 0.2) return false;
    warm += c.hsvHue() >= 40 && c.hsvHue() <= 120;
    cool += c.hsvHue() >= 180 && c.hsvHue() <= 260;
    return false;
  });
  return {int(colours.size()), warm + cool == 0 ? 0.5 : double(cool) / (warm + cool)};
}

using Table = std::array<ColorRef, 8>;
const Table kUserColors = {0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888};
ColorLabel* Label(QWidget* dlg, int slot) { return Id<ColorLabel>(dlg, 1073 + slot); }

}  // namespace

class TestGraph : public QObject {
  Q_OBJECT

  Settings settings_;
  std::unique_ptr<Seam> seam_;
  std::optional<std::string> view(const char* key) { return settings_.raw(kSectionView, key); }
  ReplaySummary open(const gen::GameParams& params) {
    ReplaySummary s;
    const std::string path = settings_.dir.filePath("game.mgx").toStdString();
    if (!gen::WriteFile(path, gen::BuildRecording(params)) || !OpenReplay(path, s).ok) qFatal("not opened");
    return s;
  }

 private slots:
  void init() {
    settings_.clear();
    seam_.reset();
    seam_ = std::make_unique<Seam>();
  }

  // A recording's graph: "内政" and "鉄鋼" show, swap and remove the icons,
  // "その他" does nothing; "実時間" puts the bars, icons and tool tips on the
  // game clock, remembered in GRAPH_GAME_TIME; without a recording it waits, disabled.
  void graphOfARecording() {
    ReplaySummary s = open(gen::TypicalGame({"侍ジャック", "North", "ゆきむら", "弓兵マスター"}, {2, 2, 3, 3}, 1, 7, 400000));
    const Shown none, economy = Expected(s.doc.economyResearch), smith = Expected(s.doc.blacksmithResearch);
    const uint64_t L = s.view.gameDurationMs, f = AgeReachedMs(s.view, 0, kFeudal),
                   c = AgeReachedMs(s.view, 0, kCastle), m = AgeReachedMs(s.view, 0, kImperial);
    QVERIFY(economy.size() > 8 && smith.size() > 8 && f > 0 && c > f && c < L);
    const int edge = BarRects(0, GameTimeSharesOf(f, c, m, L))[1].left, y = BarTop(0) + 10;
    const std::pair<int, const Shown*> steps[] = {{1100, &economy}, {1100, &none}, {1100, &economy}, {1101, &smith},
                                                  {1100, &economy}, {1043, &economy}, {1101, &smith}, {1101, &none}};
    WhenModal([&](QWidget* w) {
      auto* dlg = qobject_cast<CAgeGraphDlg*>(w);
      for (auto [button, shown] : steps) {
        Press(dlg, button);
        QCOMPARE(Icons(dlg), *shown);
        QCOMPARE(dlg->iconCount(), int(shown->size()));
        QCOMPARE(std::make_pair(dlg->economyShown(), dlg->blacksmithShown()), std::make_pair(shown == &economy, shown == &smith));
      }
      QVERIFY(Id(dlg, 1044)->isEnabled() && !dlg->inGameTime());
      QVERIFY(edge != BarRects(0, s.doc.graphRows[0].shares)[1].left);  // the axes differ here
      QCOMPARE(dlg->SegmentToolTip({edge, y}), QString());  // byte axis: no tips
      Press(dlg, 1100);
      Press(dlg, 1044);
      const auto spans = AgeSpansOf(f, c, m, L);
      const QStringList tips = {dlg->SegmentToolTip({edge - 1, y}), dlg->SegmentToolTip({edge, y}),
                                dlg->SegmentToolTip({edge, BarTop(0) - 5})};
      QCOMPARE(tips, (QStringList{U8(AgeSpanText(spans[0])), U8(AgeSpanText(spans[1])), QString()}));
      // The icons shown move to their game times.
      QCOMPARE(Icons(dlg), Expected(InGameTime(s.doc.economyResearch, L)));
      QVERIFY(Icons(dlg) != economy);
      Press(dlg, 2);
    });
    ShowAgeGraph(nullptr, s);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(view(kKeyGraphGameTime), std::optional<std::string>("1"));
    CAgeGraphDlg again(nullptr);
    PrepareAgeGraph(again, s);
    QVERIFY(again.inGameTime());
    QCOMPARE(again.ClockStopText(), QString());
    // A clock that stopped before the body's end is marked where it stopped.
    s.view.clockComplete = false;
    CAgeGraphDlg stopped(nullptr);
    PrepareAgeGraph(stopped, s);
    QCOMPARE(stopped.ClockStopText(), QStringLiteral("時計はここまで (途中まで)"));
    s.view.clockComplete = true;
    // No recording: no icons, and the toggle waits, disabled; the choice is kept.
    {
      ReplaySummary empty;
      CAgeGraphDlg blank(nullptr);
      PrepareAgeGraph(blank, empty);
      Press(&blank, 1100);
      QVERIFY(!Id(&blank, 1044)->isEnabled() && !blank.inGameTime() && blank.iconCount() == 0);
    }
    QCOMPARE(view(kKeyGraphGameTime), std::optional<std::string>("1"));
  }

  // The bars as Windows draws rectangles, the names in their players'
  // colours, and the controls (in dialog units) where the drawing (in
  // pixels) needs them. Enter outside a button closes the graph.
  void drawnAndLaidOut() {
    const AgeColors colors = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    for (int a = 0; a < 4; ++a) IniWriteInt(settings_.ini, kSectionView, kAgeColorKeys[a], colors[a]);
    CAgeGraphDlg dlg(nullptr);
    std::array<PlayerBar, kSlots> bars{};
    bars[0] = {"taro", AgeSharesOf(300, 600, 900, 1000), 0x0000FF};  // 130–346–562–778–850
    bars[1] = {"", AgeSharesOf(1000, 0, 0, 4000), 0xFF0000};         // 130–310–850
    bars[2] = {"[Magio]Ponguta_", {1, 0.02, 0.98, 8}, 0};             // a feudal segment 202–203
    for (int r = 3; r < kSlots; ++r) bars[r].shares = AgeSharesOf(0, 0, 0, 0);
    dlg.SetPlayerBars(bars);
    ResearchLists one{};
    one[0].entries[0] = {159, 0.5};
    one[0].count = 1;
    dlg.SetEconomyResearch(one);
    Press(&dlg, 1100);
    const QPalette first = Id<QLineEdit>(&dlg, 1096)->palette(), second = Id<QLineEdit>(&dlg, 1001)->palette();
    QCOMPARE((QList<QColor>{first.color(QPalette::Text), first.color(QPalette::Base), second.color(QPalette::Text)}),
             (QList<QColor>{QColor(255, 0, 0), Qt::white, QColor(0, 0, 255)}));

    // A black outline on each rectangle's own pixels, right and bottom edges
    // excluded; -1 is the dialog's background, neither black nor an age.
    const QImage img = dlg.grab().toImage();
    enum { kBlack = 4, kBackground = -1 };
    const struct { int x, y, expected; } pixels[] = {
        {129, 70, kBackground}, {130, 70, kBlack}, {131, 70, 0}, {344, 70, 0}, {345, 70, kBlack}, {346, 70, kBlack},
        {347, 70, 1}, {561, 70, kBlack}, {600, 70, 2}, {800, 70, 3}, {848, 70, 3}, {849, 70, kBlack},
        {850, 70, kBackground}, {200, 46, kBlack}, {200, 47, 0}, {200, 90, 0}, {200, 91, kBlack},
        {200, 92, kBackground}, {309, 130, kBlack}, {311, 130, 1}, {848, 130, 1}, {849, 130, kBlack},
        {200, 190, 0}, {201, 190, kBlack}, {202, 190, kBlack}, {203, 190, kBlack}, {204, 190, 2},
        {131, BarTop(5) + 20, 0}, {848, BarTop(5) + 20, 0},                          // an empty slot: Dark
        {545, 18, 0}, {530, 10, kBlack}, {559, 26, kBlack}, {632, 18, 1}, {719, 18, 2}, {806, 18, 3}};  // legend
    for (auto [x, y, expected] : pixels) {
      const QColor px(img.pixel(x, y));
      const QString at = QStringLiteral("%1,%2").arg(x).arg(y);
      if (expected == kBlack) QVERIFY2(px == Qt::black, qPrintable(at));
      else if (expected >= 0) QVERIFY2(px == ToQColor(colors[expected]), qPrintable(at));
      else QVERIFY2(px != Qt::black && std::none_of(colors.begin(), colors.end(), [&](ColorRef c) { return ToQColor(c) == px; }),
                    qPrintable(at));
    }
    // The icon over its bar.
    auto* icon = dlg.findChild<QLabel*>("icon0");
    QCOMPARE(std::make_pair(icon->geometry(), icon->property("childId").toInt()), std::make_pair(QRect(490, 61, 14, 14), 1000));
    QVERIFY(Count(img.copy(icon->geometry()), [&](QColor c) { return c != ToQColor(colors[1]); }) > 20);

    // Each read-only name box beside its bar, each row frame around it (60
    // pixels apart like the bars).
    QVERIFY(dlg.width() > kBarRight && dlg.height() >= BarTop(7) + kBarHeight);
    const int frame0 = dlg.findChild<QFrame*>("frameRow0")->y();
    for (int r = 0; r < kSlots; ++r) {
      auto* name = Id<QLineEdit>(&dlg, std::array{1096, 1001, 1002, 1097, 1004, 1005, 1006, 1007}[r]);
      const QRect box = name->geometry(), frame = dlg.findChild<QFrame*>(QStringLiteral("frameRow%1").arg(r))->geometry();
      QVERIFY(name->isReadOnly() && box.right() < kBarLeft && box.top() >= BarTop(r) - 2 && box.bottom() <= BarTop(r) + kBarHeight);
      QVERIFY(frame.top() < BarTop(r) && frame.bottom() >= BarTop(r) + kBarHeight && frame.right() >= kBarRight);
      QCOMPARE(frame.top() - frame0, kRowPitch * r);
    }
    // A long name shows whole, from its first character.
    auto* magio = Id<QLineEdit>(&dlg, 1002);
    QCOMPARE(std::make_pair(magio->text(), magio->cursorPosition()), std::make_pair(QStringLiteral("[Magio]Ponguta_"), 0));
    QVERIFY(QFontMetrics(magio->font()).horizontalAdvance(magio->text()) <= magio->width() - 8);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    Id<QLineEdit>(&dlg, 1001)->setFocus();
    QTest::keyClick(Id<QLineEdit>(&dlg, 1001), Qt::Key_Return);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
  }

  void ageColours() {
    IniWriteInt(settings_.ini, kSectionView, "COLOR_TEIOU", 0);  // black, kept as black
    {
      CAgeGraphDlg dlg(nullptr);
      QCOMPARE(dlg.ageColors()[3], ColorRef(0));
      std::array<PlayerBar, kSlots> bars{};
      for (PlayerBar& b : bars) b.shares = AgeSharesOf(300, 600, 900, 1000);
      dlg.SetPlayerBars(bars);
      dlg.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dlg));
      struct : QObject {
        int n = 0;
        bool eventFilter(QObject*, QEvent* e) override { return n += e->type() == QEvent::Paint, false; }
      } paints;
      dlg.installEventFilter(&paints);
      // Each age's button: the picker cancelled keeps the colour but repaints
      // at once; a picked colour shows in every row and in the legend, drawn at once.
      const QColor green(10, 200, 30);
      seam_->colors = {std::nullopt, green, QColor(0x010203), QColor(0x040506)};
      for (int button : {1061, 1065, 1066, 1067}) {
        paints.n = 0;
        Press(&dlg, button);
        QVERIFY(paints.n > 0);
      }
      QCOMPARE(dlg.ageColors(), (AgeColors{kDefaultAgeColors[0], ToColorRef(green), 0x030201, 0x060504}));
      const QImage img = dlg.grab().toImage();
      for (int r = 0; r < kSlots; ++r) QCOMPARE(QColor(img.pixel(450, BarTop(r) + 20)), green);
      QCOMPARE(QColor(img.pixel(632, 18)), green);
      QVERIFY(!view("COLOR_RYOUSYU"));  // written when the graph goes away
      QTest::keyClick(&dlg, Qt::Key_Escape);
      QVERIFY(!dlg.isVisible());
    }
    QCOMPARE(CAgeGraphDlg(nullptr).ageColors(), (AgeColors{kDefaultAgeColors[0], 0x1EC80A, 0x030201, 0x060504}));
    // "進化グラフの時代表示色をDefault値に戻す" writes the defaults, which the next graph shows.
    OnResetAgeColors();
    QCOMPARE(view("COLOR_TEIOU"), std::optional<std::string>(std::to_string(kDefaultAgeColors[3])));
    QCOMPARE(CAgeGraphDlg(nullptr).ageColors(), kDefaultAgeColors);
  }

  void playerColourDialog() {
    SetAllPlayerColors(kDefaultPlayerColor);
    {
      // The name in the slot's colour on white; bordered labels have a black border.
      CPlayerColorDlg dlg(nullptr);
      dlg.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dlg));
      const QImage img = Label(&dlg, 1)->grab().toImage(), red = Label(&dlg, 2)->grab().toImage();
      QVERIFY(Count(img, [](QColor c) { return c == Qt::white; }) > img.width() * img.height() / 3);
      QVERIFY(Count(img, [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }) > 5);
      QCOMPARE(QColor(red.pixel(0, red.height() / 2)), QColor(Qt::black));
      QCOMPARE(QColor(img.pixel(0, img.height() / 2)), QColor(Qt::white));
    }
    // Buttons pressed (0: Escape) with the picker's answers; what the labels
    // show before the dialog closes, and the table after it.
    Table white3 = kUserColors, black5 = kUserColors;
    white3[2] = 0xFFFFFF;
    black5[4] = 0;  // black is kept until the program exits
    const QColor white(Qt::white);
    const struct {
      std::vector<int> presses;
      std::deque<std::optional<QColor>> picks;
      Table shown, after;
    } cases[] = {{{1}, {}, kUserColors, kUserColors},
                 {{1062, 2}, {white}, white3, kUserColors},  // slot 3's "変更", then "ｷｬﾝｾﾙ"
                 {{1062, 0}, {white}, white3, kUserColors},
                 {{1062, 1}, {white}, white3, white3},
                 {{1066, 1}, {QColor(Qt::black)}, black5, black5},
                 {{1001, 1}, {std::nullopt}, kUserColors, kUserColors},  // the picker cancelled
                 {{1043, 2}, {}, kDefaultPlayerColor, kUserColors},      // "Default色に戻す"
                 {{1043, 1}, {}, kDefaultPlayerColor, kDefaultPlayerColor}};
    for (const auto& c : cases) {
      SetAllPlayerColors(kUserColors);
      seam_->colors = c.picks;
      Table shown{};
      WhenModal([&](QWidget* d) {
        QCOMPARE(qobject_cast<CPlayerColorDlg*>(d)->workingColors(), kUserColors);
        for (size_t i = 0; i < c.presses.size(); ++i) {
          if (i + 1 == c.presses.size())
            for (int slot = 1; slot <= 8; ++slot) shown[slot - 1] = ToColorRef(Label(d, slot)->textColor());
          c.presses[i] ? Press(d, c.presses[i]) : QTest::keyClick(d, Qt::Key_Escape);
        }
      });
      OnPlayerColors(nullptr);
      QCOMPARE(shown, c.shown);
      QCOMPARE(PlayerColors(), c.after);
    }
  }

  // Every technology has its own readable picture in its category's palette;
  // the buttons, the list, the program and its About box have theirs.
  void pictures() {
    QSet<QByteArray> seen;
    for (const TechInfo& t : TechTable()) {
      const QImage small = Picture(TechIcon(t.iconId), 14);
      seen.insert(QByteArray(reinterpret_cast<const char*>(small.constBits()), small.sizeInBytes()));
      const double cool = Look(TechIcon(t.iconId), 32).second;
      QVERIFY2(Look(TechIcon(t.iconId), 14).first > 3 && (t.category == kCategoryEconomy ? cool < 0.2 : cool > 0.5),
               qPrintable(QString::number(t.iconId)));
    }
    QCOMPARE(seen.size(), 28);
    for (int id : {3, 0, 153, 156, 168, 172, 188, 154 + 65536}) QVERIFY(TechIcon(id).isNull());
    for (int id : {168, 169, 170, 171, 172}) QVERIFY(Look(ButtonIcon(id), 16).first > 3);
    QVERIFY(ButtonIcon(167).isNull() && ButtonIcon(173).isNull());
    QVERIFY(Picture(ButtonIcon(168), 16) != Picture(ButtonIcon(169), 16));
    QVERIFY(Look(ListIcon(true), 16).first > 3 && Look(ListIcon(false), 16).first > 3 && !AppIcon().isNull());
    auto yellow = [](QColor c) { return c.hsvHue() >= 35 && c.hsvHue() <= 55 && c.hsvSaturationF() > 0.5; };
    QVERIFY(Count(Picture(ListIcon(false), 16), yellow) > 50 && Count(Picture(ListIcon(true), 16), yellow) == 0);  // the folder
    QCOMPARE(AboutPicture().size(), QSize(64, 64));
  }
};

QTEST_MAIN(TestGraph)
#include "tst_graph.moc"
