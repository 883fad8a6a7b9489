#include "game_clock.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace q2 {
namespace {

uint32_t Le32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;  // little-endian hosts only, as every platform we build for
}

constexpr uint32_t kCommand = 1, kSync = 2, kView = 3, kChatOrMeta = 4;
constexpr size_t kLogHeader = 28;  // log version, checksum interval, five settings words

}  // namespace

GameClock WalkGameClock(const uint8_t* b, size_t n, const std::vector<uint32_t>& positions,
                        std::vector<uint64_t>& times) {
  times.assign(positions.size(), 0);
  GameClock clock;
  size_t q = 0;
  uint64_t t = 0;
  // Queries below `end` lie in the operation that ends there.
  auto settle = [&](size_t end) {
    while (q < positions.size() && positions[q] < end) times[q++] = t;
  };
  auto finish = [&](bool complete) {
    settle(SIZE_MAX);
    clock.durationMs = t;
    clock.complete = complete;
    return clock;
  };
  if (n < kLogHeader + 4) return finish(false);
  size_t p = kLogHeader;
  // Later versions put three more words here, the first of them 0.
  if (Le32(b + p) == 0) p += 12;
  settle(p);
  while (true) {
    // Most of a body is a sync without its block followed by a view
    // position, 24 bytes; four such pairs are taken at once while no
    // position asked about lies among them.
    const size_t nextQuery = q < positions.size() ? positions[q] : SIZE_MAX;
    while (n - p >= 96 && p + 96 <= nextQuery) {
      const uint8_t* o = b + p;
      const bool pairs = (Le32(o) == kSync) & (Le32(o + 8) == kView) & (Le32(o + 24) == kSync) &
                         (Le32(o + 32) == kView) & (Le32(o + 48) == kSync) & (Le32(o + 56) == kView) &
                         (Le32(o + 72) == kSync) & (Le32(o + 80) == kView);
      if (!pairs) break;
      t += uint64_t(Le32(o + 4)) + Le32(o + 28) + Le32(o + 52) + Le32(o + 76);
      p += 96;
    }
    if (p == n) return finish(true);
    if (n - p < 4) return finish(false);
    const uint32_t type = Le32(b + p);
    size_t size;
    uint64_t step = 0;
    if (type == kSync) {
      if (n - p < 8) return finish(false);
      step = Le32(b + p + 4);
      size = 8;
      // A zero word after the step opens a 28-byte block.
      if (n - p >= 12 && Le32(b + p + 8) == 0) size += 28;
    } else if (type == kView) {
      size = 16;
    } else if (type == kCommand) {
      if (n - p < 8) return finish(false);
      size = 8 + size_t{Le32(b + p + 4)} + 4;
    } else if (type == kChatOrMeta) {
      if (n - p < 12 || static_cast<int32_t>(Le32(b + p + 4)) != -1) return finish(false);
      size = 12 + size_t{Le32(b + p + 8)};
    } else {
      return finish(false);
    }
    if (size > n - p) return finish(false);
    settle(p + size);
    t += step;
    p += size;
  }
}

std::string ClockText(uint64_t ms) {
  const uint64_t s = ms / 1000;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llu:%02llu", static_cast<unsigned long long>(s / 60),
                static_cast<unsigned long long>(s % 60));
  return buf;
}

}  // namespace q2
