// The rename-format dialog and the format-history dialog, driven through
// their widgets, with what they keep in the settings file.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "app/qt/QtText.h"
#include "qt/qt_support.h"
#include "rename/core/format_history.h"
#include "rename/core/rename_run.h"
#include "rename/qt/CFormatHistoryDlg.h"
#include "rename/qt/CRenameFormatDlg.h"

using namespace q2;
using namespace q2test;
using Stored = std::optional<std::string>;

class TestRenameDialogs : public QObject {
  Q_OBJECT

  Settings settings_;
  Seam seam_;

  std::unique_ptr<CRenameFormatDlg> open() {
    auto dlg = std::make_unique<CRenameFormatDlg>();
    dlg->setPreviewClock([] { return LocalTime{2005, 2, 5, 7, 8, 9}; });
    dlg->open();
    return dlg;
  }
  void put(int n, const std::string& v) { IniWriteString(settings_.ini, kSectionFile, FormatHistoryKey(n), v); }
  Stored stored(int n) { return settings_.raw(kSectionFile, FormatHistoryKey(n)); }
  Stored lastFormat() { return settings_.raw(kSectionFile, kKeyLastFormat); }
  // RENAME_1 … RENAME_100 as stored, empty ones left out; every key is written.
  using History = std::vector<std::pair<int, std::string>>;
  History history() {
    History out;
    for (int n = 1; n <= kFormatHistorySlots; ++n)
      if (const Stored v = stored(n); !v || !v->empty())
        out.push_back({n, v ? IniReadString(settings_.ini, kSectionFile, FormatHistoryKey(n)) : "(absent)"});
    return out;
  }

 private slots:
  void init() {
    settings_.clear();
    seam_.shown.clear();
    seam_.answers.clear();
  }

