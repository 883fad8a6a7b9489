#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graph/core/age_shares.h"
#include "graph/core/graph_layout.h"

namespace q2 {
namespace {

using Rects = std::array<PixelRect, 4>;

PixelRect R(int l, int r, int row = 0) { return {l, BarTop(row), r, BarTop(row) + kBarHeight}; }

void ExpectShares(const AgeShares& s, double d, double f, double c, double m) {
  EXPECT_NEAR(s[0], d, 1e-9);
  EXPECT_NEAR(s[1], f, 1e-9);
  EXPECT_NEAR(s[2], c, 1e-9);
  EXPECT_NEAR(s[3], m, 1e-9);
}

TEST(AgeGraphBars, EdgeCasesOfSharesAndRectangles) {
  // Never reached Feudal: later ages are ignored, the whole bar is Dark.
  AgeShares s = AgeSharesOf(0, 500, 900, 1000);
  ExpectShares(s, 10, 0, 0, 0);
  EXPECT_EQ(BarRects(0, s), (Rects{R(130, 850), R(850, 850), R(850, 850), R(850, 850)}));

  // Feudal only: zero-width castle and imperial segments at 850.
  s = AgeSharesOf(1000, 0, 0, 4000);
  ExpectShares(s, 2.5, 7.5, 0, 0);
  EXPECT_EQ(BarRects(0, s), (Rects{R(130, 310), R(310, 850), R(850, 850), R(850, 850)}));

  s = AgeSharesOf(300, 600, 900, 1000);
  ExpectShares(s, 3, 3, 3, 1);
  EXPECT_EQ(BarRects(2, s), (Rects{R(130, 346, 2), R(346, 562, 2), R(562, 778, 2), R(778, 850, 2)}));

  // Widths of 199.8 are cut to 199; the imperial segment takes the rest.
  s = AgeSharesOf(111, 222, 333, 400);
  ExpectShares(s, 2.775, 2.775, 2.775, 1.675);
  const Rects r = BarRects(7, s);
  EXPECT_EQ(r, (Rects{R(130, 329, 7), R(329, 528, 7), R(528, 727, 7), R(727, 850, 7)}));
  EXPECT_EQ(r[3].width(), 123);
  EXPECT_EQ(r[0].top, 466);
  EXPECT_EQ(r[0].bottom, 512);
}

TEST(AgeGraphBars, EmptyBodyAndNonsenseSharesGiveOneDarkBar) {
  const Rects dark{R(130, 850), R(850, 850), R(850, 850), R(850, 850)};
  // Body length 0 (no recording open) must not divide by zero.
  ExpectShares(AgeSharesOf(1000, 2000, 3000, 0), 10, 0, 0, 0);
  ExpectShares(AgeSharesOf(0, 0, 0, 0), 10, 0, 0, 0);
  EXPECT_EQ(BarRects(0, AgeSharesOf(1000, 2000, 3000, 0)), dark);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(BarRects(0, AgeShares{0, 0, 0, 0}), dark);
  EXPECT_EQ(BarRects(0, AgeShares{nan, 1, 1, 1}), dark);
  EXPECT_EQ(BarRects(0, AgeShares{1, inf, 1, 1}), dark);
  EXPECT_EQ(BarRects(0, AgeShares{5, -5, 0, 0}), dark);  // adds up to 0
  EXPECT_EQ(BarRects(0, AgeShares{1e308, 1e308, 0, 0}), dark);  // total overflows

  // A total that is not 10 is still spread over the 720 pixels.
  EXPECT_EQ(BarRects(0, AgeShares{1, 1, 1, 1}), (Rects{R(130, 310), R(310, 490), R(490, 670), R(670, 850)}));
}

TEST(AgeGraphBars, AgeTimePastTheBodyEndDrawsNoInvertedRectangle) {
  // Castle reached "after" the end: castle share −2, feudal runs past 850.
  AgeShares s = AgeSharesOf(300, 1200, 0, 1000);
  ExpectShares(s, 3, 9, -2, 0);
  Rects r = BarRects(0, s);
  EXPECT_EQ(r[0], R(130, 346));
  EXPECT_EQ(r[1], R(346, 994));
  EXPECT_EQ(r[2], R(994, 994));  // computed 994 → 850: clamped to empty
  EXPECT_EQ(r[3], R(850, 850));

  s = AgeSharesOf(1100, 0, 0, 1000);
  r = BarRects(0, s);
  EXPECT_EQ(r[0], R(130, 922));
  EXPECT_EQ(r[1], R(922, 922));
  for (const PixelRect& p : r) EXPECT_GE(p.right, p.left);

  // Absurd times from a tiny body: positions stay bounded, nothing inverted.
  s = AgeSharesOf(4000000000u, 4100000000u, 0, 1);
  for (const PixelRect& p : BarRects(0, s)) {
    EXPECT_GE(p.right, p.left);
    EXPECT_LE(std::abs(p.right), 10'000'000);
  }
}

TEST(AgeGraphBars, ComputeAgeSharesFillsAllEightRows) {
  ReplayDocument doc;
  std::array<std::array<uint32_t, 3>, kSlots> t{};
  t[0] = {300, 600, 900};
  t[3] = {100, 0, 0};
  t[7] = {0, 400, 0};
  ComputeAgeShares(doc, t, 1000);
  ExpectShares(doc.graphRows[0].shares, 3, 3, 3, 1);
  ExpectShares(doc.graphRows[3].shares, 1, 9, 0, 0);
  ExpectShares(doc.graphRows[7].shares, 10, 0, 0, 0);
  ExpectShares(doc.graphRows[1].shares, 10, 0, 0, 0);
}

TEST(AgeGraphIcons, StaggerGroupsTouchingNeighbours) {
  EXPECT_TRUE(StaggerIcons({}).empty());
  EXPECT_EQ(StaggerIcons({400}), (std::vector<int>{15}));
  // 0.5, 0.51, 0.9 of the body.
  EXPECT_EQ(StaggerIcons({IconX(0.5), IconX(0.51), IconX(0.9)}), (std::vector<int>{8, 22, 15}));
  // 14 apart is clear of each other, 13 is not.
  EXPECT_EQ(StaggerIcons({200, 214, 228}), (std::vector<int>{15, 15, 15}));
  EXPECT_EQ(StaggerIcons({200, 213, 300}), (std::vector<int>{8, 22, 15}));
  EXPECT_EQ(StaggerIcons({200, 210, 220, 400}), (std::vector<int>{2, 16, 30, 15}));
  // Five 5 pixels apart: a group of four, and the fifth starts anew.
  EXPECT_EQ(StaggerIcons({300, 305, 310, 315, 320}), (std::vector<int>{-6, 8, 22, 36, 15}));
  EXPECT_EQ(StaggerIcons({300, 301, 302, 303, 304, 305, 306, 307}),
            (std::vector<int>{-6, 8, 22, 36, -6, 8, 22, 36}));
  // Decreasing entries touch however far apart they are.
  EXPECT_EQ(StaggerIcons({800, 200, 700}), (std::vector<int>{8, 22, 15}));
  EXPECT_EQ(StaggerIcons({800, 600, 400, 200, 500}), (std::vector<int>{-6, 8, 22, 36, 15}));
  // Far apart.
  EXPECT_EQ(StaggerIcons({130, 400, 849}), (std::vector<int>{15, 15, 15}));
}

TEST(AgeGraphIcons, PlacementAtTheResearchTime) {
  EXPECT_EQ(IconX(0.0), 130);
  EXPECT_EQ(IconX(0.5), 490);
  EXPECT_EQ(IconX(0.51), 497);
  EXPECT_EQ(IconX(0.9), 778);
  EXPECT_EQ(IconX(0.9999), 849);
  EXPECT_EQ(IconX(std::numeric_limits<double>::quiet_NaN()), 130);

  std::array<ResearchList, kSlots> lists{};
  lists[0].entries[0] = {159, 0.5};
  lists[0].entries[1] = {154, 0.51};
  lists[0].entries[2] = {155, 0.9};
  lists[0].count = 3;
  lists[2].entries[0] = {173, 0.25};
  lists[2].count = 1;
  const std::vector<IconPlacement> p = PlaceResearchIcons(lists);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0].rect, (PixelRect{490, 54, 504, 68}));
  EXPECT_EQ(p[1].rect, (PixelRect{497, 68, 511, 82}));
  EXPECT_EQ(p[2].rect, (PixelRect{778, 61, 792, 75}));
  EXPECT_EQ(p[0].iconId, 159);
  EXPECT_EQ(p[2].iconId, 155);
  EXPECT_EQ(p[3].row, 2);
  EXPECT_EQ(p[3].iconId, 173);
  EXPECT_EQ(p[3].rect, (PixelRect{310, 166 + 15, 324, 166 + 29}));
}

