// The real main window, one user story per test: the first start and what
// later starts keep, the folder list and navigation, a recording opened into
// the panel with its chat, graph and colours, Qt's own dialogs, and the
// rename buttons. Names are bytes: on Linux some are code page 932, as
// unpacked from an archive made on Japanese Windows, shown decoded and used as
// they are.
#include <filesystem>
#include <map>
#include <fstream>
#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#endif

#include "gui/kit/ControlIds.h"
#include "gui/CMainFrame.h"
#include "gui/CQuoril2App.h"
#include "gui/kit/DialogUnits.h"
#include "gui/kit/Icons.h"
#include "platform/files.h"
#include "platform/text.h"
#include "gui/qt_support.h"
#include "core/rename/rename_run.h"
#include "core/recording/display.h"
#include "core/recording/game_clock.h"
#include "core/rename/rename_format.h"
#include "gui/CQuoril2Doc.h"
#include "gui/CQuoril2View.h"
#include "gui/PathCaption.h"

namespace fs = std::filesystem;
using namespace q2test;
using Strings = std::vector<std::string>;
using Stored = std::pair<std::optional<std::string>, std::optional<std::string>>;

namespace {

void Touch(const std::string& path, size_t bytes = 0) {
  std::ofstream(q2::FsPath(path), std::ios::binary) << std::string(bytes, 'x');
}
// A path written with "/", as the platform writes it.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', q2::kPathSep);
  return path;
}
// A Japanese name as the file system holds it: on Linux the code page 932
// bytes; on Windows, whose names are UTF-16, the name itself.
// Code page 932 bytes, as a recording holds them.
std::string Cp932(const char* utf8) { return q2::Utf8ToCp932(utf8).value(); }

