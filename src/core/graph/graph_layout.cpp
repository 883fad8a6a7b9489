#include "core/graph/graph_layout.h"

#include <algorithm>
#include <cmath>

#include "core/recording/game_clock.h"
#include "core/texts/texts.h"

namespace q2 {
namespace {

// Far beyond any window, yet small enough that sums of positions stay ints.
constexpr double kPixelLimit = 1e6;

int TruncPixels(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}

PixelRect Segment(int left, int right, int top) {
  return {left, top, std::max(left, right), top + kBarHeight};
}

}  // namespace

std::array<PixelRect, 4> BarRects(int row, const AgeShares& in) {
  AgeShares s = in;
  double total = s[3] + s[0] + s[2] + s[1];
  const bool finite = std::all_of(s.begin(), s.end(), [](double v) { return std::isfinite(v); });
  if (!finite || !std::isfinite(total) || total == 0.0) {
    // Nothing to divide by: show the slot as one that never left the Dark Age.
    s = {10.0, 0.0, 0.0, 0.0};
    total = 10.0;
  }
  const int wDark = TruncPixels(s[0] / total * kBarSpan);
  const int wFeudal = TruncPixels(s[1] / total * kBarSpan);
  const int wCastle = TruncPixels(s[2] / total * kBarSpan);
  const int x1 = kBarLeft + wDark;
  const int x2 = x1 + wFeudal;
  const int x3 = x2 + wCastle;
  const int top = BarTop(row);
  return {Segment(kBarLeft, x1, top), Segment(x1, x2, top), Segment(x2, x3, top),
          Segment(x3, kBarRight, top)};
}

std::array<PixelRect, 4> LegendRects() {
  return {PixelRect{530, 10, 560, 27}, PixelRect{617, 10, 647, 27}, PixelRect{704, 10, 734, 27},
          PixelRect{791, 10, 821, 27}};
}

std::vector<int> StaggerIcons(const std::vector<int>& x) {
  const size_t n = x.size();
  std::vector<int> dy(n, 0);
  // An entry left of its predecessor touches it too: the difference is negative.
  auto touches = [&](size_t i) { return i + 1 < n && x[i + 1] - x[i] < kIconSize; };
  size_t i = 0;
  while (i < n) {
    if (touches(i) && touches(i + 1) && touches(i + 2)) {
      dy[i] = -6, dy[i + 1] = 8, dy[i + 2] = 22, dy[i + 3] = 36;
      i += 4;
    } else if (touches(i) && touches(i + 1)) {
      dy[i] = 2, dy[i + 1] = 16, dy[i + 2] = 30;
      i += 3;
    } else if (touches(i)) {
      dy[i] = 8, dy[i + 1] = 22;
      i += 2;
    } else {
      dy[i] = 15;
      i += 1;
    }
  }
  return dy;
}

int IconX(double when) {
  const double v = when * kBarSpan + kBarLeft;
  return std::isfinite(v) ? TruncPixels(v) : kBarLeft;
}

std::vector<IconPlacement> PlaceResearchIcons(const std::array<ResearchList, kSlots>& lists, int used) {
  std::vector<IconPlacement> out;
  const size_t room = static_cast<size_t>(std::clamp(kIconSlots - used, 0, kIconSlots));
  for (int r = 0; r < kSlots; ++r) {
    const ResearchList& list = lists[r];
    const int n = std::clamp(list.count, 0, kResearchListMax);
    std::vector<int> xs(n);
    for (int j = 0; j < n; ++j) xs[j] = IconX(list.entries[j].when);
    const std::vector<int> dy = StaggerIcons(xs);
    for (int j = 0; j < n; ++j) {
      if (out.size() >= room) return out;
      const int top = BarTop(r) + dy[j];
      out.push_back({r, list.entries[j].iconId, {xs[j], top, xs[j] + kIconSize, top + kIconSize}});
    }
  }
  return out;
}

std::array<ResearchList, kSlots> InGameTime(const std::array<ResearchList, kSlots>& lists, uint64_t durationMs) {
  std::array<ResearchList, kSlots> out = lists;
  for (ResearchList& l : out)
    for (int i = 0; i < std::clamp(l.count, 0, kResearchListMax); ++i)
      l.entries[i].when = durationMs ? static_cast<double>(l.entries[i].ms) / static_cast<double>(durationMs) : 0.0;
  return out;
}

std::vector<MinuteMark> MinuteMarks(uint64_t durationMs) {
  std::vector<MinuteMark> out;
  if (durationMs == 0) return out;
  // Marks at least this many pixels apart.
  constexpr double kMinGap = 36;
  const double pxPerMinute = 60000.0 / static_cast<double>(durationMs) * kBarSpan;
  int step = 60;
  for (int s : {1, 2, 5, 10, 15, 30, 60})
    if (s * pxPerMinute >= kMinGap) {
      step = s;
      break;
    }
  for (int minute = 0; minute * 60000.0 <= static_cast<double>(durationMs); minute += step)
    out.push_back({kBarLeft + TruncPixels(minute * pxPerMinute), minute});
  return out;
}

std::vector<AgeSpan> AgeSpansOf(uint64_t f, uint64_t c, uint64_t m, uint64_t durationMs) {
  std::vector<AgeSpan> out;
  const uint64_t reached[4] = {0, f, c, m};
  for (int age = 0; age < 4; ++age) {
    if (age > 0 && reached[age] == 0) break;
    const uint64_t next = age < 3 && reached[age + 1] ? reached[age + 1] : durationMs;
    out.push_back({age, reached[age], next});
  }
  return out;
}

std::string AgeSpanText(const AgeSpan& span) {
  return std::string(kAgeShortNames[span.age & 3]) + " " + ClockText(span.fromMs) + kTimeRangeSign +
         ClockText(span.toMs) + kEstimateMark;
}

IconToggle IconState::press(IconCategory c) {
  IconToggle t;
  if (shown_ == c) {
    t.destroy = true;
    shown_ = IconCategory::None;
  } else {
    t.destroy = shown_ != IconCategory::None;
    t.create = c;
    shown_ = c;
  }
  return t;
}

}  // namespace q2
