// Opening a recording: inflate the header in memory, scan it, build the
// team texts, then read and show the body. Nothing is written anywhere.
#pragma once

#include <string>

#include "core/texts/message.h"
#include "core/recording/container.h"
#include "core/recording/replay_summary.h"

namespace q2 {

struct OpenResult {
  bool ok = false;
  Messages messages;  // in the order they arose, also on success
};

// Where a long body is read: on threads of its own beside the header's
// inflation (one recording at a time), or on the caller's (a batch whose
// workers keep every core busy already).
enum class BodyThreads { Own, Caller };

// A failed open leaves `s` as it was.
OpenResult OpenReplay(const std::string& replayPath, ReplaySummary& s, BodyThreads threads = BodyThreads::Own);

// The header alone, as a rename needs it: its messages are appended. A
// header that inflates only in part is scanned as far as it goes, so its
// messages are those the whole open would give.
HeaderRead ReadReplayHeader(const std::string& replayPath, ReplaySummary& s, Messages& messages);

}  // namespace q2
