#include "gui/CRenameFormatDlg.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <optional>
#include <utility>

#include "gui/CFormatHistoryDlg.h"
#include "gui/kit/DialogUnits.h"
#include "gui/kit/QtText.h"
#include "gui/kit/UiSeam.h"
#include "core/rename/format_history.h"
#include "core/rename/rename_run.h"
#include "core/settings/settings.h"

namespace q2 {
namespace {

// The format edit box. Like a Windows edit box it keeps its selection when
// the focus moves to a list or a button, so an insertion replaces what the
// user had selected.
class FormatEdit : public QLineEdit {
 public:
  explicit FormatEdit(QWidget* parent) : QLineEdit(parent) {
    auto forget = [this] {
      if (!inFocusOut_) saved_.reset();
    };
    connect(this, &QLineEdit::selectionChanged, this, forget);
    connect(this, &QLineEdit::cursorPositionChanged, this, forget);
    connect(this, &QLineEdit::textChanged, this, forget);
  }

  // The next focus-in leaves the caret and selection as they are. Qt's
  // dialog gives its first focus as if by Tab, which selects everything; a
  // focus given by a program call, as on Windows, selects nothing.
  void keepCaretOnFocusIn() { keepCaret_ = true; }

  // Start and length of the text an insertion replaces.
  std::pair<int, int> insertRange() const {
    if (saved_) return *saved_;
    if (hasSelectedText()) return {selectionStart(), static_cast<int>(selectedText().size())};
    return {cursorPosition(), 0};
  }

 protected:
  void focusOutEvent(QFocusEvent* e) override {
    const auto range = insertRange();
    inFocusOut_ = true;
    QLineEdit::focusOutEvent(e);  // drops the selection
    inFocusOut_ = false;
    saved_ = range;
  }
  void focusInEvent(QFocusEvent* e) override {
    saved_.reset();
    if (!keepCaret_) {
      QLineEdit::focusInEvent(e);
      return;
    }
    keepCaret_ = false;
    const int pos = cursorPosition();
    const int start = selectionStart(), length = static_cast<int>(selectedText().size());
    QLineEdit::focusInEvent(e);
    if (start >= 0)
      setSelection(start, length);
    else
      setCursorPosition(pos);  // also drops a selection
  }

 private:
  std::optional<std::pair<int, int>> saved_;
  bool inFocusOut_ = false;
  bool keepCaret_ = false;
};

// A token list that reports when it drops down or closes up.
class TokenCombo : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> onPopupChange;

  void showPopup() override {
    QComboBox::showPopup();
    if (onPopupChange) onPopupChange();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (onPopupChange) onPopupChange();
  }
};

QLabel* Static(QWidget* parent, const QString& text, const DialogUnits& du, int x, int y, int w, int h) {
  auto* l = new QLabel(text, parent);
  PlaceDu(l, du, x, y, w, h);
  return l;
}

QGroupBox* Group(QWidget* parent, const QString& title, const DialogUnits& du, int x, int y, int w, int h) {
  auto* g = new QGroupBox(title, parent);
  PlaceDu(g, du, x, y, w, h);
  return g;
}

QPushButton* Button(QWidget* parent, const QString& text, int id, const DialogUnits& du, int x, int y,
                    int w, int h) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QStringLiteral("id%1").arg(id));
  b->setAutoDefault(false);
  PlaceDu(b, du, x, y, w, h);
  return b;
}

// Height of a combo box's selection field; the template's height includes
// its drop-down list.
constexpr int kComboFieldHeight = 12;

}  // namespace

