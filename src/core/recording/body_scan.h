// Scans a recording's command body for research commands, age advances and
// chat lines; a byte position in the body is the measure of game time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/recording/game_clock.h"
#include "core/recording/replay_summary.h"

namespace q2 {

inline constexpr uint32_t kAgeTimeOffset = 84480;
inline constexpr int kTechFeudal = 101, kTechCastle = 102, kTechImperial = 103;

// Fills both research lists of every slot (cleared first).
void ResearchScan(ReplayDocument& doc, const uint8_t* body, size_t length);

// Records one age advance; the first one per slot and age counts.
bool RecordAgeAdvance(ReplayView& view, int player, int tech, uint32_t position);

// Age advances and the in-game chat, with and without warning lines.
void BodyEventScan(ReplayView& view, const uint8_t* body, size_t length);

// ResearchScan and BodyEventScan in one pass over the body.
void ScanBody(ReplayDocument& doc, ReplayView& view, const uint8_t* body, size_t length);

// After ScanBody: the game's length and the game time of every age,
// research entry and chat line it found, by the body's clock index.
void TimeBodyEvents(ReplayDocument& doc, ReplayView& view, const uint8_t* body, size_t length,
                    const ClockIndex& index);
void TimeBodyEvents(ReplayDocument& doc, ReplayView& view, const uint8_t* body, size_t length,
                    Edition edition = Edition::Conquerors);

}  // namespace q2
