#include "gui/AgeGraphDlg.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QHelpEvent>

#include "gui/kit/DialogUnits.h"
#include "gui/kit/Icons.h"
#include "gui/kit/QtText.h"
#include "gui/kit/UiSeam.h"
#include "gui/kit/WholeText.h"
#include "core/recording/tech_table.h"
#include "gui/kit/ControlIds.h"

namespace q2 {
namespace {

constexpr int kNameBoxIds[kSlots] = {1096, 1001, 1002, 1097, 1004, 1005, 1006, 1007};

const auto IdName = id::ObjectName;

// Room for the minute labels below the rows, in game time.
constexpr int kMinuteStrip = 18;

QRect ToQRect(const PixelRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// Windows' Rectangle: a one-pixel black outline on the rectangle's own
// pixels (right and bottom edges excluded), filled with the brush.
void DrawGdiRect(QPainter& p, const PixelRect& r, const QColor& fill) {
  if (r.empty()) return;
  if (r.width() <= 2 || r.height() <= 2) {
    p.fillRect(ToQRect(r), Qt::black);  // all outline, no inside
    return;
  }
  p.setBrush(fill);
  p.drawRect(r.left, r.top, r.width() - 1, r.height() - 1);
}

// An untitled group box: an etched outline only. (A styled QGroupBox may
// tint its inside, which would lie over the bars.)
QFrame* Frame(QWidget* parent, const QString& name, int x, int y, int w, int h) {
  auto* g = new QFrame(parent);
  g->setFrameStyle(QFrame::Box | QFrame::Sunken);
  g->setAttribute(Qt::WA_TransparentForMouseEvents);
  g->setObjectName(name);
  g->setGeometry(GraphDuRect(x, y, w, h));
  return g;
}

}  // namespace

QRect GraphDuRect(int x, int y, int width, int height) {
  auto px = [](int du) { return (du * 7 + 2) / 4; };
  auto py = [](int du) { return (du * 12 + 4) / 8; };
  const int l = px(x), t = py(y);
  return QRect(l, t, px(x + width) - l, py(y + height) - t);
}

CAgeGraphDlg::CAgeGraphDlg(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(DialogFont());
  setFixedSize(GraphDuRect(0, 0, 503, 353).size());

  // Frames first, so that everything else lies above them.
  Frame(this, QStringLiteral("frameButtons"), 7, 0, 288, 21);
  Frame(this, QStringLiteral("frameLegend"), 299, 0, 198, 21);
  Frame(this, QStringLiteral("frameRows"), 7, 19, 490, 330);
  for (int r = 0; r < kSlots; ++r)
    Frame(this, QStringLiteral("frameRow%1").arg(r), r == 5 ? 10 : 11, 22 + 40 * r, 482, 43);

  auto button = [this](int id, const char* text, int x, int y, int w, int h, bool tabStop) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(IdName(id));
    b->setGeometry(GraphDuRect(x, y, w, h));
    b->setAutoDefault(true);
    if (!tabStop) b->setFocusPolicy(Qt::ClickFocus);
    return b;
  };
  connect(button(1100, "内政", 10, 6, 30, 14, true), &QPushButton::clicked, this, &CAgeGraphDlg::OnEconomy);
  connect(button(1101, "鉄鋼", 41, 6, 30, 14, true), &QPushButton::clicked, this, &CAgeGraphDlg::OnBlacksmith);
  button(1043, "その他", 72, 6, 30, 14, true);  // has no command
  // The bars on the game clock instead of byte positions.
  gameTimeButton_ = button(1044, "実時間", 106, 6, 34, 14, true);
  gameTimeButton_->setCheckable(true);
  gameTimeButton_->setEnabled(false);
  connect(gameTimeButton_, &QPushButton::toggled, this, &CAgeGraphDlg::OnGameTime);
  connect(button(2, "閉じる", 236, 6, 50, 14, true), &QPushButton::clicked, this, &QDialog::reject);
  connect(button(1061, "：暗黒", 321, 6, 24, 13, false), &QPushButton::clicked, this, &CAgeGraphDlg::OnDarkColor);
  connect(button(1065, "：領主", 371, 6, 24, 13, false), &QPushButton::clicked, this, &CAgeGraphDlg::OnFeudalColor);
  connect(button(1066, "：城主", 421, 6, 24, 13, false), &QPushButton::clicked, this, &CAgeGraphDlg::OnCastleColor);
  connect(button(1067, "：帝王", 470, 6, 24, 13, false), &QPushButton::clicked, this, &CAgeGraphDlg::OnImperialColor);

