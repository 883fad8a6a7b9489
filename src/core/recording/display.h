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

// A long recording mapped once for the whole open, its game clock walked
// and its body scanned over that map, each on a thread of its own from the
// moment the open starts: both run beside the header's inflation, and are
// ready when the display step needs them. The threads only read the map and
// write their own findings.
class BackgroundBody {
 public:
  explicit BackgroundBody(const std::string& replayPath);
  ~BackgroundBody();
  BackgroundBody(const BackgroundBody&) = delete;
  BackgroundBody& operator=(const BackgroundBody&) = delete;
  // The map, when it holds a file of this size (nullptr otherwise), so that
  // the display step reads the body without a second map of it.
  const MappedFile* file(uint64_t size) const;
  // The map whatever its size, nullptr when there is none.
  const MappedFile* map() const { return mapped_ ? &file_ : nullptr; }
  // The index of the body at this offset, once the walk is done; nullopt
  // when there was no walk of it.
  std::optional<ClockIndex> takeClock(size_t bodyOffset);
  // What ScanBody finds in the body at this offset, moved into `s` once the
  // scan is done; false, leaving `s` as it is, when there was no scan of it.
  bool takeScan(size_t bodyOffset, ReplaySummary& s);

 private:
  MappedFile file_;
  bool mapped_ = false;
  size_t offset_ = 0;
  std::thread clockThread_, scanThread_;
  ClockIndex index_;
  ReplaySummary found_;
  bool clockReady_ = false, scanReady_ = false;
};

// Reads the recording again and scans its body. False only when the file's
// status can't be obtained; then nothing changes. The clock and the scan
// come from `background` when it read this same file, else from the step's
// own walk and scan.
bool ShowReplay(const std::string& replayPath, ReplaySummary& s, BackgroundBody* background = nullptr);

}  // namespace q2
