// The format-history dialog, alone and inside the rename-format dialog.
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/qt/DialogUnits.h"
#include "app/qt/UiSeam.h"
#include "rename/qt/CFormatHistoryDlg.h"
#include "rename/qt/CRenameFormatDlg.h"
#include "settings/core/ini_file.h"
#include "settings/core/settings.h"
#include "support/settings_fixture.h"
#include "support/temp_dir.h"

using namespace q2;

namespace {
class SilentSeam : public UiSeam {
 public:
  int shown = 0;
  int showMessage(QWidget*, const Message&) override {
    ++shown;
    return QMessageBox::Ok;
  }
};

QStringList Lines(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}
}  // namespace

class TestFormatHistoryDlg : public QObject {
  Q_OBJECT

 private:
  q2test::SettingsAndSeam<SilentSeam> fx_;
  q2test::TempDir& dir_ = fx_.dir;
  const std::string& ini_ = fx_.ini;
  SilentSeam& seam_ = fx_.seam;

  void Put(int n, const std::string& v) { IniWriteString(ini_, "FILE_INFO", "RENAME_" + std::to_string(n), v); }
  std::optional<std::string> Stored(int n) { return IniReadRaw(ini_, "FILE_INFO", "RENAME_" + std::to_string(n)); }

 private slots:
  void init() { std::filesystem::remove(ini_); }

  void listsTheSortedHistoryAndEnablesButtonsOnSelection() {
    Put(2, "あ");
    Put(7, "ｱ");
    Put(50, "B");
    Put(51, "[YEAR]");
    CFormatHistoryDlg dlg;
    dlg.open();
    const DialogUnits du(dlg.font());
    QCOMPARE(dlg.size(), QSize(du.x(253), du.y(189)));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
    auto* list = dlg.findChild<QListWidget*>("id1116");
    auto* ok = dlg.findChild<QPushButton*>("id1");
    auto* del = dlg.findChild<QPushButton*>("id1001");
    auto* cancel = dlg.findChild<QPushButton*>("id2");
    QVERIFY(list && ok && del && cancel);
    QCOMPARE(list->geometry(), du.rect(7, 7, 238, 154));
    QCOMPARE(ok->text(), QStringLiteral("参照"));
    QCOMPARE(del->text(), QStringLiteral("削除"));
    QCOMPARE(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    // Shift-JIS order: half-width katakana before hiragana.
    QCOMPARE(Lines(list), (QStringList{"B", "[YEAR]", "ｱ", "あ"}));
    QVERIFY(!ok->isEnabled());
    QVERIFY(!del->isEnabled());

    list->setCurrentRow(2);
    QVERIFY(ok->isEnabled());
    QVERIFY(del->isEnabled());
    list->clearSelection();
    QVERIFY(!ok->isEnabled());

    list->setCurrentRow(3);
    ok->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.ChosenFormat(), std::string("あ"));

    // Cancelled: the chosen format stays as it was.
    dlg.open();
    QVERIFY(!ok->isEnabled());
    list->setCurrentRow(0);
    cancel->click();
    QCOMPARE(dlg.ChosenFormat(), std::string("あ"));
    QVERIFY(seam_.shown == 0);
  }

  void deleteThenCancelBothDialogsRemovesTheEntry() {
    Put(1, "[DAY]");
    Put(2, "[ALL]");
    Put(3, "[MIN]");
    {
      CRenameFormatDlg dlg;
      dlg.open();
      CFormatHistoryDlg& h = dlg.historyDialog();
      QTimer::singleShot(0, [&] {
        auto* list = h.findChild<QListWidget*>("id1116");
        QCOMPARE(Lines(list), (QStringList{"[ALL]", "[DAY]", "[MIN]"}));
        list->setCurrentRow(1);
        h.findChild<QPushButton*>("id1001")->click();
        QCOMPARE(Lines(list), (QStringList{"[ALL]", "[MIN]"}));
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(!h.findChild<QPushButton*>("id1")->isEnabled());
        QVERIFY(!h.findChild<QPushButton*>("id1001")->isEnabled());
        h.findChild<QPushButton*>("id2")->click();
      });
      dlg.findChild<QPushButton*>("id1058")->click();
      QCOMPARE(h.history().count(), 2);
      QVERIFY(h.ChosenFormat().empty());
      QCOMPARE(dlg.findChild<QLineEdit*>("id1110")->text(),
               QStringLiteral("[REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]"));

      // Opened again, it lists what is left.
      QTimer::singleShot(0, [&] {
        QCOMPARE(Lines(h.findChild<QListWidget*>("id1116")), (QStringList{"[ALL]", "[MIN]"}));
        h.reject();
      });
      dlg.findChild<QPushButton*>("id1058")->click();
      // Nothing is written until the format dialog closes.
      QCOMPARE(Stored(2), std::optional<std::string>("[ALL]"));
      dlg.findChild<QPushButton*>("id2")->click();
    }
    QCOMPARE(Stored(1), std::optional<std::string>("[ALL]"));
    QCOMPARE(Stored(2), std::optional<std::string>("[MIN]"));
    QCOMPARE(Stored(3), std::optional<std::string>(""));
    for (int n = 4; n <= 100; ++n) QCOMPARE(Stored(n), std::optional<std::string>(""));
  }
};

QTEST_MAIN(TestFormatHistoryDlg)
#include "tst_format_history_dlg.moc"