  for (int r = 0; r < kSlots; ++r) {
    auto* e = new QLineEdit(this);
    e->setObjectName(IdName(kNameBoxIds[r]));
    e->setGeometry(GraphDuRect(r == 2 || r == 4 ? 15 : 14, 31 + 40 * r, 55, 14));
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignCenter);
    nameBoxes_[r] = e;
  }

  settingsPath_ = SettingsPath();
  ageColors_ = LoadAgeColors(settingsPath_);
  wantGameTime_ = LoadGraphInGameTime(settingsPath_);
}

CAgeGraphDlg::~CAgeGraphDlg() {
  DestroyResearchIcons();
  SaveAgeColors(settingsPath_, ageColors_);
  SaveGraphInGameTime(settingsPath_, wantGameTime_);
}

void CAgeGraphDlg::SetPlayerBars(const std::array<PlayerBar, kSlots>& bars) {
  for (int r = 0; r < kSlots; ++r) {
    shares_[r] = bars[r].shares;
    rowColors_[r] = bars[r].color;
    QLineEdit* e = nameBoxes_[r];
    ShowWhole(e, FromRecording(bars[r].name, bars[r].encoding));
    // The name in the player's colour on white.
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, ToQColor(bars[r].color));
    pal.setColor(QPalette::Base, Qt::white);
    e->setPalette(pal);
  }
  update();
}

void CAgeGraphDlg::SetGameClock(uint64_t durationMs, const std::array<AgeShares, kSlots>& shares,
                                const std::array<std::vector<AgeSpan>, kSlots>& spans, bool complete) {
  durationMs_ = durationMs;
  clockComplete_ = complete;
  gameShares_ = shares;
  spans_ = spans;
  gameTimeButton_->setEnabled(durationMs > 0);
  // The user's last choice, where there is a clock to show.
  gameTimeButton_->setChecked(durationMs > 0 && wantGameTime_);
  update();
}

void CAgeGraphDlg::OnGameTime(bool on) {
  inGameTime_ = on && durationMs_ > 0;
  if (durationMs_ > 0) wantGameTime_ = on;
  // One strip for the minutes, a second for the mark of a clock that stopped.
  const int strips = inGameTime_ ? (clockComplete_ ? 1 : 2) : 0;
  setFixedSize(GraphDuRect(0, 0, 503, 353).size() + QSize(0, strips * kMinuteStrip));
  // Icons shown move to their places on the other axis.
  const IconCategory shown = iconState_.shown();
  DestroyResearchIcons();
  if (shown == IconCategory::Economy) CreateResearchIcons(economy_);
  if (shown == IconCategory::Blacksmith) CreateResearchIcons(blacksmith_);
  update();
}

QString CAgeGraphDlg::ClockStopText() const {
  return inGameTime_ && !clockComplete_ ? QStringLiteral("時計はここまで (途中まで)") : QString();
}

QString CAgeGraphDlg::SegmentToolTip(const QPoint& at) const {
  if (!inGameTime_) return {};
  for (int r = 0; r < kSlots; ++r) {
    const std::array<PixelRect, 4> seg = BarRects(r, gameShares_[r]);
    for (const AgeSpan& span : spans_[r]) {
      const PixelRect& q = seg[span.age];
      if (at.x() >= q.left && at.x() < q.right && at.y() >= q.top && at.y() < q.bottom)
        return U8(AgeSpanText(span));
    }
  }
  return {};
}

bool CAgeGraphDlg::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    const QString tip = SegmentToolTip(help->pos());
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), tip, this);
    return true;
  }
  return QDialog::event(e);
}

void CAgeGraphDlg::SetEconomyResearch(const ResearchLists& lists) { economy_ = lists; }
void CAgeGraphDlg::SetBlacksmithResearch(const ResearchLists& lists) { blacksmith_ = lists; }

