#include "gui/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLockFile>
#include <QMenuBar>
#include <QMimeData>
#include <QMoveEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QStatusBar>

#include "gui/CAboutDlg.h"
#include "gui/kit/DialogUnits.h"
#include "gui/kit/Icons.h"
#include "gui/kit/QtText.h"
#include "gui/kit/UiSeam.h"
#include "core/settings/settings.h"
#include "gui/CQuoril2View.h"

#include "gui/GraphCommands.h"
#include "gui/kit/ControlIds.h"

namespace q2 {
namespace {

// Prompts of the string table: status-bar text, then the tool tip.
struct Prompt {
  int id;
  const char* text;
};
constexpr Prompt kPrompts[] = {
    {57600, "新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ"},
    {57601, "既存のﾌｧｲﾙを開く\n開く"},
    {57603, "作業中のﾌｧｲﾙを上書きして保存\n保存"},
    {57604, "作業中のﾌｧｲﾙを新しい名前で保存\n名前をつけて保存"},
    {57634, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ"},
    {57635, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n切り取り"},
    {57637, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け"},
    {57643, "直前に行った動作を元に戻す\n元に戻す"},
    {57665, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了"},
    {59393, "ｽﾃｰﾀｽ ﾊﾞｰの 表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え"},
};

const char* PromptOf(int id) {
  for (const Prompt& p : kPrompts)
    if (p.id == id) return p.text;
  return nullptr;
}

}  // namespace

CMainFrame::CMainFrame(CQuoril2Doc* doc, QWidget* parent) : QMainWindow(parent) {
  setFont(DialogFont());
  setWindowIcon(AppIcon());
  view_ = new CQuoril2View(doc, this);
  setCentralWidget(view_);
  buildMenus();
  buildStatusBar();
  view_->setReferenceWindowSize(kDefaultFrame.size());
  // Files dropped anywhere on the window come here: the read-only boxes
  // would otherwise take the drag and refuse it.
  for (QWidget* w : findChildren<QWidget*>()) w->setAcceptDrops(false);
  setAcceptDrops(true);
}

namespace {
std::vector<std::string> DroppedPaths(const QMimeData* mime) {
  std::vector<std::string> out;
  if (mime)
    for (const QUrl& url : mime->urls())
      if (std::string p = DiskPathOfUrl(url); !p.empty()) out.push_back(std::move(p));
  return out;
}
}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
  if (CQuoril2View::TakesDrop(DroppedPaths(e->mimeData()))) e->acceptProposedAction();
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* e) { e->acceptProposedAction(); }

void CMainFrame::dropEvent(QDropEvent* e) {
  const std::vector<std::string> paths = DroppedPaths(e->mimeData());
  if (!CQuoril2View::TakesDrop(paths)) return;
  e->acceptProposedAction();
  // The source of the drag waits for the drop to end: a box the opening
  // shows comes after.
  QTimer::singleShot(0, view_, [view = view_, paths] { view->OpenDropped(paths); });
}

CMainFrame::~CMainFrame() {
  if (placed_ && !view_->settingsPath().empty()) SaveWindowState(view_->settingsPath(), started_, currentState());
}

QPoint CMainFrame::cascadeStep() {
  // Each window holds a numbered lock for its life, named after its settings
  // file: the first free number says how many windows of those settings are
  // open already. The user's own runtime folder (the session's, else one Qt
  // makes for this user alone), never a folder others may write; on
  // Windows the user's temporary folder.
  const QByteArray key =
      QCryptographicHash::hash(QByteArray::fromStdString(view_->settingsPath()), QCryptographicHash::Sha1).toHex().left(12);
#ifdef _WIN32
  const QString folder = QDir::tempPath();
#else
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
  if (folder.isEmpty()) return {};
  const QDir dir(folder);
  for (int n = 0; n < 10; ++n) {
    auto lock = std::make_unique<QLockFile>(dir.filePath(QStringLiteral("quoril2-%1-%2.lock").arg(QString::fromLatin1(key)).arg(n)));
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
      slot_ = std::move(lock);
      const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + 4;
      return QPoint(step, step) * n;
    }
  }
  return {};
}

void CMainFrame::placeAndShow() {
  const std::string path = view_->settingsPath();
  const WindowState stored = path.empty() ? WindowState{} : LoadWindowState(path);
  QRect frame = kDefaultFrame;
  if (stored.width > 0) {
    frame = QRect(stored.x, stored.y, stored.width, stored.height);
    // A place on a screen that is gone is not kept: the title bar must be
    // within reach.
    if (!QGuiApplication::screenAt(frame.topLeft() + QPoint(frame.width() / 2, 10)))
      frame.moveTopLeft(kDefaultFrame.topLeft());
    // Nor a size larger than the screen it opens on (one saved on a bigger
    // screen): it shrinks to fit and moves in to show its edges.
    const QScreen* screen = QGuiApplication::screenAt(frame.topLeft() + QPoint(frame.width() / 2, 10));
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
      const QRect room = screen->availableGeometry();
      frame.setSize(frame.size().boundedTo(room.size()));
      frame.moveRight(std::min(frame.right(), room.right()));
      frame.moveBottom(std::min(frame.bottom(), room.bottom()));
    }
  }
  frame.translate(cascadeStep());
  move(frame.topLeft());
  resize(frame.size());
  command(id::kShowHidden)->setChecked(view_->showHidden());
  // What the window writes at the end is what changed since now.
  started_ = view_->layoutState();
  started_.x = frame.x();
  started_.y = frame.y();
  started_.width = frame.width();
  started_.height = frame.height();
  started_.maximized = stored.maximized;
  placed_ = true;
  if (stored.maximized)
    showMaximized();
  else
    show();
}

WindowState CMainFrame::currentState() const {
  WindowState s = view_->layoutState();
  s.maximized = isMaximized();
  // The place the window goes back to when it is no longer maximised.
  const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
  const QPoint topLeft = isMaximized() || isFullScreen() ? normal.topLeft() - normalMargins_ : pos();
  if (normal.isValid()) {
    s.x = topLeft.x();
    s.y = topLeft.y();
    s.width = normal.width();
    s.height = normal.height();
  }
  return s;
}

void CMainFrame::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
    normalMargins_ = geometry().topLeft() - pos();
}

QAction* CMainFrame::command(int id) const {
  auto it = commands_.find(id);
  return it == commands_.end() ? nullptr : it->second;
}

QAction* CMainFrame::addCommand(QMenu* menu, int id, const QString& text) {
  auto* a = menu->addAction(text);
  a->setObjectName(QStringLiteral("cmd%1").arg(id));
  if (const char* p = PromptOf(id)) {
    const QString prompt = QString::fromUtf8(p);
    a->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
    a->setToolTip(prompt.section(QLatin1Char('\n'), 1));
  } else {
    a->setStatusTip(QString());
  }
  commands_[id] = a;
  return a;
}

void CMainFrame::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  connect(addCommand(file, id::kSetStartupFolder, QStringLiteral("このフォルダを起動時の参照場所にする")), &QAction::triggered, this,
          &CMainFrame::OnSetStartupFolder);
  // The document commands do nothing for a tool that stores no documents;
  // 開く opens a recording as the open button does.
  addCommand(file, id::kFileNew, QStringLiteral("新規作成(&N)\tCtrl+N"))->setEnabled(false);
  QAction* openFile = addCommand(file, id::kFileOpen, QStringLiteral("開く(&O)...\tCtrl+O"));
  connect(openFile, &QAction::triggered, view_, &CQuoril2View::OnOpenFile);
  addCommand(file, id::kFileSave, QStringLiteral("上書き保存(&S)\tCtrl+S"))->setEnabled(false);
  addCommand(file, id::kFileSaveAs, QStringLiteral("名前を付けて保存(&A)..."))->setEnabled(false);
  file->addSeparator();
  QAction* quit = addCommand(file, id::kExit, QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)\tCtrl+Q"));
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  QAction* undo = addCommand(edit, 57643, QStringLiteral("元に戻す(&U)\tCtrl+Z"));
  edit->addSeparator();
  QAction* cut = addCommand(edit, 57635, QStringLiteral("切り取り(&T)\tCtrl+X"));
  QAction* copy = addCommand(edit, 57634, QStringLiteral("ｺﾋﾟｰ(&C)\tCtrl+C"));
  QAction* paste = addCommand(edit, 57637, QStringLiteral("貼り付け(&P)\tCtrl+V"));
  connect(addCommand(edit, id::kPlayerColors, QStringLiteral("プレイヤー表示色設定")), &QAction::triggered, this,
          &CMainFrame::OnPlayerColors);
  connect(addCommand(edit, id::kResetAgeColors, QStringLiteral("進化グラフの時代表示色をDefault値に戻す")), &QAction::triggered,
          this, &CMainFrame::OnResetAgeColors);
  connect(undo, &QAction::triggered, view_, &CQuoril2View::OnEditUndo);
  connect(cut, &QAction::triggered, view_, &CQuoril2View::OnEditCut);
  connect(copy, &QAction::triggered, view_, &CQuoril2View::OnEditCopy);
  connect(paste, &QAction::triggered, view_, &CQuoril2View::OnEditPaste);
  // The accelerator table; the shortcuts stay off the menu texts, which
  // carry their own.
  auto keys = [this](QAction* a, std::initializer_list<QKeySequence> seqs) {
    a->setShortcuts(QList<QKeySequence>(seqs));
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  };
  keys(undo, {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
  keys(cut, {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
  keys(copy, {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
  keys(paste, {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
  keys(openFile, {QKeySequence(Qt::CTRL | Qt::Key_O)});
  keys(quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)});
  // A file manager's keys for the folder list; Backspace and Enter belong
  // to the list itself, so that they still edit text elsewhere.
  auto key = [&](QKeySequence seq, auto slot) {
    auto* a = new QAction(this);
    keys(a, {seq});
    connect(a, &QAction::triggered, this, slot);
  };
  key(QKeySequence(Qt::ALT | Qt::Key_Left), [this] {
    if (view_->navigator().HistoryButtons().first) view_->OnBack();
  });
  key(QKeySequence(Qt::ALT | Qt::Key_Right), [this] {
    if (view_->navigator().HistoryButtons().second) view_->OnForward();
  });
  key(QKeySequence(Qt::ALT | Qt::Key_Up), [this] { view_->OnUpFolder(); });
  key(QKeySequence(Qt::CTRL | Qt::Key_L), [this] { view_->FocusPath(); });

  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  QAction* bar = addCommand(viewMenu, id::kStatusBar, QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"));
  bar->setCheckable(true);
  bar->setChecked(true);
  connect(bar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  // How the recording's names and chat are decoded: as its header tells,
  // or as the user says.
  QMenu* encoding = viewMenu->addMenu(QStringLiteral("文字コード"));
  auto* group = new QActionGroup(this);
  const std::pair<int, const char*> choices[] = {
      {id::kEncodingAuto, "自動"}, {id::kEncodingJapanese, "日本語"}, {id::kEncodingChinese, "中国語"}};
  for (size_t i = 0; i < std::size(choices); ++i) {
    QAction* a = addCommand(encoding, choices[i].first, QString::fromUtf8(choices[i].second));
    a->setCheckable(true);
    group->addAction(a);
    const auto choice = static_cast<EncodingChoice>(i);
    connect(a, &QAction::triggered, this, [this, choice] { view_->SetEncodingChoice(choice); });
  }
  connect(encoding, &QMenu::aboutToShow, this, [this, encoding] {
    const auto actions = encoding->actions();
    actions.at(static_cast<int>(view_->encodingChoice()))->setChecked(true);
  });
  viewMenu->addSeparator();
  QAction* refresh = addCommand(viewMenu, id::kRefresh, QStringLiteral("最新の情報に更新(&R)\tF5"));
  connect(refresh, &QAction::triggered, view_, &CQuoril2View::Refresh);
  keys(refresh, {QKeySequence(Qt::Key_F5)});
  QAction* hidden = addCommand(viewMenu, id::kShowHidden, QStringLiteral("隠しフォルダを表示(&H)"));
  hidden->setCheckable(true);
  connect(hidden, &QAction::toggled, view_, &CQuoril2View::SetShowHidden);

  QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  connect(addCommand(help, id::kAbout, QStringLiteral("Quoril2 のﾊﾞｰｼﾞｮﾝ情報(&A)...")), &QAction::triggered, this,
          &CMainFrame::OnAppAbout);
}

void CMainFrame::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  // The idle text sits under the prompts, which show over it while a menu
  // item is highlighted.
  auto* idle = new QLabel(QStringLiteral("重いぜ( ` Д´)ﾉ"), bar);
  idle->setObjectName(QStringLiteral("idleText"));
  bar->addWidget(idle, 1);
  for (const char* text : {"ｶﾅ", "CAP", "NUM", "SCRL"}) {
    auto* pane = new QLabel(QString::fromUtf8(text), bar);
    pane->setObjectName(QStringLiteral("indicator"));
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->sizeHint().width() + 8);
    pane->setEnabled(false);
    bar->addPermanentWidget(pane);
  }
}

void CMainFrame::OnSetStartupFolder() {
  if (auto refusal = CheckStartupFolder(view_->CurrentFolder())) {
    ShowMessage(this, *refusal);
    return;
  }
  SetStartupFolder(view_->CurrentFolder());
}

void CMainFrame::OnPlayerColors() {
  q2::OnPlayerColors(this);
  // The view's activation redraw, which the platform may not send here.
  view_->RedrawAll();
}

void CMainFrame::OnResetAgeColors() { q2::OnResetAgeColors(); }

void CMainFrame::OnAppAbout() {
  CAboutDlg dlg(this);
  dlg.exec();
}

}  // namespace q2
