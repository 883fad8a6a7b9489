#include "gui/kit/Icons.h"

#include <QFile>
#include <QString>

// The pictures live in a static library, whose resource object the linker drops
// unless something refers to it; Q_INIT_RESOURCE must sit outside any namespace.
static void InitIconResources() { Q_INIT_RESOURCE(resources); }

namespace q2 {
namespace {
void EnsureResources() {
  static const bool done = (InitIconResources(), true);
  (void)done;
}

QIcon Load(const QString& path) {
  EnsureResources();
  return QFile::exists(path) ? QIcon(path) : QIcon();
}
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

QPixmap AboutPicture() { return Load(QStringLiteral(":/icons/about.svg")).pixmap(64, 64); }

}  // namespace q2
