#include "gui/CQuoril2View.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemWatcher>
#include <QTimer>
#include <functional>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "platform/places.h"
#include "platform/text.h"
#include "gui/kit/DialogUnits.h"
#include "gui/kit/Icons.h"
#include "gui/kit/QtText.h"
#include "gui/kit/UiSeam.h"
#include "gui/kit/WholeText.h"
#include "core/settings/settings.h"
#include "core/recording/game_clock.h"
#include "core/recording/display.h"
#include "core/recording/open_replay.h"
#include "core/recording/game_summary.h"
#include "core/texts/game_texts.h"
#include "core/browse/properties.h"

#include "gui/FormLayout.h"
#include "gui/PathCaption.h"
#include "gui/GraphCommands.h"
#include "gui/RenameCommands.h"
#include "gui/kit/ControlIds.h"

namespace q2 {
namespace {

Places g_placesOverride;

// In-place editing of a name is offered, but nothing accepts the edit: the
// old text stays and nothing is renamed.
class NoCommitDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
};

class ViewRenameHost : public RenameHost {
 public:
  explicit ViewRenameHost(CQuoril2View* v) : v_(v) {}
  QWidget* owner() override { return v_; }
  std::string currentFolder() override { return v_->CurrentFolder(); }
  std::vector<std::string> selectedNames() override { return v_->selectedNames(); }
  void refreshList() override { v_->NavigateTo(v_->CurrentFolder()); }
  void recordingRenamed(const std::string& from, const std::string& to) override {
    ReplayView& shown = v_->summary().view;
    if (shown.currentReplayPath != from) return;
    shown.currentReplayPath = to;
    v_->UpdateData(false);
  }

 private:
  CQuoril2View* v_;
};

constexpr std::array<int, 8> kNameIds = {1004, 1005, 1006, 1007, 1008, 1009, 1011, 1012};

// The folder part of a path; the root for a file directly in it.
std::string FolderOf(const std::string& path) {
  const std::string folder = ParentOf(path);
  return folder.empty() ? std::string(1, kPathSep) : folder;
}

const auto IdName = id::ObjectName;

constexpr int kNameBytesRole = Qt::UserRole;

}  // namespace

Places CQuoril2View::CurrentPlaces() {
  if (!g_placesOverride.desktop.empty()) return g_placesOverride;
  Places p;
  p.desktop = ToU8(QDir::toNativeSeparators(QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))));
  p.home = ToU8(QDir::toNativeSeparators(QDir::cleanPath(QDir::homePath())));
  return p;
}

void CQuoril2View::OverrideDesktop(const std::string& desktop, const std::string& home) {
  g_placesOverride = {desktop, home.empty() ? desktop : home};
}

CQuoril2View::CQuoril2View(CQuoril2Doc* doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("view"));
  buildForm();
}

CQuoril2View::~CQuoril2View() {
  if (settingsPath_.empty()) return;
  SaveViewSettings(settingsPath_);
  SaveViewOptions(settingsPath_,
                  {gameLength_->isChecked(), chatTimes_->isChecked(), details_->isChecked(), encodingChoice()});
}

