// The rename-format dialog, driven through its real widgets.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>

#include "app/qt/DialogUnits.h"
#include "app/qt/QtText.h"
#include "app/qt/UiSeam.h"
#include "rename/core/format_history.h"
#include "rename/core/rename_run.h"
#include "rename/qt/CFormatHistoryDlg.h"
#include "rename/qt/CRenameFormatDlg.h"
#include "settings/core/ini_file.h"
#include "settings/core/settings.h"
#include "support/settings_fixture.h"
#include "support/temp_dir.h"

using namespace q2;

namespace {

class ScriptedSeam : public UiSeam {
 public:
  std::vector<Message> shown;
  std::deque<int> answers;  // for Yes/No boxes
  int showMessage(QWidget*, const Message& m) override {
    shown.push_back(m);
    if (m.buttons != MsgButtons::YesNo) return QMessageBox::Ok;
    if (answers.empty()) return QMessageBox::No;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
};

const LocalTime kFeb5{2005, 2, 5, 7, 8, 9};

}  // namespace

class TestRenameFormatDlg : public QObject {
  Q_OBJECT

 private:
  q2test::SettingsAndSeam<ScriptedSeam> fx_;
  q2test::TempDir& dir_ = fx_.dir;
  const std::string& ini_ = fx_.ini;
  ScriptedSeam& seam_ = fx_.seam;

  std::unique_ptr<CRenameFormatDlg> Open() {
    auto dlg = std::make_unique<CRenameFormatDlg>();
    dlg->setPreviewClock([] { return kFeb5; });
    dlg->open();
    return dlg;
  }
  template <class W>
  static W* Child(QWidget* dlg, int id) {
    W* w = dlg->findChild<W*>(QStringLiteral("id%1").arg(id));
    if (!w) qFatal("control %d missing", id);
    return w;
  }
  static QString Edit(QWidget* dlg) { return Child<QLineEdit>(dlg, 1110)->text(); }
  static QString Sample(QWidget* dlg) { return Child<QLabel>(dlg, 1109)->text(); }
  std::optional<std::string> Stored(const std::string& key) { return IniReadRaw(ini_, "FILE_INFO", key); }

 private slots:
  void init() {
    std::filesystem::remove(ini_);
    seam_.shown.clear();
    seam_.answers.clear();
  }

