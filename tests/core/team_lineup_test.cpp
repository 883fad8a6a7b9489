#include "replay/core/team_lineup.h"

#include <gtest/gtest.h>

using namespace q2;

namespace {
const std::array<std::string, 8> kNames = {"s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8"};

TeamLineup Build(std::array<int32_t, 8> teams, uint8_t recorder,
                 const std::array<std::string, 8>& names = kNames) {
  TeamLineup t;
  t.BuildTeamLists(teams, names, recorder);
  return t;
}
}  // namespace

TEST(TeamLineup, NoRecorderGivesNothing) {
  for (uint8_t r : {0, 9, 200, 255}) {
    SCOPED_TRACE(int(r));
    TeamLineup t = Build({2, 2, 3, 3, 0, 0, 0, 0}, r);
    EXPECT_EQ(t.perspectiveName, "");
    EXPECT_EQ(t.allyList, "");
    EXPECT_EQ(t.enemyList, "");
    EXPECT_EQ(t.recorderSlot, r);
  }
}

TEST(TeamLineup, TwoAgainstTwoListsTheRecordersTeamOnly) {
  TeamLineup t = Build({2, 2, 3, 3, 0, 0, 0, 0}, 1);
  EXPECT_EQ(t.perspectiveName, "s1");
  EXPECT_EQ(t.perspectiveSlot, 1);
  EXPECT_EQ(t.perspectiveTeam, 2);
  EXPECT_EQ(t.allyList, "s1 s2 ");
  EXPECT_EQ(t.enemyList, "");
  // The recorder of the other team.
  TeamLineup u = Build({2, 2, 3, 3, 0, 0, 0, 0}, 4);
  EXPECT_EQ(u.perspectiveName, "s4");
  EXPECT_EQ(u.allyList, "s3 s4 ");
}

TEST(TeamLineup, TeamsOfFourListBothSides) {
  TeamLineup t = Build({2, 3, 2, 3, 2, 3, 2, 3}, 3);
  EXPECT_EQ(t.perspectiveName, "s3");
  EXPECT_EQ(t.allyList, "s1 s3 s5 s7 ");
  EXPECT_EQ(t.enemyList, "s2 s4 s6 s8 ");
  // Empty slots on the other side each add a lone space.
  TeamLineup u = Build({4, 4, 4, 4, 0, 0, 0, 0}, 2, {"a", "b", "c", "d", "", "", "", ""});
  EXPECT_EQ(u.allyList, "a b c d ");
  EXPECT_EQ(u.enemyList, "    ");
}

TEST(TeamLineup, AnyTeamOfOneOrARecorderAloneLeavesTheListsEmpty) {
  TeamLineup t = Build({2, 2, 3, 1, 0, 0, 0, 0}, 1);
  EXPECT_EQ(t.perspectiveName, "s1");
  EXPECT_EQ(t.allyList, "");
  EXPECT_EQ(t.enemyList, "");
  TeamLineup u = Build({2, 3, 3, 3, 0, 0, 0, 0}, 1);
  EXPECT_EQ(u.perspectiveName, "s1");
  EXPECT_EQ(u.allyList, "");
  // A free-for-all as the header gives it: every team byte 1.
  TeamLineup w = Build({1, 1, 1, 1, 1, 1, 1, 1}, 2);
  EXPECT_EQ(w.perspectiveName, "s2");
  EXPECT_EQ(w.allyList, "");
}

TEST(TeamLineup, EmptySlotsCountTowardsTheRecordersTeam) {
  // Team 0 for the recorder and four empty slots: five members, no enemies.
  TeamLineup t = Build({0, 2, 2, 3, 0, 0, 0, 0}, 1, {"r", "b", "c", "d", "", "", "", ""});
  EXPECT_EQ(t.allyList, "r     ");
  EXPECT_EQ(t.enemyList, "");
  // Team bytes are signed: -1 matches -1 only.
  TeamLineup u = Build({-1, -1, 2, 2, 0, 0, 0, 0}, 2);
  EXPECT_EQ(u.perspectiveTeam, -1);
  EXPECT_EQ(u.allyList, "s1 s2 ");
}

TEST(TeamLineup, UpdateTeamTextsCopiesTheLineupIntoTheView) {
  ReplaySummary s;
  s.doc.playerTeams = {2, 3, 2, 3, 2, 3, 2, 3};
  s.doc.playerNames = kNames;
  s.doc.recorderSlot = 2;
  s.view.perspectivePlayerText = "old";
  UpdateTeamTexts(s);
  EXPECT_EQ(s.view.perspectivePlayerText, "s2");
  EXPECT_EQ(s.view.allyTeamText, "s2 s4 s6 s8 ");
  EXPECT_EQ(s.view.enemyTeamText, "s1 s3 s5 s7 ");

  s.doc.recorderSlot = 9;
  UpdateTeamTexts(s);
  EXPECT_EQ(s.view.perspectivePlayerText, "");
  EXPECT_EQ(s.view.allyTeamText, "");
  EXPECT_EQ(s.view.enemyTeamText, "");
  EXPECT_EQ(LineupOf(s.doc).perspectiveName, "");
}