void CQuoril2View::buildForm() {
  const DialogUnits du;
  setFont(DialogFont());
  auto group = [&](const QString& text, int x, int y, int w, int h) {
    auto* g = new QGroupBox(text, this);
    PlaceDu(g, du, x, y, w, h);
    g->lower();
    return g;
  };
  auto button = [&](int id, const QString& text, int x, int y, int w, int h) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(IdName(id));
    b->setAutoDefault(false);
    PlaceDu(b, du, x, y, w, h);
    return b;
  };
  auto label = [&](const QString& text, int x, int y, int w, int h) {
    auto* l = new QLabel(text, this);
    PlaceDu(l, du, x, y, w, h);
    return l;
  };
  auto readOnlyEdit = [&](int id, int x, int y, int w, int h) {
    auto* e = new QLineEdit(this);
    e->setObjectName(IdName(id));
    e->setReadOnly(true);
    PlaceDu(e, du, x, y, w, h);
    return e;
  };

  // Left half: the folder list.
  auto* files = group(QStringLiteral("Replayファイル"), 3, 1, 214, 284);
  auto* tools = group(QString(), 8, 6, 205, 27);
  back_ = button(id::kBack, QString(), 12, 13, 15, 16);
  forward_ = button(id::kForward, QString(), 26, 13, 15, 16);
  up_ = button(id::kUp, QString(), 40, 13, 15, 16);
  desktop_ = button(id::kDesktop, QString(), 54, 13, 15, 16);
  open_ = button(id::kOpenFile, QString(), 68, 13, 15, 16);
  // The keys beside the buttons' pictures.
  for (auto [b, tip] : {std::pair{back_, "戻る (Alt+←)"}, {forward_, "進む (Alt+→)"}, {up_, "上のフォルダ (Alt+↑, BackSpace)"},
                        {desktop_, "デスクトップ"}, {open_, "開く (Ctrl+O)"}})
    b->setToolTip(QString::fromUtf8(tip));
  auto* selected = button(id::kSelectedRename, QStringLiteral("ファイル名選択変換"), 85, 13, 61, 16);
  auto* bulk = button(id::kBulkRename, QStringLiteral("ファイル名一括変換"), 149, 13, 61, 16);
  folderBox_ = group(QString(), 8, 34, 205, 247);
  folderBox_->setObjectName(IdName(id::kFolderBox));
  pathEdit_ = new PathCaption(folderBox_);
  pathEdit_->setObjectName(IdName(id::kFolderPath));
  pathEdit_->onGo = [this](const QString& typed) { GoToTyped(typed); };
  pathEdit_->onLeave = [this] { list_->setFocus(); };
  auto* list = new FileList(this);
  list->onClick = [this] { OnListClick(); };
  list->onDoubleClick = [this] { OnListDblClick(); };
  list->onEnter = [this](QTreeWidgetItem* it) { ActivateName(it->data(0, kNameBytesRole).toByteArray().toStdString()); };
  list->onParent = [this] { OnUpFolder(); };
  list_ = list;
  list_->setObjectName(IdName(id::kFolderList));
  PlaceDu(list_, du, 13, 44, 195, 234);
  list->setHomeWidth(list_->width());
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setSortingEnabled(false);
  list_->setEditTriggers(QAbstractItemView::EditKeyPressed);
  list_->setItemDelegateForColumn(0, new NoCommitDelegate(list_));
  list_->setIconSize(QSize(16, 16));
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  list_->header()->setSectionsClickable(false);
  list_->header()->setStretchLastSection(false);

  // Right half: the display panel.
  auto* playerData = group(QStringLiteral("PlayerData"), 221, 1, 268, 188);
  auto* personal = group(QStringLiteral("個人データ"), 226, 9, 258, 84);
  for (int i = 0; i < 8; ++i) {
    const int col = i / 4, row = i % 4;
    const int x = 231 + col * 127, y = 20 + row * 18;
    auto* b = button(1021 + i, QStringLiteral("Player%1").arg(i + 1), x, y, 34, 14);
    b->setFocusPolicy(Qt::NoFocus);
    names_[i] = readOnlyEdit(kNameIds[i], x + 36, y, 84, 14);
  }
  label(QStringLiteral("視点プレイヤー："), 228, 100, 62, 10);
  perspective_ = readOnlyEdit(1015, 292, 98, 190, 13);
  label(QStringLiteral("味方チーム     ："), 228, 116, 62, 10);
  ally_ = readOnlyEdit(1016, 292, 114, 190, 13);
  label(QStringLiteral("敵チーム        ："), 228, 132, 62, 10);
  enemy_ = readOnlyEdit(1017, 292, 130, 190, 13);
  auto* overall = group(QStringLiteral("全体データ"), 226, 147, 258, 38);
  auto* graph = button(id::kGraph, QStringLiteral("グラフ一覧表示"), 231, 156, 70, 14);
  // The game's length, shown once the user asks for it.
  gameLength_ = new QCheckBox(QStringLiteral("ゲーム時間"), this);
  gameLength_->setObjectName(IdName(id::kGameLength));
  PlaceDu(gameLength_, du, 308, 158, 52, 10);
  gameLengthText_ = label(QString(), 361, 158, 70, 10);
  gameLengthText_->setObjectName(IdName(id::kGameLengthText));
  // The game's details: civilisations beside the names, and a line here.
  details_ = new QCheckBox(U8(kDetailsBox), this);
  details_->setObjectName(IdName(id::kDetails));
  PlaceDu(details_, du, 433, 158, 46, 10);
  detailsText_ = label(QString(), 231, 171, 248, 10);
  detailsText_->setObjectName(IdName(id::kDetailsText));

  auto* chatBox = group(QStringLiteral("Chat"), 221, 191, 268, 94);
  hideWarnings_ = new QCheckBox(QStringLiteral("警告無し"), this);
  hideWarnings_->setObjectName(IdName(id::kHideWarnings));
  PlaceDu(hideWarnings_, du, 227, 200, 50, 10);
  pregame_ = new QCheckBox(QStringLiteral("開始前チャット"), this);
  pregame_->setObjectName(IdName(id::kPregameChat));
  PlaceDu(pregame_, du, 282, 200, 70, 10);
  chatTimes_ = new QCheckBox(QStringLiteral("時刻表示"), this);
  chatTimes_->setObjectName(IdName(id::kChatTimes));
  PlaceDu(chatTimes_, du, 355, 200, 50, 10);
  chat_ = new QPlainTextEdit(this);
  chat_->setObjectName(IdName(id::kChat));
  // The pane shows the chat; it can be selected and copied, not edited.
  chat_->setReadOnly(true);
  chat_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  chat_->setLineWrapMode(QPlainTextEdit::NoWrap);
  chat_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  chat_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PlaceDu(chat_, du, 227, 212, 256, 69);

  const QRect last = du.rect(221, 191, 268, 94);
  setMinimumSize(last.right() + du.x(4), last.bottom() + du.y(4));

  // A bigger window gives the folder list and the chat the room; the boxes
  // and frames around them follow, the rest keeps its place in its pane.
  form_ = new FormLayout(this, du.x(219), du.rect(217, 1, 4, 284));
  form_->leave(pathEdit_);  // it follows its frame's title itself
  for (QWidget* w : std::initializer_list<QWidget*>{files, folderBox_, list_, chatBox, chat_}) form_->grow(w, true, true);
  for (QWidget* w : std::initializer_list<QWidget*>{tools, playerData, personal, overall, perspective_, ally_, enemy_, detailsText_})
    form_->grow(w, true, false);

  connect(back_, &QPushButton::clicked, this, &CQuoril2View::OnBack);
  connect(forward_, &QPushButton::clicked, this, &CQuoril2View::OnForward);
  connect(up_, &QPushButton::clicked, this, &CQuoril2View::OnUpFolder);
  connect(desktop_, &QPushButton::clicked, this, &CQuoril2View::OnDesktop);
  connect(open_, &QPushButton::clicked, this, &CQuoril2View::OnOpenFile);
  connect(bulk, &QPushButton::clicked, this, &CQuoril2View::OnBulkRename);
  connect(selected, &QPushButton::clicked, this, &CQuoril2View::OnSelectedRename);
  connect(graph, &QPushButton::clicked, this, &CQuoril2View::OnShowGraph);
  connect(list_, &QWidget::customContextMenuRequested, this, &CQuoril2View::OnListRClick);
  // The folder shown lists itself again when a file in it comes, goes or is
  // renamed (a game just saved its recording), once the changes settle.
  watcher_ = new QFileSystemWatcher(this);
  changed_ = new QTimer(this);
  changed_->setSingleShot(true);
  changed_->setInterval(300);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, changed_, qOverload<>(&QTimer::start));
