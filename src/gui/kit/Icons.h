// The program's pictures: all our own SVG drawings, built into the binary.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace q2 {

// Technology icon of an icon id 154 … 187; a null icon for any other id.
QIcon TechIcon(int iconId);
// Button icons: 168 forward, 169 back, 170 parent folder, 171 desktop, 172 open.
QIcon ButtonIcon(int resourceId);
// 16 × 16 list images: a folder, or a recorded game.
QIcon ListIcon(bool recording);
QIcon AppIcon();
QPixmap AboutPicture();

}  // namespace q2
