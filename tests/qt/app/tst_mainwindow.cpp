// Drives the real main window: start-up, the folder list, navigation, and
// opening recordings.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <utime.h>

#include "platform/text.h"
#include "replay/core/game_clock.h"
#include "app/qt/CMainFrame.h"
#include "app/qt/CQuoril2App.h"
#include "app/qt/Icons.h"
#include "cli/recording_generator.h"
#include "rename/core/rename_run.h"
#include "settings/core/ini_file.h"
#include "settings/core/settings.h"
#include "support/scripted_seam.h"
#include "support/temp_dir.h"
#include "view/qt/CQuoril2Doc.h"
#include "view/qt/CQuoril2View.h"
#include <QTimer>
#include <functional>

namespace fs = std::filesystem;
using q2test::ScriptedSeam;

namespace {

void Touch(const std::string& path, size_t bytes = 0) {
  std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

void SetTime(const std::string& path, int y, int mo, int d, int h, int mi) {
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_isdst = -1;
  utimbuf t{std::mktime(&tm), std::mktime(&tm)};
  utime(path.c_str(), &t);
}

std::string WriteGame(const std::string& path, const std::vector<std::string>& names, const std::vector<int>& teams,
                      int recorder) {
  q2::gen::GameParams s = q2::gen::TypicalGame(names, teams, recorder, 5, 60000, 20000);
  q2::gen::WriteFile(path, q2::gen::BuildRecording(s));
  return path;
}

QStringList Column(QTreeWidget* list, int col) {
  QStringList out;
  for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(col);
  return out;
}

QTreeWidgetItem* Item(QTreeWidget* list, const QString& name) {
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->text(0) == name) return list->topLevelItem(i);
  return nullptr;
}

QImage IconImage(const QIcon& i) { return i.pixmap(16, 16).toImage(); }

// Kana or kanji in the text ("OK" stays "OK" on Japanese Windows too).
bool Japanese(const QString& text) {
  if (text == QStringLiteral("OK")) return true;
  for (QChar c : text)
    if (c.unicode() >= 0x3000) return true;
  return false;
}

// The texts of the modal dialog that `open` runs, which is then cancelled.
QStringList DialogTexts(const std::function<void()>& open) {
  QStringList texts;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dlg) return;
    texts << dlg->windowTitle();
    for (auto* b : dlg->findChildren<QAbstractButton*>())
      if (b->isVisible() && !b->text().isEmpty()) texts << b->text();
    dlg->reject();
  });
  open();
  return texts;
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<q2test::TempDir> root_;
  std::string desktop_, home_, ini_;
  q2::CQuoril2Doc doc_;
  std::unique_ptr<q2::CMainFrame> frame_;

  q2::CQuoril2View* view() { return frame_->view(); }
  QTreeWidget* list() { return view()->fileList(); }
  template <typename T>
  T* control(int id) {
    return view()->findChild<T*>(QStringLiteral("id%1").arg(id));
  }
  void start(const std::string& arg = {}) {
    doc_ = q2::CQuoril2Doc();
    frame_ = q2::CQuoril2App::CreateMainWindow(&doc_, arg);
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void startIn(const std::string& folder, const std::string& arg = {}) {
    q2::IniWriteString(ini_, "FILE_INFO", "SAVEGAME_DIR", folder);
    start(arg);
  }
  void click(const QString& name) {
    QTreeWidgetItem* it = Item(list(), name);
    QVERIFY2(it, qPrintable(name));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(it).center());
  }
  void doubleClick(const QString& name) {
    QTreeWidgetItem* it = Item(list(), name);
    QVERIFY2(it, qPrintable(name));
    doubleClickAt(list()->visualItemRect(it).center());
  }
  // What a real double click delivers: press, release, press with the
  // double click, release.
  void doubleClickAt(QPoint p) {
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, p);
  }
  std::string dir(const std::string& name) {
    std::string p = root_->path() + "/" + name;
    fs::create_directories(p);
    return p;
  }
  // Acts on the modal dialog that the next call opens, once it is up.
  void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
      QWidget* w = QApplication::activeModalWidget();
      QVERIFY(w);
      act(w);
    });
  }
  static void press(QWidget* dlg, int id) {
    auto* b = dlg->findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
    QVERIFY2(b, qPrintable(QString::number(id)));
    b->click();
  }
  std::pair<bool, bool> buttons() { return {control<QPushButton>(1055)->isEnabled(), control<QPushButton>(1056)->isEnabled()}; }
  QString name(int slot) {
    static const int ids[] = {1004, 1005, 1006, 1007, 1008, 1009, 1011, 1012};
    return control<QLineEdit>(ids[slot - 1])->text();
  }

 private slots:
  void initTestCase() {
    root_ = std::make_unique<q2test::TempDir>();
    desktop_ = dir("Desktop");
    home_ = dir("home");
    Touch(desktop_ + "/on-desktop.mgx", 10);
    q2::CQuoril2View::OverrideDesktop(desktop_, home_);
    ini_ = root_->path() + "/Quoran.ini";
    q2::OverrideSettingsPath(ini_);
  }

  void cleanup() {
    frame_.reset();
    fs::remove(ini_);
  }

  void firstStartWithoutSettings() {
    ScriptedSeam seam;
    start();
    // The warning, then the missing-folder message, both before the window shows.
    QCOMPARE(seam.shown.size(), size_t(2));
    QCOMPARE(seam.shown[0].message.caption, std::string("iniﾌｧｲﾙ読み込みｴﾗｰ"));
    QCOMPARE(seam.shown[0].message.text,
             std::string("SaveGameのﾃﾞｨﾚｸﾄﾘﾊﾟｽの読み込みに失敗しました\nﾃﾞﾌｫﾙﾄのﾃﾞｨﾚｸﾄﾘﾊﾟｽ設定を使用します。"));
    QCOMPARE(seam.shown[0].message.icon, q2::MsgIcon::Exclamation);
    QCOMPARE(seam.shown[1].message.caption, std::string("ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ"));
    QCOMPARE(seam.shown[1].message.text, std::string("指定のﾃﾞｨﾚｸﾄﾘが見つかりません\n参照ﾃﾞｨﾚｸﾄﾘをﾃﾞｽｸﾄｯﾌﾟに設定します。"));
    QVERIFY(!seam.shown[0].ownerWindowVisible && !seam.shown[1].ownerWindowVisible);

    QCOMPARE(QString::fromStdString(view()->CurrentFolder()), QString::fromStdString(desktop_));
    QCOMPARE(q2::StartupFolder(), desktop_);
    QCOMPARE(Column(list(), 0), QStringList{"on-desktop.mgx"});
    QCOMPARE(view()->navigator().history(), std::vector<std::string>{q2::kDefaultSaveGameDir});
    QCOMPARE(buttons(), std::make_pair(false, false));
    QCOMPARE(frame_->pos(), QPoint(10, 100));
    QCOMPARE(frame_->size(), QSize(863, 514));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("くおらん Ver 1.005"));

    frame_.reset();
    const int expected[] = {16711680, 255, 32768, 5898239, 16776960, 16711935, 6579300, 18653};
    for (int n = 1; n <= 8; ++n) QCOMPARE(q2::IniReadInt(ini_, "PLAYER_INFO", q2::PlayerColorKey(n), -1), expected[n - 1]);
    QCOMPARE(q2::IniReadString(ini_, "FILE_INFO", "SAVEGAME_DIR"), desktop_);
  }

  void listsFolderContents() {
    const std::string f = dir("listing");
    Touch(f + "/b.mgx", 1263616);
    Touch(f + "/A.mgx", 1023);
    fs::create_directories(f + "/c");
    fs::create_directories(f + "/old.mgx");
    for (const char* n : {"notes.txt", "game.mgx.bak", "GAME.MGX", ".hidden.mgx", ".mgx"}) Touch(f + "/" + n);
    SetTime(f + "/A.mgx", 2005, 3, 26, 2, 23);
    ScriptedSeam seam;
    startIn(f);
    QVERIFY(seam.shown.empty());
    QCOMPARE(Column(list(), 0), (QStringList{"A.mgx", "b.mgx", "c", "game.mgx.bak", "old.mgx"}));
    QCOMPARE(Column(list(), 1), (QStringList{"0 KB", "1,234 KB", "0 KB", "0 KB", "0 KB"}));
    QCOMPARE(Column(list(), 2), (QStringList{"mgxﾌｧｲﾙ", "mgxﾌｧｲﾙ", "ﾃﾞｨﾚｸﾄﾘ", "mgxﾌｧｲﾙ", "mgxﾌｧｲﾙ"}));
    QCOMPARE(Item(list(), "A.mgx")->text(3), QStringLiteral("2005/03/26 02:23"));
    const QImage folder = IconImage(q2::ListIcon(false)), recording = IconImage(q2::ListIcon(true));
    QVERIFY(folder != recording);
    QCOMPARE(IconImage(Item(list(), "c")->icon(0)), folder);
    QCOMPARE(IconImage(Item(list(), "old.mgx")->icon(0)), recording);
    QCOMPARE(IconImage(Item(list(), "b.mgx")->icon(0)), recording);
    QCOMPARE(control<QGroupBox>(1049)->title(), QString::fromStdString(f));
    // A subfolder typed as a recording is opened as one, and fails.
    click("old.mgx");
    QCOMPARE(seam.texts(), std::vector<std::string>{"ファイルをオープンできませんでした"});
  }

  void navigatesWithHistory() {
    const std::string a = dir("nav/a");
    dir("nav/a/b");
    ScriptedSeam seam;
    startIn(a);
    doubleClick("b");
    QCOMPARE(view()->CurrentFolder(), a + "/b");
    QCOMPARE(buttons(), std::make_pair(true, false));
    QTest::mouseClick(control<QPushButton>(1055), Qt::LeftButton);
    QCOMPARE(view()->CurrentFolder(), a);
    QCOMPARE(buttons(), std::make_pair(false, true));
    QTest::mouseClick(control<QPushButton>(1054), Qt::LeftButton);  // parent drops b
    const std::string nav = root_->path() + "/nav";
    QCOMPARE(view()->CurrentFolder(), nav);
    QCOMPARE(view()->navigator().history(), (std::vector<std::string>{a, nav}));
    QCOMPARE(buttons(), std::make_pair(true, false));
    view()->OnForward();  // already the last: stays
    QCOMPARE(view()->CurrentFolder(), nav);
    QTest::mouseClick(control<QPushButton>(1060), Qt::LeftButton);
    QCOMPARE(view()->CurrentFolder(), desktop_);
    QCOMPARE(view()->navigator().history().size(), size_t(3));
    view()->OnBack();
    view()->OnBack();
    QCOMPARE(view()->CurrentFolder(), a);
    QCOMPARE(buttons(), std::make_pair(false, true));
    view()->OnForward();
    QCOMPARE(view()->CurrentFolder(), nav);
    QCOMPARE(buttons(), std::make_pair(true, true));
    // A double click with nothing selected lists the same folder again.
    list()->clearSelection();
    doubleClickAt(QPoint(5, list()->viewport()->height() - 3));
    QCOMPARE(view()->CurrentFolder(), nav + "/");
    QCOMPARE(control<QGroupBox>(1049)->title(), QString::fromStdString(nav + "/"));
    QVERIFY(seam.shown.empty());
  }

  void opensByClickAndDoubleClick() {
    const std::string f = dir("games");
    WriteGame(f + "/two.mgx", {"太郎", "花子", "侍", "North"}, {2, 2, 3, 3}, 1);
    WriteGame(f + "/eight.mgx", {"a1", "b2", "c3", "d4", "e5", "f6", "g7", "h8"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3);
    ScriptedSeam seam;
    startIn(f);
    click("two.mgx");
    QCOMPARE(name(1), QStringLiteral("太郎"));
    QCOMPARE(name(4), QStringLiteral("North"));
    QCOMPARE(name(5), QString());
    QCOMPARE(control<QLineEdit>(1015)->text(), QStringLiteral("太郎"));
    QCOMPARE(control<QLineEdit>(1016)->text(), QStringLiteral("太郎 花子 "));
    QCOMPARE(control<QLineEdit>(1017)->text(), QString());
    QCOMPARE(control<QLineEdit>(1004)->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(control<QLineEdit>(1005)->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(view()->summary().view.currentReplayPath, f + "/two.mgx");

    auto chat = [&] { return control<QPlainTextEdit>(1003)->toPlainText().split('\n'); };
    QStringList pane = chat();
    QCOMPARE(pane.first(), QStringLiteral("-------ゲーム開始後チャット-------"));
    QVERIFY(pane.contains(QStringLiteral("--警告-- あなたの町の人が攻撃を受けています")));
    QVERIFY(pane.contains(QStringLiteral("太郎: gg")));
    QTest::mouseClick(control<QCheckBox>(1013), Qt::LeftButton);  // 警告無し
    pane = chat();
    QVERIFY(!pane.join('\n').contains(QStringLiteral("--警告")));
    QVERIFY(pane.contains(QStringLiteral("太郎: gg")));
    QTest::mouseClick(control<QCheckBox>(1045), Qt::LeftButton);  // 開始前チャット
    pane = chat();
    QCOMPARE(pane.first(), QStringLiteral("-------ゲーム開始前チャット-------"));
    QCOMPARE(pane.at(1), QStringLiteral("太郎: よろしくお願いします"));
    QTest::mouseClick(control<QCheckBox>(1045), Qt::LeftButton);
    QTest::mouseClick(control<QCheckBox>(1013), Qt::LeftButton);
    QVERIFY(chat().join('\n').contains(QStringLiteral("--警告")));

    doubleClick("eight.mgx");
    QCOMPARE(name(7), QStringLiteral("g7"));
    QCOMPARE(name(8), QStringLiteral("h8"));
    QCOMPARE(control<QLineEdit>(1015)->text(), QStringLiteral("c3"));
    QCOMPARE(control<QLineEdit>(1016)->text(), QStringLiteral("a1 c3 e5 g7 "));
    QCOMPARE(control<QLineEdit>(1017)->text(), QStringLiteral("b2 d4 f6 h8 "));
    QVERIFY(seam.shown.empty());
    for (auto& e : fs::directory_iterator(f)) QVERIFY2(e.path().extension() != ".dat", e.path().c_str());
  }

  void gameTimeInThePanelAndChat() {
    const std::string f = dir("clock");
    q2::gen::GameParams params = q2::gen::TypicalGame({"太郎", "花子"}, {1, 1}, 1, 6, 300000, 20000);
    q2::gen::Placed placed;
    q2::gen::WriteFile(f + "/g.mgx", q2::gen::BuildRecording(params, &placed));
    ScriptedSeam seam;
    startIn(f);
    click("g.mgx");
    auto* length = control<QCheckBox>(1086);
    auto* times = control<QCheckBox>(1046);
    auto* lengthText = control<QLabel>(1087);
    auto chat = [&] { return control<QPlainTextEdit>(1003)->toPlainText().split('\n'); };
    // Off at first: the panel as it always looked.
    QVERIFY(!length->isChecked() && !times->isChecked());
    QCOMPARE(lengthText->text(), QString());
    QCOMPARE(chat().at(1), QStringLiteral("太郎: 11"));
    frame_.reset();
    QCOMPARE(q2::IniReadInt(ini_, "VIEW_INFO", "SHOW_GAME_TIME", -1), -1);  // nothing new written

    start();
    click("g.mgx");
    QTest::mouseClick(control<QCheckBox>(1086), Qt::LeftButton);
    QCOMPARE(control<QLabel>(1087)->text(), QString::fromStdString(q2::ClockText(placed.durationMs)));
    QTest::mouseClick(control<QCheckBox>(1046), Qt::LeftButton);
    // Each in-game line behind its game time, in body order.
    std::vector<std::pair<size_t, uint64_t>> when;
    for (size_t i = 0; i < params.chat.size(); ++i) when.push_back({placed.chatPos[i], placed.chatMs[i]});
    std::sort(when.begin(), when.end());
    auto stamp = [](uint64_t ms) {
      return QStringLiteral("[%1:%2] ").arg(ms / 60000, 2, 10, QLatin1Char('0')).arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'));
    };
    QCOMPARE(chat().at(1), stamp(when[0].second) + QStringLiteral("太郎: 11"));
    QTest::mouseClick(control<QCheckBox>(1013), Qt::LeftButton);  // 警告無し: still timed
    for (const QString& line : chat().mid(1, chat().size() - 2)) QVERIFY2(line.startsWith('['), qPrintable(line));
    QTest::mouseClick(control<QCheckBox>(1045), Qt::LeftButton);  // the lobby has no game time
    QCOMPARE(chat().at(1), QStringLiteral("太郎: よろしくお願いします"));
    frame_.reset();
    QCOMPARE(q2::IniReadInt(ini_, "VIEW_INFO", "SHOW_GAME_TIME", -1), 1);
    QCOMPARE(q2::IniReadInt(ini_, "VIEW_INFO", "CHAT_TIME", -1), 1);
    start();
    QVERIFY(control<QCheckBox>(1086)->isChecked() && control<QCheckBox>(1046)->isChecked());
    QVERIFY(seam.shown.empty());
  }

  void corruptRecordingKeepsPreviousReplay() {
    const std::string f = dir("corrupt");
    WriteGame(f + "/good.mgx", {"太郎", "花子"}, {1, 1}, 2);
    q2::gen::WriteFile(f + "/zero.mgx", std::string(64, '\0'));
    ScriptedSeam seam;
    startIn(f);
    click("good.mgx");
    click("zero.mgx");
    QCOMPARE(seam.texts(), std::vector<std::string>{"解凍エラーです(ファイルが壊れています)"});
    QCOMPARE(seam.shown[0].message.caption, std::string("Quoril2"));
    QCOMPARE(name(1), QStringLiteral("太郎"));
    QCOMPARE(control<QLineEdit>(1015)->text(), QStringLiteral("花子"));
    QCOMPARE(view()->summary().view.currentReplayPath, f + "/good.mgx");
    // A double click opens twice, so the message comes twice.
    seam.shown.clear();
    doubleClick("zero.mgx");
    QCOMPARE(seam.shown.size(), size_t(2));
    QCOMPARE(std::string(64, '\0'), [&] {
      std::ifstream in(f + "/zero.mgx", std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    }());
  }

  void desktopWordInCaption() {
    const std::string f = dir("x/デスクトップ/y");
    ScriptedSeam seam;
    startIn(f);
    QCOMPARE(control<QGroupBox>(1049)->title(), QStringLiteral("デスクトップ/y"));
    QCOMPARE(view()->CurrentFolder(), f);
  }

  void startupFolderCommandAndArguments() {
    const std::string a = dir("start/a"), b = dir("start/b");
    const std::string game = WriteGame(b + "/g.mgx", {"North", "South"}, {1, 1}, 1);
    {
      ScriptedSeam seam;
      startIn(a);
      view()->NavigateTo(b);
      frame_->command(32779)->trigger();
      view()->NavigateTo(a);
      frame_.reset();
      QCOMPARE(q2::IniReadString(ini_, "FILE_INFO", "SAVEGAME_DIR"), b);
    }
    {
      ScriptedSeam seam;
      startIn(a, game);  // a recording: opened, and its folder listed
      QCOMPARE(name(1), QStringLiteral("North"));
      QCOMPARE(view()->CurrentFolder(), b);
      QCOMPARE(view()->navigator().history(), (std::vector<std::string>{a, b}));
      frame_.reset();
    }
    {
      ScriptedSeam seam;
      startIn(a, root_->path() + "/start/missing");
      QCOMPARE(seam.texts().size(), size_t(1));
      QCOMPARE(seam.shown[0].message.caption, std::string("ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ"));
      QCOMPARE(view()->CurrentFolder(), desktop_);
    }
    {
      // A folder whose path the settings file can't hold whole is refused
      // with a message, not stored cut.
      const std::string deep = dir("start/" + std::string(150, 'd') + "/" + std::string(120, 'e'));
      ScriptedSeam seam;
      startIn(b);
      view()->NavigateTo(deep);
      frame_->command(32779)->trigger();
      QCOMPARE(seam.shown.size(), size_t(1));
      QCOMPARE(seam.shown[0].message, *q2::CheckStartupFolder(deep));
      frame_.reset();
      QCOMPARE(q2::IniReadString(ini_, "FILE_INFO", "SAVEGAME_DIR"), b);
    }
  }

  void openFileDialog() {
    const std::string a = dir("dlg/a"), b = dir("dlg/b");
    const std::string game = WriteGame(b + "/g.mgx", {"太郎"}, {1}, 1);
    {
      // The real dialog: its filters, "*.mgx" as the name, the folder
      // shown; a name with wildcards filters the list instead of opening.
      QStringList filters;
      QString name, folder;
      bool stayedOpen = false;
      QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        filters = dlg->nameFilters();
        name = dlg->findChild<QLineEdit*>("fileNameEdit")->text();
        folder = dlg->directory().absolutePath();
        QMetaObject::invokeMethod(dlg, "accept");
        stayedOpen = dlg->isVisible();
        dlg->reject();
      });
      QCOMPARE(q2::UiSeam().pickOpenFile(nullptr, QString::fromStdString(a)), QString());
      QCOMPARE(filters, (QStringList{"Replayﾌｧｲﾙ(*.mgx *.mgz *.mgl)", "mgxﾌｧｲﾙ(*.mgx)", "mgzﾌｧｲﾙ(*.mgz)",
                                     "mglﾌｧｲﾙ(*.mgl)"}));
      QCOMPARE(name, QStringLiteral("*.mgx"));
      QCOMPARE(folder, QString::fromStdString(a));
      QVERIFY(stayedOpen);
    }
    ScriptedSeam seam;
    startIn(a);
    view()->OnOpenFile();  // cancelled
    QCOMPARE(seam.openStart, QString::fromStdString(a));
    QCOMPARE(view()->CurrentFolder(), a);
    seam.files.push_back(QString::fromStdString(game));
    QTest::mouseClick(control<QPushButton>(1058), Qt::LeftButton);
    QCOMPARE(name(1), QStringLiteral("太郎"));
    QCOMPARE(view()->CurrentFolder(), b);
    QCOMPARE(view()->navigator().history(), (std::vector<std::string>{a, b}));
    QVERIFY(seam.shown.empty());
  }

  // Recordings unpacked from an archive made on Japanese Windows keep code
  // page 932 names: shown decoded, opened, renamed, remembered by their bytes.
  void japaneseArchiveNames() {
    const auto cp932 = [](const char* utf8) { return q2::Utf8ToCp932(utf8).value(); };
    const std::string f = dir("archive");
    const std::string folder = f + "/" + cp932("記録");
    fs::create_directories(folder);
    const std::string game = WriteGame(folder + "/" + cp932("大会.mgx"), {"太郎", "花子"}, {1, 1}, 1);
    Touch(folder + "/" + cp932("ｹﾞｰﾑ.mgx"));
    ScriptedSeam seam;
    startIn(f);
    QCOMPARE(Column(list(), 0), QStringList{"記録"});
    doubleClick("記録");
    QCOMPARE(view()->CurrentFolder(), folder);
    QCOMPARE(control<QGroupBox>(1049)->title(), QString::fromStdString(f + "/記録"));
    QCOMPARE(Column(list(), 0), (QStringList{"ｹﾞｰﾑ.mgx", "大会.mgx"}));
    click("大会.mgx");
    QCOMPARE(name(1), QStringLiteral("太郎"));
    QCOMPARE(view()->summary().view.currentReplayPath, game);
    QVERIFY(!fs::exists(folder + "/" + cp932("大会.dat")));

    // The start-up folder, by its bytes.
    frame_->command(32779)->trigger();
    frame_.reset();
    start();
    QCOMPARE(view()->CurrentFolder(), folder);
    frame_.reset();

    // On the command line (not even cleaned up), and typed as shown into
    // the open-file dialog.
    start(folder + "/../" + cp932("記録") + "/" + cp932("大会.mgx"));
    QCOMPARE(name(2), QStringLiteral("花子"));
    QCOMPARE(view()->CurrentFolder(), folder);
    q2::SetAllPlayerColors(q2::kDefaultPlayerColor);
    view()->NavigateTo(f);
    seam.files.push_back(QString::fromStdString(f + "/記録/大会.mgx"));
    view()->OnOpenFile();
    QCOMPARE(view()->summary().view.currentReplayPath, game);
    QCOMPARE(view()->CurrentFolder(), folder);

    // Renamed from the selection.
    q2::IniWriteString(ini_, "FILE_INFO", "LAST_FORMAT", "[REC_PLAYER]");
    list()->clearSelection();
    Item(list(), "大会.mgx")->setSelected(true);
    seam.answers = {0x00004000 /* Yes */};
    whenModal([](QWidget* dlg) { press(dlg, 1); });
    QTest::mouseClick(control<QPushButton>(1061), Qt::LeftButton);
    QCOMPARE(Column(list(), 0), (QStringList{"ｹﾞｰﾑ.mgx", "太郎.mgx"}));
    QVERIFY(fs::exists(folder + "/太郎.mgx"));
    QCOMPARE(seam.shown.back().message, q2::SelectedOutcomeMessages(q2::kRenameOk).back());
  }

  // Qt's own dialogs, box buttons and edit menus speak Japanese whatever
  // the locale.
  void qtTextsAreJapanese() {
    QVERIFY(q2::CQuoril2App::InstallJapanese());
    q2::UiSeam real;
    const QStringList box = DialogTexts([&] { real.showMessage(nullptr, q2::ConfirmFormatMessage("[YEAR]")); });
    const QStringList file = DialogTexts([&] { real.pickOpenFile(nullptr, QString::fromStdString(root_->path())); });
    const QStringList colour = DialogTexts([&] { real.pickColor(nullptr); });
    QCOMPARE(box.size(), 3);  // caption, Yes, No
    QVERIFY(file.size() >= 3);
    QVERIFY(colour.size() >= 4);
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList menuTexts;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) menuTexts << a->text();
    QVERIFY(menuTexts.size() >= 6);
    for (const QString& t : box + file + colour + menuTexts) QVERIFY2(Japanese(t), qPrintable(t));
  }

  void menusAndEditCommands() {
    const std::string f = dir("menus");
    WriteGame(f + "/g.mgx", {"コピー元", "味方"}, {2, 2}, 1);
    ScriptedSeam seam;
    startIn(f);
    for (int id : {57600, 57601, 57603, 57604}) QVERIFY(!frame_->command(id)->isEnabled());
    QCOMPARE(frame_->command(57601)->text(), QStringLiteral("開く(&O)...\tCtrl+O"));
    QCOMPARE(frame_->command(57634)->statusTip(), QStringLiteral("選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存"));
    QCOMPARE(frame_->command(57634)->toolTip(), QStringLiteral("ｺﾋﾟｰ"));
    QVERIFY(frame_->command(32779)->statusTip().isEmpty());
    QStringList menus;
    for (QAction* a : frame_->menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
    QVERIFY(frame_->findChild<QLabel*>("idleText")->text() == QStringLiteral("重いぜ( ` Д´)ﾉ"));

    click("g.mgx");
    QLineEdit* box = control<QLineEdit>(1004);
    box->setFocus();
    box->selectAll();
    QApplication::clipboard()->clear();
    frame_->command(57634)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("コピー元"));

    // The name, team and perspective boxes and the chat pane are read-only:
    // cut, paste and undo from the menu, the accelerators or the list's
    // pop-up menu leave them alone; copying still works.
    auto* chat = control<QPlainTextEdit>(1003);
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_Delete, Qt::ShiftModifier}, {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier}, {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Backspace, Qt::AltModifier},
        {Qt::Key_A, Qt::NoModifier}};
    auto popup = [&](const QString& item) {
      QTimer::singleShot(0, [item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* a : menu->actions())
          if (a->text().startsWith(item)) a->trigger();
        menu->close();
      });
      view()->OnListRClick(QPoint(5, 5));
    };
    for (QWidget* w : std::initializer_list<QWidget*>{box, control<QLineEdit>(1015), control<QLineEdit>(1016), chat}) {
      auto text = [w] {
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        return qobject_cast<QPlainTextEdit*>(w)->toPlainText();
      };
      // Focused, as a pop-up menu leaves the window inactive here.
      auto selectAll = [&] {
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
        else qobject_cast<QPlainTextEdit*>(w)->selectAll();
      };
      const QString before = text();
      QVERIFY(!before.isEmpty());
      QApplication::clipboard()->setText(QStringLiteral("貼り付け"));
      for (int id : {57635, 57637, 57643}) {
        selectAll();
        frame_->command(id)->trigger();
      }
      for (auto [key, mods] : keys) {
        selectAll();
        QTest::keyClick(w, Qt::Key(key), mods);
      }
      for (const char* item : {"切り取り", "貼り付け"}) {
        selectAll();
        popup(QString::fromUtf8(item));
      }
      QCOMPARE(text(), before);
      QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("貼り付け"));
      selectAll();
      popup(QStringLiteral("ｺﾋﾟｰ"));
      QCOMPARE(QApplication::clipboard()->text(), before);
    }
    frame_->command(59393)->trigger();
    QVERIFY(!frame_->statusBar()->isVisibleTo(frame_.get()));
  }

  void renameButtonsRunThroughTheDialog() {
    const std::string f = dir("rename");
    const std::string defName = q2::gen::DefaultRecordingName({2005, 3, 26, 2, 23, 10});
    WriteGame(f + "/" + defName, {"太郎", "花子"}, {1, 1}, 1);
    WriteGame(f + "/mine.mgx", {"North", "South"}, {1, 1}, 2);
    SetTime(f + "/mine.mgx", 2011, 7, 4, 12, 0);
    const QString mineDate = QStringLiteral("20110704");
    q2::IniWriteString(ini_, "FILE_INFO", "LAST_FORMAT", "[REC_PLAYER]_[YEAR][MONTH][DAY]");
    ScriptedSeam seam;
    startIn(f);
    seam.answers = {0x00004000 /* Yes */};
    whenModal([](QWidget* dlg) { press(dlg, 1); });
    QTest::mouseClick(control<QPushButton>(1059), Qt::LeftButton);
    QCOMPARE(Column(list(), 0), (QStringList{"mine.mgx", "太郎_20050326.mgx"}));
    QCOMPARE(seam.shown.back().message.caption, std::string("ﾌｧｲﾙ名一括変換処理"));

    // The selected-files rename takes only the selected row.
    list()->clearSelection();
    Item(list(), "mine.mgx")->setSelected(true);
    seam.shown.clear();
    seam.answers = {0x00004000};
    whenModal([](QWidget* dlg) { press(dlg, 1); });
    QTest::mouseClick(control<QPushButton>(1061), Qt::LeftButton);
    // Not a default name: the date comes from the file's time.
    QCOMPARE(Column(list(), 0), (QStringList{"South_" + mineDate + ".mgx", "太郎_20050326.mgx"}));
    QCOMPARE(seam.shown.back().message.caption, std::string("ﾌｧｲﾙ名選択変換処理"));
  }

  void graphAndColoursFromTheWindow() {
    const std::string f = dir("graph");
    WriteGame(f + "/g.mgx", {"太郎", "花子"}, {1, 1}, 1);
    ScriptedSeam seam;
    startIn(f);
    click("g.mgx");
    QStringList names;
    whenModal([&](QWidget* dlg) {
      for (int id : {1096, 1001})
        names << dlg->findChild<QLineEdit*>(QStringLiteral("id%1").arg(id))->text();
      press(dlg, 2);
    });
    QTest::mouseClick(control<QPushButton>(1085), Qt::LeftButton);
    QCOMPARE(names, (QStringList{"太郎", "花子"}));

    // A colour confirmed in the colour dialog shows in the name box at once.
    seam.colors = {QColor(Qt::white)};
    whenModal([](QWidget* dlg) {
      press(dlg, 1001);  // 変更 of slot 1
      press(dlg, 1);     // 設定
    });
    frame_->command(148)->trigger();
    QCOMPARE(control<QLineEdit>(1004)->palette().color(QPalette::Text), QColor(Qt::white));
    QCOMPARE(q2::PlayerColor(0), q2::ColorRef(0xFFFFFF));
    q2::SetAllPlayerColors(q2::kDefaultPlayerColor);
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
