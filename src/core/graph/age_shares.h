// How much of the game each player spent in each age, scaled to add up to 10.
#pragma once

#include <array>
#include <cstdint>

#include "core/recording/replay_summary.h"

namespace q2 {

using AgeShares = std::array<double, 4>;  // dark, feudal, castle, imperial

// f, c, m: feudal, castle and imperial age times (0 = never reached);
// L: body length. No clamping: an age time past L gives a negative share.
AgeShares AgeSharesOf(uint32_t f, uint32_t c, uint32_t m, int32_t L);

// The same rule on the game clock: f, c, m the times each age was reached
// (0 = never), L the game's length, all in milliseconds.
AgeShares GameTimeSharesOf(uint64_t f, uint64_t c, uint64_t m, uint64_t L);

// Writes the shares of all eight slots into the document's graph rows.
void ComputeAgeShares(ReplayDocument& doc, const std::array<std::array<uint32_t, 3>, kSlots>& ageTimes,
                      int32_t bodyLength);

}  // namespace q2