  void opensWithTheDefaultFormatAndItsSample() {
    auto dlg = Open();
    QCOMPARE(dlg->windowTitle(), QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
    const DialogUnits du(dlg->font());
    QCOMPARE(dlg->size(), QSize(du.x(243), du.y(275)));
    QCOMPARE(Child<QPushButton>(dlg.get(), 1)->geometry(), du.rect(49, 258, 50, 14));
    QCOMPARE(Child<QLineEdit>(dlg.get(), 1110)->geometry(), du.rect(13, 71, 215, 13));
    QVERIFY(Child<QPushButton>(dlg.get(), 1)->isDefault());

    QCOMPARE(Edit(dlg.get()), QStringLiteral("[REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));
    QCOMPARE(Sample(dlg.get()), QStringLiteral("記録者名：2005年02月05日：ﾁｰﾑA vs ﾁｰﾑB.mgx"));
    QCOMPARE(dlg->focusWidget(), Child<QLineEdit>(dlg.get(), 1110));
    auto* dates = Child<QComboBox>(dlg.get(), 1106);
    auto* game = Child<QComboBox>(dlg.get(), 1107);
    QStringList dateItems, gameItems;
    for (int i = 0; i < dates->count(); ++i) dateItems << dates->itemText(i);
    for (int i = 0; i < game->count(); ++i) gameItems << game->itemText(i);
    QCOMPARE(dateItems, (QStringList{"year (年)", "month (月)", "day (日)", "hour (時)", "min (分)", "sec (秒)"}));
    QCOMPARE(gameItems, (QStringList{"ALL", "REC_PLAYER", "チーム別", "味方", "GAME_TIME"}));
    QVERIFY(dates->currentText().isEmpty());
    QVERIFY(game->currentText().isEmpty());
    QVERIFY(seam_.shown.empty());

    // The caret at the start, nothing selected, even once the window is
    // active: the first insertion goes in before the format, not over it.
    auto* edit = Child<QLineEdit>(dlg.get(), 1110);
    QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
    QVERIFY(edit->hasFocus());
    QVERIFY(!edit->hasSelectedText());
    QCOMPARE(edit->cursorPosition(), 0);
    dates->setCurrentIndex(4);  // "min (分)"
    Child<QPushButton>(dlg.get(), 1010)->click();
    QCOMPARE(Edit(dlg.get()), QStringLiteral("[MIN][REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));

    // Typing into a list completes nothing and inserts nothing.
    dates->setEditText(QString());
    dates->setFocus();
    QTest::keyClicks(dates->lineEdit(), QStringLiteral("mi"));
    game->setFocus();
    QTest::keyClicks(game->lineEdit(), QStringLiteral("RE"));
    QCOMPARE(dates->currentText(), QStringLiteral("mi"));
    QCOMPARE(game->currentText(), QStringLiteral("RE"));
    QCOMPARE(dates->count(), 6);
    QCOMPARE(Edit(dlg.get()), QStringLiteral("[MIN][REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));

    // A stored last format is what it opens with.
    IniWriteString(ini_, "FILE_INFO", "LAST_FORMAT", "[ALL]_[DAY]");
    auto again = Open();
    QCOMPARE(Edit(again.get()), QStringLiteral("[ALL]_[DAY]"));
    QCOMPARE(Sample(again.get()), QStringLiteral("P1～P8_05.mgx"));
  }

  void insertsAtTheCaretOrOverTheSelection() {
    auto dlg = Open();
    auto* edit = Child<QLineEdit>(dlg.get(), 1110);
    auto* dates = Child<QComboBox>(dlg.get(), 1106);
    auto* game = Child<QComboBox>(dlg.get(), 1107);

    edit->setText("ab");
    edit->setCursorPosition(1);
    dates->setCurrentIndex(4);  // "min (分)"
    Child<QPushButton>(dlg.get(), 1010)->click();
    QCOMPARE(edit->text(), QStringLiteral("a[MIN]b"));
    QCOMPARE(edit->cursorPosition(), 6);
    QVERIFY(!edit->hasSelectedText());
    QCOMPARE(dlg->focusWidget(), edit);
    QVERIFY(!edit->isUndoAvailable());

    // Typed text counts too, and replaces the selection.
    edit->setSelection(1, 5);
    dates->setEditText(QStringLiteral("hour (時)"));
    Child<QPushButton>(dlg.get(), 1010)->click();
    QCOMPARE(edit->text(), QStringLiteral("a[HOUR]b"));

    game->setCurrentIndex(2);
    edit->setCursorPosition(0);
    Child<QPushButton>(dlg.get(), 1011)->click();
    QCOMPARE(edit->text(), QStringLiteral("[チーム別]a[HOUR]b"));

    // The selection made before the focus moved to a list is the one replaced.
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
    edit->setFocus();
    edit->setSelection(0, 6);
    game->setFocus();
    QVERIFY(!edit->hasFocus());
    game->setCurrentIndex(0);
    Child<QPushButton>(dlg.get(), 1011)->click();
    QCOMPARE(edit->text(), QStringLiteral("[ALL]a[HOUR]b"));

    // Dropping the date list down or closing it moves the focus to its
    // insert button; a choice made in the list still counts.
    dates->showPopup();
    QCOMPARE(dlg->focusWidget(), Child<QPushButton>(dlg.get(), 1010));
    QVERIFY(dates->view()->isVisible());
    dates->setCurrentIndex(5);
    dates->hidePopup();
    QCOMPARE(dlg->focusWidget(), Child<QPushButton>(dlg.get(), 1010));
    edit->setCursorPosition(0);
    Child<QPushButton>(dlg.get(), 1010)->click();
    QCOMPARE(edit->text(), QStringLiteral("[SEC][ALL]a[HOUR]b"));
    edit->setText(QStringLiteral("[ALL]a[HOUR]b"));

    // An empty list text removes the selection.
    game->setEditText(QString());
    edit->setSelection(5, 1);
    Child<QPushButton>(dlg.get(), 1011)->click();
    QCOMPARE(edit->text(), QStringLiteral("[ALL][HOUR]b"));

    // The sample line is not refreshed by an insertion.
    QCOMPARE(Sample(dlg.get()), QStringLiteral("記録者名：2005年02月05日：ﾁｰﾑA vs ﾁｰﾑB.mgx"));
    QVERIFY(seam_.shown.empty());

    // An insertion that leaves the format malformed says so.
    edit->setText("abc[");
    edit->setCursorPosition(0);
    dates->setCurrentIndex(0);
    Child<QPushButton>(dlg.get(), 1010)->click();
    QCOMPARE(edit->text(), QStringLiteral("[YEAR]abc["));
    QCOMPARE(seam_.shown.size(), size_t(1));
    QCOMPARE(seam_.shown[0], (Message{"変換書式をが不正だよ(´；ω；`)", "変換処理ｴﾗｰ", MsgIcon::Exclamation}));
  }

  void previewAndMalformedFormats() {
    auto dlg = Open();
    auto* edit = Child<QLineEdit>(dlg.get(), 1110);
    edit->setText("[YEAR]-[MONTH]");
    Child<QPushButton>(dlg.get(), 1001)->click();
    QCOMPARE(Sample(dlg.get()), QStringLiteral("2005-02.mgx"));

    edit->setText("[YEAR");
    Child<QPushButton>(dlg.get(), 1001)->click();
    QCOMPARE(seam_.shown.size(), size_t(1));
    QCOMPARE(seam_.shown[0].text, std::string(kMsgMalformedFormat));
    QCOMPARE(Sample(dlg.get()), QStringLiteral("2005-02.mgx"));  // left as it was

    // OK with a malformed format: one message, the dialog stays.
    seam_.shown.clear();
    Child<QPushButton>(dlg.get(), 1)->click();
    QCOMPARE(seam_.shown.size(), size_t(1));
    QCOMPARE(seam_.shown[0].text, std::string(kMsgMalformedFormat));
    QVERIFY(dlg->isVisible());

    // OK with an empty format.
    seam_.shown.clear();
    edit->clear();
    Child<QPushButton>(dlg.get(), 1)->click();
    QCOMPARE(seam_.shown.size(), size_t(1));
    QCOMPARE(seam_.shown[0], (Message{"変換書式を入力してよ(´；ω；`)", "変換処理ｴﾗｰ", MsgIcon::Exclamation}));
    QVERIFY(dlg->isVisible());

    // OK with a format longer than the settings file holds: refused, and
    // nothing is stored.
    seam_.shown.clear();
    QString tooLong;
    for (int i = 0; i < 130; ++i) tooLong += QStringLiteral("年");
    edit->setText(tooLong);
    Child<QPushButton>(dlg.get(), 1)->click();
    QCOMPARE(seam_.shown.size(), size_t(1));
    QCOMPARE(seam_.shown[0], *CheckFormatLength(ToU8(tooLong)));
    QVERIFY(dlg->isVisible());
    QVERIFY(!std::filesystem::exists(ini_));
  }

  void confirmationNoThenYes() {
    IniWriteString(ini_, "FILE_INFO", "RENAME_4", "[SEC]");
    auto dlg = Open();
    Child<QLineEdit>(dlg.get(), 1110)->setText("[YEAR]abc");
    seam_.answers = {QMessageBox::No};
    Child<QPushButton>(dlg.get(), 1)->click();
    QCOMPARE(seam_.shown.size(), size_t(1));
    QCOMPARE(seam_.shown[0], (Message{" [YEAR]abc\n\nの書式でReplayﾌｧｲﾙ名を変換してよろしいですか？", "ﾌｧｲﾙ名一括変換処理",
                                      MsgIcon::Information, MsgButtons::YesNo}));
    QVERIFY(dlg->isVisible());
    QCOMPARE(Edit(dlg.get()), QStringLiteral("[YEAR]abc"));
    QVERIFY(!Stored("LAST_FORMAT"));
    QVERIFY(!Stored("RENAME_1"));

    seam_.answers = {QMessageBox::Yes};
    Child<QPushButton>(dlg.get(), 1)->click();
    QVERIFY(!dlg->isVisible());
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(dlg->tokenList(), (TokenList{TokenKind::Year}));
    QCOMPARE(dlg->compiledFormat().text(), std::string("%sabc"));
    QCOMPARE(Stored("LAST_FORMAT"), std::optional<std::string>("[YEAR]abc"));
    QCOMPARE(Stored("RENAME_1"), std::optional<std::string>("[SEC]"));
    QCOMPARE(Stored("RENAME_2"), std::optional<std::string>("[YEAR]abc"));
    for (int n = 3; n <= 100; ++n) QCOMPARE(Stored("RENAME_" + std::to_string(n)), std::optional<std::string>(""));

    // Confirming a format already in the history adds nothing.
    auto again = Open();
    Child<QLineEdit>(again.get(), 1110)->setText("[SEC]");
    seam_.answers = {QMessageBox::Yes};
    Child<QPushButton>(again.get(), 1)->click();
    QCOMPARE(Stored("RENAME_1"), std::optional<std::string>("[SEC]"));
    QCOMPARE(Stored("RENAME_2"), std::optional<std::string>("[YEAR]abc"));
    QCOMPARE(Stored("RENAME_3"), std::optional<std::string>(""));
    QCOMPARE(Stored("LAST_FORMAT"), std::optional<std::string>("[SEC]"));
  }

  void cancelWritesTheHistoryButNotTheLastFormat() {
    IniWriteString(ini_, "FILE_INFO", "RENAME_2", "[MIN]");
    IniWriteString(ini_, "FILE_INFO", "RENAME_7", "[HOUR]");
    {
      auto dlg = Open();
      Child<QLineEdit>(dlg.get(), 1110)->setText("[DAY]");
      Child<QPushButton>(dlg.get(), 2)->click();
      QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }
    QCOMPARE(Stored("RENAME_1"), std::optional<std::string>("[HOUR]"));
    QCOMPARE(Stored("RENAME_2"), std::optional<std::string>("[MIN]"));
    QCOMPARE(Stored("RENAME_7"), std::optional<std::string>(""));
    QCOMPARE(Stored("RENAME_100"), std::optional<std::string>(""));
    QVERIFY(!Stored("LAST_FORMAT"));

    // Escape cancels the same way.
    IniWriteString(ini_, "FILE_INFO", "RENAME_50", "[SEC]");
    auto dlg = Open();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(Stored("RENAME_3"), std::optional<std::string>("[SEC]"));
    QCOMPARE(Stored("RENAME_50"), std::optional<std::string>(""));
    QVERIFY(seam_.shown.empty());
  }

  void historyPickFillsTheFormat() {
    IniWriteString(ini_, "FILE_INFO", "RENAME_3", "[DAY]");
    IniWriteString(ini_, "FILE_INFO", "RENAME_9", "[ALL]");
    auto dlg = Open();
    auto pick = [&](int row) {
      QTimer::singleShot(0, [&, row] {
        auto* h = &dlg->historyDialog();
        QVERIFY(h->isVisible());
        auto* list = h->findChild<QListWidget*>("id1116");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("[ALL]"));
        if (row >= 0) {
          list->setCurrentRow(row);
          h->findChild<QPushButton*>("id1")->click();
        } else {
          h->findChild<QPushButton*>("id2")->click();
        }
      });
      Child<QPushButton>(dlg.get(), 1058)->click();
    };
    pick(0);
    QCOMPARE(Edit(dlg.get()), QStringLiteral("[ALL]"));
    QCOMPARE(Sample(dlg.get()), QStringLiteral("P1～P8.mgx"));

    // A cancelled run applies the earlier pick again.
    Child<QLineEdit>(dlg.get(), 1110)->setText("other");
    pick(-1);
    QCOMPARE(Edit(dlg.get()), QStringLiteral("[ALL]"));
  }
};

QTEST_MAIN(TestRenameFormatDlg)
#include "tst_rename_format_dlg.moc"