#ifdef _WIN32
  // Windows keeps a watched folder, and every folder above it, from being
  // renamed or deleted: the folder is followed only while the program is in
  // front, and looked at again when it comes back (a game may have saved
  // its recording meanwhile).
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    const bool active = state == Qt::ApplicationActive;
    if (active == watching_) return;
    watching_ = active;
    updateWatch();
    if (active && !watched_.isEmpty()) changed_->start();
  });
#endif
  connect(changed_, &QTimer::timeout, this, [this] {
    // Not under an open box or dialog, nor under a name being edited.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        list_->editing())
      changed_->start();
    else
      FollowFolder();
  });
  connect(hideWarnings_, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    RefreshChatPane(summary().view);
    UpdateData(false);
  });
  connect(pregame_, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    RefreshChatPaneIfLoaded(summary().view);
    UpdateData(false);
  });
  connect(chatTimes_, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    RefreshChatPaneIfLoaded(summary().view);
    UpdateData(false);
  });
  connect(gameLength_, &QCheckBox::clicked, this, [this] { UpdateData(false); });
  connect(details_, &QCheckBox::clicked, this, [this] { UpdateData(false); });
  UpdateData(false);
}

void CQuoril2View::showMessages(const Messages& m) { ShowMessages(this, m); }

void CQuoril2View::OnInitialUpdate() {
  settingsPath_ = SettingsPath();
  showMessages(LoadViewSettings(settingsPath_));
  const ViewOptions options = LoadViewOptions(settingsPath_);
  gameLength_->setChecked(options.showGameLength);
  details_->setChecked(options.showDetails);
  summary().view.encodingChoice = static_cast<int32_t>(options.encoding);
  summary().view.showChatTimes = options.showChatTimes ? 1 : 0;
  chatTimes_->setChecked(options.showChatTimes);
  const WindowState state = LoadWindowState(settingsPath_);
  list_->clear();
  list_->setColumnCount(4);
  list_->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("サイズ"), QStringLiteral("種類"),
                          QStringLiteral("更新日時")});
  list_->setColumnWidths(state.columns);
  form_->setSplitter(state.splitter);
  nav_.setShowHidden(state.showHidden);
  nav_.StartHistory(StartupFolder());
  NavigateTo(StartupFolder(), true);
  const std::pair<QPushButton*, int> icons[] = {{back_, 169}, {forward_, 168}, {up_, 170}, {desktop_, 171}, {open_, 172}};
  for (auto [b, id] : icons) {
    b->setIcon(ButtonIcon(id));
    b->setIconSize(QSize(16, 16));
  }
  applyNameColors();
  // The keyboard starts in the list.
  list_->setFocus();
}