TEST(AgeGraphIcons, NeverMoreThanTheTwoHundredSlots) {
  std::array<ResearchList, kSlots> lists{};
  for (ResearchList& l : lists) {
    for (int j = 0; j < kResearchListMax; ++j) l.entries[j] = {160, j / 100.0};
    l.count = kResearchListMax;
  }
  std::vector<IconPlacement> p = PlaceResearchIcons(lists);
  ASSERT_EQ(p.size(), 200u);
  EXPECT_EQ(p.back().row, 1);  // rows 0 and 1 fill the table
  EXPECT_EQ(PlaceResearchIcons(lists, 150).size(), 50u);
  EXPECT_TRUE(PlaceResearchIcons(lists, 200).empty());
  EXPECT_TRUE(PlaceResearchIcons(lists, 250).empty());

  // Counts outside 0 … 100 are taken within it, never read past the list.
  std::array<ResearchList, kSlots> bad{};
  bad[0].count = 5000;
  bad[1].count = -3;
  p = PlaceResearchIcons(bad);
  EXPECT_EQ(p.size(), 100u);
  for (const IconPlacement& i : p) EXPECT_EQ(i.row, 0);
}

TEST(AgeGraphIcons, StateMachineOfTheTwoButtons) {
  IconState s;
  EXPECT_EQ(s.shown(), IconCategory::None);

  IconToggle t = s.pressEconomy();  // none → economy
  EXPECT_FALSE(t.destroy);
  EXPECT_EQ(t.create, IconCategory::Economy);
  EXPECT_TRUE(s.economyShown());
  EXPECT_FALSE(s.blacksmithShown());

  t = s.pressEconomy();  // economy → none
  EXPECT_TRUE(t.destroy);
  EXPECT_EQ(t.create, IconCategory::None);
  EXPECT_EQ(s.shown(), IconCategory::None);

  s.pressEconomy();
  t = s.pressBlacksmith();  // economy → blacksmith replaces the icons
  EXPECT_TRUE(t.destroy);
  EXPECT_EQ(t.create, IconCategory::Blacksmith);
  EXPECT_TRUE(s.blacksmithShown());
  EXPECT_FALSE(s.economyShown());

  t = s.pressEconomy();  // blacksmith → economy
  EXPECT_TRUE(t.destroy);
  EXPECT_EQ(t.create, IconCategory::Economy);
  EXPECT_TRUE(s.economyShown());

  s.pressEconomy();
  t = s.pressBlacksmith();  // none → blacksmith
  EXPECT_FALSE(t.destroy);
  EXPECT_EQ(t.create, IconCategory::Blacksmith);
  t = s.pressBlacksmith();
  EXPECT_TRUE(t.destroy);
  EXPECT_EQ(s.shown(), IconCategory::None);
}

}  // namespace
}  // namespace q2
