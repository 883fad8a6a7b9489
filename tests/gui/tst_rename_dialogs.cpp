// The rename-format dialog and the format-history dialog, driven through
// their widgets, with what they keep in the settings file.

#include "gui/kit/ControlIds.h"
#include "gui/kit/QtText.h"
#include "gui/qt_support.h"
#include "core/rename/format_history.h"
#include "core/rename/rename_run.h"
#include "gui/CFormatHistoryDlg.h"
#include "gui/CRenameFormatDlg.h"

using namespace q2;
using namespace q2test;
using Stored = std::optional<std::string>;

class TestRenameDialogs : public QObject {
  Q_OBJECT

  Settings settings_;
  Seam seam_;
  std::unique_ptr<CRenameFormatDlg> dlg_;

  void open() {
    dlg_ = std::make_unique<CRenameFormatDlg>();
    dlg_->setPreviewClock([] { return LocalTime{2005, 2, 5, 7, 8, 9}; });
    dlg_->open();
  }
  QLineEdit* edit() { return Id<QLineEdit>(dlg_.get(), 1110); }
  QString sample() { return Id<QLabel>(dlg_.get(), 1109)->text(); }
  void press(int id) { Press(dlg_.get(), id); }
  void put(int n, const std::string& v) { IniWriteString(settings_.ini, kSectionFile, FormatHistoryKey(n), v); }
  Stored lastFormat() { return settings_.raw(kSectionFile, kKeyLastFormat); }
  // The history as stored, empty keys left out.
  std::vector<std::string> history() {
    std::vector<std::string> out;
    for (int n = 1; n <= kFormatHistorySlots; ++n)
      if (std::string v = IniReadString(settings_.ini, kSectionFile, FormatHistoryKey(n)); !v.empty()) out.push_back(v);
    return out;
  }

 private slots:
  void init() {
    settings_.clear();
    seam_.shown.clear();
    seam_.answers.clear();
  }