void CQuoril2View::OpenArgument(const std::string& arg) {
  const std::string path = AbsolutePath(arg);
  if (PathExists(path) && !IsDirectory(path)) {
    // As if chosen in the open-file dialog.
    summary().view.currentReplayPath = path;
    UpdateData(false);
    if (!OpenReplay(path)) return;
    const std::string folder = FolderOf(path);
    nav_.PushHistory(folder);
    NavigateTo(folder);
    return;
  }
  nav_.PushHistory(path);
  NavigateTo(path);
}

void CQuoril2View::NavigateTo(std::string folder, bool startupFolder) {
  Listing l = nav_.NavigateTo(folder, CurrentPlaces());
  // Only a stored start-up folder that is gone is replaced, as the message
  // says; a typed argument, a button or a stale history entry never moves it.
  if (startupFolder && l.fallbackStartup) SetStartupFolder(*l.fallbackStartup);
  showMessages(l.messages);
  fillList(l);
  updateHistoryButtons();
}

void CQuoril2View::fillList(const Listing& l) {
  pathEdit_->setFolder(ShownPath(l.caption), ShownPath(l.folder));
  // Qt names a folder by UTF-8 text: one whose name is not is not watched.
  watched_ = l.listed && IsValidUtf8(l.folder) ? U8(l.folder) : QString();
  updateWatch();
  RedrawAll();
  list_->setUpdatesEnabled(false);
  list_->clear();
  const QIcon folderIcon = ListIcon(false), recordingIcon = ListIcon(true);
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(l.entries.size()));
  for (const FolderEntry& e : l.entries) {
    auto* it = new QTreeWidgetItem({ShownPath(e.name), U8(e.sizeText), U8(e.typeText), U8(e.timeText)});
    // The name as the file system has it, for opening and renaming.
    it->setData(0, kNameBytesRole, QByteArray(e.name.data(), static_cast<qsizetype>(e.name.size())));
    it->setIcon(0, e.isRecording() ? recordingIcon : folderIcon);
    it->setToolTip(0, it->text(0));  // a narrow name column cuts long names
    it->setFlags(it->flags() | Qt::ItemIsEditable);
    items.push_back(it);
  }
  list_->addTopLevelItems(items);
  list_->setUpdatesEnabled(true);
}

