#include "gui/PlayerColorDlg.h"

#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "gui/kit/DialogUnits.h"
#include "gui/kit/QtText.h"
#include "gui/kit/UiSeam.h"

namespace q2 {
namespace {

constexpr int kLabelIds[8] = {1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081};
constexpr int kLabelY[8] = {13, 31, 49, 67, 86, 104, 122, 140};
constexpr int kChangeIds[8] = {1001, 1059, 1062, 1064, 1066, 1068, 1070, 1072};
constexpr int kChangeY[8] = {12, 30, 48, 67, 85, 103, 121, 140};

QString IdName(int id) { return QStringLiteral("id%1").arg(id); }

}  // namespace

void ColorLabel::setTextColor(const QColor& c) {
  textColor_ = c;
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, c);
  setPalette(pal);
  update();
}

void ColorLabel::setBordered(bool on) {
  bordered_ = on;
  setContentsMargins(on ? QMargins(1, 1, 1, 1) : QMargins());
  update();
}

void ColorLabel::paintEvent(QPaintEvent* e) {
  {
    // White only behind the text itself.
    QPainter p(this);
    const QRect cr = contentsRect();
    const QRect tr = style()->itemTextRect(fontMetrics(), cr, static_cast<int>(alignment()), isEnabled(), text());
    p.fillRect(tr.intersected(cr), Qt::white);
  }
  QLabel::paintEvent(e);
  if (bordered_) {
    // Black, not the text colour a QFrame border would take.
    QPainter p(this);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

CPlayerColorDlg::CPlayerColorDlg(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("プレイヤー表示色設定"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(DialogFont());
  const DialogUnits du(DialogFont());
  setFixedSize(du.rect(0, 0, 117, 211).size());

  for (int i = 0; i < 8; ++i) {
    auto* l = new ColorLabel(QStringLiteral("　　Player%1　　").arg(i + 1), this);
    l->setObjectName(IdName(kLabelIds[i]));
    PlaceDu(l, du, 10, kLabelY[i], 44, 12);
    l->setWordWrap(false);
    l->setAlignment(i == 7 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    l->setBordered(i > 0);
    labels_[i] = l;

    auto* b = new QPushButton(QStringLiteral("変更"), this);
    b->setObjectName(IdName(kChangeIds[i]));
    PlaceDu(b, du, 59, kChangeY[i], 50, 14);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, i] { OnChangeColor(i); });
  }

  auto* reset = new QPushButton(QStringLiteral("Default色に戻す"), this);
  reset->setObjectName(IdName(1043));
  PlaceDu(reset, du, 16, 160, 85, 15);
  reset->setAutoDefault(false);
  connect(reset, &QPushButton::clicked, this, &CPlayerColorDlg::OnDefaultColors);

  auto* ok = new QPushButton(QStringLiteral("設定"), this);
  ok->setObjectName(IdName(1));
  PlaceDu(ok, du, 7, 183, 48, 17);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CPlayerColorDlg::accept);

  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(IdName(2));
  PlaceDu(cancel, du, 62, 183, 46, 17);
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  workingColors_ = PlayerColors();
  ShowColors();
}

void CPlayerColorDlg::ShowColors() {
  for (int i = 0; i < 8; ++i) labels_[i]->setTextColor(ToQColor(workingColors_[i]));
  repaint();
}

void CPlayerColorDlg::OnChangeColor(int index) {
  const std::optional<QColor> picked = UiSeam::current().pickColor(this);
  if (picked && picked->isValid()) workingColors_[index] = ToColorRef(*picked);
  ShowColors();
}

void CPlayerColorDlg::OnDefaultColors() {
  workingColors_ = kDefaultPlayerColor;
  ShowColors();
}

void CPlayerColorDlg::accept() {
  SetAllPlayerColors(workingColors_);
  QDialog::accept();
}

}  // namespace q2
