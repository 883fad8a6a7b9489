// The data side of the display panel: reading the body of an opened
// recording and building the texts the panel shows.
#pragma once

#include <optional>
#include <string>
#include <thread>

#include "platform/mapped_file.h"
#include "core/recording/container.h"
#include "core/recording/game_clock.h"
#include "core/recording/replay_summary.h"
#include "core/texts/texts.h"

namespace q2 {


// Zeroes the age records and empties the name texts.
void ResetDisplay(ReplayView& view);
// Copies the document's names into the name texts.
void FillSlotNames(ReplaySummary& s);
// The encoding the view's texts are shown in: the user's choice, else the
// one the header tells.
void ChooseTextEncoding(ReplaySummary& s);
// Builds chatText from the two check-box states.
void RefreshChatPane(ReplayView& view);
// As RefreshChatPane, but only once something is shown.
void RefreshChatPaneIfLoaded(ReplayView& view);

// When the slot reached the age (0 = Feudal), in game time: the click the
// body records plus the research time; 0 when never, or when that lies past
// the game's end (the game ended first).
uint64_t AgeReachedMs(const ReplayView& view, int slot, int age);

// The game's length alone, for a rename: the recording's body walked
// without the scans (the header is not inflated here). CannotOpen, or
// Corrupt when the header length doesn't fit the file; `ms` is 0 then.
// The walk's resign commands go to `resigns` when given.
HeaderRead ReadGameLength(const std::string& replayPath, uint64_t& ms, std::vector<ResignOp>* resigns = nullptr);

// A long recording mapped once for the whole open, and its game clock
// walked over that map on a second thread from the moment the open starts,
// so that the index is ready when the display step needs it. The thread only
// reads the map and writes its own index.
class BackgroundClock {
 public:
  explicit BackgroundClock(const std::string& replayPath);
  ~BackgroundClock();
  BackgroundClock(const BackgroundClock&) = delete;
  BackgroundClock& operator=(const BackgroundClock&) = delete;
  // The map, when it holds a file of this size (nullptr otherwise), so that
  // the display step reads the body without a second map of it.
  const MappedFile* file(uint64_t size) const;
  // The index of the body at this offset, once the walk is done; nullopt
  // when there was no walk of it.
  std::optional<ClockIndex> take(size_t bodyOffset);

 private:
  MappedFile file_;
  bool mapped_ = false;
  std::thread thread_;
  ClockIndex index_;
  size_t offset_ = 0;
  bool ready_ = false;
};

// Reads the recording again and scans its body. False only when the file's
// status can't be obtained; then nothing changes. The game clock comes from
// `clock` when it walked this same file, else from a walk of its own.
bool ShowReplay(const std::string& replayPath, ReplaySummary& s, BackgroundClock* clock = nullptr);

}  // namespace q2