void CQuoril2View::updateWatch() {
  if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
  if (!watched_.isEmpty() && watching_) watcher_->addPath(watched_);
}

void CQuoril2View::updateHistoryButtons() {
  auto [b, f] = nav_.HistoryButtons();
  back_->setEnabled(b);
  forward_->setEnabled(f);
}

void CQuoril2View::RedrawAll() {
  applyNameColors();
  update();
}

bool CQuoril2View::OpenReplay(const std::string& path) {
  UpdateData(true);
  OpenResult r = q2::OpenReplay(path, summary());
  // ShowReplay ran and pushed its fields when the pipeline got that far.
  if (r.ok) UpdateData(false);
  showMessages(r.messages);
  return r.ok;
}

void CQuoril2View::UpdateData(bool save) {
  ReplayView& v = summary().view;
  if (save) {
    v.hideWarnings = hideWarnings_->isChecked() ? 1 : 0;
    v.showPregameChat = pregame_->isChecked() ? 1 : 0;
    v.showChatTimes = chatTimes_->isChecked() ? 1 : 0;
    // The pane is read-only; only an edit that got in is read back (reading
    // a long chat out of the pane costs more than the rest of an open).
    const QString shown = chat_->document()->isModified() ? chat_->toPlainText() : shownChat_;
    if (shown != FromRecording(v.chatText, v.textEncoding)) {
      const std::string u = ToU8(shown);
      auto enc = EncodeText(u, v.textEncoding);
      v.chatText = enc ? *enc : u;
    }
    return;
  }
  // With 詳細 each name has its civilisation, the winner's mark and the
  // resign time beside it, and the panel a line of the game's settings.
  const GameInfo& game = summary().doc.game;
  const bool details = details_->isChecked() && !v.chatText.empty();
  for (int i = 0; i < 8; ++i) {
    QString text = FromRecording(v.slotNameTexts[i], v.textEncoding);
    const std::string detail = details && !text.isEmpty() ? PlayerDetailText(game, i + 1) : std::string();
    if (!detail.empty()) text += QStringLiteral("  ") + U8(detail);
    // A name alone shows whole; with its details the start shows and the
    // tool tip holds the rest.
    ShowWhole(names_[i], detail.empty() ? text : QString());
    if (!detail.empty()) {
      names_[i]->setText(text);
      names_[i]->setCursorPosition(0);
      names_[i]->setToolTip(text);
    }
  }
  detailsText_->setText(details ? U8(GameSummaryLine(game)) : QString());
  perspective_->setText(FromRecording(v.perspectivePlayerText, v.textEncoding));
  ally_->setText(FromRecording(v.allyTeamText, v.textEncoding));
  enemy_->setText(FromRecording(v.enemyTeamText, v.textEncoding));
  hideWarnings_->setChecked(v.hideWarnings != 0);
  pregame_->setChecked(v.showPregameChat == 1);
  chatTimes_->setChecked(v.showChatTimes != 0);
  // Nothing to show before a recording was read.
  // A body without a clock has no length to show.
  gameLengthText_->setText(gameLength_->isChecked() && v.bodyLength > 0 && v.gameDurationMs > 0
                               ? U8(ClockText(v.gameDurationMs) + (v.clockComplete ? "" : " (途中まで)"))
                               : QString());
  const QString chat = FromRecording(v.chatText, v.textEncoding);
  if (chat_->document()->isModified() || shownChat_ != chat) {
    chat_->setPlainText(chat);
    shownChat_ = chat;
  }
  applyNameColors();
}

EncodingChoice CQuoril2View::encodingChoice() const {
  const int32_t c = doc_->summary.view.encodingChoice;
  return c == 1 ? EncodingChoice::Japanese : c == 2 ? EncodingChoice::Chinese : EncodingChoice::Auto;
}

