// Texts shown whole: a name in a narrow read-only box, a path in a label.
#pragma once

#include <QString>

class QLabel;
class QLineEdit;

namespace q2 {

// Sets the box's text from its start, in a smaller font where the box's
// own is too wide for it (down to 6 points); the whole text is then its
// tool tip too.
void ShowWhole(QLineEdit* box, const QString& text);

// The label's text elided in the middle to its width, the whole text as
// its tool tip when it was cut.
void ElideToWidth(QLabel* label, const QString& text);

}  // namespace q2