std::string OnDisk(const char* utf8) {
#ifdef _WIN32
  return utf8;
#else
  return q2::Utf8ToCp932(utf8).value();
#endif
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

  QTemporaryDir root_;
  std::string desktop_, home_;
  Settings settings_;
  q2::CQuoril2Doc doc_;
  std::unique_ptr<q2::CMainFrame> frame_;

  q2::CQuoril2View* view() { return frame_->view(); }
  QTreeWidget* list() { return view()->fileList(); }
  template <class T = QPushButton>
  T* control(int id) { return Id<T>(view(), id); }
  // The eight names, then the perspective player, the allies and the enemies.
  QStringList panel() {
    QStringList texts;
    for (int id : {1004, 1005, 1006, 1007, 1008, 1009, 1011, 1012, 1015, 1016, 1017})
      texts << control<QLineEdit>(id)->text();
    return texts;
  }
  QColor nameColour(int id) { return control<QLineEdit>(id)->palette().color(QPalette::Text); }
  QStringList column(int c) { return Rows(list()->model(), c); }
  QStringList chat() { return control<QPlainTextEdit>(1003)->toPlainText().split('\n'); }
  QString length() { return control<QLabel>(1087)->text(); }
  // "ゲーム時間" and "時刻表示", checked and stored.
  std::pair<bool, bool> options() {
    return {control<QCheckBox>(1086)->isChecked(), control<QCheckBox>(1046)->isChecked()};
  }
  Stored stored() {
    return {settings_.raw(q2::kSectionView, q2::kKeyShowGameLength), settings_.raw(q2::kSectionView, q2::kKeyChatTimes)};
  }
  std::pair<bool, bool> historyButtons() { return {control(1055)->isEnabled(), control(1056)->isEnabled()}; }
  const Strings& history() { return view()->navigator().history(); }
  // The folder's caption whole; the frame's title may show it elided.
  QString caption() { return control<q2::PathCaption>(q2::id::kFolderPath)->caption(); }
  const std::string& shownPath() { return view()->summary().view.currentReplayPath; }
  void press(int id) { QTest::mouseClick(control<QAbstractButton>(id), Qt::LeftButton); }
  std::string dir(const std::string& name) {
    const std::string p = Native(root_.path().toStdString() + "/" + name);
    fs::create_directories(q2::FsPath(p));
    return p;
  }

  void start(const std::string& arg = {}) {
    doc_ = q2::CQuoril2Doc();
    frame_ = q2::CQuoril2App::CreateMainWindow(&doc_, arg);
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void startIn(const std::string& folder, const std::string& arg = {}) {
    q2::IniWriteString(settings_.ini, q2::kSectionFile, q2::kKeySaveGameDir, folder);
    start(arg);
  }
  void exit() { frame_.reset(); }
  QByteArray iniText() {
    QFile f(QString::fromStdString(settings_.ini));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // Every control of the view where it is now.
  std::map<QString, QRect> places() {
    std::map<QString, QRect> out;
    int n = 0;
    for (QWidget* w : view()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (!w->isWindow()) out[w->objectName() + QString::number(n++)] = w->geometry();
    return out;
  }

  QTreeWidgetItem* item(const QString& name) {
    const auto found = list()->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
  }
  QPoint at(const QString& name) {
    if (!item(name)) qFatal("no item %s", qPrintable(name));
    return list()->visualItemRect(item(name)).center();
  }
  void click(const QString& name) {
    if (item(name)) list()->scrollToItem(item(name));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at(name));
  }
  // What a real double click delivers: press, release, press with the double click, release.
  void doubleClick(QPoint p) {
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, p);
  }
  // Opens the list's pop-up menu and triggers the item whose text starts
  // so; false when it is greyed out.
  bool popup(const char* item) {
    bool enabled = false;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      for (QAction* a : menu->actions())
        if (a->text().startsWith(QString::fromUtf8(item)) && (enabled = a->isEnabled())) a->trigger();
      menu->close();
    });
    view()->OnListRClick(QPoint(5, 5));
    return enabled;
  }
  // Runs a rename button with `format` confirmed in the format dialog.
  void rename(Seam& seam, int button, const std::string& format) {
    q2::IniWriteString(settings_.ini, q2::kSectionFile, q2::kKeyLastFormat, format);
    seam.answers = {QMessageBox::Yes};
    WhenModal([](QWidget* dlg) { Press(dlg, 1); });
    press(button);
  }

 private slots:
  void initTestCase() {
    desktop_ = dir("Desktop");
    Touch(desktop_ + "/on-desktop.mgx", 10);
    home_ = dir("home");
    q2::CQuoril2View::OverrideDesktop(desktop_, home_);
    // The first start looks for the game in the Wine prefixes of the home folder.
    qputenv("HOME", QByteArray::fromStdString(home_));
    qunsetenv("WINEPREFIX");
  }
  void cleanup() {
    exit();
    settings_.clear();
  }
  // QTemporaryDir leaves behind names that are not UTF-8; what can't go
  // (a path past Windows's old length limit) stays in the temporary folder.
  void cleanupTestCase() {
    std::error_code ignored;
    fs::remove_all(q2::FsPath(root_.path().toStdString()), ignored);
  }

  // The first start; then what later starts keep: the start-up folder (never
  // one the settings file can't hold whole), and "ゲーム時間" and "時刻表示",
  // off until chosen and written only once changed; a recording or a folder
  // on the command line.
  void startsAndRemembers() {
    Seam seam;
#ifdef _WIN32
    start();  // no settings file, and the game's own default folder is missing
    QCOMPARE(seam.captions(), (Strings{"iniﾌｧｲﾙ読み込みｴﾗｰ", "ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ"}));
    QCOMPARE(seam.ownerVisible, (std::vector<bool>{false, false}));  // before the window shows
    const std::string first = desktop_;
    QCOMPARE(history(), Strings{q2::kDefaultSaveGameDir});
#else
    start();  // no settings file, and no game under Wine: the home folder, and a word why
    QCOMPARE(seam.captions(), Strings{"はじめての起動"});
    QVERIFY(seam.shown.at(0).text.find(home_) != std::string::npos);
    QCOMPARE(seam.ownerVisible, std::vector<bool>{false});  // before the window shows
    const std::string first = home_;
    QCOMPARE(history(), Strings{home_});
#endif
    QCOMPARE(view()->CurrentFolder(), first);
    QCOMPARE(historyButtons(), std::make_pair(false, false));
    QCOMPARE(QRect(frame_->pos(), frame_->size()), QRect(10, 100, 863, 514));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("くおらん Ver 1.005"));
    QCOMPARE(options(), std::make_pair(false, false));
    exit();
    QCOMPARE(q2::IniReadString(settings_.ini, q2::kSectionFile, q2::kKeySaveGameDir), first);
    QCOMPARE(stored(), Stored());
    // A window left as it was keeps nothing of its own.
    QVERIFY(!iniText().contains("QUORIL2"));

    const std::string a = dir("start/a"), b = dir("start/" + OnDisk("記録"));
    const std::string deep = dir("start/" + std::string(150, 'd') + "/" + std::string(120, 'e'));
    q2::gen::Placed placed;
    const auto game = q2::gen::TypicalGame({"太郎", "花子"}, {1, 1}, 1, 6, 300000, 20000);
    q2::gen::WriteFile(b + "/" + OnDisk("大会.mgx"), q2::gen::BuildRecording(game, &placed));
    seam.shown.clear();
    startIn(a);
    for (const std::string& f : {b, deep}) {
      view()->NavigateTo(f);
      frame_->command(q2::id::kSetStartupFolder)->trigger();
    }
    QCOMPARE(seam.shown, q2::Messages{*q2::CheckStartupFolder(deep)});
    view()->NavigateTo(b);
    press(q2::id::kGameLength);
    QCOMPARE(length(), QString());  // nothing read yet
    click("大会.mgx");
    const QString clock = QString::fromStdString(q2::ClockText(placed.durationMs));
    QCOMPARE(length(), clock);
    // A body without a clock has no length, rather than "0:00 (途中まで)".
    q2::gen::WriteFile(b + "/noclock.mgx", q2::gen::Assemble(q2::gen::BuildHeader(game), std::string(5000, '\x01')));
    view()->NavigateTo(b);
    click("noclock.mgx");
    QCOMPARE(length(), QString());
    click("大会.mgx");
    press(q2::id::kGameLength);
    QCOMPARE(length(), QString());
    press(q2::id::kGameLength);
    exit();
    QCOMPARE(stored(), Stored("1", std::nullopt));

    // The recording on the command line, not even cleaned up: opened, its
    // folder listed after the start-up folder. "時刻表示": each in-game line
    // behind its game time, the lobby without.
    start(Native(b + "/../" + OnDisk("記録") + "/" + OnDisk("大会.mgx")));
    QCOMPARE(history(), (Strings{b, b}));
    QCOMPARE(options(), std::make_pair(true, false));
    QCOMPARE(panel().at(1), QStringLiteral("花子"));
    QCOMPARE(length(), clock);
    press(q2::id::kChatTimes);
    press(q2::id::kHideWarnings);  // 警告無し: still timed
    const QRegularExpression timed(R"(^\[\d\d:\d\d\] )");
    QCOMPARE(chat().mid(1, chat().size() - 2).filter(timed).size(), chat().size() - 2);
    QCOMPARE(chat().at(1), QStringLiteral("[00:05] 太郎: 11"));  // the first line at its game time
    press(q2::id::kPregameChat);
    QCOMPARE(chat().at(1), QStringLiteral("太郎: よろしくお願いします"));
    exit();
    QCOMPARE(stored(), Stored("1", "1"));
    // A missing folder on the command line falls back to the desktop, and
    // the start-up folder stays the stored one.
    seam.shown.clear();
    startIn(a, Native(b + "/missing"));
    QCOMPARE(options(), std::make_pair(true, true));
    QCOMPARE(seam.captions(), Strings{"ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ"});
    QCOMPARE(view()->CurrentFolder(), desktop_);
    exit();
    QCOMPARE(q2::IniReadString(settings_.ini, q2::kSectionFile, q2::kKeySaveGameDir), a);
    // Without a desktop folder its button lists the home folder, quietly,
    // and the start-up folder stays too.
    seam.shown.clear();
    q2::CQuoril2View::OverrideDesktop(Native(dir("home") + "/no-desktop"), dir("home"));
    startIn(a);
    press(q2::id::kDesktop);
    QCOMPARE(view()->CurrentFolder(), dir("home"));
    QVERIFY(seam.shown.empty());
    exit();
    QCOMPARE(q2::IniReadString(settings_.ini, q2::kSectionFile, q2::kKeySaveGameDir), a);
    q2::CQuoril2View::OverrideDesktop(desktop_, dir("home"));
  }

  // A first start under Wine lists the game's SaveGame folder, says so, and
  // keeps it as the start-up folder; a missing default is never reported.
  void firstStartFindsTheGame() {
#ifdef _WIN32
    QSKIP("On Windows the game runs natively: its own default folder is the first one");
#endif
    const std::string saveGame = dir("home/.wine/drive_c/Program Files (x86)/Microsoft Games/Age of Empires II/SaveGame");
    Touch(saveGame + "/game.mgx", 10);
    Seam seam;
    start();
    QCOMPARE(seam.captions(), Strings{"はじめての起動"});
    QCOMPARE(seam.shown.at(0).icon, q2::MsgIcon::Information);
    QVERIFY(seam.shown.at(0).text.find("SaveGame フォルダを見つけました。\nここを起動時の参照場所にします：\n" + saveGame) != std::string::npos);
    QCOMPARE(view()->CurrentFolder(), saveGame);
    QCOMPARE(column(0), QStringList{"game.mgx"});
    exit();
    QCOMPARE(q2::IniReadString(settings_.ini, q2::kSectionFile, q2::kKeySaveGameDir), saveGame);
    fs::remove_all(q2::FsPath(home_ + "/.wine"));
  }

  // The list and the chat grow with the window, the rest keeps its place;
  // at the default size everything is where the form puts it. The splitter,
  // the column widths, the place and the maximised state come back at the
  // next start; a second window opens a step away from the first.
  void growsAndRemembers() {
    const std::string f = dir("grow");
    WriteGame(f + "/a.mgx", {"太郎", "花子"}, {1, 2}, 1);
    fs::create_directories(f + "/sub");
    startIn(f);
    const auto home = places();
    QWidget* chat = control<QPlainTextEdit>(q2::id::kChat);
    QWidget* name = control<QLineEdit>(1004);
    const QRect list0 = list()->geometry(), chat0 = chat->geometry(), name0 = name->geometry();

    // At the default size the size, the kind and the whole date and time
    // show within the list, each whole.
    const QFontMetrics fm(list()->font());
    const int margin = 2 * (list()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int r = 0; r < 2; ++r)
      for (int c = 1; c < 4; ++c) {
        const QModelIndex i = list()->model()->index(r, c);
        const QRect cell = list()->visualRect(i);
        QVERIFY2(fm.horizontalAdvance(i.data().toString()) + margin <= cell.width(), qPrintable(i.data().toString()));
        QVERIFY2(cell.right() < list()->viewport()->width(), qPrintable(i.data().toString()));
      }
    QCOMPARE(column(2).first(), QStringLiteral("mgxﾌｧｲﾙ"));
    const int name0Width = list()->columnWidth(0);

    frame_->resize(863 + 482, 514 + 300);
    const int grownLeft = list()->width() - list0.width(), grownRight = chat->width() - chat0.width();
    QCOMPARE(grownLeft + grownRight, 482);
    QVERIFY(std::abs(grownLeft - 482 * 214 / 482) <= 1);  // the panes' own proportions
    QCOMPARE(std::make_pair(list()->height() - list0.height(), chat->height() - chat0.height()), std::make_pair(300, 300));
    QCOMPARE(name->geometry(), name0.translated(grownLeft, 0));
    QCOMPARE(list()->columnWidth(0), name0Width + grownLeft);  // the name column takes the room
    frame_->resize(863, 514);
    QCOMPARE(places(), home);

    // The splitter moves the room from one pane to the other.
    frame_->resize(863 + 482, 514 + 300);
    auto* handle = view()->findChild<QWidget*>("splitter");
    QVERIFY(handle && handle->geometry().left() >= list()->geometry().right());
    auto mouse = [&](QEvent::Type type, int dx) {
      const QPoint p = handle->rect().center() + QPoint(dx, 0);
      QMouseEvent e(type, p, handle->mapToGlobal(p), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(handle, &e);
    };
    const int listBefore = list()->width(), chatBefore = chat->width();
    mouse(QEvent::MouseButtonPress, 0);
    mouse(QEvent::MouseMove, 60);
    mouse(QEvent::MouseButtonRelease, 60);
    QCOMPARE(std::make_pair(list()->width(), chat->width()), std::make_pair(listBefore + 60, chatBefore - 60));
    list()->header()->resizeSection(2, 90);
    const QRect normal(40, 50, 1000, 700);
    frame_->move(normal.topLeft());
    frame_->resize(normal.size());
    const int listWidth = list()->width(), nameWidth = list()->columnWidth(0);
    frame_->showMaximized();
    QTRY_VERIFY(frame_->isMaximized());
    exit();
    QVERIFY(iniText().contains("WINDOW_MAXIMIZED=1"));

    start();
    QTRY_VERIFY(frame_->isMaximized());
    frame_->showNormal();
    QTRY_COMPARE(QRect(frame_->pos(), frame_->size()), normal);
    QCOMPARE(std::make_tuple(list()->width(), list()->columnWidth(0), list()->columnWidth(2)),
             std::make_tuple(listWidth, nameWidth, 90));
    // A window placed where no screen is any more opens at the default place.
    exit();
    q2::IniWriteInt(settings_.ini, q2::kSectionQuoril2, "WINDOW_X", -5000);
    q2::IniWriteInt(settings_.ini, q2::kSectionQuoril2, "WINDOW_MAXIMIZED", 0);
    start();
    QCOMPARE(QRect(frame_->pos(), frame_->size()), QRect(QPoint(10, 100), normal.size()));

    // Two windows at once: the second a step down and to the right.
    auto second = q2::CQuoril2App::CreateMainWindow(&doc_, "");
    QVERIFY(second->pos().x() > frame_->pos().x() && second->pos().y() > frame_->pos().y());
    second.reset();
    exit();
    start();
    QCOMPARE(frame_->pos(), QPoint(10, 100));  // the first one's place is free again
    // Nor one larger than the screen (saved on a bigger one, or edited by
    // hand): it fits the screen, its edges in reach.
    exit();
    for (const char* key : {"WINDOW_WIDTH", "WINDOW_HEIGHT"}) q2::IniWriteInt(settings_.ini, q2::kSectionQuoril2, key, 99999);
    start();
    const QRect room = frame_->screen()->availableGeometry();
    QVERIFY(room.contains(QRect(frame_->pos(), frame_->size())));
    QVERIFY(frame_->width() > room.width() / 2 && frame_->height() > room.height() / 2);
  }

  // A file manager's keys: arrows and Enter in the list, Backspace and
  // Alt+Up to the parent, Alt+Left and Alt+Right through the history, F5,
  // Ctrl+O, Ctrl+Q; the pop-up's 開く and ﾌﾟﾛﾊﾟﾃｨ.
  void keysAndPopup() {
    // In a folder whose own name looks like a recording's: its rows still
    // go by their own names.
    const std::string k = dir("keys.mgz-backup"), sub = dir("keys.mgz-backup/sub"), above = Native(root_.path().toStdString());
    WriteGame(k + "/a.mgx", {"太郎", "花子"}, {1, 2}, 1);
    Seam seam;
    startIn(k);
    QCOMPARE(frame_->focusWidget(), static_cast<QWidget*>(list()));
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers mods;
      std::string folder;
      QString current;  // the row the keyboard is on afterwards
    } steps[] = {
        {Qt::Key_Down, {}, k, "a.mgx"},         {Qt::Key_Down, {}, k, "sub"},          {Qt::Key_Return, {}, sub, ""},
        {Qt::Key_Backspace, {}, k, ""},         {Qt::Key_Left, Qt::AltModifier, sub, ""}, {Qt::Key_Right, Qt::AltModifier, k, ""},
        {Qt::Key_Right, Qt::AltModifier, k, ""}, {Qt::Key_Up, Qt::AltModifier, above, ""}, {Qt::Key_Left, Qt::AltModifier, k, ""},
    };
    for (const auto& st : steps) {
      QTest::keyClick(list(), st.key, st.mods);
      QCOMPARE(view()->CurrentFolder(), st.folder);
      if (!st.current.isEmpty()) QCOMPARE(list()->currentItem()->text(0), st.current);
    }
    QCOMPARE(history(), (Strings{k, sub, k, above}));
    // Enter on a recording opens it.
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Return);
    QCOMPARE(panel().at(1), QStringLiteral("花子"));
    // F5 lists what changed, the selection kept.
    Touch(k + "/new.mgx");
    QTest::keyClick(list(), Qt::Key_F5);
    QCOMPARE(column(0), (QStringList{"a.mgx", "new.mgx", "sub"}));
    QCOMPARE(list()->selectedItems(), QList<QTreeWidgetItem*>{item("a.mgx")});
    QVERIFY(seam.shown.empty());

    // ﾌﾟﾛﾊﾟﾃｨ of the selected row; 開く on a folder enters it.
    QVERIFY(popup("ﾌﾟﾛﾊﾟﾃｨ"));
    QCOMPARE(seam.captions(), Strings{"ﾌﾟﾛﾊﾟﾃｨ"});
    QVERIFY(seam.shown.at(0).text.find("名前：a.mgx\n種類：mgxﾌｧｲﾙ") == 0);
    uint64_t ms = 0;
    QVERIFY(q2::ReadGameLength(k + "/a.mgx", ms) == q2::HeaderRead::Ok);
    QVERIFY(seam.shown.at(0).text.find("ゲーム時間：" + q2::GameTimeText(ms)) != std::string::npos);
    click("sub");
    QVERIFY(popup("開く"));
    QCOMPARE(view()->CurrentFolder(), sub);
    // With nothing selected ﾌﾟﾛﾊﾟﾃｨ is greyed out and 開く is the open-file
    // dialog, as are ファイル → 開く and Ctrl+O.
    list()->clearSelection();
    QVERIFY(!popup("ﾌﾟﾛﾊﾟﾃｨ"));
    seam.files = {QString::fromStdString(k + "/a.mgx")};
    QVERIFY(popup("開く"));
    QCOMPARE(std::make_pair(seam.openStart, view()->CurrentFolder()), std::make_pair(QString::fromStdString(sub), k));
    seam.openStart.clear();
    frame_->command(q2::id::kFileOpen)->trigger();
    QCOMPARE(seam.openStart, QString::fromStdString(k));
    seam.openStart.clear();
    frame_->activateWindow();  // a pop-up menu leaves the window inactive here
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    QTest::keyClick(list(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(seam.openStart, QString::fromStdString(k));
    QCOMPARE(seam.shown.size(), size_t(1));
    QTest::keyClick(list(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!frame_->isVisible());
  }

  // The folder shown follows the disk without F5: a recording saved into
  // it appears, a renamed or deleted one goes; the selection and the scroll
  // position stay.
  void followsTheFolder() {
    const std::string w = dir("watched");
    for (int i = 0; i < 60; ++i) Touch(w + "/" + std::to_string(100 + i) + ".mgx");
    Seam seam;
    startIn(w);
    list()->scrollToItem(item("150.mgx"));
    item("130.mgx")->setSelected(true);
    const int scroll = list()->verticalScrollBar()->value();
    QVERIFY(scroll > 0);
    Touch(w + "/game.mgx", 2048);  // a game just finished
    QTRY_VERIFY(item("game.mgx"));
    QCOMPARE(list()->verticalScrollBar()->value(), scroll);
    QCOMPARE(list()->selectedItems(), QList<QTreeWidgetItem*>{item("130.mgx")});
    fs::rename(w + "/game.mgx", w + "/renamed.mgx");
    QTRY_VERIFY(item("renamed.mgx") && !item("game.mgx"));
    fs::remove(w + "/renamed.mgx");
    QTRY_VERIFY(!item("renamed.mgx"));
    QCOMPARE(column(0).size(), 60);
    QVERIFY(seam.shown.empty());
#ifdef _WIN32
    // Windows: not followed while the program is not in front (a followed
    // folder can't be renamed there), looked at again when it comes back.
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    Touch(w + "/while-away.mgx");
    QTest::qWait(600);
    QVERIFY(!item("while-away.mgx"));
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QTRY_VERIFY(item("while-away.mgx"));
    fs::remove(w + "/while-away.mgx");
    QTRY_COMPARE(column(0).size(), 60);
#endif
    // Another folder shown: the first is no longer followed.
    view()->NavigateTo(desktop_);
    Touch(w + "/later.mgx");
    QTest::qWait(600);
    QCOMPARE(column(0), QStringList{"on-desktop.mgx"});
#ifndef _WIN32
    // The folder shown goes away: the nearest folder still there is listed,
    // and no box comes up by itself. (Windows keeps a watched folder from
    // going while it is watched.)
    const std::string gone = dir("watched/inner/gone");
    view()->NavigateTo(gone);
    fs::remove_all(w + "/inner");
    QTRY_COMPARE(view()->CurrentFolder(), w);
    QVERIFY(seam.shown.empty());
#endif
  }

  // Files dropped on the window: a folder is listed, a recording opened,
  // several recordings selected for ファイル名選択変換; anything else refused.
  void takesDrops() {
    const std::string a = dir("drop/a"), b = dir("drop/b");
    WriteGame(a + "/one.mgx", {"太郎", "花子"}, {1, 2}, 1);
    for (const std::string& n : {std::string("x.mgx"), std::string("y.mgz"), OnDisk("記録.mgx"), std::string("z.mgx")})
      Touch(b + "/" + n);
    Touch(b + "/notes.txt");
    Seam seam;
    startIn(desktop_);
    for (QWidget* w : frame_->findChildren<QWidget*>()) QVERIFY2(!w->acceptDrops(), qPrintable(w->objectName()));
    auto url = [](const std::string& path) {  // as a file manager sends it: bytes, percent-encoded
#ifdef _WIN32
      return QUrl::fromLocalFile(QString::fromStdString(path));
#else
      return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
#endif
    };
    auto dropUrls = [&](const QList<QUrl>& urls) {
      QMimeData mime;
      mime.setUrls(urls);
      QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(frame_.get(), &enter);
      if (!enter.isAccepted()) return false;
      QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(frame_.get(), &dropped);
      QTest::qWait(0);
      return dropped.isAccepted();
    };
    auto drop = [&](const std::vector<std::string>& paths) {
      QList<QUrl> urls;
      for (const std::string& p : paths) urls << url(p);
      return dropUrls(urls);
    };
    QVERIFY(drop({a}));
    QTRY_COMPARE(view()->CurrentFolder(), a);
    // A broken recording says so, and the list stays, as from the open-file dialog.
    QVERIFY(drop({desktop_ + "/" + "on-desktop.mgx", b + "/notes.txt"}));
    QTRY_COMPARE(seam.shown.size(), size_t(1));
    QCOMPARE(view()->CurrentFolder(), a);
    QVERIFY(drop({a + "/one.mgx"}));
    QTRY_COMPARE(panel().at(1), QStringLiteral("花子"));
    QCOMPARE(view()->CurrentFolder(), a);
    QVERIFY(drop({b + "/x.mgx", b + "/" + OnDisk("記録.mgx"), a + "/one.mgx", b + "/y.mgz"}));
    QTRY_COMPARE(view()->CurrentFolder(), b);
    QCOMPARE(view()->selectedNames(), (Strings{"x.mgx", "y.mgz", OnDisk("記録.mgx")}));
    QCOMPARE(history(), (Strings{desktop_, a, a, b}));
    QVERIFY(!drop({b + "/notes.txt"}));
    QVERIFY(!drop({b + "/gone.mgx"}));
#ifndef _WIN32
    // Another machine's file is not this machine's file of the same path.
    QVERIFY(!dropUrls({QUrl(QStringLiteral("file://otherhost") + QString::fromStdString(a))}));
#endif
    QCOMPARE(view()->CurrentFolder(), b);
  }

  // The caption is a box to type a path in: Ctrl+L or a click, Enter goes
  // there (a folder, "~", a relative path, a recording), a missing one is
  // said and stays to be mended, Escape gives up. 隠しフォルダを表示 lists
  // hidden folders and is remembered. A long caption is elided in the
  // middle, the whole path its tool tip.
  void typesAPathAndShowsHiddenFolders() {
    const std::string games = dir("home/.games/aoc"), sub = dir("home/.games/aoc/sub");
    WriteGame(games + "/g.mgx", {"太郎", "花子"}, {1, 2}, 1);
#ifdef _WIN32
    // Windows hides by attribute; "~" is the user's profile, not this home.
    SetFileAttributesW(q2::FsPath(dir("home/.games")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    const QString home = QString::fromStdString(home_);
#else
    const QString home = QStringLiteral("~");
#endif
    Seam seam;
    startIn(home_);
    auto* path = control<QLineEdit>(q2::id::kFolderPath);
    QCOMPARE(path->toolTip(), QString::fromStdString(home_));
    QVERIFY(!item(".games"));
    QVERIFY(!frame_->command(q2::id::kShowHidden)->isChecked());
    frame_->command(q2::id::kShowHidden)->trigger();
    QVERIFY(item(".games"));

    auto type = [&](const QString& text) {
      QTest::keyClick(list(), Qt::Key_L, Qt::ControlModifier);
      QVERIFY(path->hasFocus() && path->selectedText() == path->text());
      QTest::keyClicks(path, text);
      QTest::keyClick(path, Qt::Key_Return);
    };
    type(home + "/.games/aoc");
    QCOMPARE(view()->CurrentFolder(), games);
    QVERIFY(list()->hasFocus());
    QCOMPARE(std::make_pair(path->toolTip(), caption()), std::make_pair(QString::fromStdString(games), QString::fromStdString(games)));
    type("sub");
    QCOMPARE(view()->CurrentFolder(), sub);
    type("../g.mgx");
    QCOMPARE(std::make_pair(view()->CurrentFolder(), panel().at(1)), std::make_pair(games, QStringLiteral("花子")));
    QVERIFY(seam.shown.empty());
    type(home + "/nowhere");
    QCOMPARE(seam.shown, (q2::Messages{{"そのフォルダは見つかりません：\n" + home_ + "/nowhere", "ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ", q2::MsgIcon::Exclamation}}));
    QCOMPARE(std::make_pair(path->hasFocus(), path->text()), std::make_pair(true, home + "/nowhere"));
    QCOMPARE(view()->CurrentFolder(), games);
    QTest::keyClick(path, Qt::Key_Escape);
    QVERIFY(list()->hasFocus());
    QCOMPARE(path->text(), control<QGroupBox>(q2::id::kFolderBox)->title());
    QCOMPARE(history(), (Strings{home_, games, sub, games}));
#ifndef _WIN32
    // A folder named in code page 932 (from an archive) is typed as shown,
    // and the box's own text, Enter pressed on it, stays there.
    const std::string old = dir("home/" + OnDisk("古い記録"));
    auto paste = [&](const QString& text) {  // QTest types ASCII only
      QTest::keyClick(list(), Qt::Key_L, Qt::ControlModifier);
      path->insert(text);
      QTest::keyClick(path, Qt::Key_Return);
    };
    paste(home + QStringLiteral("/古い記録"));
    QCOMPARE(view()->CurrentFolder(), old);
    paste(path->toolTip());
    QCOMPARE(view()->CurrentFolder(), old);
    QCOMPARE(seam.shown.size(), size_t(1));  // the missing one's alone
#endif

    // Remembered at the next start.
    exit();
    QCOMPARE(settings_.raw(q2::kSectionQuoril2, "SHOW_HIDDEN"), std::optional<std::string>("1"));
    start(home_);
    QVERIFY(item(".games") && frame_->command(q2::id::kShowHidden)->isChecked());
    path = control<QLineEdit>(q2::id::kFolderPath);

    // A caption too long for its frame: elided in the middle, to the frame's width.
    const std::string deep = dir("long/" + std::string(80, 'a') + "/" + std::string(80, 'b') + "/end");
    view()->NavigateTo(deep);
    auto* box = control<QGroupBox>(q2::id::kFolderBox);
    const QString title = box->title();
    QVERIFY(title.contains(QChar(0x2026)) && title.startsWith(QString::fromStdString(deep).left(3)) &&
            title.endsWith(QString::fromStdString(Native("/end"))));
    QCOMPARE(std::make_pair(path->text(), path->toolTip()), std::make_pair(title, QString::fromStdString(deep)));
    QVERIFY(path->geometry().right() <= box->geometry().right());
    QVERIFY(box->fontMetrics().horizontalAdvance(title) < box->width());
    frame_->command(q2::id::kShowHidden)->trigger();
  }

  void listsAndNavigates() {
    const std::string nav = dir("nav"), f = dir("nav/f"), sub = dir("nav/f/" + OnDisk("記録"));
    Touch(f + "/b.mgx", 1263616);
    Touch(f + "/A.mgx", 1023);
    QFile a(QString::fromStdString(f + "/A.mgx"));
    QVERIFY(a.open(QIODevice::Append) &&
            a.setFileTime(QDateTime({2005, 3, 26}, {2, 23}), QFileDevice::FileModificationTime));
    fs::create_directories(q2::FsPath(f + "/old.mgx"));
    for (const std::string& n : {OnDisk("ｹﾞｰﾑ.mgx"), std::string("notes.txt"), std::string(".hidden.mgx"),
                                 std::string("up.mgz"), std::string("aok.mgl")})
      Touch(f + "/" + n);
#ifdef _WIN32
    // Hidden as Windows marks it.
    SetFileAttributesW(q2::FsPath(f + "/.hidden.mgx").c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
    Seam seam;
    startIn(f);
    // Name, size, type and icon of each row.
    auto picture = [](const QIcon& i) { return i.pixmap(16, 16).toImage(); };
    const QImage folder = picture(q2::ListIcon(false)), recording = picture(q2::ListIcon(true));
    QStringList rows;
    for (int r = 0; r < list()->topLevelItemCount(); ++r) {
      const QTreeWidgetItem* it = list()->topLevelItem(r);
      const QImage icon = picture(it->icon(0));
      rows << QStringList{it->text(0), it->text(1), it->text(2), icon == recording ? "R" : icon == folder ? "F" : "?"}
                  .join('|');
    }
    QCOMPARE(rows, (QStringList{"A.mgx|0 KB|mgxﾌｧｲﾙ|R", "aok.mgl|0 KB|mglﾌｧｲﾙ|R", "b.mgx|1,234 KB|mgxﾌｧｲﾙ|R",
                                "old.mgx|0 KB|mgxﾌｧｲﾙ|R", "up.mgz|0 KB|mgzﾌｧｲﾙ|R", "ｹﾞｰﾑ.mgx|0 KB|mgxﾌｧｲﾙ|R",
                                "記録|0 KB|ﾃﾞｨﾚｸﾄﾘ|F"}));
    QCOMPARE(column(3).first(), QStringLiteral("2005/03/26 02:23"));
    QCOMPARE(caption(), QString::fromStdString(f));
    QVERIFY(seam.shown.empty());
    click("old.mgx");  // a folder typed as a recording is opened as one, and fails
    QCOMPARE(seam.shown.size(), size_t(1));

    // Into 記録; then each button: the folder shown and whether back and forward are offered.
    doubleClick(at("記録"));
    QCOMPARE(caption(), QString::fromStdString(Native(f + "/記録")));
    const struct {
      int button;
      std::string folder;
      std::pair<bool, bool> offered;
    } steps[] = {{0, sub, {true, false}},         {q2::id::kBack, f, {false, true}},  {q2::id::kUp, nav, {true, false}},
                 {q2::id::kDesktop, desktop_, {true, false}}, {q2::id::kBack, nav, {true, true}}, {q2::id::kBack, f, {false, true}},
                 {q2::id::kForward, nav, {true, true}}};
    for (const auto& s : steps) {
      if (s.button) press(s.button);
      QCOMPARE(std::make_pair(view()->CurrentFolder(), historyButtons()), std::make_pair(s.folder, s.offered));
      if (s.button == q2::id::kUp) QCOMPARE(history(), (Strings{f, nav}));  // the parent dropped 記録
    }
    // A double click with nothing selected lists the same folder again.
    list()->clearSelection();
    doubleClick(QPoint(5, list()->viewport()->height() - 3));
    QCOMPARE(caption(), QString::fromStdString(Native(nav + "/")));
    // A folder on a Japanese desktop is captioned from "デスクトップ" on.
    view()->NavigateTo(dir("x/デスクトップ/y"));
    QCOMPARE(caption(), QString::fromStdString(Native("デスクトップ/y")));
    QCOMPARE(seam.shown.size(), size_t(1));
  }

  // Open a folder, click a recording: the panel and the chat, the read-only
  // boxes and the edit commands, the graph and the colours, the menus; the
  // open-file button.
  void opensARecording() {
    const std::string f = dir("games"), eight = Native(f + "/" + OnDisk("大会.mgx"));
    WriteGame(f + "/two.mgx", {"太郎", "花子", "侍", "North"}, {2, 2, 3, 3}, 1);
    WriteGame(eight, {"a1", "b2", "c3", "d4", "e5", "f6", "g7", "h8"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3);
    q2::gen::WriteFile(f + "/zero.mgx", std::string(64, '\0'));
    Seam seam;
    startIn(f);
    click("two.mgx");
    QCOMPARE(panel(), (QStringList{"太郎", "花子", "侍", "North", "", "", "", "", "太郎", "太郎 花子 ", ""}));
    QCOMPARE(std::make_pair(nameColour(1004), nameColour(1005)), std::make_pair(QColor(0, 0, 255), QColor(255, 0, 0)));

    // The check boxes switch the pane at once, without reading the file again.
    QCOMPARE(chat().first(), QStringLiteral("-------ゲーム開始後チャット-------"));
    QVERIFY(chat().contains(QStringLiteral("--警告-- あなたの町の人が攻撃を受けています")));
    press(q2::id::kHideWarnings);  // 警告無し
    QVERIFY(!chat().join('\n').contains(QStringLiteral("--警告")) && chat().contains(QStringLiteral("太郎: gg")));
    press(q2::id::kPregameChat);  // 開始前チャット
    QCOMPARE(chat().mid(0, 2), (QStringList{"-------ゲーム開始前チャット-------", "太郎: よろしくお願いします"}));
    press(q2::id::kPregameChat);
    press(q2::id::kHideWarnings);
    QVERIFY(chat().join('\n').contains(QStringLiteral("--警告")));

    // The boxes and the chat pane are read-only: cut, paste and undo from the
    // menu, the keyboard or the list's pop-up menu leave them alone; the
    // menu's and the pop-up's copy copy.
    for (QLineEdit* box : view()->findChildren<QLineEdit*>())
      QVERIFY(box->isReadOnly() || box == control<QLineEdit>(q2::id::kFolderPath));
    auto* pane = control<QPlainTextEdit>(1003);
    auto* line = control<QLineEdit>(1015);
    std::vector<std::function<void(QWidget*)>> edits;
    for (int id : {q2::id::kEditCut, q2::id::kEditPaste, q2::id::kEditUndo, q2::id::kEditCopy}) edits.push_back([&, id](QWidget*) { frame_->command(id)->trigger(); });
    for (const char* keys : {"Ctrl+X", "Shift+Del", "Ctrl+V", "Shift+Ins", "Ctrl+Z", "Alt+Backspace", "A"})
      edits.push_back([=](QWidget* w) { QTest::keySequence(w, QKeySequence(keys)); });
    for (const char* item : {"切り取り", "貼り付け", "ｺﾋﾟｰ"}) {
      edits.push_back([&, item](QWidget*) {
        QTimer::singleShot(0, [item] {
          auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
          QVERIFY(menu);
          for (QAction* a : menu->actions())
            if (a->text().startsWith(QString::fromUtf8(item))) a->trigger();
          menu->close();
        });
        view()->OnListRClick(QPoint(5, 5));
      });
    }
    for (QWidget* w : std::initializer_list<QWidget*>{line, pane}) {
      auto shown = [&] { return w == pane ? pane->toPlainText() : line->text(); };
      const QString before = shown();
      QStringList clipboard, expected(edits.size(), QStringLiteral("貼り付け"));
      expected[3] = expected.last() = before;  // the two copies
      for (auto& edit : edits) {
        QApplication::clipboard()->setText(QStringLiteral("貼り付け"));
        frame_->activateWindow();  // a pop-up menu leaves the window inactive here
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        w->setFocus();
        QMetaObject::invokeMethod(w, "selectAll");
        edit(w);
        QCOMPARE(shown(), before);
        clipboard << QApplication::clipboard()->text();
      }
      QCOMPARE(clipboard, expected);
    }

    doubleClick(at("大会.mgx"));
    QCOMPARE(panel(), (QStringList{"a1", "b2", "c3", "d4", "e5", "f6", "g7", "h8", "c3", "a1 c3 e5 g7 ", "b2 d4 f6 h8 "}));
    QCOMPARE(shownPath(), eight);
    QVERIFY(seam.shown.empty());
    // A broken recording says so and leaves the panel showing the last one;
    // a double click opens twice, so the message comes twice. Nothing is written.
    click("zero.mgx");
    QCOMPARE(seam.captions(), Strings{q2::kAppTitle});
    QCOMPARE(std::make_pair(panel().first(), shownPath()), std::make_pair(QStringLiteral("a1"), eight));
    doubleClick(at("zero.mgx"));
    QCOMPARE(seam.shown.size(), size_t(3));
    QFile zero(QString::fromStdString(f + "/zero.mgx"));
    QVERIFY(zero.open(QIODevice::ReadOnly) && zero.readAll() == QByteArray(64, '\0'));
    QDir games(QString::fromStdString(f));
    QCOMPARE(games.entryList({"*.dat"}, QDir::AllEntries | QDir::Hidden), QStringList());

    // The graph of the recording shown; a colour confirmed in the colour
    // dialog shows in the name box at once.
    QStringList names;
    WhenModal([&](QWidget* dlg) { names << Id<QLineEdit>(dlg, 1096)->text() << Id<QLineEdit>(dlg, 1006)->text(); });
    press(q2::id::kGraph);
    QCOMPARE(names, (QStringList{"a1", "g7"}));
    seam.colors = {QColor(Qt::white)};
    WhenModal([](QWidget* dlg) {
      Press(dlg, 1001);  // 変更 of slot 1
      Press(dlg, 1);     // 設定
    });
    frame_->command(q2::id::kPlayerColors)->trigger();
    QCOMPARE(nameColour(1004), QColor(Qt::white));
    QCOMPARE(q2::PlayerColor(0), q2::ColorRef(0xFFFFFF));

    // The open-file dialog starts in the folder shown; cancelled, nothing
    // changes; a name typed as shown opens the file, and its folder is listed.
    click("two.mgx");
    view()->NavigateTo(desktop_);
    const Strings before = history();
    press(q2::id::kOpenFile);
    QCOMPARE(seam.openStart, QString::fromStdString(desktop_));
    QCOMPARE(history(), before);
    seam.files = {QString::fromStdString(f + "/大会.mgx")};
    press(q2::id::kOpenFile);
    QCOMPARE(std::make_pair(panel().first(), view()->CurrentFolder()), std::make_pair(QStringLiteral("a1"), f));
    QCOMPARE(history().size(), before.size() + 1);

    // The menus: the document commands are off; a prompt is the status-bar
    // text, then the tool tip.
    for (int id : {q2::id::kFileNew, q2::id::kFileSave, q2::id::kFileSaveAs}) QVERIFY(!frame_->command(id)->isEnabled());
    QCOMPARE((QStringList{frame_->command(q2::id::kEditCopy)->statusTip(), frame_->command(q2::id::kEditCopy)->toolTip(),
                          frame_->command(q2::id::kSetStartupFolder)->statusTip()}),
             (QStringList{"選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存", "ｺﾋﾟｰ", ""}));
    frame_->command(q2::id::kStatusBar)->trigger();
    QVERIFY(!frame_->statusBar()->isVisibleTo(frame_.get()));
  }

  // The real dialogs behind the seam. The open-file dialog: its filters,
  // "*.mgx" as the name, the folder shown; a name with wildcards filters the
  // list instead of opening. The colour picker starts on black, as the
  // Windows one without a preset. Qt's own box buttons speak Japanese
  // whatever the locale.
  // "詳細": each name with its civilisation, the winners' mark and the
  // resign time, and a line of the map and settings; off until chosen and
  // then remembered. "文字コード": a Chinese game's names and chat in GBK as
  // its header tells, or as chosen, and remembered.
  void showsTheGamesDetails() {
    const std::string f = dir("details");
    q2::gen::GameParams p;
    p.players = {{1, "North", 2, 17}, {2, "侍", 3, 15}, {3, "ゆきむら", 2, 5}, {4, "West", 3, 11}};
    p.population = 150;
    p.resigns = {{2, 2, 0.5}, {4, 4, 0.75}};
    q2::gen::Placed placed;
    q2::gen::WriteFile(f + "/team.mgx", q2::gen::BuildRecording(p, &placed));
    q2::gen::GameParams zh;
    zh.language = q2::gen::Language::Chinese;
    zh.players = {{1, "长城", 1, 6}, {2, "West", 1, 1}};
    zh.lobbyChat = {{1, "长城: 你好"}};
    zh.resigns = {{2, 2, 0.9}};
    q2::gen::Placed zhPlaced;
    q2::gen::WriteFile(f + "/zh.mgx", q2::gen::BuildRecording(zh, &zhPlaced));
    startIn(f);
    click("team.mgx");
    const QStringList plain = panel();
    QCOMPARE(plain.mid(0, 4), (QStringList{"North", "侍", "ゆきむら", "West"}));
    QCOMPARE(control<QLabel>(q2::id::kDetailsText)->text(), QString());
    press(q2::id::kDetails);
    auto resigned = [&](int i) { return QString::fromStdString("投了 " + q2::ClockText(placed.resignMs[i])); };
    QCOMPARE(panel().mid(0, 5), (QStringList{"North  フン ★", "侍  アステカ " + resigned(0), "ゆきむら  日本 ★",
                                              "West  バイキング " + resigned(1), ""}));
    QCOMPARE(panel().mid(8), plain.mid(8));
    QCOMPARE(control<QLabel>(q2::id::kDetailsText)->text(), QStringLiteral("アラビア(極小)  2v2  人口150  標準"));
    exit();
    QCOMPARE(settings_.raw(q2::kSectionView, q2::kKeyShowDetails), std::optional<std::string>("1"));
    QCOMPARE(settings_.raw(q2::kSectionView, q2::kKeyTextEncoding), std::nullopt);

    start();
    QVERIFY(control<QCheckBox>(q2::id::kDetails)->isChecked());
    click("zh.mgx");
    QCOMPARE(panel().mid(0, 2), (QStringList{"长城  中国 ★", QString::fromStdString("West  ブリトン 投了 " +
                                                                                   q2::ClockText(zhPlaced.resignMs[0]))}));
    press(q2::id::kPregameChat);
    QCOMPARE(chat().mid(0, 2), (QStringList{"-------ゲーム開始前チャット-------", "长城: 你好"}));
    // As Japanese the same bytes read as the half-width nonsense they were.
    frame_->command(q2::id::kEncodingJapanese)->trigger();
    const std::string gbk = q2::Utf8ToGbk("长城").value();
    QCOMPARE(panel().at(0), QString::fromStdString(q2::Cp932ToUtf8(gbk) + "  中国 ★"));
    QCOMPARE(chat().at(0), QStringLiteral("-------ゲーム開始前チャット-------"));
    frame_->command(q2::id::kEncodingAuto)->trigger();
    QCOMPARE(panel().at(0), QStringLiteral("长城  中国 ★"));
    frame_->command(q2::id::kEncodingChinese)->trigger();
    press(q2::id::kDetails);
    click("team.mgx");
    QCOMPARE(panel().mid(0, 2), (QStringList{"North", QString::fromStdString(q2::GbkToUtf8(Cp932("侍")))}));
    exit();
    QCOMPARE(settings_.raw(q2::kSectionView, q2::kKeyShowDetails), std::optional<std::string>("0"));
    QCOMPARE(settings_.raw(q2::kSectionView, q2::kKeyTextEncoding), std::optional<std::string>("2"));
    start();
    click("team.mgx");
    QCOMPARE(panel().at(1), QString::fromStdString(q2::GbkToUtf8(Cp932("侍"))));
  }

  void realDialogs() {
    q2::UiSeam real;
    QStringList seen;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      seen = dlg->nameFilters();
      seen << dlg->findChild<QLineEdit*>("fileNameEdit")->text() << QDir::toNativeSeparators(dlg->directory().absolutePath());
      QMetaObject::invokeMethod(dlg, "accept");
      seen << (dlg->isVisible() ? "stayed open" : "closed");
      dlg->reject();
    });
    QCOMPARE(real.pickOpenFile(nullptr, QString::fromStdString(desktop_)), QString());
    QCOMPARE(seen, (QStringList{"Replayﾌｧｲﾙ(*.mgx *.mgz *.mgl)", "mgxﾌｧｲﾙ(*.mgx)", "mgzﾌｧｲﾙ(*.mgz)",
                                "mglﾌｧｲﾙ(*.mgl)", "*.mgx", QString::fromStdString(desktop_), "stayed open"}));
    // Its columns speak as the folder list does: no "Folder", "bytes",
    // "MiB" or English dates from the system's locale; other files' types
    // in Japanese.
    QVERIFY(q2::CQuoril2App::InstallJapanese());
    const std::string files = dir("dialog");
    fs::create_directories(files + "/sub");
    WriteGame(files + "/game.mgx", {"a"}, {1}, 1);
    Touch(files + "/notes.txt", 5);
    auto when = [&](const std::string& name) {
      return QFileInfo(QString::fromStdString(files + "/" + name)).lastModified().toString("yyyy/MM/dd HH:mm");
    };
    QStringList rows, others;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      const auto close = qScopeGuard([dlg] { dlg->reject(); });  // also after a failed check
      auto* tree = dlg->findChild<QTreeView*>("treeView");
      const QAbstractItemModel* m = tree->model();
      auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < 4; ++c) cells << m->index(r, c, tree->rootIndex()).data().toString();
        return cells.join('|');
      };
      QTRY_COMPARE(m->rowCount(tree->rootIndex()), 2);
      for (int r = 0; r < 2; ++r) rows << row(r);
      std::sort(rows.begin(), rows.end());
      const QString date = m->index(0, 3, tree->rootIndex()).data().toString();
      QVERIFY(tree->fontMetrics().horizontalAdvance(date) < tree->header()->sectionSize(3));
      for (int c = 0; c < 4; ++c) rows << m->headerData(c, Qt::Horizontal).toString();
      dlg->findChild<QFileSystemModel*>()->setNameFilters({"*"});  // every file
      QTRY_COMPARE(m->rowCount(tree->rootIndex()), 3);
      for (int r = 0; r < 3; ++r)
        if (row(r).startsWith("notes.txt")) others << row(r).section('|', 2, 2);
    });
    real.pickOpenFile(nullptr, QString::fromStdString(files));
    QCOMPARE(rows, (QStringList{"game.mgx|" + QString::fromStdString(q2::SizeText(fs::file_size(files + "/game.mgx"))) + "|mgxﾌｧｲﾙ|" + when("game.mgx"),
                                "sub||ﾃﾞｨﾚｸﾄﾘ|" + when("sub"), "名前", "サイズ", "タイプ", "更新日"}));
    QCOMPARE(others.size(), 1);
#ifndef _WIN32  // Windows names other files' kinds itself, in its own language
    QVERIFY2(!others.first().isEmpty() && !others.first().contains(QRegularExpression("[A-Za-z]")), qPrintable(others.first()));
#endif

    WhenModal([](QWidget* dlg) { qobject_cast<QDialog*>(dlg)->accept(); });
    QCOMPARE(real.pickColor(nullptr), std::optional<QColor>(QColor(Qt::black)));

    QStringList box;  // the caption, Yes and No, each in kana or kanji
    WhenModal([&](QWidget* dlg) {
      box << dlg->windowTitle();
      for (auto* b : dlg->findChildren<QAbstractButton*>()) box << b->text();
    });
    real.showMessage(nullptr, q2::ConfirmFormatMessage("[YEAR]"));
    QCOMPARE(box.size(), 3);
    for (const QString& t : box)
      QVERIFY2(std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() >= 0x3000; }), qPrintable(t));
  }

  // Every window's font is a face this system has that draws kana and kanji
  // (Windows's own Japanese Gothic, or under Wine the IPA Gothic given to
  // Qt), never a fallback that shows boxes.
  void japaneseFont() {
    const QFontInfo shown(q2::DialogFont());
    QVERIFY2(QFontDatabase::writingSystems(shown.family()).contains(QFontDatabase::Japanese), qPrintable(shown.family()));
    const QFontMetrics fm(q2::DialogFont());
    for (char32_t c : {U'く', U'録', U'ﾌ', U'Ｐ'}) QVERIFY2(fm.inFontUcs4(c), qPrintable(shown.family()));
  }

  // Texts are never cut: a message line wider than Qt's wrapping width
  // stays one line, the About box's long settings path is elided in the
  // middle with its whole as tool tip, a long player name shows whole.
  void textsShowWhole() {
    // The first start's note with a long path: five lines, none wrapped.
    q2::UiSeam real;
    const QFontMetrics fm(QApplication::font());
    std::string folder = "/home/player/.wine/drive_c/Program Files (x86)/Microsoft Games/Age of Empires II";
    while (fm.horizontalAdvance(QString::fromStdString(folder)) < QGuiApplication::primaryScreen()->availableGeometry().width() * 6 / 10)
      folder += "/SaveGame";
    QList<int> label;
    WhenModal([&](QWidget* dlg) {
      const auto* l = dlg->findChild<QLabel*>("qt_msgbox_label");
      label << l->height() << l->fontMetrics().lineSpacing();
    });
    real.showMessage(nullptr, q2::FirstStartMessage(folder));
    QVERIFY2(label.at(0) < 6 * label.at(1), qPrintable(QString::number(label.at(0) / label.at(1))));

    Seam seam;
    const std::string longIni = Native(dir("about/" + std::string(120, 's')) + "/Quoran.ini");
    q2::OverrideSettingsPath(longIni);
    start();
    QStringList about;
    WhenModal([&](QWidget* dlg) {
      for (auto* l : dlg->findChildren<QLabel*>())
        if (!l->text().isEmpty()) {
          QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));
          if (l->objectName() == "settingsPath") about << l->text() << l->toolTip();
        }
    });
    frame_->command(q2::id::kAbout)->trigger();
    q2::OverrideSettingsPath(settings_.ini);
    QCOMPARE(about.size(), 2);
    QVERIFY(about.at(0).startsWith("設定ファイル：" + QString::fromStdString(longIni).left(3)) &&
            about.at(0).contains(QChar(0x2026)) && about.at(0).endsWith(QString::fromStdString(Native("/Quoran.ini"))));
    QCOMPARE(about.at(1), QString::fromStdString("設定ファイル：" + longIni));
    exit();

    const std::string f = dir("names");
    WriteGame(f + "/long.mgx", {"[Magio]Ponguta_", "WWWWWWWWWWWWWWW"}, {1, 2}, 1);
    startIn(f);
    click("long.mgx");
    for (int id : {1004, 1005}) {
      auto* box = control<QLineEdit>(id);
      QCOMPARE(box->cursorPosition(), 0);
      QVERIFY2(QFontMetrics(box->font()).horizontalAdvance(box->text()) <= box->width() - 8, qPrintable(box->text()));
    }
    QCOMPARE(control<QLineEdit>(1004)->text(), QStringLiteral("[Magio]Ponguta_"));
    QCOMPARE(control<QLineEdit>(1005)->toolTip(), QStringLiteral("WWWWWWWWWWWWWWW"));  // shrunk, so also a tip
  }

  void renameButtons() {
    const std::string f = dir("rename");
    auto defaultName = [&](int day, int sec) {
      return f + "/" + q2::gen::DefaultRecordingName({2005, 3, day, 10, 40, sec});
    };
    for (int day = 1; day <= 25; ++day) WriteGame(defaultName(day, 55), {"太郎"}, {1}, 1, day, 20000);
    WriteGame(f + "/" + OnDisk("大会.mgx"), {"花子", "太郎"}, {1, 1}, 1);
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
    rename(seam, q2::id::kBulkRename, "[YEAR][MONTH][DAY]");
    watch.stop();
    QVERIFY(progress.contains(QStringLiteral("25 / 25")) && !view()->findChild<QProgressDialog*>());
    QCOMPARE(column(0).mid(0, 2), (QStringList{newName, "20050302.mgx"}));
    QCOMPARE(seam.tail(2), q2::BulkOutcomeMessages(q2::RenameOutcome::Ok));
    QCOMPARE(refreshed, (std::vector<bool>{false, true, true}));

    // The recording on screen stays on screen, whatever the runs read.
    click("大会.mgx");
    if (!options().first) press(q2::id::kGameLength);
    press(q2::id::kPregameChat);
    const QStringList shown = panel() << length() << chat();
    QVERIFY(!length().isEmpty());

    // Two unreadable headers: one box for both, shown before the list is
    // refreshed; the outcome after it.
    WriteGame(defaultName(27, 1), {"花子"}, {1}, 1, 9, 300000);
    for (int sec : {55, 56}) q2::gen::WriteFile(defaultName(28, sec), std::string("\xff\xff\x00\x00garbage", 11));
    seam.shown.clear();
    refreshed.clear();
    uint64_t ms = 0;
    QVERIFY(q2::ReadGameLength(defaultName(27, 1), ms) == q2::HeaderRead::Ok);
    newName = QString::fromStdString("20050327_花子_" + q2::GameTimeText(ms) + ".mgx");
    rename(seam, q2::id::kBulkRename, "[YEAR][MONTH][DAY]_[REC_PLAYER]_[GAME_TIME]");
    QCOMPARE(panel() << length() << chat(), shown);
    QCOMPARE(seam.captions(), Strings(3, q2::kCaptionBulkRename));
    QCOMPARE(seam.tail(1), q2::BulkOutcomeMessages(q2::RenameOutcome::SomeFailed));
    QCOMPARE(refreshed, (std::vector<bool>{false, false, true}));

    // A format dialog left with "No" and "ｷｬﾝｾﾙ" renames nothing; nor does
    // the selected-files rename with nothing selected, refused before any dialog.
    const QStringList before = column(0);
    seam.answers = {QMessageBox::No};
    WhenModal([](QWidget* dlg) {
      Press(dlg, 1);
      Press(dlg, 2);
    });
    press(q2::id::kBulkRename);
    list()->clearSelection();
    bool dialog = false;
    QTimer::singleShot(0, [&] {
      if (auto* d = QApplication::activeModalWidget()) dialog = true, d->close();
    });
    press(q2::id::kSelectedRename);
    QTest::qWait(20);
    QVERIFY(!dialog);
    QCOMPARE(seam.tail(2), (q2::Messages{q2::ConfirmFormatMessage("[YEAR][MONTH][DAY]_[REC_PLAYER]_[GAME_TIME]"),
                                         q2::NothingSelectedMessage()}));
    QCOMPARE(column(0), before);
    // Only the selected row, found by its bytes.
    item(QStringLiteral("大会.mgx"))->setSelected(true);
    rename(seam, q2::id::kSelectedRename, "[REC_PLAYER]");
    QVERIFY(item(QStringLiteral("花子.mgx")) && !item(QStringLiteral("大会.mgx")) && column(0).size() == before.size());
    QCOMPARE(seam.tail(2), q2::SelectedOutcomeMessages(q2::RenameOutcome::Ok));
    // The shown recording itself renamed: still shown, under its new name.
    QCOMPARE(panel() << length() << chat(), shown);
    QCOMPARE(view()->summary().view.currentReplayPath, Native(f + "/花子.mgx"));
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