void CQuoril2View::SetEncodingChoice(EncodingChoice choice) {
  UpdateData(true);
  summary().view.encodingChoice = static_cast<int32_t>(choice);
  ChooseTextEncoding(summary());
  RefreshChatPaneIfLoaded(summary().view);
  UpdateData(false);
}

QString CQuoril2View::PanelText() const {
  QStringList lines;
  for (int i = 0; i < 8; ++i) lines << QStringLiteral("Player%1: ").arg(i + 1) + names_[i]->text();
  lines << QStringLiteral("視点プレイヤー: ") + perspective_->text() << QStringLiteral("味方チーム: ") + ally_->text()
        << QStringLiteral("敵チーム: ") + enemy_->text() << QStringLiteral("ゲーム時間: ") + gameLengthText_->text()
        << QStringLiteral("Chat:") << chat_->toPlainText();
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void CQuoril2View::applyNameColors() {
  for (int i = 0; i < 8; ++i) {
    QPalette p = names_[i]->palette();
    p.setColor(QPalette::Text, ToQColor(PlayerColor(i)));
    p.setColor(QPalette::Base, Qt::white);
    names_[i]->setPalette(p);
  }
}

bool CQuoril2View::event(QEvent* e) {
  // Coming back to the window (after the colour dialog, say) shows the
  // current colours.
  if (e->type() == QEvent::WindowActivate) RedrawAll();
  return QWidget::event(e);
}

WindowState CQuoril2View::layoutState() const {
  WindowState s;
  s.splitter = form_->splitter();
  s.columns = list_->columnWidths();
  s.showHidden = nav_.showHidden();
  return s;
}

void CQuoril2View::SetShowHidden(bool on) {
  if (nav_.showHidden() == on) return;
  nav_.setShowHidden(on);
  Refresh();
}

void CQuoril2View::FocusPath() { pathEdit_->setFocus(Qt::ShortcutFocusReason); }

void CQuoril2View::GoToTyped(const QString& text) {
  std::string typed = ToU8(text.trimmed());
  if (typed.empty()) return;
  if (typed == "~" || typed.rfind("~/", 0) == 0) typed = HomeFolder() + typed.substr(1);
  std::string path = AbsolutePath(FsPath(typed).is_absolute() ? typed : JoinPath(CurrentFolder(), typed));
  if (!PathExists(path)) {
    // A name shown decoded (a code page 932 name from an archive) is found
    // by the way it is shown.
    const QString shown = FsPath(typed).is_absolute()
                              ? U8(typed)
                              : ShownPath(CurrentFolder()) + QChar::fromLatin1(kPathSep) + U8(typed);
    if (const std::string onDisk = DiskPath(shown); PathExists(onDisk)) path = AbsolutePath(onDisk);
  }
  if (IsDirectory(path)) {
    list_->setFocus();
    nav_.PushHistory(path);
    NavigateTo(path);
  } else if (PathExists(path) && ContainsRecordingExtension(FileNameOf(path))) {
    list_->setFocus();
    OpenArgument(path);
  } else {
    // The typed text stays for the user to mend.
    ShowMessage(this, NoSuchFolderMessage(typed));
  }
}

void CQuoril2View::setReferenceWindowSize(const QSize& size) {
  form_->setReferenceWindowSize(size);
  form_->apply();
}

std::vector<std::string> CQuoril2View::selectedNames() const {
  std::vector<std::string> out;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* it = list_->topLevelItem(i);
    if (it->isSelected()) out.push_back(it->data(0, kNameBytesRole).toByteArray().toStdString());
  }
  return out;
}

std::string CQuoril2View::firstSelectedName() const {
  const std::vector<std::string> names = selectedNames();
  return names.empty() ? std::string() : names.front();
}

void CQuoril2View::OnBack() { NavigateTo(nav_.StepBack()); }
void CQuoril2View::OnForward() { NavigateTo(nav_.StepForward()); }

void CQuoril2View::OnUpFolder() {
  const std::string target = UpTarget(CurrentFolder(), CurrentPlaces());
  nav_.PushHistory(target);
  NavigateTo(target);
}

void CQuoril2View::OnDesktop() {
  // Many Linux homes have no desktop folder: then the home folder, quietly.
  const Places places = CurrentPlaces();
  const std::string target = IsDirectory(places.desktop) || places.home.empty() ? places.desktop : places.home;
  nav_.PushHistory(target);
  NavigateTo(target);
}

