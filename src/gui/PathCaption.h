// The folder list's caption as a box to type a path in: it lies over the
// frame's title and reads as the title (a long path elided in the middle,
// the whole path as its tool tip); clicked, or with Ctrl+L, it holds the
// whole path to edit, and Enter goes there.
#pragma once

#include <QLineEdit>
#include <functional>

class QGroupBox;

namespace q2 {

class PathCaption : public QLineEdit {
  Q_OBJECT

 public:
  // Lies over the title of `box`, a sibling of it.
  explicit PathCaption(QGroupBox* box);

  // The caption the list gives the folder, and the folder's whole path, as
  // the user reads them.
  void setFolder(const QString& caption, const QString& path);
  const QString& caption() const { return caption_; }

  std::function<void(const QString&)> onGo;  // Enter
  std::function<void()> onLeave;            // Escape

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  // The title shown, and this box over it (or, while editing, over the
  // frame's whole width).
  void place();

  QGroupBox* box_;
  QString caption_, path_;
};

}  // namespace q2
