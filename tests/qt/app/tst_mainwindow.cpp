// The real main window, one user story per test: start-up and settings, the
// folder list and navigation, opening recordings into the panel, the
// open-file dialog, Japanese names, menus and edit commands, the rename
// buttons, and the graph and colours reached from the window.
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "app/qt/CMainFrame.h"
#include "app/qt/CQuoril2App.h"
#include "app/qt/Icons.h"
#include "platform/text.h"
#include "qt/qt_support.h"
#include "rename/core/rename_run.h"
#include "replay/core/game_clock.h"
#include "view/qt/CQuoril2Doc.h"
#include "view/qt/CQuoril2View.h"

namespace fs = std::filesystem;
using namespace q2test;
using Strings = std::vector<std::string>;

namespace {

void Touch(const std::string& path, size_t bytes = 0) { std::ofstream(path, std::ios::binary) << std::string(bytes, 'x'); }
std::string Cp932(const char* utf8) { return q2::Utf8ToCp932(utf8).value(); }
std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The title and button texts of the modal dialog that `open` runs, then cancelled.
QStringList DialogTexts(const std::function<void()>& open) {
  QStringList texts;
  WhenModal([&](QWidget* dlg) {
    texts << dlg->windowTitle();
    for (auto* b : dlg->findChildren<QAbstractButton*>())
      if (b->isVisible() && !b->text().isEmpty()) texts << b->text();
  });
  open();
  return texts;
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

  QTemporaryDir root_;
  std::string desktop_;
  Settings settings_;
  const std::string& ini_ = settings_.ini;
  q2::CQuoril2Doc doc_;
  std::unique_ptr<q2::CMainFrame> frame_;

  q2::CQuoril2View* view() { return frame_->view(); }
  QTreeWidget* list() { return view()->fileList(); }
  template <class T = QPushButton>
  T* control(int id) { return Id<T>(view(), id); }
  QString text(int id) { return control<QLineEdit>(id)->text(); }
  QString name(int slot) { return text(std::array{1004, 1005, 1006, 1007, 1008, 1009, 1011, 1012}[slot - 1]); }
  QStringList column(int c) { return Rows(list()->model(), c); }
  QStringList chat() { return control<QPlainTextEdit>(1003)->toPlainText().split('\n'); }
  std::pair<bool, bool> historyButtons() { return {control(1055)->isEnabled(), control(1056)->isEnabled()}; }
  const Strings& history() { return view()->navigator().history(); }
  QString caption() { return control<QGroupBox>(1049)->title(); }
  void press(int id) { QTest::mouseClick(control<QAbstractButton>(id), Qt::LeftButton); }
  std::string dir(const std::string& name) {
    const std::string p = root_.path().toStdString() + "/" + name;
    fs::create_directories(p);
    return p;
  }
  std::string startupSetting() { return q2::IniReadString(ini_, q2::kSectionFile, q2::kKeySaveGameDir); }

  void start(const std::string& arg = {}) {
    doc_ = q2::CQuoril2Doc();
    frame_ = q2::CQuoril2App::CreateMainWindow(&doc_, arg);
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void startIn(const std::string& folder, const std::string& arg = {}) {
    q2::IniWriteString(ini_, q2::kSectionFile, q2::kKeySaveGameDir, folder);
    start(arg);
  }
  void exit() { frame_.reset(); }

  QTreeWidgetItem* item(const QString& name) {
    const auto found = list()->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
  }
  QPoint at(const QString& name) {
    if (!item(name)) qFatal("no item %s", qPrintable(name));
    return list()->visualItemRect(item(name)).center();
  }
  void click(const QString& name) { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at(name)); }
  // What a real double click delivers: press, release, press with the double click, release.
  void doubleClick(QPoint p) {
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, p);
  }
  void select(const QString& name) {
    list()->clearSelection();
    item(name)->setSelected(true);
  }
  // Runs a rename button with `format` confirmed in the format dialog.
  void rename(Seam& seam, int button, const std::string& format) {
    q2::IniWriteString(ini_, q2::kSectionFile, q2::kKeyLastFormat, format);
    seam.answers = {QMessageBox::Yes};
    WhenModal([](QWidget* dlg) { Press(dlg, 1); });
    press(button);
  }

