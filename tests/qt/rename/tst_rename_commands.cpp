// The two rename buttons' commands, with a stand-in for the main view.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <filesystem>

#include "app/qt/UiSeam.h"
#include "cli/recording_generator.h"
#include "rename/core/rename_run.h"
#include "rename/qt/CRenameFormatDlg.h"
#include "rename/qt/RenameCommands.h"
#include "replay/core/header_extractor.h"
#include "settings/core/settings.h"
#include "support/temp_dir.h"

using namespace q2;
namespace fs = std::filesystem;

namespace {

// Everything the user would see, in order, with the list refreshes.
struct Log {
  std::vector<std::string> events;
};

class ScriptedSeam : public UiSeam {
 public:
  explicit ScriptedSeam(Log& log) : log_(log) {}
  std::vector<Message> shown;
  std::deque<int> answers;
  int showMessage(QWidget*, const Message& m) override {
    shown.push_back(m);
    log_.events.push_back(m.text);
    if (m.buttons != MsgButtons::YesNo) return QMessageBox::Ok;
    if (answers.empty()) return QMessageBox::No;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }

 private:
  Log& log_;
};

class FakeView : public RenameHost {
 public:
  FakeView(Log& log, std::string folder) : log_(log), folder_(std::move(folder)) {}
  QWidget window;
  std::vector<std::string> selection;
  ReplaySummary data;
  int refreshes = 0;

  QWidget* owner() override { return &window; }
  std::string currentFolder() override { return folder_; }
  std::vector<std::string> selectedNames() override { return selection; }
  ReplaySummary& summary() override { return data; }
  void refreshList() override {
    ++refreshes;
    log_.events.push_back("<refresh>");
  }

 private:
  Log& log_;
  std::string folder_;
};

std::string Game(const std::string& name, uint64_t seed) {
  return gen::BuildRecording(gen::TypicalGame({name}, {1}, 1, seed, 20000, 20000));
}

std::set<std::string> Names(const std::string& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

}  // namespace

class TestRenameCommands : public QObject {
  Q_OBJECT

 private:
  q2test::TempDir settings_;
  Log log_;
  ScriptedSeam seam_{log_};

  // Answers the format dialog once it is up: the format and OK (with Yes),
  // or Cancel when the format is empty.
  void AnswerFormatDialog(const QString& format) {
    QTimer::singleShot(0, [this, format] {
      auto* dlg = qobject_cast<CRenameFormatDlg*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      if (format.isEmpty()) {
        dlg->reject();
        return;
      }
      dlg->findChild<QLineEdit*>("id1110")->setText(format);
      seam_.answers.push_back(QMessageBox::Yes);
      dlg->findChild<QPushButton*>("id1")->click();
    });
  }

 private slots:
  void initTestCase() {
    OverrideSettingsPath(settings_ / "Quoran.ini");
    UiSeam::install(&seam_);
  }
  void cleanupTestCase() {
    UiSeam::install(nullptr);
    OverrideSettingsPath("");
  }
  void init() {
    log_.events.clear();
    seam_.shown.clear();
    seam_.answers.clear();
  }

  void bulkRenameWithProgressAndMessages() {
    q2test::TempDir dir;
    for (int i = 0; i < 25; ++i)
      gen::WriteFile(dir / gen::DefaultRecordingName({2005, 3, 1 + i, 10, 40, 55}), Game("p", i));
    gen::WriteFile(dir / "other.mgx", Game("q", 99));
    FakeView view(log_, dir.path());

    // Watches the progress dialog while the run processes events.
    QStringList labels;
    QTimer watch;
    watch.setInterval(0);
    connect(&watch, &QTimer::timeout, [&] {
      if (auto* p = view.window.findChild<QProgressDialog*>("renameProgress")) {
        if (labels.isEmpty() || labels.last() != p->labelText()) labels << p->labelText();
        QCOMPARE(p->windowModality(), Qt::WindowModal);
      }
    });
    watch.start();
    AnswerFormatDialog("[YEAR][MONTH][DAY]");
    RunBulkRename(view);
    watch.stop();

    std::set<std::string> expected{"other.mgx"};
    for (int i = 0; i < 25; ++i) expected.insert("200503" + QString::asprintf("%02d", 1 + i).toStdString() + ".mgx");
    QCOMPARE(Names(dir.path()), expected);
    QCOMPARE(view.refreshes, 1);
    QVERIFY(!labels.isEmpty());
    QVERIFY(labels.contains(QStringLiteral("25 / 25")));
    QVERIFY(view.window.findChild<QProgressDialog*>() == nullptr);
    // The confirmation, the refresh, then the outcome's two boxes.
    QCOMPARE(log_.events.size(), size_t(4));
    QCOMPARE(log_.events[1], std::string("<refresh>"));
    QCOMPARE(seam_.shown[1], (Message{kMsgBulkDone, "ﾌｧｲﾙ名一括変換処理", MsgIcon::None}));
    QCOMPARE(seam_.shown[2], (Message{kMsgBulkGentleman, "ﾌｧｲﾙ名一括変換処理", MsgIcon::Information}));
  }