  void opensAndInsertsTokens() {
    open();
    auto* dates = Id<QComboBox>(dlg_.get(), 1106);
    auto* game = Id<QComboBox>(dlg_.get(), 1107);
    const QString opened = QStringLiteral("記録者名：2005年02月05日：ﾁｰﾑA vs ﾁｰﾑB.mgx");
    QCOMPARE(edit()->text(), QStringLiteral("[REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));
    QCOMPARE(sample(), opened);
    QCOMPARE(Rows(dates->model()) + Rows(game->model()), (QStringList{"year (年)", "month (月)", "day (日)", "hour (時)",
                                                                        "min (分)", "sec (秒)", "ALL", "REC_PLAYER",
                                                                        "チーム別", "味方", "GAME_TIME", "MAP", "MATCHUP",
                                                                        "REC_CIV", "WINNER"}));
    QVERIFY(dates->currentIndex() == -1 && game->currentIndex() == -1 && (dates->currentText() + game->currentText()).isEmpty());

    // The caret at the start, nothing selected, even once the window is
    // active: the first insertion goes in before the format, not over it.
    QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
    QVERIFY(edit()->hasFocus() && !edit()->hasSelectedText());
    dates->setCurrentIndex(4);  // "min (分)"
    press(id::kDateInsert);
    QCOMPARE(edit()->text(), QStringLiteral("[MIN][REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));

    // Typing into a list completes nothing.
    for (auto [list, typed] : {std::pair{dates, "mi"}, std::pair{game, "RE"}}) {
      list->setEditText(QString());
      list->setFocus();
      QTest::keyClicks(list->lineEdit(), typed);
      QCOMPARE(list->currentText(), QString(typed));
    }

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
    edit()->setText("ab");
    for (const auto& step : steps) {
      const qsizetype before = edit()->text().size();
      edit()->setFocus();
      edit()->setCursorPosition(step.start);
      if (step.length) edit()->setSelection(step.start, step.length);
      step.list->setFocus();
      step.list->setEditText(step.text);
      press(step.list == dates ? 1010 : 1011);
      QCOMPARE(edit()->text(), step.expected);
      QCOMPARE(edit()->cursorPosition(), step.start + step.expected.size() - before + step.length);
      QVERIFY(!edit()->hasSelectedText() && !edit()->isUndoAvailable());
      QCOMPARE(dlg_->focusWidget(), edit());
    }
    // Dropping the date list down or closing it moves the focus to its insert
    // button; a choice made in the list still counts.
    dates->showPopup();
    QCOMPARE(dlg_->focusWidget(), Id(dlg_.get(), 1010));
    dates->setCurrentIndex(5);
    dates->hidePopup();
    QCOMPARE(dlg_->focusWidget(), Id(dlg_.get(), 1010));
    edit()->setCursorPosition(0);
    press(id::kDateInsert);
    QCOMPARE(edit()->text(), QStringLiteral("[SEC][ALL][HOUR]b"));
    // Insertions don't refresh the sample; one that leaves the format malformed says so.
    QCOMPARE(sample(), opened);
    QVERIFY(seam_.shown.empty());
    edit()->setText("abc[");
    edit()->setCursorPosition(0);
    dates->setCurrentIndex(0);
    press(id::kDateInsert);
    QCOMPARE(edit()->text(), QStringLiteral("[YEAR]abc["));
    QCOMPARE(seam_.tail(9), Messages{MalformedFormatMessage()});

    // A stored last format is what it opens with, the caret before it.
    IniWriteString(settings_.ini, kSectionFile, kKeyLastFormat, "[ALL]_[DAY]");
    open();
    QCOMPARE((QStringList{edit()->text(), sample()}), (QStringList{"[ALL]_[DAY]", "P1～P8_05.mgx"}));
    QCOMPARE(edit()->cursorPosition(), 0);
  }

  // "変換後イメージ確認" and OK, which refuses a malformed, an empty and a
  // too long format (the settings file could not give it back whole), then
  // asks; Cancel and Escape keep only the history.
  void previewOkAndCancel() {
    put(4, "[SEC]");
    open();
    edit()->setText("[YEAR]-[MONTH]");
    press(id::kPreview);
    QCOMPARE(sample(), QStringLiteral("2005-02.mgx"));
    edit()->setText("[YEAR");
    press(id::kPreview);
    QCOMPARE(sample(), QStringLiteral("2005-02.mgx"));  // left as it was
    const QString tooLong(130, QChar(0x5E74));          // "年", 260 bytes
    for (const QString& format : {QStringLiteral("[YEAR"), QString(), tooLong, QStringLiteral("[YEAR]abc")}) {
      edit()->setText(format);
      press(id::kOk);
      QVERIFY(dlg_->isVisible());
    }
    QCOMPARE(seam_.tail(9), (Messages{MalformedFormatMessage(), MalformedFormatMessage(), EmptyFormatMessage(),
                                     *CheckFormatLength(ToU8(tooLong)), ConfirmFormatMessage("[YEAR]abc")}));
    QVERIFY(!lastFormat() && !settings_.raw(kSectionFile, FormatHistoryKey(1)));  // "No" to the last one
    // Yes: the compiled format is the result, the history gains it at the end.
    seam_.answers = {QMessageBox::Yes};
    press(id::kOk);
    QCOMPARE(dlg_->result(), int(QDialog::Accepted));
    QCOMPARE(dlg_->tokenList(), TokenList{TokenKind::Year});
    QCOMPARE(dlg_->compiledFormat().text(), std::string("%sabc"));
    QCOMPARE(lastFormat(), Stored("[YEAR]abc"));
    QCOMPARE(history(), (std::vector<std::string>{"[SEC]", "[YEAR]abc"}));

    // Cancel and Escape write the history, sorted, but not the last format.
    for (bool escape : {false, true}) {
      put(escape ? 60 : 7, escape ? "[ALL]" : "[HOUR]");
      open();
      edit()->setText("[DAY]");
      escape ? QTest::keyClick(dlg_.get(), Qt::Key_Escape) : press(id::kCancel);
      QVERIFY(!dlg_->isVisible() && dlg_->result() == QDialog::Rejected);
      QCOMPARE(history().front(), std::string(escape ? "[ALL]" : "[HOUR]"));
      QCOMPARE(history().size(), size_t(escape ? 4 : 3));
      QCOMPARE(lastFormat(), Stored("[YEAR]abc"));
    }
  }

  void formatHistory() {
    put(2, "あ");
    put(7, "ｱ");
    put(50, "B");
    put(51, "[YEAR]");
    open();
    CFormatHistoryDlg& h = dlg_->historyDialog();
    auto* list = Id<QListWidget>(&h, 1116);
    auto buttons = [&] { return std::make_pair(Id(&h, 1)->isEnabled(), Id(&h, 1001)->isEnabled()); };
    // Each run of "履歴参照" acts once the history dialog is up.
    auto run = [&](std::function<void()> act) {
      WhenModal([act](QWidget*) { act(); });
      press(id::kHistory);
    };
    // "参照" and "削除" only with a row selected; a pick fills the format and the sample.
    run([&] {
      QCOMPARE(Rows(list->model()), (QStringList{"B", "[YEAR]", "ｱ", "あ"}));  // half-width katakana before hiragana
      QCOMPARE(buttons(), std::make_pair(false, false));
      list->setCurrentRow(2);
      QCOMPARE(buttons(), std::make_pair(true, true));
      list->clearSelection();
      QCOMPARE(buttons(), std::make_pair(false, false));
      list->setCurrentRow(1);
      Press(&h, 1);
    });
    QCOMPARE((QStringList{edit()->text(), sample()}), (QStringList{"[YEAR]", "2005.mgx"}));
    // A deletion is kept from run to run and written when the format dialog
    // closes; a cancelled run leaves the typed format as it is.
    edit()->setText("other");
    run([&] {
      QCOMPARE(buttons(), std::make_pair(false, false));
      list->setCurrentRow(0);
      Press(&h, 1001);
      QCOMPARE(Rows(list->model()), (QStringList{"[YEAR]", "ｱ", "あ"}));
      QVERIFY(list->selectedItems().isEmpty() && buttons() == std::make_pair(false, false));
      Press(&h, id::kCancel);
    });
    QCOMPARE(edit()->text(), QStringLiteral("other"));
    run([&] {
      QCOMPARE(Rows(list->model()), (QStringList{"[YEAR]", "ｱ", "あ"}));
      list->setCurrentRow(2);
      Press(&h, 1);
    });
    QCOMPARE(h.ChosenFormat(), std::string("あ"));
    QCOMPARE(history(), (std::vector<std::string>{"あ", "ｱ", "B", "[YEAR]"}));  // nothing written yet
    press(id::kCancel);
    QCOMPARE(history(), (std::vector<std::string>{"[YEAR]", "ｱ", "あ"}));
    QVERIFY(seam_.shown.empty());
  }
};

QTEST_MAIN(TestRenameDialogs)
#include "tst_rename_dialogs.moc"
