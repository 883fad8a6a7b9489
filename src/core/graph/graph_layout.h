// Where the age graph draws: the bars, the legend and the research icons,
// all in pixels of the dialog's client area, and which icons are shown.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/graph/age_shares.h"
#include "core/recording/replay_summary.h"

namespace q2 {

// A rectangle as the Windows Rectangle call takes it: it covers the pixels
// left … right−1 and top … bottom−1, outline included.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const PixelRect&) const = default;
};

inline constexpr int kBarLeft = 130;
inline constexpr int kBarRight = 850;
inline constexpr int kBarSpan = kBarRight - kBarLeft;  // 720
inline constexpr int kBarTop = 46;
inline constexpr int kRowPitch = 60;
inline constexpr int kBarHeight = 46;
inline constexpr int kIconSize = 14;
inline constexpr int kIconSlots = 200;
inline constexpr int kIconChildIdBase = 1000;

inline int BarTop(int row) { return kBarTop + kRowPitch * row; }

// The four segments of one row (dark, feudal, castle, imperial). Widths are
// cut toward zero and the imperial segment runs to 850 whatever its share.
// Shares that are not finite or add up to zero give one Dark bar; a segment
// whose right edge would fall left of its left edge is drawn empty.
std::array<PixelRect, 4> BarRects(int row, const AgeShares& shares);

// The legend box drawn before each age colour button.
std::array<PixelRect, 4> LegendRects();

// Vertical offset of each icon of one row below the bar's top, so that icons
// closer than 14 pixels to their neighbours are stacked in groups of up to four.
std::vector<int> StaggerIcons(const std::vector<int>& xs);

// Left edge of the icon of a research at `when` (a fraction of the body).
int IconX(double when);

struct IconPlacement {
  int row = 0;       // 0 … 7, slot row + 1
  int iconId = 0;    // as the research list holds it
  PixelRect rect;    // 14 × 14
};

// The icons of eight research lists, row by row and in list order, for an
// icon table that already has `used` slots taken: never more than the
// 200 slots hold. A list's count is taken within 0 … 100.
std::vector<IconPlacement> PlaceResearchIcons(const std::array<ResearchList, kSlots>& lists,
                                              int used = 0);

// The research lists placed on the game clock: each entry's time becomes
// its game time over the game's length.
std::array<ResearchList, kSlots> InGameTime(const std::array<ResearchList, kSlots>& lists, uint64_t durationMs);

// Marks under the bars in game time: the x of each whole number of minutes
// at a step that keeps them apart (1, 2, 5, 10, 15, 30 or 60 minutes).
struct MinuteMark {
  int x = 0;
  int minute = 0;
  bool operator==(const MinuteMark&) const = default;
};
std::vector<MinuteMark> MinuteMarks(uint64_t durationMs);

// One age of one player in game time: from when it was reached to when the
// next was (or the game ended). Reached times are estimates.
struct AgeSpan {
  int age = 0;  // 0 dark … 3 imperial
  uint64_t fromMs = 0, toMs = 0;
};
std::vector<AgeSpan> AgeSpansOf(uint64_t f, uint64_t c, uint64_t m, uint64_t durationMs);
// "領主 9:03〜20:09 (推定)".
std::string AgeSpanText(const AgeSpan& span);

// The three icon states behind "内政" and "鉄鋼".
enum class IconCategory { None, Economy, Blacksmith };

struct IconToggle {
  bool destroy = false;                       // remove the icons shown
  IconCategory create = IconCategory::None;   // then show this category
};

class IconState {
 public:
  IconToggle pressEconomy() { return press(IconCategory::Economy); }
  IconToggle pressBlacksmith() { return press(IconCategory::Blacksmith); }
  IconCategory shown() const { return shown_; }
  bool economyShown() const { return shown_ == IconCategory::Economy; }
  bool blacksmithShown() const { return shown_ == IconCategory::Blacksmith; }

 private:
  IconToggle press(IconCategory c);
  IconCategory shown_ = IconCategory::None;
};

}  // namespace q2