  void opensAndInsertsTokens() {
    auto dlg = open();
    auto* edit = Id<QLineEdit>(dlg.get(), 1110);
    auto* dates = Id<QComboBox>(dlg.get(), 1106);
    auto* game = Id<QComboBox>(dlg.get(), 1107);
    auto sample = [&] { return Id<QLabel>(dlg.get(), 1109)->text(); };
    QCOMPARE(edit->text(), QStringLiteral("[REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));
    QCOMPARE(sample(), QStringLiteral("記録者名：2005年02月05日：ﾁｰﾑA vs ﾁｰﾑB.mgx"));
    QCOMPARE(Rows(dates->model()), (QStringList{"year (年)", "month (月)", "day (日)", "hour (時)", "min (分)", "sec (秒)"}));
    QCOMPARE(Rows(game->model()), (QStringList{"ALL", "REC_PLAYER", "チーム別", "味方", "GAME_TIME"}));
    QVERIFY(dates->currentText().isEmpty() && game->currentText().isEmpty());

    // The caret at the start, nothing selected, even once the window is
    // active: the first insertion goes in before the format, not over it.
    QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
    QVERIFY(edit->hasFocus() && !edit->hasSelectedText());
    QCOMPARE(edit->cursorPosition(), 0);
    dates->setCurrentIndex(4);  // "min (分)"
    Press(dlg.get(), 1010);
    QCOMPARE(edit->text(), QStringLiteral("[MIN][REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));

    // Typing into a list completes nothing and inserts nothing.
    dates->setEditText(QString());
    dates->setFocus();
    QTest::keyClicks(dates->lineEdit(), QStringLiteral("mi"));
    game->setFocus();
    QTest::keyClicks(game->lineEdit(), QStringLiteral("RE"));
    QCOMPARE(dates->currentText(), QStringLiteral("mi"));
    QCOMPARE(game->currentText(), QStringLiteral("RE"));
    QCOMPARE(dates->count(), 6);

    // Over the selection made before the focus moved to a list, or at the
    // caret; the list's text chosen or typed; the caret after it, the focus
    // back, no undo; an empty text removes the selection.
    const struct {
      int start, length;
      QComboBox* list;
      QString text, expected;
    } steps[] = {{1, 0, dates, "min (分)", "a[MIN]b"},
                 {1, 5, dates, "hour (時)", "a[HOUR]b"},
                 {0, 0, game, "チーム別", "[チーム別]a[HOUR]b"},
                 {0, 6, game, "ALL", "[ALL]a[HOUR]b"},
                 {5, 1, game, "", "[ALL][HOUR]b"}};
    edit->setText("ab");
    for (const auto& step : steps) {
      const qsizetype before = edit->text().size();
      edit->setFocus();
      edit->setCursorPosition(step.start);
      if (step.length) edit->setSelection(step.start, step.length);
      step.list->setFocus();
      step.list->setEditText(step.text);
      Press(dlg.get(), step.list == dates ? 1010 : 1011);
      QCOMPARE(edit->text(), step.expected);
      QCOMPARE(edit->cursorPosition(), step.start + step.expected.size() - before + step.length);
      QVERIFY(!edit->hasSelectedText() && !edit->isUndoAvailable());
      QCOMPARE(dlg->focusWidget(), edit);
    }
    // Dropping the date list down or closing it moves the focus to its insert
    // button; a choice made in the list still counts.
    dates->showPopup();
    QCOMPARE(dlg->focusWidget(), Id(dlg.get(), 1010));
    dates->setCurrentIndex(5);
    dates->hidePopup();
    QCOMPARE(dlg->focusWidget(), Id(dlg.get(), 1010));
    edit->setCursorPosition(0);
    Press(dlg.get(), 1010);
    QCOMPARE(edit->text(), QStringLiteral("[SEC][ALL][HOUR]b"));
    // Insertions don't refresh the sample; one that leaves the format malformed says so.
    QCOMPARE(sample(), QStringLiteral("記録者名：2005年02月05日：ﾁｰﾑA vs ﾁｰﾑB.mgx"));
    QVERIFY(seam_.shown.empty());
    edit->setText("abc[");
    edit->setCursorPosition(0);
    dates->setCurrentIndex(0);
    Press(dlg.get(), 1010);
    QCOMPARE(edit->text(), QStringLiteral("[YEAR]abc["));
    QCOMPARE(seam_.tail(9), Messages{MalformedFormatMessage()});

    // A stored last format is what it opens with.
    IniWriteString(settings_.ini, kSectionFile, kKeyLastFormat, "[ALL]_[DAY]");
    auto again = open();
    QCOMPARE(Id<QLineEdit>(again.get(), 1110)->text(), QStringLiteral("[ALL]_[DAY]"));
    QCOMPARE(Id<QLabel>(again.get(), 1109)->text(), QStringLiteral("P1～P8_05.mgx"));
  }

  void previewOkAndCancel() {
    put(4, "[SEC]");
    auto dlg = open();
    auto* edit = Id<QLineEdit>(dlg.get(), 1110);
    auto sample = [&] { return Id<QLabel>(dlg.get(), 1109)->text(); };
    edit->setText("[YEAR]-[MONTH]");
    Press(dlg.get(), 1001);
    QCOMPARE(sample(), QStringLiteral("2005-02.mgx"));
    edit->setText("[YEAR");
    Press(dlg.get(), 1001);
    QCOMPARE(sample(), QStringLiteral("2005-02.mgx"));  // left as it was
    // OK refuses, once each and staying open: a malformed, an empty, and a
    // too long format, which the settings file could not give back whole.
    QString tooLong(130, QChar(0x5E74));  // "年"
    for (const QString& format : {QStringLiteral("[YEAR"), QString(), tooLong}) {
      edit->setText(format);
      Press(dlg.get(), 1);
      QVERIFY(dlg->isVisible());
    }
    QCOMPARE(seam_.tail(9), (Messages{MalformedFormatMessage(), MalformedFormatMessage(), EmptyFormatMessage(),
                                     *CheckFormatLength(ToU8(tooLong))}));
    QVERIFY(!lastFormat() && !stored(1));

    // No to the confirmation: the dialog stays, nothing is written.
    edit->setText("[YEAR]abc");
    Press(dlg.get(), 1);
    QCOMPARE(seam_.tail(1), Messages{ConfirmFormatMessage("[YEAR]abc")});
    QVERIFY(dlg->isVisible());
    QVERIFY(!lastFormat() && !stored(1));
    // Yes: the compiled format is the result, the history gains it at the end.
    seam_.answers = {QMessageBox::Yes};
    Press(dlg.get(), 1);
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(dlg->tokenList(), TokenList{TokenKind::Year});
    QCOMPARE(dlg->compiledFormat().text(), std::string("%sabc"));
    QCOMPARE(lastFormat(), Stored("[YEAR]abc"));
    QCOMPARE(history(), (History{{1, "[SEC]"}, {2, "[YEAR]abc"}}));
    // A format already there is not added again.
    dlg = open();
    Id<QLineEdit>(dlg.get(), 1110)->setText("[SEC]");
    seam_.answers = {QMessageBox::Yes};
    Press(dlg.get(), 1);
    QCOMPARE(history(), (History{{1, "[SEC]"}, {2, "[YEAR]abc"}}));
    QCOMPARE(lastFormat(), Stored("[SEC]"));

    // Cancel and Escape write the history, sorted and closed up, but not the last format.
    put(7, "[HOUR]");
    put(50, "[MIN]");
    dlg = open();
    Id<QLineEdit>(dlg.get(), 1110)->setText("[DAY]");
    Press(dlg.get(), 2);
    QCOMPARE(dlg->result(), int(QDialog::Rejected));
    QCOMPARE(history(), (History{{1, "[HOUR]"}, {2, "[MIN]"}, {3, "[SEC]"}, {4, "[YEAR]abc"}}));
    QCOMPARE(lastFormat(), Stored("[SEC]"));
    put(60, "[ALL]");
    dlg = open();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(history().front(), (std::pair<int, std::string>{1, "[ALL]"}));
    QCOMPARE(history().size(), size_t(5));
  }

  void formatHistory() {
    put(2, "あ");
    put(7, "ｱ");
    put(50, "B");
    put(51, "[YEAR]");
    {
      CFormatHistoryDlg h;
      h.open();
      auto* list = Id<QListWidget>(&h, 1116);
      QCOMPARE(Rows(list->model()), (QStringList{"B", "[YEAR]", "ｱ", "あ"}));  // half-width katakana before hiragana
      QVERIFY(!Id(&h, 1)->isEnabled() && !Id(&h, 1001)->isEnabled());
      list->setCurrentRow(2);
      QVERIFY(Id(&h, 1)->isEnabled() && Id(&h, 1001)->isEnabled());
      list->clearSelection();
      QVERIFY(!Id(&h, 1)->isEnabled() && !Id(&h, 1001)->isEnabled());
      list->setCurrentRow(3);
      Press(&h, 1);
      QCOMPARE(h.result(), int(QDialog::Accepted));
      QCOMPARE(h.ChosenFormat(), std::string("あ"));
      h.open();  // cancelled: the chosen format stays
      QVERIFY(!Id(&h, 1)->isEnabled());
      list->setCurrentRow(0);
      Press(&h, 2);
      QCOMPARE(h.ChosenFormat(), std::string("あ"));
    }

    // Inside the format dialog: a pick fills the format and the sample; a
    // cancelled run applies the earlier pick again; a deletion is kept
    // from run to run and written when the format dialog closes.
    auto dlg = open();
    CFormatHistoryDlg& h = dlg->historyDialog();
    auto* list = Id<QListWidget>(&h, 1116);
    auto run = [&](std::function<void()> act) {
      QTimer::singleShot(0, act);
      Press(dlg.get(), 1058);
    };
    run([&] {
      list->setCurrentRow(1);
      Press(&h, 1);
    });
    QCOMPARE(Id<QLineEdit>(dlg.get(), 1110)->text(), QStringLiteral("[YEAR]"));
    QCOMPARE(Id<QLabel>(dlg.get(), 1109)->text(), QStringLiteral("2005.mgx"));
    Id<QLineEdit>(dlg.get(), 1110)->setText("other");
    run([&] {
      list->setCurrentRow(0);
      Press(&h, 1001);
      QCOMPARE(Rows(list->model()), (QStringList{"[YEAR]", "ｱ", "あ"}));
      QVERIFY(list->selectedItems().isEmpty() && !Id(&h, 1)->isEnabled() && !Id(&h, 1001)->isEnabled());
      Press(&h, 2);
    });
    QCOMPARE(Id<QLineEdit>(dlg.get(), 1110)->text(), QStringLiteral("[YEAR]"));
    run([&] {
      QCOMPARE(Rows(list->model()), (QStringList{"[YEAR]", "ｱ", "あ"}));
      h.reject();
    });
    QCOMPARE(stored(50), Stored("B"));  // nothing written yet
    Press(dlg.get(), 2);
    QCOMPARE(history(), (History{{1, "[YEAR]"}, {2, "ｱ"}, {3, "あ"}}));
    QVERIFY(seam_.shown.empty());
  }
};

QTEST_MAIN(TestRenameDialogs)
#include "tst_rename_dialogs.moc"
