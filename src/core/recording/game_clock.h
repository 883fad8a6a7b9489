// The game's own clock in a recording's command body: the operations follow
// one another, and every sync among them moves the game time on by its step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/recording/recording_kind.h"
#include "core/recording/game_info.h"

namespace q2 {

struct GameClock {
  uint64_t durationMs = 0;  // the sum of all sync steps found
  bool complete = false;    // the walk ended exactly at the body's end
};

// One walk over the operations, remembering an operation boundary and the
// game time there every kilobyte or so; the time at any position is then
// found by walking on from the last mark before it. Every read stays inside
// the body.
struct ClockIndex {
  struct Mark {
    size_t pos;
    uint64_t ms;
  };
  std::vector<Mark> marks;  // ascending; the first where the operations begin
  size_t stop = 0;          // where the walk ended
  GameClock clock;
  std::vector<ResignOp> resigns;  // the resign commands met on the way
};
ClockIndex IndexGameClock(const uint8_t* body, size_t length, Edition edition = Edition::Conquerors);

// A game time that can't be known: a chat line past where the clock stopped.
inline constexpr uint64_t kUnknownTime = UINT64_MAX;

// The game time of the operation holding each position (0 before the first
// operation, the last known time past where the walk stopped).
uint64_t TimeAt(const uint8_t* body, size_t length, const ClockIndex& index, size_t position);

// The index and the times of the given positions at once.
GameClock WalkGameClock(const uint8_t* body, size_t length, const std::vector<uint32_t>& positions,
                        std::vector<uint64_t>& times, Edition edition = Edition::Conquerors);

// An age is reached this long after its research was clicked (the one
// civilisation that researches faster is not known here).
inline constexpr uint64_t kAgeResearchMs[3] = {130000, 160000, 190000};  // feudal, castle, imperial

// The minutes and seconds of a game time through a printf format taking
// two unsigned long longs, such as "%llu分%02llu秒".
std::string FormatClock(uint64_t ms, const char* format);
// "47:24" (minutes may pass 59).
std::string ClockText(uint64_t ms);

}  // namespace q2