 private slots:
  void initTestCase() {
    desktop_ = dir("Desktop");
    Touch(desktop_ + "/on-desktop.mgx", 10);
    q2::CQuoril2View::OverrideDesktop(desktop_, dir("home"));
  }
  void cleanup() {
    exit();
    settings_.clear();
  }

  void startUpAndSettings() {
    Seam seam;
    start();  // no settings file, and the default folder is missing
    QCOMPARE(seam.captions(), (Strings{"iniﾌｧｲﾙ読み込みｴﾗｰ", "ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ"}));
    QVERIFY(!seam.shown[0].ownerVisible && !seam.shown[1].ownerVisible);  // before the window shows
    QCOMPARE(view()->CurrentFolder(), desktop_);
    QCOMPARE(column(0), QStringList{"on-desktop.mgx"});
    QCOMPARE(history(), Strings{q2::kDefaultSaveGameDir});
    QCOMPARE(historyButtons(), std::make_pair(false, false));
    QCOMPARE(QRect(frame_->pos(), frame_->size()), QRect(10, 100, 863, 514));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("くおらん Ver 1.005"));
    exit();
    for (int n = 1; n <= 8; ++n)
      QCOMPARE(q2::IniReadInt(ini_, q2::kSectionPlayer, q2::PlayerColorKey(n), -1), int(q2::kDefaultPlayerColor[n - 1]));
    QCOMPARE(startupSetting(), desktop_);

    // "このフォルダを起動時の参照場所にする" keeps the folder shown then; one
    // whose path the settings file can't hold whole is refused, not stored cut.
    const std::string a = dir("start/a"), b = dir("start/b");
    const std::string deep = dir("start/" + std::string(150, 'd') + "/" + std::string(120, 'e'));
    const std::string game = WriteGame(b + "/g.mgx", {"North", "South"}, {1, 1}, 1);
    seam.shown.clear();
    startIn(a);
    for (const std::string& f : {b, deep}) {
      view()->NavigateTo(f);
      frame_->command(32779)->trigger();
    }
    QCOMPARE(seam.tail(9), q2::Messages{*q2::CheckStartupFolder(deep)});
    view()->NavigateTo(a);
    exit();
    QCOMPARE(startupSetting(), b);

