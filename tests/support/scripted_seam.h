// A seam that answers every box and picker from a script and records what
// was shown, so that tests can drive the real windows.
#pragma once

#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

#include "app/qt/UiSeam.h"

namespace q2test {

class ScriptedSeam : public q2::UiSeam {
 public:
  struct Shown {
    q2::Message message;
    bool ownerWindowVisible;
  };

  ScriptedSeam() { install(this); }
  ~ScriptedSeam() override { install(nullptr); }

  int showMessage(QWidget* owner, const q2::Message& m) override {
    shown.push_back({m, owner && owner->window()->isVisible()});
    if (onMessage) onMessage(m);
    if (!answers.empty()) {
      int a = answers.front();
      answers.pop_front();
      return a;
    }
    return 0x00000400;  // QMessageBox::Ok
  }
  std::optional<QColor> pickColor(QWidget*) override {
    ++colorPicks;
    if (colors.empty()) return std::nullopt;
    auto c = colors.front();
    colors.pop_front();
    return c;
  }
  QString pickOpenFile(QWidget*, const QString& start) override {
    openStart = start;
    if (files.empty()) return {};
    QString f = files.front();
    files.pop_front();
    return f;
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> t;
    for (const auto& s : shown) t.push_back(s.message.text);
    return t;
  }

  std::vector<Shown> shown;
  std::deque<int> answers;                   // buttons to answer, Ok when empty
  std::deque<std::optional<QColor>> colors;  // picker answers, cancel when empty
  std::deque<QString> files;                 // open-file answers, cancel when empty
  QString openStart;
  int colorPicks = 0;
  std::function<void(const q2::Message&)> onMessage;
};

}  // namespace q2test
