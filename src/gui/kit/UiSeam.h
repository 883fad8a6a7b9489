// Every modal box and picker of the program goes through this seam, so that
// tests can answer them.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "core/texts/message.h"

class QWidget;

namespace q2 {

class UiSeam {
 public:
  virtual ~UiSeam() = default;
  // Shows the message modally, owned by `owner`; returns the
  // QMessageBox::StandardButton that closed it.
  virtual int showMessage(QWidget* owner, const Message& m);
  // The colour picker, opened with no preset colour; nullopt when cancelled.
  virtual std::optional<QColor> pickColor(QWidget* owner);
  // The open-file dialog for recordings; empty when cancelled.
  virtual QString pickOpenFile(QWidget* owner, const QString& startFolder);

  static UiSeam& current();
  // Installs a seam (nullptr restores the real one); the caller keeps ownership.
  static void install(UiSeam* seam);
};

int ShowMessage(QWidget* owner, const Message& m);
void ShowMessages(QWidget* owner, const Messages& ms);

}  // namespace q2