    // A recording on the command line is opened and its folder listed; a missing folder falls back.
    startIn(a, game);
    QCOMPARE(name(1), QStringLiteral("North"));
    QCOMPARE(history(), (Strings{a, b}));
    exit();
    seam.shown.clear();
    startIn(a, b + "/missing");
    QCOMPARE(seam.captions(), Strings{"ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ"});
    QCOMPARE(view()->CurrentFolder(), desktop_);
  }

  void listsAndNavigates() {
    const std::string f = dir("nav/f");
    Touch(f + "/b.mgx", 1263616);
    Touch(f + "/A.mgx", 1023);
    fs::create_directories(f + "/c");
    fs::create_directories(f + "/old.mgx");
    for (const char* n : {"notes.txt", "game.mgx.bak", "GAME.MGX", ".hidden.mgx", ".mgx"}) Touch(f + "/" + n);
    QFile a(QString::fromStdString(f + "/A.mgx"));
    QVERIFY(a.open(QIODevice::Append) && a.setFileTime(QDateTime({2005, 3, 26}, {2, 23}), QFileDevice::FileModificationTime));
    Seam seam;
    startIn(f);
    QCOMPARE(column(0), (QStringList{"A.mgx", "b.mgx", "c", "game.mgx.bak", "old.mgx"}));
    QCOMPARE(column(1), (QStringList{"0 KB", "1,234 KB", "0 KB", "0 KB", "0 KB"}));
    QCOMPARE(column(2), (QStringList{"mgxﾌｧｲﾙ", "mgxﾌｧｲﾙ", "ﾃﾞｨﾚｸﾄﾘ", "mgxﾌｧｲﾙ", "mgxﾌｧｲﾙ"}));
    QCOMPARE(column(3).first(), QStringLiteral("2005/03/26 02:23"));
    auto picture = [&](const QIcon& i) { return i.pixmap(16, 16).toImage(); };
    const QImage folder = picture(q2::ListIcon(false)), recording = picture(q2::ListIcon(true));
    QVERIFY(folder != recording);
    QCOMPARE(picture(item("c")->icon(0)), folder);
    QCOMPARE(picture(item("old.mgx")->icon(0)), recording);
    QCOMPARE(picture(item("b.mgx")->icon(0)), recording);
    QCOMPARE(caption(), QString::fromStdString(f));
    QVERIFY(seam.shown.empty());
    click("old.mgx");  // a folder typed as a recording is opened as one, and fails
    QCOMPARE(seam.shown.size(), size_t(1));

    // Into c, back (forward enabled), then the parent drops c from the history.
    const std::string nav = dir("nav");
    doubleClick(at("c"));
    QCOMPARE(view()->CurrentFolder(), f + "/c");
    QCOMPARE(historyButtons(), std::make_pair(true, false));
    press(1055);
    QCOMPARE(view()->CurrentFolder(), f);
    QCOMPARE(historyButtons(), std::make_pair(false, true));
    press(1054);
    QCOMPARE(history(), (Strings{f, nav}));
    QCOMPARE(historyButtons(), std::make_pair(true, false));
    press(1060);
    QCOMPARE(view()->CurrentFolder(), desktop_);
    press(1055);
    press(1055);
    press(1056);
    QCOMPARE(view()->CurrentFolder(), nav);
    QCOMPARE(historyButtons(), std::make_pair(true, true));
    // A double click with nothing selected lists the same folder again.
    list()->clearSelection();
    doubleClick(QPoint(5, list()->viewport()->height() - 3));
    QCOMPARE(view()->CurrentFolder(), nav + "/");
    QCOMPARE(caption(), QString::fromStdString(nav + "/"));
    // A folder on a Japanese desktop is captioned from "デスクトップ" on.
    view()->NavigateTo(dir("x/デスクトップ/y"));
    QCOMPARE(caption(), QStringLiteral("デスクトップ/y"));
    QCOMPARE(seam.shown.size(), size_t(1));
  }

  void opensRecordingsIntoThePanel() {
    const std::string f = dir("games");
    WriteGame(f + "/two.mgx", {"太郎", "花子", "侍", "North"}, {2, 2, 3, 3}, 1);
    WriteGame(f + "/eight.mgx", {"a1", "b2", "c3", "d4", "e5", "f6", "g7", "h8"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3);
    q2::gen::WriteFile(f + "/zero.mgx", std::string(64, '\0'));
    Seam seam;
    startIn(f);
    click("two.mgx");
    QCOMPARE((QStringList{name(1), name(4), name(5), text(1015), text(1016), text(1017)}),
             (QStringList{"太郎", "North", "", "太郎", "太郎 花子 ", ""}));
    QCOMPARE(control<QLineEdit>(1004)->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(control<QLineEdit>(1005)->palette().color(QPalette::Text), QColor(255, 0, 0));

    // The check boxes switch the pane at once, without reading the file again.
    QCOMPARE(chat().first(), QStringLiteral("-------ゲーム開始後チャット-------"));
    QVERIFY(chat().contains(QStringLiteral("--警告-- あなたの町の人が攻撃を受けています")));
    press(1013);  // 警告無し
    QVERIFY(!chat().join('\n').contains(QStringLiteral("--警告")) && chat().contains(QStringLiteral("太郎: gg")));
    press(1045);  // 開始前チャット
    QCOMPARE(chat().mid(0, 2), (QStringList{"-------ゲーム開始前チャット-------", "太郎: よろしくお願いします"}));
    press(1045);
    press(1013);
    QVERIFY(chat().join('\n').contains(QStringLiteral("--警告")));

    doubleClick(at("eight.mgx"));
    QCOMPARE((QStringList{name(7), name(8), text(1015), text(1016), text(1017)}),
             (QStringList{"g7", "h8", "c3", "a1 c3 e5 g7 ", "b2 d4 f6 h8 "}));
    QVERIFY(seam.shown.empty());

    // A broken recording says so and leaves the panel showing the last one;
    // a double click opens twice, so the message comes twice.
    click("zero.mgx");
    QCOMPARE(seam.captions(), Strings{q2::kAppTitle});
    QCOMPARE(name(1), QStringLiteral("a1"));
    QCOMPARE(view()->summary().view.currentReplayPath, f + "/eight.mgx");
    doubleClick(at("zero.mgx"));
    QCOMPARE(seam.shown.size(), size_t(3));
    QCOMPARE(Contents(f + "/zero.mgx"), std::string(64, '\0'));
    for (auto& e : fs::directory_iterator(f)) QVERIFY2(e.path().extension() != ".dat", e.path().c_str());

    // The graph of the recording shown; a colour confirmed in the colour
    // dialog shows in the name box at once.
    QStringList names;
    WhenModal([&](QWidget* dlg) { names << Id<QLineEdit>(dlg, 1096)->text() << Id<QLineEdit>(dlg, 1006)->text(); });
    press(1085);
    QCOMPARE(names, (QStringList{"a1", "g7"}));
    seam.colors = {QColor(Qt::white)};
    WhenModal([](QWidget* dlg) {
      Press(dlg, 1001);  // 変更 of slot 1
      Press(dlg, 1);     // 設定
    });
    frame_->command(148)->trigger();
    QCOMPARE(control<QLineEdit>(1004)->palette().color(QPalette::Text), QColor(Qt::white));
    QCOMPARE(q2::PlayerColor(0), q2::ColorRef(0xFFFFFF));
  }

  // "ゲーム時間" and "時刻表示": off until chosen, each remembered on its own key.
  void gameTimeInThePanelAndChat() {
    const std::string f = dir("clock");
    q2::gen::GameParams params = q2::gen::TypicalGame({"太郎", "花子"}, {1, 1}, 1, 6, 300000, 20000);
    q2::gen::Placed placed;
    q2::gen::WriteFile(f + "/g.mgx", q2::gen::BuildRecording(params, &placed));
    auto length = [&] { return control<QLabel>(1087)->text(); };
    auto checked = [&] { return std::make_pair(control<QCheckBox>(1086)->isChecked(), control<QCheckBox>(1046)->isChecked()); };
    auto option = [&](const char* key) { return settings_.raw(q2::kSectionView, key); };
    Seam seam;
    startIn(f);
    QCOMPARE(checked(), std::make_pair(false, false));
    click("g.mgx");
    QCOMPARE(length(), QString());
    QCOMPARE(chat().at(1), QStringLiteral("太郎: 11"));
    exit();
    QVERIFY(!option(q2::kKeyShowGameLength) && !option(q2::kKeyChatTimes));  // nothing new written

    start();
    press(1086);
    QCOMPARE(length(), QString());  // nothing read yet
    click("g.mgx");
    QCOMPARE(length(), QString::fromStdString(q2::ClockText(placed.durationMs)));
    exit();
    QCOMPARE(option(q2::kKeyShowGameLength), std::optional<std::string>("1"));
    QVERIFY(!option(q2::kKeyChatTimes));

    start();
    QCOMPARE(checked(), std::make_pair(true, false));
    click("g.mgx");
    press(1046);
    // Each in-game line behind its game time, in body order.
    const size_t first = std::min_element(placed.chatPos.begin(), placed.chatPos.end()) - placed.chatPos.begin();
    const int ms = int(placed.chatMs[first]);
    QCOMPARE(chat().at(1), QString::asprintf("[%02d:%02d] ", ms / 60000, ms / 1000 % 60) + "太郎: 11");
    press(1013);  // 警告無し: still timed
    for (const QString& line : chat().mid(1, chat().size() - 2)) QVERIFY2(line.startsWith('['), qPrintable(line));
    press(1045);  // the lobby has no game time
    QCOMPARE(chat().at(1), QStringLiteral("太郎: よろしくお願いします"));
    exit();
    QCOMPARE(option(q2::kKeyChatTimes), std::optional<std::string>("1"));
    start();
    QCOMPARE(checked(), std::make_pair(true, true));
    QVERIFY(seam.shown.empty());
  }

  // Recordings unpacked from an archive made on Japanese Windows keep code
  // page 932 names: shown decoded, opened, renamed, remembered by their bytes.
  void japaneseArchiveNames() {
    const std::string f = dir("archive"), folder = f + "/" + Cp932("記録");
    fs::create_directories(folder);
    const std::string game = WriteGame(folder + "/" + Cp932("大会.mgx"), {"太郎", "花子"}, {1, 1}, 1);
    Touch(folder + "/" + Cp932("ｹﾞｰﾑ.mgx"));
    Seam seam;
    startIn(f);
    QCOMPARE(column(0), QStringList{"記録"});
    doubleClick(at("記録"));
    QCOMPARE(view()->CurrentFolder(), folder);
    QCOMPARE(caption(), QString::fromStdString(f + "/記録"));
    QCOMPARE(column(0), (QStringList{"ｹﾞｰﾑ.mgx", "大会.mgx"}));
    click("大会.mgx");
    QCOMPARE(name(1), QStringLiteral("太郎"));
    QCOMPARE(view()->summary().view.currentReplayPath, game);
    QVERIFY(!fs::exists(folder + "/" + Cp932("大会.dat")));

    // The start-up folder, by its bytes.
    frame_->command(32779)->trigger();
    exit();
    start();
    QCOMPARE(view()->CurrentFolder(), folder);
    exit();

    // On the command line (not even cleaned up).
    start(folder + "/../" + Cp932("記録") + "/" + Cp932("大会.mgx"));
    QCOMPARE(name(2), QStringLiteral("花子"));
    QCOMPARE(view()->CurrentFolder(), folder);
    // The open-file dialog starts in the folder shown; cancelled, nothing
    // changes; a name typed as shown opens the file, and its folder is listed.
    view()->NavigateTo(f);
    const Strings before = history();
    press(1058);
    QCOMPARE(seam.openStart, QString::fromStdString(f));
    QCOMPARE(history(), before);
    seam.files = {QString::fromStdString(f + "/記録/大会.mgx")};
    press(1058);
    QCOMPARE(view()->summary().view.currentReplayPath, game);
    QCOMPARE(view()->CurrentFolder(), folder);
    QCOMPARE(history().size(), before.size() + 1);

    // Renamed from the selection.
    select("大会.mgx");
    rename(seam, 1061, "[REC_PLAYER]");
    QCOMPARE(column(0), (QStringList{"ｹﾞｰﾑ.mgx", "太郎.mgx"}));
    QVERIFY(fs::exists(folder + "/太郎.mgx"));
    QCOMPARE(seam.tail(2), q2::SelectedOutcomeMessages(q2::kRenameOk));
  }

  // The real dialogs behind the seam. The open-file dialog: its filters,
  // "*.mgx" as the name, the folder shown; a name with wildcards filters the
  // list instead of opening. The colour picker starts on black, as the
  // Windows one without a preset. Qt's own dialogs, box buttons and edit
  // menus speak Japanese whatever the locale.
  void realDialogs() {
    q2::UiSeam real;
    QStringList seen;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      seen = dlg->nameFilters();
      seen << dlg->findChild<QLineEdit*>("fileNameEdit")->text() << dlg->directory().absolutePath();
      QMetaObject::invokeMethod(dlg, "accept");
      seen << (dlg->isVisible() ? "stayed open" : "closed");
      dlg->reject();
    });
    QCOMPARE(real.pickOpenFile(nullptr, QString::fromStdString(desktop_)), QString());
    QCOMPARE(seen, (QStringList{"Replayﾌｧｲﾙ(*.mgx *.mgz *.mgl)", "mgxﾌｧｲﾙ(*.mgx)", "mgzﾌｧｲﾙ(*.mgz)", "mglﾌｧｲﾙ(*.mgl)",
                                "*.mgx", QString::fromStdString(desktop_), "stayed open"}));
    WhenModal([](QWidget* dlg) { qobject_cast<QDialog*>(dlg)->accept(); });
    QCOMPARE(real.pickColor(nullptr), std::optional<QColor>(QColor(Qt::black)));

    QVERIFY(q2::CQuoril2App::InstallJapanese());
    const QStringList box = DialogTexts([&] { real.showMessage(nullptr, q2::ConfirmFormatMessage("[YEAR]")); });
    const QStringList file = DialogTexts([&] { real.pickOpenFile(nullptr, root_.path()); });
    const QStringList colour = DialogTexts([&] { real.pickColor(nullptr); });
    QVERIFY(box.size() == 3 && file.size() >= 3 && colour.size() >= 4);  // the box: caption, Yes, No
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList all = box + file + colour;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) all << a->text();
    QVERIFY(all.size() >= 16);
    // Kana or kanji in each ("OK" stays "OK" on Japanese Windows too).
    for (const QString& t : all)
      QVERIFY2(t == "OK" || std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() >= 0x3000; }), qPrintable(t));
  }

  void menusAndEditCommands() {
    const std::string f = dir("menus");
    WriteGame(f + "/g.mgx", {"コピー元", "味方"}, {2, 2}, 1);
    Seam seam;
    startIn(f);
    QStringList menus;
    for (QAction* a : frame_->menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
    for (int id : {57600, 57601, 57603, 57604}) QVERIFY(!frame_->command(id)->isEnabled());
    // A prompt is the status-bar text, then the tool tip.
    QCOMPARE(frame_->command(57634)->statusTip(), QStringLiteral("選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存"));
    QCOMPARE(frame_->command(57634)->toolTip(), QStringLiteral("ｺﾋﾟｰ"));
    QVERIFY(frame_->command(32779)->statusTip().isEmpty());
    QCOMPARE(frame_->findChild<QLabel*>("idleText")->text(), QStringLiteral("重いぜ( ` Д´)ﾉ"));
    frame_->command(59393)->trigger();
    QVERIFY(!frame_->statusBar()->isVisibleTo(frame_.get()));

    // The name, team and perspective boxes and the chat pane are read-only:
    // cut, paste and undo from the menu, the accelerators or the list's
    // pop-up menu leave them alone; copying still works.
    click("g.mgx");
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_X, Qt::ControlModifier},    {Qt::Key_Delete, Qt::ShiftModifier}, {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier}, {Qt::Key_Z, Qt::ControlModifier},    {Qt::Key_Backspace, Qt::AltModifier},
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
    auto* pane = control<QPlainTextEdit>(1003);
    for (QWidget* w : std::initializer_list<QWidget*>{control<QLineEdit>(1004), control<QLineEdit>(1015),
                                                      control<QLineEdit>(1016), pane}) {
      auto* line = qobject_cast<QLineEdit*>(w);
      auto shown = [&] { return line ? line->text() : pane->toPlainText(); };
      // Focused, as a pop-up menu leaves the window inactive here.
      auto selectAll = [&] {
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        w->setFocus();
        line ? line->selectAll() : pane->selectAll();
      };
      const QString before = shown();
      QVERIFY(!before.isEmpty());
      QApplication::clipboard()->setText(QStringLiteral("貼り付け"));
      for (int id : {57635, 57637, 57643}) {
        selectAll();
        frame_->command(id)->trigger();
      }
      for (auto [key, mods] : keys) {
        selectAll();
        QTest::keyClick(w, key, mods);
      }
      for (const char* item : {"切り取り", "貼り付け"}) {
        selectAll();
        popup(QString::fromUtf8(item));
      }
      QCOMPARE(shown(), before);
      QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("貼り付け"));
      selectAll();
      popup(QStringLiteral("ｺﾋﾟｰ"));
      QCOMPARE(QApplication::clipboard()->text(), before);
      QApplication::clipboard()->clear();
      selectAll();
      frame_->command(57634)->trigger();
      QCOMPARE(QApplication::clipboard()->text(), before);
    }
  }

  void renameButtons() {
    const std::string f = dir("rename");
    auto defaultName = [&](int day, int sec) { return f + "/" + q2::gen::DefaultRecordingName({2005, 3, day, 10, 40, sec}); };
    for (int day = 1; day <= 25; ++day) WriteGame(defaultName(day, 55), {"太郎"}, {1}, 1, day, 20000);
    WriteGame(f + "/mine.mgx", {"North", "South"}, {1, 1}, 2);
    QFile mine(QString::fromStdString(f + "/mine.mgx"));
    QVERIFY(mine.open(QIODevice::Append) && mine.setFileTime(QDateTime({2011, 7, 4}, {12, 0}), QFileDevice::FileModificationTime));
    // Whether each box came after the list showed the new name.
    std::vector<bool> refreshed;
    QString newName = QStringLiteral("20050301.mgx");
    Seam seam;
    seam.onMessage = [&](const q2::Message&) { refreshed.push_back(item(newName) != nullptr); };
    startIn(f);

    // Enough recordings for a progress dialog over the window.
    QStringList progress;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      if (auto* p = view()->findChild<QProgressDialog*>()) {
        QCOMPARE(p->windowModality(), Qt::WindowModal);
        progress << p->labelText();
      }
    });
    watch.start(0);
    rename(seam, 1059, "[YEAR][MONTH][DAY]");
    watch.stop();
    QVERIFY(progress.contains(QStringLiteral("25 / 25")));
    QVERIFY(!view()->findChild<QProgressDialog*>());
    QCOMPARE(column(0).size(), 26);
    QCOMPARE(column(0).first(), newName);
    QCOMPARE(seam.tail(2), q2::BulkOutcomeMessages(q2::kRenameOk));
    QCOMPARE(refreshed, (std::vector<bool>{false, true, true}));

    // Two unreadable headers: one box for both, shown before the list is
    // refreshed; the outcome after it.
    WriteGame(defaultName(27, 1), {"花子"}, {1}, 1);
    for (int sec : {55, 56}) q2::gen::WriteFile(defaultName(28, sec), std::string("\xff\xff\x00\x00garbage", 11));
    seam.shown.clear();
    refreshed.clear();
    newName = QStringLiteral("20050327_花子.mgx");
    rename(seam, 1059, "[YEAR][MONTH][DAY]_[REC_PLAYER]");
    QCOMPARE(seam.captions(), Strings(3, q2::kCaptionBulkRename));
    QCOMPARE(seam.tail(1), q2::BulkOutcomeMessages(q2::kRenameSomeFailed));
    QCOMPARE(refreshed, (std::vector<bool>{false, false, true}));

    // A format dialog left with "No" and "ｷｬﾝｾﾙ" renames nothing.
    const QStringList before = column(0);
    seam.answers = {QMessageBox::No};
    WhenModal([](QWidget* dlg) {
      Press(dlg, 1);
      Press(dlg, 2);
    });
    press(1059);
    QCOMPARE(seam.shown.size(), size_t(4));
    QCOMPARE(column(0), before);

    // The selected-files rename: nothing selected is refused before any dialog.
    list()->clearSelection();
    bool dialog = false;
    QTimer::singleShot(0, [&] {
      if (auto* d = QApplication::activeModalWidget()) dialog = true, d->close();
    });
    press(1061);
    QTest::qWait(20);
    QVERIFY(!dialog);
    QCOMPARE(seam.tail(1), q2::Messages{q2::NothingSelectedMessage()});

    // Only the selected row, dated by the file's time as its name is no default name.
    select("mine.mgx");
    rename(seam, 1061, "[REC_PLAYER]_[YEAR][MONTH][DAY]");
    QVERIFY(item("South_20110704.mgx") && !item("mine.mgx"));
    QCOMPARE(column(0).size(), before.size());
    QCOMPARE(seam.tail(2), q2::SelectedOutcomeMessages(q2::kRenameOk));
    // A name that can't be given fails, and the file stays.
    select("South_20110704.mgx");
    rename(seam, 1061, "a:[REC_PLAYER]");
    QCOMPARE(seam.tail(1), q2::SelectedOutcomeMessages(q2::kRenameSomeFailed));
    QVERIFY(fs::exists(f + "/South_20110704.mgx"));
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
