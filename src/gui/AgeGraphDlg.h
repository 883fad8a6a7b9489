// The age-progression graph: one bar per player slot split into the four
// ages, research icons on request, and the four age colours.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QRect>
#include <array>
#include <string>
#include <vector>

#include "core/graph/age_shares.h"
#include "core/graph/graph_layout.h"
#include "core/recording/replay_summary.h"
#include "core/settings/settings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace q2 {

struct PlayerBar {
  std::string name;  // in the recording's encoding
  AgeShares shares{};
  ColorRef color = 0;
  TextEncoding encoding = TextEncoding::Cp932;
};

using ResearchLists = std::array<ResearchList, kSlots>;

// The template's dialog units as the fixed pixel drawing was made for them:
// 1.75 pixels across and 1.5 down per unit (base units 7 × 12). Placing the
// controls with these, rather than with whatever our font measures, keeps
// the row frames 60 pixels apart like the bars and each legend box right
// before its colour button.
QRect GraphDuRect(int x, int y, int width, int height);

class CAgeGraphDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAgeGraphDlg(QWidget* owner);
  ~CAgeGraphDlg() override;

  void SetPlayerBars(const std::array<PlayerBar, kSlots>& bars);
  void SetEconomyResearch(const ResearchLists& lists);
  void SetBlacksmithResearch(const ResearchLists& lists);
  // The same rows on the game clock, for the "実時間" toggle: the shares,
  // each age's span and the game's length (0 leaves the toggle off).
  void SetGameClock(uint64_t durationMs, const std::array<AgeShares, kSlots>& shares,
                    const std::array<std::vector<AgeSpan>, kSlots>& spans, bool complete = true);

  void CreateResearchIcons(const ResearchLists& lists);
  void DestroyResearchIcons();
  void RefreshResearchIcons();

  const AgeColors& ageColors() const { return ageColors_; }
  int iconCount() const { return iconCount_; }
  bool economyShown() const { return iconState_.economyShown(); }
  bool blacksmithShown() const { return iconState_.blacksmithShown(); }
  bool inGameTime() const { return inGameTime_; }
  // The mark at the bars' right end in game time when the clock stopped
  // before the recording's end; empty otherwise.
  QString ClockStopText() const;
  // The tool tip of the bar segment at a point ("" where none).
  QString SegmentToolTip(const QPoint& at) const;

  void OnEconomy();
  void OnBlacksmith();
  void OnDarkColor() { ChangeAgeColor(0); }
  void OnFeudalColor() { ChangeAgeColor(1); }
  void OnCastleColor() { ChangeAgeColor(2); }
  void OnImperialColor() { ChangeAgeColor(3); }
  void OnGameTime(bool on);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool event(QEvent* e) override;

 private:
  struct IconSlot {
    QLabel* control = nullptr;
    QIcon icon;
  };

  void Apply(const IconToggle& t);
  void ChangeAgeColor(int age);
  const std::array<AgeShares, kSlots>& shownShares() const { return inGameTime_ ? gameShares_ : shares_; }

  std::string settingsPath_;
  AgeColors ageColors_{};
  std::array<AgeShares, kSlots> shares_{};
  std::array<ColorRef, kSlots> rowColors_{};
  std::array<QLineEdit*, kSlots> nameBoxes_{};
  ResearchLists economy_{};
  ResearchLists blacksmith_{};
  std::array<IconSlot, kIconSlots> icons_{};
  int iconCount_ = 0;
  IconState iconState_;
  bool inGameTime_ = false;
  bool clockComplete_ = true;
  bool wantGameTime_ = false;  // the choice the settings file keeps
  QPushButton* gameTimeButton_ = nullptr;
  uint64_t durationMs_ = 0;
  std::array<AgeShares, kSlots> gameShares_{};
  std::array<std::vector<AgeSpan>, kSlots> spans_{};
};

}  // namespace q2
