// Choosing the display colours of the eight player slots.
#pragma once

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <array>

#include "core/settings/settings.h"

namespace q2 {

// A label whose text is written in its own colour on white, while the rest
// of the label keeps the dialog's background.
class ColorLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;
  void setTextColor(const QColor& c);
  QColor textColor() const { return textColor_; }
  // A thin black border, as a bordered Windows label has.
  void setBordered(bool on);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QColor textColor_ = Qt::black;
  bool bordered_ = false;
};

class CPlayerColorDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CPlayerColorDlg(QWidget* owner);

  const std::array<ColorRef, 8>& workingColors() const { return workingColors_; }

  void OnChangeColor(int index);  // 0-based slot
  void OnDefaultColors();
  void accept() override;  // "設定": the working colours become the table

 private:
  void ShowColors();

  std::array<ColorRef, 8> workingColors_{};
  std::array<ColorLabel*, 8> labels_{};
};

}  // namespace q2
