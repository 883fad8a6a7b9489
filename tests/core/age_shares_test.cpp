#include "graph/core/age_shares.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace q2;

namespace {
void ExpectShares(const AgeShares& got, const AgeShares& want) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << "share " << i;
}
}  // namespace

TEST(AgeShares, TheAgeReachedLastTakesTheRestOfTheGame) {
  ExpectShares(AgeSharesOf(0, 0, 0, 1000), {10, 0, 0, 0});
  ExpectShares(AgeSharesOf(0, 500, 900, 1000), {10, 0, 0, 0});  // no feudal: all dark
  ExpectShares(AgeSharesOf(1000, 0, 0, 4000), {2.5, 7.5, 0, 0});
  ExpectShares(AgeSharesOf(1000, 0, 3000, 4000), {2.5, 7.5, 0, 0});  // no castle
  ExpectShares(AgeSharesOf(1000, 2000, 0, 4000), {2.5, 2.5, 5, 0});
  ExpectShares(AgeSharesOf(300, 600, 900, 1000), {3, 3, 3, 1});
  ExpectShares(AgeSharesOf(111, 222, 333, 400), {2.775, 2.775, 2.775, 1.675});
  for (const AgeShares& s : {AgeSharesOf(111, 222, 333, 400), AgeSharesOf(1000, 2000, 0, 4000),
                             AgeSharesOf(392223, 780464, 1541626, 1885669)})
    EXPECT_NEAR(std::accumulate(s.begin(), s.end(), 0.0), 10.0, 1e-12);
}

TEST(AgeShares, NoClampingForAgeTimesBeyondTheBody) {
  // Age times carry 84480: near the end they pass the body length.
  AgeShares s = AgeSharesOf(377771, 934188, 1700247, 1685472);
  EXPECT_LT(s[3], 0);
  EXPECT_NEAR(s[3], 10 - 1700247.0 / 1685472 * 10, 1e-12);
  AgeShares t = AgeSharesOf(900, 1200, 0, 1000);
  EXPECT_NEAR(t[2], 10 - 9 - 3, 1e-12);
  // Unsigned age times: the largest ones stay positive.
  AgeShares u = AgeSharesOf(0xFFFFFFFFu, 0, 0, 1);
  EXPECT_GT(u[0], 0);
}

TEST(AgeShares, AnEmptyBodyIsAllDark) {
  ExpectShares(AgeSharesOf(0, 0, 0, 0), {10, 0, 0, 0});
  ExpectShares(AgeSharesOf(84480, 0, 0, 0), {10, 0, 0, 0});
}

TEST(AgeShares, ComputeAgeSharesFillsTheGraphRowsOfAllSlots) {
  ReplayDocument d;
  for (auto& r : d.graphRows) r.shares = {9, 9, 9, 9};
  std::array<std::array<uint32_t, 3>, 8> t{};
  t[0] = {300, 600, 900};
  t[7] = {1000, 0, 0};
  ComputeAgeShares(d, t, 1000);
  ExpectShares(d.graphRows[0].shares, {3, 3, 3, 1});
  ExpectShares(d.graphRows[7].shares, {10, 0, 0, 0});
  for (int i = 1; i < 7; ++i) ExpectShares(d.graphRows[i].shares, {10, 0, 0, 0});
  t[7] = {500, 0, 0};
  ComputeAgeShares(d, t, 1000);
  ExpectShares(d.graphRows[7].shares, {5, 5, 0, 0});
}
