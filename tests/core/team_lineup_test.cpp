#include "replay/core/team_lineup.h"

#include <gtest/gtest.h>

using namespace q2;

TEST(TeamLineup, TeamsAndRecorderGiveThePerspectiveAndBothSides) {
  const std::array<std::string, 8> names = {"s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8"};
  const std::array<std::string, 8> four = {"a", "b", "c", "d", "", "", "", ""};
  struct Case {
    std::array<int32_t, 8> teams;
    int recorder;
    std::array<std::string, 8> names;
    std::string perspective, ally, enemy;
  } cases[] = {
      // No recorder.
      {{2, 2, 3, 3}, 0, names, "", "", ""},
      {{2, 2, 3, 3}, 9, names, "", "", ""},
      {{2, 2, 3, 3}, 255, names, "", "", ""},
      // Two against two: the recorder's team only.
      {{2, 2, 3, 3}, 1, names, "s1", "s1 s2 ", ""},
      {{2, 2, 3, 3}, 4, names, "s4", "s3 s4 ", ""},
      // Teams of four list both sides; empty slots each add a lone space.
      {{2, 3, 2, 3, 2, 3, 2, 3}, 3, names, "s3", "s1 s3 s5 s7 ", "s2 s4 s6 s8 "},
      {{2, 3, 2, 3, 2, 3, 2, 3}, 2, names, "s2", "s2 s4 s6 s8 ", "s1 s3 s5 s7 "},
      {{4, 4, 4, 4}, 2, four, "b", "a b c d ", "    "},
      // Any team 1 (a free-for-all is all 1), or a recorder alone: no lists.
      {{2, 2, 3, 1}, 1, names, "s1", "", ""},
      {{1, 1, 1, 1, 1, 1, 1, 1}, 2, names, "s2", "", ""},
      {{2, 3, 3, 3}, 1, names, "s1", "", ""},
      // Empty slots count towards a team 0: five members, no enemies.
      {{0, 2, 2, 3}, 1, four, "a", "a     ", ""},
      // Team bytes are signed: -1 matches -1 only.
      {{-1, -1, 2, 2}, 2, names, "s2", "s1 s2 ", ""},
  };
  for (const Case& c : cases) {
    TeamLineup t;
    t.BuildTeamLists(c.teams, c.names, static_cast<uint8_t>(c.recorder));
    EXPECT_EQ(t.perspectiveName, c.perspective) << c.recorder << " " << c.ally;
    EXPECT_EQ(t.allyList, c.ally) << c.recorder << " " << c.ally;
    EXPECT_EQ(t.enemyList, c.enemy) << c.recorder << " " << c.ally;
  }
}
