// The game clock: a walk over the body's operations, on hand-built and
// hostile bodies (generated and real recordings are timed where they open).
#include "replay/core/game_clock.h"

#include <gtest/gtest.h>

#include "support/core_support.h"

using namespace q2;
using q2test::Le32;

namespace {

// A body built operation by operation; marks() remembers where things are.
struct Body {
  std::string b;
  explicit Body(bool laterHeader = false) {
    for (uint32_t w : {4u, 500u, 0u, 1u, 0u, 0u, 0u}) b += Le32(w);
    if (laterHeader) b += std::string(12, '\0');
  }
  size_t at() const { return b.size(); }
  Body& sync(uint32_t step, bool block = false) {
    b += Le32(2) + Le32(step);
    if (block) b += Le32(0) + std::string(24, '\x07');
    return *this;
  }
  Body& view() {
    b += Le32(3) + std::string(12, '\x01');
    return *this;
  }
  Body& command(uint32_t n) {
    b += Le32(1) + Le32(n) + std::string(n, '\x65') + Le32(0);
    return *this;
  }
  Body& chat(const std::string& text) {
    b += Le32(4) + Le32(0xFFFFFFFF) + Le32(static_cast<uint32_t>(text.size())) + text;
    return *this;
  }
  Body& raw(const std::string& s) {
    b += s;
    return *this;
  }
};

struct Walked {
  GameClock clock;
  std::vector<uint64_t> times;
};

Walked Walk(const std::string& body, std::vector<uint32_t> positions) {
  Walked w;
  w.clock = WalkGameClock(reinterpret_cast<const uint8_t*>(body.data()), body.size(), positions, w.times);
  return w;
}

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
    const uint32_t inHeader = 3;
    const uint32_t s1 = static_cast<uint32_t>(b.at());
    b.sync(500);
    const uint32_t v1 = static_cast<uint32_t>(b.at());
    b.view();
    const uint32_t s2 = static_cast<uint32_t>(b.at());
    b.sync(300, true);
    const uint32_t inBlock = s2 + 20, c1 = static_cast<uint32_t>(b.at()) + 9;
    b.command(16);
    const uint32_t ch = static_cast<uint32_t>(b.at()) + 12;
    b.chat("@#1hello").sync(200);
    const uint32_t last = static_cast<uint32_t>(b.at()) - 1;
    cases.push_back({later ? "later log header" : "every kind of operation", b.b,
                     {inHeader, s1, s1 + 7, v1, s2, inBlock, c1, ch, last}, 1000, true,
                     {0, 0, 0, 500, 500, 500, 800, 800, 800}});
  }
  {
    // Long runs of sync and view pairs are taken in bulk; positions among
    // them must still be timed one operation at a time.
    Body b;
    std::vector<uint32_t> pos;
    std::vector<uint64_t> want;
    for (uint32_t k = 0; k < 40; ++k) {
      if (k == 17) pos.push_back(static_cast<uint32_t>(b.at()) + 2), want.push_back(170);
      b.sync(10);
      if (k == 17 || k == 30) pos.push_back(static_cast<uint32_t>(b.at()) + 5), want.push_back(10 * (k + 1));
      b.view();
    }
    cases.push_back({"bulk pairs", b.b, pos, 400, true, want});
  }
  {
    Body b;
    b.sync(100).view();
    const uint32_t bad = static_cast<uint32_t>(b.at());
    b.raw(Le32(9)).sync(50);
    cases.push_back({"unknown type stops the walk", b.b, {bad - 1, bad + 10}, 100, false, {100, 100}});
  }
  cases.push_back({"command longer than the body", Body().sync(70).raw(Le32(1) + Le32(1000) + "xx").b, {40}, 70,
                   false, {70}});
  cases.push_back({"chat longer than the body", Body().sync(70).raw(Le32(4) + Le32(0xFFFFFFFF) + Le32(99)).b, {},
                   70, false, {}});
  cases.push_back({"meta record of unknown size", Body().sync(70).raw(Le32(4) + Le32(500) + Le32(0)).b, {}, 70,
                   false, {}});
  cases.push_back({"sync cut off", Body().sync(70).raw(Le32(2) + "\x05").b, {}, 70, false, {}});
  cases.push_back({"huge steps add up beyond 32 bits", Body().sync(0xFFFFFFFF).sync(0xFFFFFFFF).b, {}, 0x1FFFFFFFEull,
                   true, {}});
  cases.push_back({"no log header", std::string(20, '\0'), {5}, 0, false, {0}});
  cases.push_back({"empty body", "", {}, 0, false, {}});
  EXPECT_EQ(ClockText(2844945), "47:24");
  EXPECT_EQ(ClockText(7203000), "120:03");
  for (const Case& c : cases) {
    Walked w = Walk(c.body, c.positions);
    EXPECT_EQ(w.clock.durationMs, c.duration) << c.what;
    EXPECT_EQ(w.clock.complete, c.complete) << c.what;
    EXPECT_EQ(w.times, c.times) << c.what;
  }
}
