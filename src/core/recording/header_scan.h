// Finds the recorder slot, the player names, the teams and the lobby chat in
// an inflated header by fixed byte markers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/texts/message.h"
#include "core/recording/recording_kind.h"
#include "core/recording/replay_summary.h"
#include "core/texts/texts.h"

namespace q2 {

inline constexpr const char* kMsgHeaderData = "HEADER_DATA_ERROR";

// Recorder slot, names and teams into the document; every read stays
// inside the buffer.
void HeaderScan(ReplayDocument& doc, const uint8_t* buf, size_t length, Messages& messages,
                Edition edition = Edition::Conquerors);

// Lobby chat lines ("@#" and a digit 1 to 8, up to the next zero byte).
void CollectLobbyChat(const uint8_t* buf, size_t length, ChatText& out);

// HeaderScan and the lobby chat of an inflated header, into the summary.
void ScanInflatedHeader(const uint8_t* buf, size_t length, ReplaySummary& s, Messages& messages,
                        Edition edition = Edition::Conquerors);

}  // namespace q2
