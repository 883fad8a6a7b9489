#include "gui/CFormatHistoryDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include "gui/kit/DialogUnits.h"
#include "gui/kit/QtText.h"
#include "core/settings/settings.h"

namespace q2 {

CFormatHistoryDlg::CFormatHistoryDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
  setFont(DialogFont());
  const DialogUnits du(font());
  setFixedSize(du.x(253), du.y(189));

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("id1116"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  PlaceDu(list_, du, 7, 7, 238, 154);

  ok_ = new QPushButton(QStringLiteral("参照"), this);
  ok_->setObjectName(QStringLiteral("id1"));
  ok_->setDefault(true);
  PlaceDu(ok_, du, 41, 168, 50, 14);

  delete_ = new QPushButton(QStringLiteral("削除"), this);
  delete_->setObjectName(QStringLiteral("id1001"));
  PlaceDu(delete_, du, 102, 168, 50, 14);

  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("id2"));
  PlaceDu(cancel, du, 164, 168, 50, 14);

  connect(ok_, &QPushButton::clicked, this, &CFormatHistoryDlg::accept);
  connect(delete_, &QPushButton::clicked, this, &CFormatHistoryDlg::OnDelete);
  connect(cancel, &QPushButton::clicked, this, &CFormatHistoryDlg::reject);
  connect(list_, &QListWidget::itemSelectionChanged, this, &CFormatHistoryDlg::OnSelectionChanged);

  settingsPath_ = SettingsPath();
  LoadFormatHistory();
}

void CFormatHistoryDlg::LoadFormatHistory() { history_.LoadFormatHistory(settingsPath_); }

bool CFormatHistoryDlg::AddFormatToHistory(const std::string& format) {
  return history_.AddFormatToHistory(format);
}

void CFormatHistoryDlg::SaveFormatHistory() const { history_.SaveFormatHistory(settingsPath_); }

void CFormatHistoryDlg::showEvent(QShowEvent* e) {
  // Every run starts from the entries as they are now.
  if (!e->spontaneous()) OnInitDialog();
  QDialog::showEvent(e);
}

void CFormatHistoryDlg::OnInitDialog() {
  const QSignalBlocker block(list_);
  ok_->setEnabled(false);
  delete_->setEnabled(false);
  list_->clear();
  for (int i = 0; i < history_.count(); ++i) list_->addItem(U8(history_.entry(i)));
  list_->setCurrentRow(-1);
}

int CFormatHistoryDlg::selectedIndex() const {
  const auto sel = list_->selectedItems();
  return sel.isEmpty() ? -1 : list_->row(sel.first());
}

void CFormatHistoryDlg::OnSelectionChanged() {
  const bool any = selectedIndex() >= 0;
  ok_->setEnabled(any);
  delete_->setEnabled(any);
}

void CFormatHistoryDlg::OnDelete() {
  const int index = selectedIndex();
  if (index < 0) return;
  history_.DeleteFormat(index);
  {
    const QSignalBlocker block(list_);
    delete list_->takeItem(index);
    list_->clearSelection();
    list_->setCurrentRow(-1);
  }
  ok_->setEnabled(false);
  delete_->setEnabled(false);
}

void CFormatHistoryDlg::accept() {
  const int index = selectedIndex();
  chosen_ = index >= 0 ? history_.entry(index) : std::string();
  QDialog::accept();
}

}  // namespace q2
