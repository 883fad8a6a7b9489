// What the Qt tests share: a seam that answers every box and picker from a
// script, settings in a temporary file, controls found by their ids, the
// modal dialog a call opens, and generated recordings.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <functional>

#include "gui/kit/UiSeam.h"
#include "tools/recording_generator.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"

namespace q2test {

class Seam : public q2::UiSeam {
 public:
  Seam() { install(this); }
  ~Seam() override { install(nullptr); }

  // Ok to every box; a Yes/No box takes the next answer, No when none is left.
  int showMessage(QWidget* owner, const q2::Message& m) override {
    shown.push_back(m);
    ownerVisible.push_back(owner && owner->window()->isVisible());
    if (onMessage) onMessage(m);
    if (m.buttons != q2::MsgButtons::YesNo) return QMessageBox::Ok;
    return answers.empty() ? QMessageBox::No : next(answers);
  }
  std::optional<QColor> pickColor(QWidget*) override {  // cancelled when none is left
    return colors.empty() ? std::nullopt : next(colors);
  }
  QString pickOpenFile(QWidget*, const QString& start) override {
    openStart = start;
    return files.empty() ? QString() : next(files);
  }
  q2::Messages tail(size_t n) const { return q2::Messages(shown.end() - std::min(n, shown.size()), shown.end()); }
  std::vector<std::string> captions() const {
    std::vector<std::string> c;
    for (const q2::Message& m : shown) c.push_back(m.caption);
    return c;
  }

  q2::Messages shown;
  std::vector<bool> ownerVisible;
  std::deque<int> answers;
  std::deque<std::optional<QColor>> colors;
  std::deque<QString> files;
  QString openStart;
  std::function<void(const q2::Message&)> onMessage;

 private:
  template <class Q>
  static typename Q::value_type next(Q& q) {
    auto v = q.front();
    q.pop_front();
    return v;
  }
};

// The settings file in a folder of its own for the test object's life.
struct Settings {
  QTemporaryDir dir;
  std::string ini = dir.filePath("Quoran.ini").toStdString();
  Settings() { q2::OverrideSettingsPath(ini); }
  ~Settings() { q2::OverrideSettingsPath(""); }
  void clear() {
    QFile::remove(QString::fromStdString(ini));
    q2::SetAllPlayerColors(q2::kDefaultPlayerColor);
  }
  std::optional<std::string> raw(const char* section, const std::string& key) const {
    return q2::IniReadRaw(ini, section, key);
  }
};

// The control with the template's id; a missing one ends the run.
template <class T = QPushButton>
T* Id(QWidget* parent, int id) {
  T* w = parent->findChild<T*>(QStringLiteral("id%1").arg(id));
  if (!w) qFatal("control %d missing", id);
  return w;
}
inline void Press(QWidget* dlg, int id) { Id<QAbstractButton>(dlg, id)->click(); }

// Acts on the modal dialog that the next call opens, once it is up; one
// left open by a failed check is closed, so the test goes on.
inline void WhenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    QVERIFY(dlg);
    act(dlg);
    if (dlg->isVisible()) dlg->reject();
  });
}

// One column of a list, tree or combo box, top to bottom.
inline QStringList Rows(const QAbstractItemModel* m, int column = 0) {
  QStringList out;
  for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, column).data().toString();
  return out;
}

inline std::string WriteGame(const std::string& path, const std::vector<std::string>& names, const std::vector<int>& teams,
                             int recorder, uint64_t seed = 5, size_t body = 60000) {
  q2::gen::WriteFile(path, q2::gen::BuildRecording(q2::gen::TypicalGame(names, teams, recorder, seed, body, 20000)));
  return path;
}

}  // namespace q2test
