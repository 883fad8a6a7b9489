// The age graph: each age's share of the game, the bars drawn from it, and
// where the research icons go.
#include "core/graph/graph_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "core/graph/age_shares.h"

namespace q2 {
namespace {

using Rects = std::array<PixelRect, 4>;

// The four segments of row 0 from their left and right edges.
Rects Bar(std::array<int, 8> x) {
  Rects r;
  for (int i = 0; i < 4; ++i) r[i] = {x[2 * i], 46, x[2 * i + 1], 92};
  return r;
}

const Rects kDark = Bar({130, 850, 850, 850, 850, 850, 850, 850});
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(AgeGraphBars, SharesOfTheGameAndTheirBars) {
  const std::tuple<std::array<uint32_t, 3>, int32_t, AgeShares, Rects> cases[] = {  // feudal, castle, imperial; length
      {{0, 0, 0}, 1000, {10, 0, 0, 0}, kDark},
      {{0, 500, 900}, 1000, {10, 0, 0, 0}, kDark},  // never Feudal: later ages don't count
      {{1000, 0, 0}, 4000, {2.5, 7.5, 0, 0}, Bar({130, 310, 310, 850, 850, 850, 850, 850})},
      {{1000, 0, 3000}, 4000, {2.5, 7.5, 0, 0}, Bar({130, 310, 310, 850, 850, 850, 850, 850})},  // never Castle
      {{1000, 2000, 0}, 4000, {2.5, 2.5, 5, 0}, Bar({130, 310, 310, 490, 490, 850, 850, 850})},
      {{300, 600, 900}, 1000, {3, 3, 3, 1}, Bar({130, 346, 346, 562, 562, 778, 778, 850})},
      // Widths of 199.8 are cut to 199; the imperial segment takes the rest.
      {{111, 222, 333}, 400, {2.775, 2.775, 2.775, 1.675}, Bar({130, 329, 329, 528, 528, 727, 727, 850})},
      // Age times carry 84480, so near the end they pass the body length:
      // no clamping of the shares, and no inverted rectangle.
      {{377771, 934188, 1700247}, 1685472, {2.241336551422984, 3.3012532987792143, 4.545071054280344, -0.0876609044825436},
       Bar({130, 291, 291, 528, 528, 855, 855, 855})},
      {{300, 1200, 0}, 1000, {3, 9, -2, 0}, Bar({130, 346, 346, 994, 994, 994, 850, 850})},
      {{1100, 0, 0}, 1000, {11, -1, 0, 0}, Bar({130, 922, 922, 922, 850, 850, 850, 850})},
      // Unsigned age times; positions stay bounded.
      {{0xFFFFFFFFu, 0, 0}, 1, {42949672950.0, -42949672940.0, 0, 0}, Bar({130, 1000130, 1000130, 1000130, 130, 130, 130, 850})},
      // An empty body (nothing open) is all Dark, without dividing by zero.
      {{1000, 2000, 3000}, 0, {10, 0, 0, 0}, kDark}, {{84480, 0, 0}, 0, {10, 0, 0, 0}, kDark},
  };
  for (const auto& [t, length, shares, bar] : cases) {
    SCOPED_TRACE(std::to_string(t[0]) + " " + std::to_string(t[1]) + " " + std::to_string(t[2]));
    const AgeShares s = AgeSharesOf(t[0], t[1], t[2], length);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(s[i], shares[i], 1e-9) << i;
    EXPECT_EQ(BarRects(0, s), bar);
  }
  EXPECT_EQ(BarRects(7, AgeSharesOf(111, 222, 333, 400))[3], (PixelRect{727, 466, 850, 512}));
  // Shares that are no numbers or add up to nothing give one Dark bar; any
  // other total is spread over the 720 pixels.
  const double inf = std::numeric_limits<double>::infinity();
  for (const AgeShares& s : {AgeShares{0, 0, 0, 0}, AgeShares{kNaN, 1, 1, 1}, AgeShares{1, inf, 1, 1},
                             AgeShares{5, -5, 0, 0}, AgeShares{1e308, 1e308, 0, 0}})
    EXPECT_EQ(BarRects(0, s), kDark);
  EXPECT_EQ(BarRects(0, {1, 1, 1, 1}), Bar({130, 310, 310, 490, 490, 670, 670, 850}));
}

TEST(AgeGraphIcons, PlacedAtTheResearchTimeAndStaggeredWhenClose) {
  const std::pair<std::vector<int>, std::vector<int>> stagger[] = {
      {{}, {}}, {{400}, {15}}, {{490, 497, 778}, {8, 22, 15}}, {{130, 400, 849}, {15, 15, 15}},
      {{200, 214, 228}, {15, 15, 15}}, {{200, 213, 300}, {8, 22, 15}},  // 14 apart is clear, 13 is not
      {{200, 210, 220, 400}, {2, 16, 30, 15}}, {{300, 305, 310, 315, 320}, {-6, 8, 22, 36, 15}},  // four at most
      {{300, 301, 302, 303, 304, 305, 306, 307}, {-6, 8, 22, 36, -6, 8, 22, 36}},
      {{800, 200, 700}, {8, 22, 15}}, {{800, 600, 400, 200, 500}, {-6, 8, 22, 36, 15}}};  // decreases touch
  for (const auto& [xs, dy] : stagger) EXPECT_EQ(StaggerIcons(xs), dy);
  for (const auto& [when, left] : {std::pair{0.0, 130}, {0.5, 490}, {0.51, 497}, {0.9, 778}, {0.9999, 849}, {kNaN, 130}})
    EXPECT_EQ(IconX(when), left) << when;
  auto placed = [](const std::array<ResearchList, kSlots>& lists, int used = 0) {
    std::vector<std::tuple<int, int, PixelRect>> out;  // row, icon, where
    for (const IconPlacement& p : PlaceResearchIcons(lists, used)) out.emplace_back(p.row, p.iconId, p.rect);
    return out;
  };
  std::array<ResearchList, kSlots> lists{};
  lists[0].entries[0] = {159, 0.5};
  lists[0].entries[1] = {154, 0.51};
  lists[0].entries[2] = {155, 0.9};
  lists[0].count = 3;
  lists[2].entries[0] = {173, 0.25};
  lists[2].count = 1;
  EXPECT_EQ(placed(lists), (std::vector<std::tuple<int, int, PixelRect>>{{0, 159, {490, 54, 504, 68}}, {0, 154, {497, 68, 511, 82}},
                                                                         {0, 155, {778, 61, 792, 75}}, {2, 173, {310, 181, 324, 195}}}));
  // Never more than the 200 slots of the table; counts outside 0 … 100
  // are taken within it, never read past the list.
  for (ResearchList& l : lists) {
    for (int j = 0; j < kResearchListMax; ++j) l.entries[j] = {160, j / 100.0};
    l.count = kResearchListMax;
  }
  EXPECT_EQ(placed(lists).size(), 200u);
  EXPECT_EQ(std::get<0>(placed(lists).back()), 1);
  EXPECT_EQ(placed(lists, 150).size(), 50u);
  EXPECT_TRUE(placed(lists, 250).empty());
  lists[0].count = 5000;
  lists[1].count = -3;
  EXPECT_EQ(std::get<0>(placed(lists)[199]), 2);
  EXPECT_EQ(std::get<0>(placed(lists)[99]), 0);
}

}  // namespace
}  // namespace q2
