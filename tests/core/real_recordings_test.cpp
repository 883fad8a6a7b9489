// The two real recordings, opened and renamed as the window does it.
// Expected values were worked out by hand from the byte rules and by walking
// the operations, independently of this code.
#include <gtest/gtest.h>

#include "rename/core/rename_run.h"
#include "support/core_support.h"
#include "view/core/display.h"
#include "view/core/open_replay.h"

using namespace q2;
namespace fs = std::filesystem;

namespace {

struct Expected {
  const char* file;
  size_t fileSize;
  uint8_t recorder;
  std::array<std::string, 8> names;
  std::array<int32_t, 8> teams;
  std::vector<std::string> pregame, ingame;
  int32_t bodyLength;
  uint64_t duration;
  // Slots 1 and 2: age times, ranks, and the game time of each age's click
  // and of reaching it.
  std::array<std::array<uint32_t, 3>, 2> ages;
  std::array<std::array<uint8_t, 3>, 2> ranks;
  std::array<std::array<uint64_t, 3>, 2> clicks, reached;
  // (icon, body position) per slot 1 and 2
  std::array<std::vector<std::pair<int, int>>, 2> economy, blacksmith;
};

const Expected kRecordings[] = {
    {"aoc-1.0c.mgx", 1966466, 1, {"North", "H_Haslebo"}, {1, 4, 1, 1, 1, 1, 1, 1},
     {"H_Haslebo: DEAD!", "North: u wish", "North: stay owned", "H_Haslebo: no need to wish", "North: :)",
      "H_Haslebo: watch me", "H_Haslebo: im in the zone", "H_Haslebo: die", "North: sure sure ^^",
      "H_Haslebo: due", "H_Haslebo: die", "North: rdy ?", "H_Haslebo: 14", "North: ok die"},
     {}, 1885669, 3226695,
     {{{392223, 780464, 1541626}, {430547, 851211, 0}}}, {{{1, 1, 1}, {2, 2, 0}}},
     {{{543690, 1209240, 2506305}, {609390, 1332540, 0}}}, {{{673690, 1369240, 2696305}, {739390, 1492540, 0}}},
     {{{{159, 145130}, {155, 398789}, {154, 648556}, {160, 721560}, {163, 730923}, {164, 806043}, {158, 1254945},
        {161, 1261461}, {162, 1279257}},
       {{159, 71342}, {155, 428005}, {154, 934292}}}},
     {{{{173, 748147}, {179, 786651}, {182, 1008903}, {185, 1111231}, {186, 1522010}, {174, 1307057}, {183, 1360173},
        {180, 1395181}, {184, 1574534}, {175, 1611062}, {181, 1691034}, {176, 1755782}, {177, 1787658}},
       {{173, 808111}, {179, 850026}, {176, 1319233}, {177, 1421105}}}}},
    // Slot 2's Imperial Age would come after the game's end.
    {"up-1.4.mgz", 1772122, 2, {"Miracle_", "[LoS]bruh"}, {1, 1, 1, 1, 1, 1, 1, 1}, {"Miracle_: glhf"},
     {"<Rating> Miracle_: 2087", "<Rating> [LoS]bruh: 2092", "[LoS]bruh: 11", "[LoS]bruh: 11", "<All>[LoS]bruh: gg",
      "Miracle_: gg"},
     1685472, 2844945,
     {{{481687, 942660, 1267249}, {377771, 934188, 1700247}}}, {{{2, 2, 1}, {1, 1, 2}}},
     {{{688230, 1477710, 2020725}, {512595, 1463940, 2727990}}}, {{{818230, 1637710, 2210725}, {642595, 1623940, 0}}},
     {{{{154, 786660}, {155, 787780}, {163, 934292}, {164, 989146}, {160, 989610}, {158, 1382253}, {162, 1472174},
        {161, 1580987}},
       {{155, 407451}, {154, 802036}, {163, 870618}, {160, 889916}, {164, 956530}}}},
     {{{{182, 654534}, {185, 703906}, {176, 878192}, {177, 953382}, {173, 1032809}, {178, 1363933}, {174, 1536259},
        {175, 1607019}},
       {{182, 664866}, {176, 890352}, {173, 1142729}, {177, 1223750}, {174, 1653439}}}}},
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

class RealRecordings : public ::testing::TestWithParam<Expected> {};

}  // namespace

TEST_P(RealRecordings, OpenAndRenameAsWorkedOutByHand) {
  const Expected& e = GetParam();
  const std::string source = std::string(QUORIL2_REAL_RECORDINGS) + "/" + e.file;
  if (!fs::is_regular_file(source)) GTEST_SKIP() << source << " is not here";
  const std::string original = q2test::ReadBytes(source);
  ASSERT_EQ(original.size(), e.fileSize);
  // From a copy, named .mgx and by its own extension: the .dat file goes
  // beside it, never into the shared folder.
  for (const std::string& ext : {std::string(".mgx"), fs::path(e.file).extension().string()}) {
    SCOPED_TRACE(ext);
    q2test::TempDir dir;
    const std::string path = dir / ("recording" + ext);
    q2test::WriteBytes(path, original);
    ReplaySummary s;
    OpenResult r = OpenReplay(path, s);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(q2test::Snapshot(dir.path()), (std::map<std::string, std::string>{{"recording" + ext, original}}));
    EXPECT_EQ(s.doc.recorderSlot, e.recorder);
    EXPECT_EQ(s.doc.playerNames, e.names);
    EXPECT_EQ(s.doc.playerTeams, e.teams);
    EXPECT_EQ(s.view.perspectivePlayerText + "|" + s.view.allyTeamText + s.view.enemyTeamText, e.names[e.recorder - 1] + "|");
    EXPECT_EQ(s.view.pregameChat.str(), Joined(e.pregame));
    EXPECT_EQ(s.view.ingameChat.str(), Joined(e.ingame));
    EXPECT_EQ(s.view.ingameChatFiltered.str(), Joined(e.ingame));
    EXPECT_EQ(s.view.bodyLength, e.bodyLength);
    EXPECT_TRUE(s.view.clockComplete);
    EXPECT_EQ(s.view.gameDurationMs, e.duration);
    for (int p = 0; p < 8; ++p) {
      SCOPED_TRACE(p + 1);
      EXPECT_EQ(s.view.ageTimes[p], (p < 2 ? e.ages[p] : std::array<uint32_t, 3>{}));
      const std::array<uint8_t, 3> ranks = {s.view.feudalRank[p], s.view.castleRank[p], s.view.imperialRank[p]};
      EXPECT_EQ(ranks, (p < 2 ? e.ranks[p] : std::array<uint8_t, 3>{}));
      for (int age = 0; p < 2 && age < 3; ++age) {
        EXPECT_EQ(s.view.ageClickMs[p][age], e.clicks[p][age]);
        EXPECT_EQ(AgeReachedMs(s.view, p, age), e.reached[p][age]);
      }
      auto check = [&](const ResearchList& l, const std::vector<std::pair<int, int>>& want) {
        ASSERT_EQ(l.count, static_cast<int>(want.size()));
        for (size_t i = 0; i < want.size(); ++i)
          EXPECT_EQ(l.entries[i], (ResearchEntry{want[i].first, static_cast<double>(want[i].second) / e.bodyLength}));
      };
      check(s.doc.economyResearch[p], p < 2 ? e.economy[p] : std::vector<std::pair<int, int>>{});
      check(s.doc.blacksmithResearch[p], p < 2 ? e.blacksmith[p] : std::vector<std::pair<int, int>>{});
    }
    // The dry run names what the real run then does.
    RenameRequest req;
    ASSERT_EQ(CompileRenameFormat("[REC_PLAYER]_[ALL]_[GAME_TIME]", req.format, req.tokens), 0);
    const std::string name = e.names[e.recorder - 1] + "_" + e.names[0] + " " + e.names[1] + "      _" +
                             GameTimeText(e.duration) + ext;
    for (bool dry : {true, false}) {
      req.dryRun = dry;
      RenameRunResult run = RenameSelectedFiles(dir.path(), {path}, req, s);
      ASSERT_EQ(run.outcome, kRenameOk);
      EXPECT_EQ(run.files.at(0).newName, name);
    }
    EXPECT_EQ(q2test::Snapshot(dir.path()), (std::map<std::string, std::string>{{name, original}}));
  }
}

INSTANTIATE_TEST_SUITE_P(Both, RealRecordings, ::testing::ValuesIn(kRecordings),
                         [](const auto& info) { return std::string(info.param.file[0] == 'a' ? "Aoc10c" : "Up14"); });
