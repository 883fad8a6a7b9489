// The folder list: a click and a double click reported as the Windows list
// reports them, the keys of a file manager, and columns whose name column
// takes whatever width the list gains over the form's size.
#pragma once

#include <QTreeWidget>
#include <functional>
#include <vector>

namespace q2 {

class FileList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent);

  std::function<void()> onClick, onDoubleClick;
  // Enter on the current row; Backspace.
  std::function<void(QTreeWidgetItem*)> onEnter;
  std::function<void()> onParent;

  // The list's width at the form's own size; the widths below are at it.
  void setHomeWidth(int w) { homeWidth_ = w; }
  // Widths that show a size, a kind and a whole date and time, the name
  // taking the rest of the list.
  std::vector<int> defaultColumnWidths() const;
  // Widths at the form's size (the name column without what the list has
  // grown since); an empty or malformed one takes the defaults.
  void setColumnWidths(std::vector<int> widths);
  std::vector<int> columnWidths() const;
  // A name being edited in place.
  bool editing() const { return state() == EditingState; }

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void fitNameColumn();
  int grown() const { return homeWidth_ > 0 ? width() - homeWidth_ : 0; }

  bool afterDoubleClick_ = false;
  bool placingColumns_ = false;
  int homeWidth_ = 0;
  int nameWidth_ = 0;  // at the form's size
};

}  // namespace q2