  void bulkRenameShowsHeaderMessagesBeforeTheRefresh() {
    q2test::TempDir dir;
    // Two unreadable headers: one box for both.
    for (int sec : {55, 56})
      gen::WriteFile(dir / gen::DefaultRecordingName({2005, 3, 5, 10, 40, sec}), std::string("\xff\xff\x00\x00garbage", 11));
    FakeView view(log_, dir.path());
    AnswerFormatDialog("[REC_PLAYER]");
    RunBulkRename(view);
    QCOMPARE(log_.events.size(), size_t(4));
    QCOMPARE(seam_.shown[1].caption, std::string(kCaptionBulkRename));
    QVERIFY(log_.events[1].find(kMsgCorrupt) != std::string::npos);
    QCOMPARE(log_.events[2], std::string("<refresh>"));
    QCOMPARE(log_.events[3], std::string(kMsgBulkFailed));
    QCOMPARE(Names(dir.path()).size(), size_t(2));

    // A folder without default names.
    init();
    q2test::TempDir empty;
    FakeView none(log_, empty.path());
    AnswerFormatDialog("[YEAR]");
    RunBulkRename(none);
    QCOMPARE(seam_.shown.back(), (Message{kMsgBulkNoMatch, "ﾌｧｲﾙ名一括変換処理", MsgIcon::Error}));
    QCOMPARE(none.refreshes, 1);
  }

  void cancelledDialogDoesNothing() {
    q2test::TempDir dir;
    const std::string name = gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55});
    gen::WriteFile(dir / name, Game("p", 1));
    FakeView view(log_, dir.path());
    AnswerFormatDialog(QString());
    RunBulkRename(view);
    view.selection = {name};
    AnswerFormatDialog(QString());
    RunSelectedRename(view);
    QCOMPARE(view.refreshes, 0);
    QVERIFY(seam_.shown.empty());
    QCOMPARE(Names(dir.path()), std::set<std::string>{name});
  }

  void selectedRenameRenamesOnlyTheSelection() {
    q2test::TempDir dir;
    gen::WriteFile(dir / "r1.mgx", Game("One", 1));
    gen::WriteFile(dir / "r2.mgx", Game("Two", 2));
    gen::WriteFile(dir / "r3.mgx", Game("Three", 3));
    FakeView view(log_, dir.path());

    // Nothing selected: a message, and the dialog never opens.
    RunSelectedRename(view);
    QCOMPARE(seam_.shown.size(), size_t(1));
    QCOMPARE(seam_.shown[0], (Message{"Replayﾌｧｲﾙが選択されてませんよ(´・ω・`)", "ﾌｧｲﾙ名選択変換処理", MsgIcon::Error}));
    QCOMPARE(view.refreshes, 0);

    init();
    view.selection = {"r1.mgx", "r3.mgx"};
    AnswerFormatDialog("[REC_PLAYER]");
    RunSelectedRename(view);
    QCOMPARE(Names(dir.path()), (std::set<std::string>{"One.mgx", "r2.mgx", "Three.mgx"}));
    QCOMPARE(view.refreshes, 1);
    QCOMPARE(seam_.shown.size(), size_t(3));
    QCOMPARE(seam_.shown[1], (Message{kMsgSelectedDone, "ﾌｧｲﾙ名選択変換処理", MsgIcon::None}));
    QCOMPARE(seam_.shown[2], (Message{kMsgSelectedGentleman, "ﾌｧｲﾙ名選択変換処理", MsgIcon::Information}));
    QCOMPARE(std::string(view.data.doc.playerNames[0]), std::string("Three"));

    // A name that can't be given fails.
    init();
    view.selection = {"r2.mgx"};
    AnswerFormatDialog("a:[REC_PLAYER]");
    RunSelectedRename(view);
    QCOMPARE(seam_.shown.back(), (Message{kMsgSelectedFailed, "ﾌｧｲﾙ名選択変換処理", MsgIcon::Error}));
    QVERIFY(fs::exists(dir / "r2.mgx"));
  }
};

QTEST_MAIN(TestRenameCommands)
#include "tst_rename_commands.moc"
