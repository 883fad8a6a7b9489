// The data side of the display panel: reading the body of an opened
// recording and building the texts the panel shows.
#pragma once

#include <string>

#include "replay/core/replay_summary.h"

namespace q2 {

inline constexpr const char* kPregameHeader = "-------ゲーム開始前チャット-------";
inline constexpr const char* kIngameHeader = "-------ゲーム開始後チャット-------";

// Zeroes the age records and empties the name texts.
void ResetDisplay(ReplayView& view);
// Copies the document's names into the name texts.
void FillSlotNames(ReplaySummary& s);
// Builds chatText from the two check-box states.
void RefreshChatPane(ReplayView& view);
// As RefreshChatPane, but only once something is shown.
void RefreshChatPaneIfLoaded(ReplayView& view);

// When the slot reached the age (0 = Feudal), in game time: the click the
// body records plus the research time; 0 when never, or when that lies past
// the game's end (the game ended first).
uint64_t AgeReachedMs(const ReplayView& view, int slot, int age);

// The game's length alone, for a rename: the recording's body walked
// without the scans. 0 when the file can't be read.
uint64_t ReadGameLength(const std::string& replayPath);

// Reads the recording again and scans its body. False only when the file's
// status can't be obtained; then nothing changes.
bool ShowReplay(const std::string& replayPath, ReplaySummary& s);

}  // namespace q2
