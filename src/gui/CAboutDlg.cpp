#include "gui/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "gui/kit/DialogUnits.h"
#include "gui/kit/Icons.h"
#include "gui/kit/QtText.h"
#include "gui/kit/WholeText.h"
#include "core/settings/settings.h"

namespace q2 {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Quoril2 のﾊﾞｰｼﾞｮﾝ情報"));
  setFont(DialogFont());
  const DialogUnits du;
  auto* picture = new QLabel(this);
  picture->setPixmap(AboutPicture());
  PlaceDu(picture, du, 11, 14, 40, 40);
  auto* name = new QLabel(QStringLiteral("くおらん Ver 1.005"), this);
  PlaceDu(name, du, 56, 14, 140, 10);
  auto* line = new QLabel(QStringLiteral("Quoril2 — 記録されたゲームの閲覧と名前の一括変換"), this);
  PlaceDu(line, du, 56, 28, 170, 10);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("id1"));
  ok->setDefault(true);
  PlaceDu(ok, du, 178, 46, 50, 14);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  // Installed, the settings live in the user's folder: say which file it is.
  auto* settings = new QLabel(this);
  settings->setObjectName(QStringLiteral("settingsPath"));
  settings->setTextInteractionFlags(Qt::TextSelectableByMouse);
  PlaceDu(settings, du, 11, 66, 217, 10);
  // A long path is elided in its middle; the tool tip holds it whole.
  ElideToWidth(settings, QStringLiteral("設定ファイル：") + ShownPath(SettingsPath()));
  setFixedSize(du.x(235), du.y(82));
}

}  // namespace q2