void CQuoril2View::OnOpenFile() {
  UpdateData(true);
  const QString chosen = UiSeam::current().pickOpenFile(this, QtFolder(CurrentFolder()));
  if (chosen.isEmpty()) return;
  const std::string path = DiskPath(chosen);
  summary().view.currentReplayPath = path;
  UpdateData(false);
  update();
  if (!OpenReplay(path)) return;
  const std::string folder = FolderOf(path);
  nav_.PushHistory(folder);
  NavigateTo(folder);
}

namespace {
// A row to open rather than enter: one the list shows as a recording, by
// its own name (a folder above it may well be named "aoc.mgz-backup").
bool IsRecordingRow(const std::string& path) { return ContainsRecordingExtension(FileNameOf(path)); }
}  // namespace

void CQuoril2View::OnListClick() {
  const std::string path = JoinPath(CurrentFolder(), firstSelectedName());
  if (!IsRecordingRow(path)) return;
  if (OpenReplay(path)) {
    summary().view.currentReplayPath = path;
    UpdateData(false);
  }
}

void CQuoril2View::OnListDblClick() {
  const std::string path = JoinPath(CurrentFolder(), firstSelectedName());
  if (IsRecordingRow(path)) {
    OnListClick();
    return;
  }
  nav_.PushHistory(path);
  NavigateTo(path);
}

void CQuoril2View::ActivateName(const std::string& name) {
  const std::string path = JoinPath(CurrentFolder(), name);
  if (IsRecordingRow(path)) {
    if (OpenReplay(path)) {
      summary().view.currentReplayPath = path;
      UpdateData(false);
    }
    return;
  }
  nav_.PushHistory(path);
  NavigateTo(path);
}

std::string CQuoril2View::pointedName() const {
  // The row the keyboard is on when it is selected, else the first selected.
  if (QTreeWidgetItem* it = list_->currentItem(); it && it->isSelected())
    return it->data(0, kNameBytesRole).toByteArray().toStdString();
  return firstSelectedName();
}

void CQuoril2View::OnListOpen() {
  const std::string name = pointedName();
  if (name.empty())
    OnOpenFile();
  else
    ActivateName(name);
}

void CQuoril2View::OnProperties() {
  const std::string name = pointedName();
  if (!name.empty()) ShowMessage(this, PropertiesMessage(CurrentFolder(), name));
}

void CQuoril2View::OnListRClick(const QPoint& pos) {
  // The first submenu of the list's menu resource, "POP1".
  QMenu popup(QStringLiteral("POP1"), this);
  QMenu* pop = &popup;
  pop->addAction(QStringLiteral("開く(&O)...\tCtrl+O"), this, &CQuoril2View::OnListOpen);
  pop->addAction(QStringLiteral("切り取り(&T)\tCtrl+X"), this, &CQuoril2View::OnEditCut);
  pop->addAction(QStringLiteral("ｺﾋﾟｰ(&C)\tCtrl+C"), this, &CQuoril2View::OnEditCopy);
  pop->addAction(QStringLiteral("貼り付け(&P)\tCtrl+V"), this, &CQuoril2View::OnEditPaste);
  pop->addAction(QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ(R)"), this, &CQuoril2View::OnProperties)->setEnabled(!pointedName().empty());
  pop->exec(list_->viewport()->mapToGlobal(pos));
}

namespace {
struct Dropped {
  std::vector<std::string> recordings;
  std::string folder;
};
Dropped Sort(const std::vector<std::string>& paths) {
  Dropped d;
  for (const std::string& p : paths) {
    if (IsDirectory(p)) {
      if (d.folder.empty()) d.folder = p;
    } else if (ContainsRecordingExtension(FileNameOf(p)) && PathExists(p)) {
      d.recordings.push_back(p);
    }
  }
  return d;
}
}  // namespace

bool CQuoril2View::TakesDrop(const std::vector<std::string>& paths) {
  const Dropped d = Sort(paths);
  return !d.recordings.empty() || !d.folder.empty();
}

void CQuoril2View::OpenDropped(const std::vector<std::string>& paths) {
  const Dropped d = Sort(paths);
  if (d.recordings.size() == 1) {
    OpenArgument(d.recordings.front());
    return;
  }
  const std::string folder = d.recordings.empty() ? d.folder : FolderOf(d.recordings.front());
  if (folder.empty()) return;
  if (folder != CurrentFolder()) nav_.PushHistory(folder);
  NavigateTo(folder);
  if (CurrentFolder() != folder) return;
  list_->clearSelection();
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* it = list_->topLevelItem(i);
    const std::string path = JoinPath(folder, it->data(0, kNameBytesRole).toByteArray().toStdString());
    if (std::find(d.recordings.begin(), d.recordings.end(), path) == d.recordings.end()) continue;
    if (list_->selectedItems().isEmpty()) list_->setCurrentItem(it);
    it->setSelected(true);
  }
  if (QTreeWidgetItem* it = list_->currentItem()) list_->scrollToItem(it);
}