void CAgeGraphDlg::CreateResearchIcons(const ResearchLists& lists) {
  const ResearchLists placed = inGameTime_ ? InGameTime(lists, durationMs_) : lists;
  for (const IconPlacement& pl : PlaceResearchIcons(placed, iconCount_)) {
    const int iconId = pl.iconId & 0xFFFF;
    IconSlot& slot = icons_[iconCount_];
    slot.icon = TechIcon(iconId);
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("icon%1").arg(iconCount_));
    label->setProperty("childId", kIconChildIdBase + iconCount_);
    label->setProperty("iconId", iconId);
    label->setGeometry(ToQRect(pl.rect));
    label->setAlignment(Qt::AlignCenter);
    if (!slot.icon.isNull()) {
      QPixmap pm = slot.icon.pixmap(QSize(kIconSize, kIconSize));
      if (pm.deviceIndependentSize().toSize() != QSize(kIconSize, kIconSize))
        pm = pm.scaled(QSize(kIconSize, kIconSize) * pm.devicePixelRatio(), Qt::IgnoreAspectRatio,
                       Qt::SmoothTransformation);
      label->setPixmap(pm);
    }
    if (const TechInfo* t = TechForIcon(iconId)) label->setToolTip(QString::fromUtf8(t->nameJa));
    label->show();
    slot.control = label;
    ++iconCount_;
  }
}

void CAgeGraphDlg::DestroyResearchIcons() {
  for (int i = 0; i < iconCount_; ++i) {
    delete icons_[i].control;
    icons_[i] = IconSlot{};
  }
  iconCount_ = 0;
}

void CAgeGraphDlg::RefreshResearchIcons() {
  // Child widgets paint after their parent anyway; this only asks again.
  for (int i = 0; i < iconCount_; ++i)
    if (icons_[i].control) icons_[i].control->update();
}

void CAgeGraphDlg::Apply(const IconToggle& t) {
  if (t.destroy) DestroyResearchIcons();
  if (t.create == IconCategory::Economy) CreateResearchIcons(economy_);
  if (t.create == IconCategory::Blacksmith) CreateResearchIcons(blacksmith_);
}

void CAgeGraphDlg::OnEconomy() { Apply(iconState_.pressEconomy()); }
void CAgeGraphDlg::OnBlacksmith() { Apply(iconState_.pressBlacksmith()); }

void CAgeGraphDlg::ChangeAgeColor(int age) {
  const std::optional<QColor> picked = UiSeam::current().pickColor(this);
  if (picked && picked->isValid()) ageColors_[age] = ToColorRef(*picked);
  // Repainted whether or not a colour was chosen.
  repaint();
  RefreshResearchIcons();
}

void CAgeGraphDlg::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  if (isMinimized()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::black, 1));
  std::array<QColor, 4> brushes;
  for (int a = 0; a < 4; ++a) brushes[a] = ToQColor(ageColors_[a]);
  for (int r = 0; r < kSlots; ++r) {
    const std::array<PixelRect, 4> seg = BarRects(r, shownShares()[r]);
    for (int a = 0; a < 4; ++a) DrawGdiRect(p, seg[a], brushes[a]);
  }
  if (inGameTime_) {
    // Minute marks: a tick under every bar, the minutes in the strip the
    // dialog grows by below the rows.
    const int strip = GraphDuRect(0, 0, 503, 353).height();
    for (const MinuteMark& m : MinuteMarks(durationMs_)) {
      for (int r = 0; r < kSlots; ++r) p.drawLine(m.x, BarTop(r) + kBarHeight, m.x, BarTop(r) + kBarHeight + 3);
      p.drawText(QRect(m.x - 20, strip, 40, kMinuteStrip), Qt::AlignHCenter | Qt::AlignVCenter,
                 QStringLiteral("%1分").arg(m.minute));
    }
    // A clock that stopped early: the bars end where it stopped, not at
    // the game's end, and say so.
    if (!ClockStopText().isEmpty()) {
      p.save();
      p.setPen(QPen(Qt::red, 1, Qt::DashLine));
      p.drawLine(kBarRight, BarTop(0) - 4, kBarRight, BarTop(kSlots - 1) + kBarHeight + 4);
      p.restore();
      p.drawText(QRect(kBarRight - 300, strip + kMinuteStrip, 300, kMinuteStrip), Qt::AlignRight | Qt::AlignVCenter,
                 ClockStopText());
    }
  }
  const std::array<PixelRect, 4> legend = LegendRects();
  for (int a = 0; a < 4; ++a) DrawGdiRect(p, legend[a], brushes[a]);
  // The icon labels are children: they paint above this on their own.
}

void CAgeGraphDlg::keyPressEvent(QKeyEvent* e) {
  // Enter outside a button ends the dialog, as a dialog without a default
  // button does on Windows; a focused button takes Enter itself.
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
    accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

}  // namespace q2
