#include "core/recording/game_clock.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace q2 {
namespace {

uint32_t Le32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;  // little-endian hosts only, as every platform we build for
}

constexpr uint32_t kCommand = 1, kSync = 2, kView = 3, kChatOrMeta = 4;
constexpr uint8_t kResignCommand = 0x0B;
constexpr size_t kLogHeader = 28;  // log version, checksum interval, five settings words
constexpr size_t kLogHeaderKings = 24;  // the earlier game writes no log version
constexpr size_t kMarkEvery = 1024;

// Where the operations begin; 0 when the body is too short for a log header.
size_t FirstOperation(const uint8_t* b, size_t n, Edition edition) {
  const size_t header = edition == Edition::Kings ? kLogHeaderKings : kLogHeader;
  if (n < header + 4) return 0;
  // Some versions put three more words here, the first of them 0.
  if (Le32(b + header) != 0) return header;
  return header + 12 <= n ? header + 12 : 0;
}

// The size of the operation at p and its time step; 0 when it can't be
// followed (unknown type, or running past the end).
size_t Operation(const uint8_t* b, size_t n, size_t p, uint64_t& step) {
  step = 0;
  if (n - p < 4) return 0;
  size_t size;
  switch (Le32(b + p)) {
    case kSync:
      if (n - p < 8) return 0;
      step = Le32(b + p + 4);
      size = 8;
      // A zero word after the step opens a 28-byte block.
      if (n - p >= 12 && Le32(b + p + 8) == 0) size += 28;
      break;
    case kView: size = 16; break;
    case kCommand:
      if (n - p < 8) return 0;
      size = 8 + size_t{Le32(b + p + 4)} + 4;
      break;
    case kChatOrMeta:
      if (n - p < 12 || static_cast<int32_t>(Le32(b + p + 4)) != -1) return 0;
      size = 12 + size_t{Le32(b + p + 8)};
      break;
    default: return 0;
  }
  return size <= n - p ? size : 0;
}

}  // namespace

ClockIndex IndexGameClock(const uint8_t* b, size_t n, Edition edition) {
  ClockIndex idx;
  size_t p = FirstOperation(b, n, edition);
  if (p == 0) return idx;
  idx.marks.reserve((n - p) / kMarkEvery + 1);  // marks are at least kMarkEvery apart
  uint64_t t = 0;
  size_t nextMark = p;
  while (true) {
    if (p >= nextMark) {
      idx.marks.push_back({p, t});
      nextMark = p + kMarkEvery;
    }
    // Most of a body is a sync without its block followed by a view
    // position, 24 bytes, in long runs.
    const size_t runEnd = std::min(nextMark, n >= 24 ? n - 23 : 0);
    while (p < runEnd) {
      const uint8_t* o = b + p;
      if ((Le32(o) ^ kSync) | (Le32(o + 8) ^ kView)) break;
      t += Le32(o + 4);
      p += 24;
    }
    if (p >= nextMark) continue;
    uint64_t step;
    const size_t size = p < n ? Operation(b, n, p, step) : 0;
    if (size == 0) break;
    // A resign: the player, its slot, whether it dropped out.
    if (size >= 16 && Le32(b + p) == kCommand && b[p + 8] == kResignCommand)
      idx.resigns.push_back({b[p + 9], b[p + 10], b[p + 11] != 0, t});
    t += step;
    p += size;
  }
  idx.stop = p;
  idx.clock = {t, p == n};
  return idx;
}

uint64_t TimeAt(const uint8_t* b, size_t n, const ClockIndex& idx, size_t position) {
  if (idx.marks.empty() || position < idx.marks.front().pos) return 0;
  if (position >= idx.stop) return idx.clock.durationMs;
  auto m = std::upper_bound(idx.marks.begin(), idx.marks.end(), position,
                            [](size_t pos, const ClockIndex::Mark& k) { return pos < k.pos; });
  --m;
  size_t p = m->pos;
  uint64_t t = m->ms;
  while (true) {
    uint64_t step;
    const size_t size = Operation(b, n, p, step);
    // The walk that made the index got past here, so size is never 0.
    if (size == 0 || position < p + size) return t;
    t += step;
    p += size;
  }
}

GameClock WalkGameClock(const uint8_t* b, size_t n, const std::vector<uint32_t>& positions,
                        std::vector<uint64_t>& times, Edition edition) {
  const ClockIndex idx = IndexGameClock(b, n, edition);
  times.clear();
  for (uint32_t pos : positions) times.push_back(TimeAt(b, n, idx, pos));
  return idx.clock;
}

std::string FormatClock(uint64_t ms, const char* format) {
  const uint64_t s = ms / 1000;
  char buf[64];
  std::snprintf(buf, sizeof buf, format, static_cast<unsigned long long>(s / 60),
                static_cast<unsigned long long>(s % 60));
  return buf;
}

std::string ClockText(uint64_t ms) { return FormatClock(ms, "%llu:%02llu"); }

}  // namespace q2
