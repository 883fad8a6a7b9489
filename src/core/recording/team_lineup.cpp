#include "core/recording/team_lineup.h"

namespace q2 {

void TeamLineup::BuildTeamLists(std::array<int32_t, kSlots> t, std::array<std::string, kSlots> n,
                                uint8_t r) {
  teams = t;
  names = std::move(n);
  recorderSlot = perspectiveSlot = r;
  if (r < 1 || r > kSlots) return;
  perspectiveName = names[r - 1];
  perspectiveTeam = static_cast<int8_t>(teams[r - 1] & 0xFF);
  for (int32_t team : teams)
    if (team == 1) return;
  int k = 0;
  for (int32_t team : teams)
    if (team == perspectiveTeam) ++k;
  if (k == 1) return;
  allyList.clear();
  enemyList.clear();
  for (int s = 0; s < kSlots; ++s) {
    if (teams[s] == perspectiveTeam) {
      allyList += names[s] + " ";
    } else if (k == 4) {
      enemyList += names[s] + " ";
    }
  }
}

TeamLineup LineupOf(const ReplayDocument& doc) {
  TeamLineup t;
  t.BuildTeamLists(doc.playerTeams, doc.playerNames, doc.recorderSlot);
  return t;
}

void UpdateTeamTexts(ReplaySummary& s) {
  TeamLineup t = LineupOf(s.doc);
  s.view.perspectivePlayerText = t.perspectiveName;
  s.view.allyTeamText = t.allyList;
  s.view.enemyTeamText = t.enemyList;
}

}  // namespace q2
