// A dialog-unit form that grows with its window: every control keeps the
// place the form gives it at the form's own size, and the extra room goes
// to the controls marked to grow. The form has two panes side by side with
// a splitter between them; the extra width is shared between the panes (in
// the form's proportions until the splitter is dragged), the extra height
// goes to the controls marked to grow downwards.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

class QWidget;

namespace q2 {

class FormLayout : public QObject {
  Q_OBJECT

 public:
  // `splitX` divides the panes at the form's size; `handle` is where the
  // splitter lies there (in the gap between the panes).
  FormLayout(QWidget* form, int splitX, const QRect& handle);

  // Controls that take the extra width of their pane, or the extra height.
  void grow(QWidget* w, bool width, bool height);
  // A control placed by its own code, never moved here.
  void leave(QWidget* w);
  // The window size at which the form has its own size (the window's bars
  // above and below it are taken off); before this, the form's minimum size.
  void setReferenceWindowSize(const QSize& s) { referenceWindow_ = s; }
  // The folder pane's share of both panes in 1/10000; 0 keeps the form's
  // proportions.
  int splitter() const { return split_; }
  void setSplitter(int share);
  QWidget* handle() const { return handle_; }

  // Places every control for the form's current size.
  void apply();
  // Called after every placing.
  std::function<void()> onPlaced;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  struct Placed {
    QPointer<QWidget> w;
    QRect home;  // at the form's own size
    bool right = false, growWidth = false, growHeight = false, followsSplit = false;
  };
  QSize referenceSize() const;
  // Extra width given to the left pane out of `extra`.
  int leftExtra(int extra) const;
  void dragTo(int leftExtra);
  Placed* find(QWidget* w);
  void collect();

  QWidget* form_;
  int splitX_;
  QWidget* handle_;
  QSize referenceWindow_;
  int split_ = 0;
  int dragStart_ = 0;
  std::vector<Placed> placed_;
  std::vector<QPointer<QWidget>> leftAlone_;
  friend class SplitHandle;
};

}  // namespace q2
