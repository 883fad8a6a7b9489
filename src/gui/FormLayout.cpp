#include "gui/FormLayout.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace q2 {

// The splitter: a strip of the gap between the panes that can be dragged.
class SplitHandle : public QWidget {
 public:
  SplitHandle(QWidget* parent, FormLayout* layout) : QWidget(parent), layout_(layout) {
    setObjectName(QStringLiteral("splitter"));
    setCursor(Qt::SplitHCursor);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    pressX_ = e->globalPosition().toPoint().x();
    startExtra_ = layout_->leftExtra(extraWidth());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!(e->buttons() & Qt::LeftButton)) return;
    layout_->dragTo(startExtra_ + e->globalPosition().toPoint().x() - pressX_);
  }

 private:
  int extraWidth() const { return std::max(0, parentWidget()->width() - layout_->referenceSize().width()); }
  FormLayout* layout_;
  int pressX_ = 0, startExtra_ = 0;
};

FormLayout::FormLayout(QWidget* form, int splitX, const QRect& handle) : QObject(form), form_(form), splitX_(splitX) {
  handle_ = new SplitHandle(form, this);
  handle_->setGeometry(handle);
  form->installEventFilter(this);
}

FormLayout::Placed* FormLayout::find(QWidget* w) {
  for (Placed& p : placed_)
    if (p.w == w) return &p;
  return nullptr;
}

// Controls are taken where the form put them, the first time they are seen
// (before any growth has moved them): a control added later to the form
// needs no registration.
void FormLayout::collect() {
  for (QWidget* w : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w->isWindow() || find(w)) continue;
    if (std::find(leftAlone_.begin(), leftAlone_.end(), w) != leftAlone_.end()) continue;
    Placed p;
    p.w = w;
    p.home = w->geometry();
    p.followsSplit = w == handle_;
    p.right = p.followsSplit || p.home.x() >= splitX_;
    p.growHeight = p.followsSplit;
    placed_.push_back(p);
  }
}

void FormLayout::grow(QWidget* w, bool width, bool height) {
  collect();
  if (Placed* p = find(w)) {
    p->growWidth = width;
    p->growHeight = height;
  }
}

void FormLayout::leave(QWidget* w) {
  placed_.erase(std::remove_if(placed_.begin(), placed_.end(), [w](const Placed& p) { return p.w == w; }), placed_.end());
  leftAlone_.push_back(w);
}

QSize FormLayout::referenceSize() const {
  const QSize own = form_->minimumSize();
  if (!referenceWindow_.isValid() || form_->window() == form_) return own;
  // The window's bars (menu, status) stay as they are; the form gets the rest.
  const QSize bars = form_->window()->size() - form_->size();
  return (referenceWindow_ - bars).expandedTo(own);
}

int FormLayout::leftExtra(int extra) const {
  const int left = splitX_, right = referenceSize().width() - splitX_;
  if (extra <= 0 || left + right <= 0) return 0;
  if (split_ == 0) return static_cast<int>(std::lround(double(extra) * left / (left + right)));
  const long wanted = std::lround(double(split_) * (left + right + extra) / 10000.0) - left;
  return static_cast<int>(std::clamp<long>(wanted, 0, extra));
}

void FormLayout::setSplitter(int share) {
  split_ = share > 0 && share < 10000 ? share : 0;
  apply();
}

void FormLayout::dragTo(int wanted) {
  const int extra = std::max(0, form_->width() - referenceSize().width());
  if (extra == 0) return;
  const int leftExtra = std::clamp(wanted, 0, extra);
  const int total = referenceSize().width() + extra;
  split_ = std::clamp(static_cast<int>(std::lround(10000.0 * (splitX_ + leftExtra) / total)), 1, 9999);
  apply();
}

void FormLayout::apply() {
  collect();
  const QSize ref = referenceSize();
  const int extraW = std::max(0, form_->width() - ref.width());
  const int extraH = std::max(0, form_->height() - ref.height());
  const int left = leftExtra(extraW), right = extraW - left;
  for (const Placed& p : placed_) {
    if (!p.w) continue;
    QRect r = p.home;
    if (p.right) r.translate(left, 0);
    if (p.growWidth) r.setWidth(r.width() + (p.right ? right : left));
    if (p.growHeight) r.setHeight(r.height() + extraH);
    if (p.w->geometry() != r) p.w->setGeometry(r);
  }
  if (onPlaced) onPlaced();
}

bool FormLayout::eventFilter(QObject* o, QEvent* e) {
  if (o == form_ && e->type() == QEvent::Resize) apply();
  return false;
}

}  // namespace q2