CRenameFormatDlg::CRenameFormatDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
  setFont(DialogFont());
  const DialogUnits du(font());
  // Taller than the template by the two lines of the game tokens it adds.
  setFixedSize(du.x(243), du.y(291));

  // Group boxes first, so that they lie under the controls they surround.
  Group(this, QStringLiteral("ファイル名の変換を行います"), du, 2, 2, 239, 268);
  Group(this, QStringLiteral("書式編集"), du, 7, 55, 230, 208);
  Group(this, QStringLiteral("日付"), du, 15, 104, 213, 65);
  Group(this, QStringLiteral("ゲームデータ参照"), du, 15, 172, 213, 86);

  auto* ok = Button(this, QStringLiteral("変換"), 1, du, 49, 274, 50, 14);
  ok->setDefault(true);
  auto* cancel = Button(this, QStringLiteral("ｷｬﾝｾﾙ"), 2, du, 135, 274, 50, 14);

  edit_ = new FormatEdit(this);
  edit_->setObjectName(QStringLiteral("id1110"));
  PlaceDu(edit_, du, 13, 71, 215, 13);

  Static(this, QStringLiteral("変換後イメージ："), du, 7, 19, 49, 8);
  sample_ = Static(this, QStringLiteral(".mgx"), du, 7, 34, 223, 8);
  sample_->setObjectName(QStringLiteral("id1109"));
  sample_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Static(this, QStringLiteral("(イメージの日時は現在のもの)"), du, 143, 46, 90, 8);

  auto* preview = Button(this, QStringLiteral("変換後イメージ確認"), 1001, du, 162, 90, 65, 14);
  auto* history = Button(this, QStringLiteral("履歴参照"), 1058, du, 104, 90, 54, 14);

  auto* dateList = new TokenCombo(this);
  dateList_ = dateList;
  dateList_->setObjectName(QStringLiteral("id1106"));
  dateList_->setEditable(true);
  dateList_->setInsertPolicy(QComboBox::NoInsert);
  dateList_->setCompleter(nullptr);  // typing has no effect of its own
  PlaceDu(dateList_, du, 24, 116, 100, kComboFieldHeight);
  dateInsert_ = Button(this, QStringLiteral("挿入"), 1010, du, 161, 117, 59, 13);
  Static(this, QStringLiteral("YEAR：年　MONTH：月　DAY：日\nHOUR：時　MIN：分　SEC：秒"), du, 24, 134,
         196, 30);

  gameList_ = new TokenCombo(this);
  gameList_->setObjectName(QStringLiteral("id1107"));
  gameList_->setEditable(true);
  gameList_->setInsertPolicy(QComboBox::NoInsert);
  gameList_->setCompleter(nullptr);
  PlaceDu(gameList_, du, 24, 184, 100, kComboFieldHeight);
  auto* gameInsert = Button(this, QStringLiteral("挿入"), 1011, du, 161, 184, 59, 13);
  Static(this,
         QStringLiteral("ALL：全プレイヤー名　REC_PLAYER：記録者名\n"
                        "チーム別：味方 vs 敵　味方：記録者のチーム\n"
                        "GAME_TIME：ゲーム時間(47分24秒)　MAP：マップ名\n"
                        "MATCHUP：対戦形式(2v2)　REC_CIV：記録者の文明\n"
                        "WINNER：勝利チーム"),
         du, 24, 202, 196, 52);

  connect(ok, &QPushButton::clicked, this, &CRenameFormatDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &CRenameFormatDlg::OnCancel);
  connect(preview, &QPushButton::clicked, this, &CRenameFormatDlg::RefreshPreview);
  connect(history, &QPushButton::clicked, this, &CRenameFormatDlg::OnHistory);
  connect(dateInsert_, &QPushButton::clicked, this, &CRenameFormatDlg::OnInsertDatePart);
  connect(gameInsert, &QPushButton::clicked, this, &CRenameFormatDlg::OnInsertGameToken);
  dateList->onPopupChange = [this] { dateInsert_->setFocus(); };

  settingsPath_ = SettingsPath();
  history_ = new CFormatHistoryDlg(this);
}

CRenameFormatDlg::~CRenameFormatDlg() = default;

void CRenameFormatDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!initialised_) {
    initialised_ = true;
    OnInitDialog();
  }
}

void CRenameFormatDlg::OnInitDialog() {
  settingsPath_ = SettingsPath();
  setFormatText(U8(LoadLastFormat(settingsPath_)));
  RefreshPreview();
  static_cast<FormatEdit*>(edit_)->keepCaretOnFocusIn();
  edit_->setFocus();
  for (const char* item : {"year (年)", "month (月)", "day (日)", "hour (時)", "min (分)", "sec (秒)"})
    dateList_->addItem(QString::fromUtf8(item));
  for (const char* item : {"ALL", "REC_PLAYER", "チーム別", "味方", "GAME_TIME", "MAP", "MATCHUP", "REC_CIV", "WINNER"})
    gameList_->addItem(QString::fromUtf8(item));
  // The lists open with nothing chosen, as the field texts are empty.
  dateList_->setCurrentIndex(-1);
  gameList_->setCurrentIndex(-1);
  dateList_->setEditText(QString());
  gameList_->setEditText(QString());
}

void CRenameFormatDlg::setFormatText(const QString& text) {
  edit_->setText(text);
  // A Windows edit box puts the caret at the start of a text it is given.
  edit_->setCursorPosition(0);
}

void CRenameFormatDlg::RefreshPreview() {
  formatText_ = ToU8(edit_->text());
  if (CompileRenameFormat(formatText_, compiled_, tokens_) != 0) {
    ShowMessage(this, MalformedFormatMessage());
    return;
  }
  sample_->setText(U8(BuildPreviewName(compiled_, tokens_, clock_) + ".mgx"));
}

void CRenameFormatDlg::InsertIntoFormat(const std::string& text) {
  auto* edit = static_cast<FormatEdit*>(edit_);
  const auto [start, length] = edit->insertRange();
  formatText_ = ToU8(edit_->text());
  edit_->setFocus();
  const QString insert = U8(text);
  QString t = edit_->text();
  t.replace(start, length, insert);
  // setText also drops the edit box's undo history: the insertion can't
  // be undone.
  edit_->setText(t);
  edit_->setCursorPosition(start + static_cast<int>(insert.size()));
  formatText_ = ToU8(edit_->text());
  if (CompileRenameFormat(formatText_, compiled_, tokens_) != 0) ShowMessage(this, MalformedFormatMessage());
}

void CRenameFormatDlg::OnInsertDatePart() { InsertIntoFormat(DatePartInsertText(ToU8(dateList_->currentText()))); }

void CRenameFormatDlg::OnInsertGameToken() {
  InsertIntoFormat(GameTokenInsertText(ToU8(gameList_->currentText())));
}

void CRenameFormatDlg::OnHistory() {
  // Cancel changes nothing, not even back to an earlier pick.
  if (history_->exec() != QDialog::Accepted) return;
  const std::string& chosen = history_->ChosenFormat();
  if (chosen.empty()) return;
  setFormatText(U8(chosen));
  RefreshPreview();
}

void CRenameFormatDlg::OnOK() {
  formatText_ = ToU8(edit_->text());
  RefreshPreview();
  if (CompileRenameFormat(formatText_, compiled_, tokens_) != 0) return;
  if (formatText_.empty()) {
    ShowMessage(this, EmptyFormatMessage());
    return;
  }
  if (auto tooLong = CheckFormatLength(formatText_)) {
    ShowMessage(this, *tooLong);
    return;
  }
  if (ShowMessage(this, ConfirmFormatMessage(formatText_)) != QMessageBox::Yes) return;
  history_->AddFormatToHistory(formatText_);
  history_->SaveFormatHistory();
  SaveLastFormat(settingsPath_, formatText_);
  QDialog::accept();
}

void CRenameFormatDlg::OnCancel() {
  history_->SaveFormatHistory();
  QDialog::reject();
}

}  // namespace q2
