// The game clock: a walk over the body's operations, on hand-built and
// hostile bodies (generated and real recordings are timed where they open).
#include "replay/core/game_clock.h"

#include <gtest/gtest.h>

#include "support/core_support.h"

using namespace q2;
using q2test::Le32;

namespace {

// A body built operation by operation.
struct Body {
  std::string b;
  explicit Body(bool laterHeader = false) {
    for (uint32_t w : {4u, 500u, 0u, 1u, 0u, 0u, 0u}) b += Le32(w);
    if (laterHeader) b += std::string(12, '\0');
  }
  uint32_t at() const { return static_cast<uint32_t>(b.size()); }
  Body& sync(uint32_t step, bool block = false) { return raw(Le32(2) + Le32(step) + (block ? Le32(0) + std::string(24, 7) : "")); }
  Body& view() { return raw(Le32(3) + std::string(12, '\x01')); }
  Body& raw(const std::string& s) { return b += s, *this; }
};

}  // namespace

TEST(GameClock, WalksOperationsAndTimesEachPositionByTheOperationHoldingIt) {
  struct Case {
    const char* what;
    std::string body;
    std::vector<uint32_t> positions;
    uint64_t duration;
    bool complete;
    std::vector<uint64_t> times;
  };
  std::vector<Case> cases;
  for (bool later : {false, true}) {
    Body b(later);
    const uint32_t s1 = b.at(), v1 = b.sync(500).at(), s2 = b.view().at(), c1 = b.sync(300, true).at() + 9;
    const uint32_t ch = b.raw(Le32(1) + Le32(16) + std::string(16, '\x65') + Le32(0)).at() + 12;  // a command
    const uint32_t last = b.raw(Le32(4) + Le32(0xFFFFFFFF) + Le32(8) + "@#1hello").sync(200).at() - 1;  // chat
    cases.push_back({later ? "later log header" : "every kind of operation", b.b, {3, s1, s1 + 7, v1, s2, s2 + 20, c1, ch, last},
                     1000, true, {0, 0, 0, 500, 500, 500, 800, 800, 800}});
  }
  // Long runs of sync and view pairs are taken in bulk; positions among
  // them must still be timed one operation at a time.
  Body pairs;
  std::vector<uint32_t> pos;
  for (uint32_t k = 0; k < 40; ++k) {
    if (k == 17) pos.push_back(pairs.at() + 2);
    pairs.sync(10 + k % 4);
    if (k == 17 || k == 30) pos.push_back(pairs.at() + 5);
    pairs.view();
  }
  cases.push_back({"bulk pairs", pairs.b, pos, 460, true, {194, 205, 355}});
  Body bad;
  const uint32_t type9 = bad.sync(100).view().at();
  cases.push_back({"unknown type stops the walk", bad.raw(Le32(9)).sync(50).b, {type9 - 1, type9 + 10}, 100, false, {100, 100}});
  cases.push_back({"command longer than the body", Body().sync(70).raw(Le32(1) + Le32(1000) + "xx").b, {40}, 70, false, {70}});
  cases.push_back({"chat longer than the body", Body().sync(70).raw(Le32(4) + Le32(0xFFFFFFFF) + Le32(99)).b, {}, 70, false, {}});
  cases.push_back({"meta record of unknown size", Body().sync(70).raw(Le32(4) + Le32(500) + Le32(0)).b, {}, 70, false, {}});
  cases.push_back({"sync cut off", Body().sync(70).raw(Le32(2) + "\x05").b, {}, 70, false, {}});
  cases.push_back({"a byte left over", Body().sync(70).raw("\x02").b, {}, 70, false, {}});
  cases.push_back({"huge steps add up beyond 32 bits", Body().sync(0xFFFFFFFF).sync(0xFFFFFFFF).b, {}, 0x1FFFFFFFEull, true, {}});
  cases.push_back({"no log header", std::string(20, '\0'), {5}, 0, false, {0}});
  cases.push_back({"empty body", "", {}, 0, false, {}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint64_t> times;
    const GameClock clock = WalkGameClock(reinterpret_cast<const uint8_t*>(c.body.data()), c.body.size(), c.positions, times);
    EXPECT_EQ(clock.durationMs, c.duration);
    EXPECT_EQ(clock.complete, c.complete);
    EXPECT_EQ(times, c.times);
  }
  EXPECT_EQ(ClockText(2844945), "47:24");
  EXPECT_EQ(ClockText(7203000), "120:03");
}
