// Opening a recording: extract the header, scan it, build the team texts,
// delete the extracted header, then read and show the body.
#pragma once

#include <string>

#include "platform/message.h"
#include "replay/core/replay_summary.h"

namespace q2 {

struct OpenResult {
  bool ok = false;
  Messages messages;  // in the order they arose, also on success
};

OpenResult OpenReplay(const std::string& replayPath, ReplaySummary& s);

// The first steps alone (extract, scan, delete), as a rename needs them.
// Results are not reported beyond the messages.
Messages ScanReplayHeader(const std::string& replayPath, ReplaySummary& s);

}  // namespace q2