void CQuoril2View::FollowFolder() {
  // The folder itself gone (deleted, renamed, unmounted): its nearest folder
  // still there is listed, as a file manager does, with no box nobody asked
  // for.
  std::string folder = CurrentFolder();
  if (IsDirectory(folder)) {
    Refresh();
    return;
  }
  while (!IsDirectory(folder)) {
    const std::optional<std::string> parent = ParentFolder(folder);
    if (!parent) return;  // not even the root: the watcher has nothing more to say
    folder = *parent;
  }
  nav_.PushHistory(folder);
  NavigateTo(folder);
}

void CQuoril2View::Refresh() {
  // The rows, the row the keyboard is on and the scroll position stay.
  const std::vector<std::string> selected = selectedNames();
  QTreeWidgetItem* current = list_->currentItem();
  const QByteArray currentName = current ? current->data(0, kNameBytesRole).toByteArray() : QByteArray();
  const int scroll = list_->verticalScrollBar()->value();
  const std::string folder = CurrentFolder();
  NavigateTo(folder);
  if (CurrentFolder() != folder) return;
  list_->doItemsLayout();
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* it = list_->topLevelItem(i);
    const QByteArray name = it->data(0, kNameBytesRole).toByteArray();
    if (name == currentName)
      list_->selectionModel()->setCurrentIndex(list_->indexFromItem(it), QItemSelectionModel::NoUpdate);
    if (std::find(selected.begin(), selected.end(), name.toStdString()) != selected.end()) it->setSelected(true);
  }
  list_->verticalScrollBar()->setValue(scroll);
}

namespace {
// Sends the command to the focused text box. A read-only box takes only the
// copy, as a read-only Windows edit does; Qt's own undo, cut and paste
// would change it.
template <typename LineFn, typename PlainFn>
void ToFocused(bool changesText, LineFn line, PlainFn plain) {
  QWidget* w = QApplication::focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    if (!changesText || !e->isReadOnly()) line(e);
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    if (!changesText || !p->isReadOnly()) plain(p);
  }
}
}  // namespace

void CQuoril2View::OnEditUndo() {
  ToFocused(true, [](QLineEdit* e) { e->undo(); }, [](QPlainTextEdit* p) { p->undo(); });
}
void CQuoril2View::OnEditCut() {
  ToFocused(true, [](QLineEdit* e) { e->cut(); }, [](QPlainTextEdit* p) { p->cut(); });
}
void CQuoril2View::OnEditCopy() {
  ToFocused(false, [](QLineEdit* e) { e->copy(); }, [](QPlainTextEdit* p) { p->copy(); });
}
void CQuoril2View::OnEditPaste() {
  ToFocused(true, [](QLineEdit* e) { e->paste(); }, [](QPlainTextEdit* p) { p->paste(); });
}

void CQuoril2View::OnShowGraph() { ShowAgeGraph(window(), summary()); }

void CQuoril2View::OnBulkRename() {
  UpdateData(false);
  ViewRenameHost host(this);
  RunBulkRename(host);
}

void CQuoril2View::OnSelectedRename() {
  ViewRenameHost host(this);
  RunSelectedRename(host);
}

}  // namespace q2
