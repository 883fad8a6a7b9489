#include "Icons.h"

#include <QFile>
#include <QString>

namespace q2 {
namespace {
QIcon Load(const QString& path) { return QFile::exists(path) ? QIcon(path) : QIcon(); }
}  // namespace

QIcon TechIcon(int iconId) {
  if (iconId < 154 || iconId > 187) return {};
  return Load(QStringLiteral(":/icons/tech_%1.svg").arg(iconId));
}

QIcon ButtonIcon(int resourceId) { return Load(QStringLiteral(":/icons/button_%1.svg").arg(resourceId)); }

QIcon ListIcon(bool recording) {
  return Load(recording ? QStringLiteral(":/icons/list_recording.svg") : QStringLiteral(":/icons/list_folder.svg"));
}

QIcon AppIcon() { return Load(QStringLiteral(":/icons/app.svg")); }

QPixmap AboutPicture() { return QIcon(QStringLiteral(":/icons/about.svg")).pixmap(64, 64); }

}  // namespace q2
