// Turns teams, names and the recorder slot into the perspective player, the
// recorder's team and the opposing team.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/recording/replay_summary.h"

namespace q2 {

struct TeamLineup {
  std::array<int32_t, kSlots> teams{};
  std::array<std::string, kSlots> names;
  uint8_t recorderSlot = 0;
  uint8_t perspectiveSlot = 0;
  int8_t perspectiveTeam = 0;
  std::string perspectiveName;
  std::string allyList;   // every name followed by one space
  std::string enemyList;  // filled only for a recorder's team of four

  // A recorder slot outside 1 … 8 counts as no recorder.
  void BuildTeamLists(std::array<int32_t, kSlots> teams, std::array<std::string, kSlots> names,
                      uint8_t recorderSlot);
};

// A line-up built from the document's header fields.
TeamLineup LineupOf(const ReplayDocument& doc);

// Copies the line-up's three texts into the view.
void UpdateTeamTexts(ReplaySummary& s);

}  // namespace q2
