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

// Each picture as drawn: an SVG file, or where Qt has no SVG (the Windows
// build) PNG files drawn from it at build time, "@2x" for high-DPI screens.
#ifdef QUORIL2_PNG_ICONS
const QString kSuffix = QStringLiteral(".png");
#else
const QString kSuffix = QStringLiteral(".svg");
#endif

// `name` without its suffix.
QIcon Load(const QString& name) {
  EnsureResources();
  const QString path = QStringLiteral(":/icons/") + name + kSuffix;
  return QFile::exists(path) ? QIcon(path) : QIcon();
}
}  // namespace

QIcon TechIcon(int iconId) {
  if (iconId < 154 || iconId > 187) return {};
  return Load(QStringLiteral("tech_%1").arg(iconId));
}

QIcon ButtonIcon(int resourceId) { return Load(QStringLiteral("button_%1").arg(resourceId)); }

QIcon ListIcon(bool recording) {
  return Load(recording ? QStringLiteral("list_recording") : QStringLiteral("list_folder"));
}

QIcon AppIcon() { return Load(QStringLiteral("app")); }

QPixmap AboutPicture() { return Load(QStringLiteral("about")).pixmap(64, 64); }

}  // namespace q2
