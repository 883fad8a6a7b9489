// Civilisations, colours, map, the lobby's settings, the game's language,
// co-op slots and the winner: read from generated headers of every version,
// from hostile ones, and from the two real recordings.
#include "core/recording/game_settings.h"

#include <gtest/gtest.h>

#include "core/recording/game_summary.h"
#include "core/recording/open_replay.h"
#include "core/rename/rename_run.h"
#include "support/core_support.h"

using namespace q2;
using namespace q2test;
namespace fs = std::filesystem;

namespace {

GameInfo Read(const std::string& header, size_t n = std::string::npos) {
  const ExactBuffer b(header, n);
  GameInfo g;
  ReadGameSettings(b.data(), b.size(), g);
  return g;
}

gen::GameParams TwoPlayers(gen::Version v) {
  gen::GameParams p;
  p.version = v;
  p.players = {{1, "North", 2, 17, 7}, {2, "侍ジャック", 3, 15, 2}};
  return p;
}

}  // namespace

TEST(GameSettings, EachFieldOfEachVersionAsWritten) {
  using V = gen::Version;
  struct Case {
    const char* what;
    V version;
    int mapId;  // -1: the earlier game, which has none
    std::string customMap;
    int size, population, speed, reveal, victory, age;
    GameVersion read;
    std::string mapName;  // as shown
    std::optional<Victory> victoryRead;
    bool earlierGame = false;
  };
  const Case cases[] = {
      {"1.0 Arabia", V::Conquerors10, 9, "", 0, 200, 150, 0, 0, 0, GameVersion::Conquerors, "アラビア", Victory::Standard},
      {"1.0c custom", V::Conquerors10c, 44, "KotD2 - Arabia", 3, 75, 100, 1, 1, 2, GameVersion::Conquerors,
       "KotD2 - Arabia", Victory::Conquest},
      {"UserPatch 1.4, population in 25s", V::UserPatch14, 12, "", 4, 500, 200, 2, 0, 3, GameVersion::UserPatch, "深い森",
       Victory::Standard},
      {"UserPatch 1.5, more resource values", V::UserPatch15, 43, "", 6, 1000, 178, 0, 1, 1, GameVersion::UserPatch,
       "ビザンティウム", Victory::Conquest},
      {"a map id without a Japanese name keeps the game's", V::UserPatch15, 57, "Steppe", 2, 200, 237, 0, 0, 0,
       GameVersion::UserPatch, "Steppe", Victory::Standard},
      {"the earlier game", V::Conquerors10c, -1, "Black Forest", 1, 75, 150, 1, 0, 1, GameVersion::Kings,
       "Black Forest", Victory::Standard, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gen::GameParams p = TwoPlayers(c.version);
    p.earlierGame = c.earlierGame;
    p.mapId = c.mapId;
    p.customMap = c.customMap;
    p.mapSize = c.size;
    p.population = c.population;
    p.speed = c.speed;
    p.reveal = c.reveal;
    p.victory = c.victory;
    p.startingAge = c.age;
    const GameInfo g = Read(gen::BuildHeader(p));
    EXPECT_EQ(g.version, c.read);
    EXPECT_EQ(g.mapId, c.mapId < 0 ? std::nullopt : std::optional<int>(c.mapId));
    EXPECT_EQ(MapName(g), c.mapName);
    EXPECT_EQ(g.mapSize, c.size);
    EXPECT_EQ(g.population, c.population);
    EXPECT_EQ(g.speed, c.speed);
    EXPECT_EQ(g.reveal, c.reveal);
    EXPECT_EQ(g.victory, c.victoryRead);
    EXPECT_EQ(g.startingAge, c.age);
    EXPECT_EQ(g.encoding, TextEncoding::Cp932);
    EXPECT_EQ(g.players[0].civ, 17);
    EXPECT_EQ(g.players[0].color, 7);
    EXPECT_EQ(g.players[1].civ, 15);
    EXPECT_EQ(g.players[1].color, 2);
    for (int i = 2; i < 8; ++i) EXPECT_EQ(g.players[i], PlayerFacts{}) << i;
    EXPECT_EQ(g.seats[1].name, Cp932("侍ジャック"));
    EXPECT_EQ(MatchupText(g), "1v1");
  }
}

TEST(GameSettings, TheSpeedBehindComputerPlayersScripts) {
  for (const std::vector<std::string>& strings : {std::vector<std::string>{}, {"Computer"}, {"a", "bb", std::string(300, 'c')}}) {
    SCOPED_TRACE(strings.size());
    gen::GameParams p = TwoPlayers(gen::Version::UserPatch15);
    p.aiStrings = strings;
    p.speed = 200;
    const std::string header = gen::BuildHeader(p);
    EXPECT_EQ(Read(header).speed, 200);
    EXPECT_EQ(Read(header).players[1].civ, 15);
    // A string running past the end: no speed, the rest as read.
    if (strings.empty()) continue;
    std::string cut = header;
    cut.replace(24, 4, Le32(0x7FFFFFF0));
    EXPECT_EQ(Read(cut).speed, std::nullopt);
    EXPECT_EQ(Read(cut).players[1].civ, 15);
  }
}

TEST(GameSettings, TheGamesLanguageTellsTheEncodingAndTheMapName) {
  using L = gen::Language;
  // Language of the instructions, the custom map; encoding and name read.
  const std::tuple<L, std::string, TextEncoding, std::string> cases[] = {
      {L::English, "ZR@Fortress.rms", TextEncoding::Cp932, "Fortress"},
      {L::Japanese, "アラビア改", TextEncoding::Cp932, "アラビア改"},
      {L::Chinese, "阿拉伯半岛", TextEncoding::Gbk, "阿拉伯半岛"},
  };
  for (const auto& [language, map, encoding, name] : cases) {
    SCOPED_TRACE(name);
    gen::GameParams p = TwoPlayers(gen::Version::UserPatch14);
    p.language = language;
    p.mapId = kCustomMapId;
    p.customMap = map;
    p.players[1].name = "长城";  // GBK has it, as code page 932 has 侍
    if (language != L::Chinese) p.players[1].name = "侍";
    const GameInfo g = Read(gen::BuildHeader(p));
    EXPECT_EQ(g.encoding, encoding);
    EXPECT_EQ(MapName(g), name);
    EXPECT_EQ(IsCustomMap(g), true);
    // The names are read as the game wrote them and decode in its encoding.
    EXPECT_EQ(DecodeText(g.seats[1].name, g.encoding), p.players[1].name);
    EXPECT_EQ(g.players[1].civ, 15);
  }
}

TEST(GameSettings, ACoopSlotListsItsOtherHumansAndSharesOneBlock) {
  gen::GameParams p = TwoPlayers(gen::Version::Conquerors10c);
  // Two humans play index 1: the first has the block, the last gives the name.
  p.players = {{1, "Lead", 2, 17, 0}, {2, "Solo", 3, 5, 1}, {1, "Partner", 2}, {1, "Third", 2}};
  const std::string file = gen::BuildRecording(p);
  TempDir dir;
  WriteBytes(dir / "coop.mgx", file);
  ReplaySummary s;
  ASSERT_TRUE(OpenReplay(dir / "coop.mgx", s).ok);
  EXPECT_EQ(s.doc.playerNames[0], "Third");
  const GameInfo& g = s.doc.game;
  EXPECT_EQ(g.players[0].coop, (std::vector<std::string>{"Lead", "Partner"}));
  EXPECT_EQ(g.players[0].civ, 17);
  EXPECT_EQ(g.players[1].civ, 5);
  EXPECT_TRUE(g.players[1].coop.empty());
  EXPECT_EQ(PlayingIndices(g), (std::vector<int>{1, 2}));
  EXPECT_EQ(MatchupText(g), "1v1");
}

TEST(GameOutcome, AWinnerOnlyWhenEveryOtherTeamLeftAndItsOwnDidNot) {
  // Slots (index, team) of a game; resigns (slot, ms, dropped); the winners
  // and each slot's resign time (-1 none) expected.
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> seats;
    std::vector<std::tuple<int, uint64_t, bool>> resigns;
    std::vector<std::optional<bool>> winner;
    std::vector<int64_t> resigned;
  };
  const auto none = std::nullopt;
  const Case cases[] = {
      {"1v1, the second resigns", {{1, 1}, {2, 1}}, {{2, 5000, false}}, {true, false}, {-1, 5000}},
      {"1v1, nobody resigns", {{1, 1}, {2, 1}}, {}, {none, none}, {-1, -1}},
      {"1v1, both leave", {{1, 1}, {2, 1}}, {{2, 5000, false}, {1, 6000, true}}, {none, none}, {6000, 5000}},
      {"2v2, one of a team", {{1, 2}, {2, 2}, {3, 3}, {4, 3}}, {{3, 100, false}}, {none, none, none, none}, {-1, -1, 100, -1}},
      {"2v2, a resign and a drop", {{1, 2}, {2, 2}, {3, 3}, {4, 3}}, {{3, 100, false}, {4, 300, true}},
       {true, true, false, false}, {-1, -1, 100, 300}},
      {"three alone, two leave", {{1, 1}, {2, 1}, {3, 1}}, {{1, 10, false}, {3, 20, false}}, {false, true, false}, {10, -1, 20}},
      {"three alone, one leaves", {{1, 1}, {2, 1}, {3, 1}}, {{1, 10, false}}, {none, none, none}, {10, -1, -1}},
      {"a team unknown", {{1, 2}, {2, 0}}, {{2, 10, false}}, {none, none}, {-1, 10}},
      {"a drop repeats: the first counts", {{1, 1}, {2, 1}}, {{2, 70, true}, {2, 90, true}}, {true, false}, {-1, 70}},
      {"a slot outside the game", {{1, 1}, {2, 1}}, {{9, 10, false}, {0, 10, false}}, {none, none}, {-1, -1}},
      // Slot 3 plays index 1 with slot 1: index 1 is out once both are.
      {"co-op, one partner left", {{1, 2}, {2, 3}, {1, 2}}, {{3, 40, false}}, {none, none}, {-1, -1}},
      {"co-op, both left", {{1, 2}, {2, 3}, {1, 2}}, {{3, 40, false}, {1, 80, false}}, {false, true}, {80, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameInfo g;
    for (size_t s = 0; s < c.seats.size(); ++s) {
      g.seats[s] = {c.seats[s].first, 2, "p" + std::to_string(s + 1), std::nullopt};
      if (c.seats[s].second) g.seats[s].team = c.seats[s].second;
    }
    std::vector<ResignOp> ops;
    for (const auto& [slot, ms, dropped] : c.resigns) {
      const int index = slot >= 1 && slot <= 8 ? g.seats[slot - 1].index : slot;
      ops.push_back({static_cast<uint8_t>(index), static_cast<uint8_t>(slot), dropped, ms});
    }
    DecideOutcome(g, ops);
    for (size_t i = 0; i < c.winner.size(); ++i) {
      SCOPED_TRACE(i + 1);
      EXPECT_EQ(g.players[i].winner, c.winner[i]);
      EXPECT_EQ(g.players[i].resignedMs,
                c.resigned[i] < 0 ? std::nullopt : std::optional<uint64_t>(static_cast<uint64_t>(c.resigned[i])));
    }
    // Deciding again starts afresh.
    DecideOutcome(g, {});
    for (const PlayerFacts& p : g.players) EXPECT_FALSE(p.winner || p.resignedMs);
  }
}

TEST(GameOutcome, ResignsInTheBodyGiveTheirGameTimeAndTheWinner) {
  gen::GameParams p = TwoPlayers(gen::Version::UserPatch14);
  p.players.push_back({3, "ゆきむら", 2, 5});
  p.players.push_back({4, "West", 3, 11});
  p.bodyLength = 300000;
  // Team 3 goes: a drop repeated, then a resign. The Japanese instructions
  // of a standard game don't tell its victory; UserPatch's summary does.
  p.resigns = {{2, 2, 0.5, true}, {2, 2, 0.6, true}, {4, 4, 0.9}};
  p.postgame = true;
  p.language = gen::Language::Japanese;
  gen::Placed placed;
  TempDir dir;
  WriteBytes(dir / "game.mgz", gen::BuildRecording(p, &placed));
  ReplaySummary s;
  ASSERT_TRUE(OpenReplay(dir / "game.mgz", s).ok);
  const GameInfo& g = s.doc.game;
  EXPECT_EQ(g.players[1].resignedMs, placed.resignMs[0]);
  EXPECT_EQ(g.players[3].resignedMs, placed.resignMs[2]);
  EXPECT_FALSE(g.players[0].resignedMs);
  EXPECT_EQ(WinningPlayers(g), (std::vector<int>{1, 3}));
  EXPECT_EQ(g.players[1].winner, false);
  EXPECT_EQ(g.victory, Victory::Standard);
  EXPECT_EQ(MatchupText(g), "2v2");
  p.postgame = false;
  WriteBytes(dir / "game.mgz", gen::BuildRecording(p, &placed));
  ASSERT_TRUE(OpenReplay(dir / "game.mgz", s).ok);
  EXPECT_EQ(s.doc.game.victory, std::nullopt);
  EXPECT_EQ(WinningPlayers(s.doc.game), (std::vector<int>{1, 3}));
}

TEST(GameSettings, HostileSectionsLeaveTheirFieldsUnknownAndTheRestAsRead) {
  gen::GameParams p = TwoPlayers(gen::Version::UserPatch14);
  p.mapId = kCustomMapId;
  p.customMap = "Nomad Plus";
  const std::string header = gen::BuildHeader(p);
  const GameInfo whole = Read(header);
  ASSERT_EQ(MapName(whole), "Nomad Plus");
  ASSERT_EQ(whole.players[1].civ, 15);
  const size_t trigger = header.rfind(kTeamMarker), settings = header.rfind("\x9D\xFF\xFF\xFF", trigger);
  const size_t table = settings + 24, gaia = header.find(std::string("\x05\x00GAIA\x00", 7));
  const size_t north = header.find(std::string("\x06\x00North\x00\x16", 9));
  const size_t instructions = header.find("Standard Game") - 2;
  ASSERT_NE(gaia, std::string::npos);
  ASSERT_NE(north, std::string::npos);
  // A change to the header and what must then differ from the whole read.
  struct Case {
    const char* what;
    size_t at;
    std::string bytes;
    std::function<void(GameInfo&)> expect;
  };
  const Case cases[] = {
      {"a name length past the end", table + 12 + 8, Le32(0xFFFFFFF0),
       [](GameInfo& g) {  // the table stops before North: no players, no blocks
         for (int s = 0; s < 8; ++s) g.seats[s] = {0, 0, "", g.seats[s].team};
         for (PlayerFacts& f : g.players) f = {};
         g.startingAge.reset();
       }},
      {"a second name too long", table + 12 + 12 + 5 + 8, Le32(256),
       [](GameInfo& g) {
         for (int s = 1; s < 8; ++s) g.seats[s] = {0, 0, "", g.seats[s].team};
         g.players[1] = {};
       }},
      {"an impossible player index", table + 12, Le32(9),
       [](GameInfo& g) {
         for (int s = 0; s < 8; ++s) g.seats[s] = {0, 0, "", g.seats[s].team};
         for (PlayerFacts& f : g.players) f = {};
         g.startingAge.reset();
       }},
      {"instructions longer than the header", instructions, std::string("\xFF\xFF", 2),
       [](GameInfo& g) {
         g.mapText.clear();
         g.victory.reset();
       }},
      {"no settings separator", settings, "\x9C\xFF\xFF\xFF", [](GameInfo& g) {
         const auto teams = g.seats;
         g = GameInfo{};
         g.version = GameVersion::UserPatch;
         g.speed = 150;
         g.mapSize = 0;
         g.population = 200;
         g.reveal = 0;
         for (int s = 0; s < 8; ++s) g.seats[s].team = teams[s].team;
       }},
      {"resource values beyond reason", gaia + 8, Le32(0x7FFFFFFF),
       [](GameInfo& g) {
         for (PlayerFacts& f : g.players) f.civ = f.color = std::nullopt;
         g.startingAge.reset();
       }},
      {"a block without its mark", north + 14 + 198 * 4, "\x0C",
       [](GameInfo& g) {  // North's block doesn't read; the next is still found
         g.players[0].civ = g.players[0].color = std::nullopt;
       }},
      {"saved views past the end", north + 14 + 198 * 4 + 9, Le32(0x7FFFFFF0),
       [](GameInfo& g) { g.players[0].civ = g.players[0].color = std::nullopt; }},
      {"triggers in the game", trigger + 9, Le32(3),
       [](GameInfo& g) {
         g.mapSize = g.population = g.reveal = std::nullopt;
         for (SlotRecord& r : g.seats) r.team.reset();
       }},
      {"a later edition's save version", 8, std::string("\x00\x00\x50\x41", 4), [](GameInfo& g) { g = GameInfo{}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bad = header;
    bad.replace(c.at, c.bytes.size(), c.bytes);
    GameInfo want = whole;
    c.expect(want);
    EXPECT_EQ(Read(bad), want);
  }
}

TEST(GameSettings, AHeaderCutAnywhereReadsOnlyWhatItHolds) {
  gen::GameParams p = TwoPlayers(gen::Version::Conquerors10c);
  p.lobbyChat = {{1, "North: gl"}};
  const std::string header = gen::BuildHeader(p);
  const GameInfo whole = Read(header);
  // Every field read from a cut header is the whole header's, or unknown.
  for (size_t n = 0; n <= header.size(); n += n < 200 ? 1 : 331) {
    SCOPED_TRACE(n);
    const GameInfo g = Read(header, n);
    auto same = [](const auto& part, const auto& full) { return !part || part == full; };
    EXPECT_TRUE(same(g.mapId, whole.mapId) && same(g.mapSize, whole.mapSize) && same(g.population, whole.population) &&
                same(g.speed, whole.speed) && same(g.reveal, whole.reveal) && same(g.victory, whole.victory) &&
                same(g.startingAge, whole.startingAge));
    EXPECT_TRUE(g.mapText.empty() || g.mapText == whole.mapText);
    for (int i = 0; i < 8; ++i) {
      EXPECT_TRUE(same(g.players[i].civ, whole.players[i].civ) && same(g.players[i].color, whole.players[i].color));
      EXPECT_TRUE(g.seats[i].name.empty() || g.seats[i].name == whole.seats[i].name);
    }
  }
}

namespace {
struct RealGame {
  std::string file;
  int civ;
  std::array<int, 2> colors;
  Victory victory;
  std::array<bool, 2> winner;
  uint64_t resignedMs;  // the loser's, at the end of the game
  std::string renamed;   // by "[MAP] [MATCHUP] [REC_CIV] [WINNER]"
};
const RealGame kReal[] = {
    {"aoc-1.0c.mgx", 17, {7, 2}, Victory::Standard, {true, false}, 3226695, "アラビア 1v1 フン North "},
    {"up-1.4.mgz", 15, {0, 2}, Victory::Conquest, {true, false}, 2844945, "アラビア 1v1 アステカ Miracle_ "},
};
}  // namespace

TEST(GameSettings, TheRealRecordingsFieldByField) {
  for (const RealGame& e : kReal) {
    SCOPED_TRACE(e.file);
    const std::string path = std::string(QUORIL2_REAL_RECORDINGS) + "/" + e.file;
    if (!fs::is_regular_file(path)) GTEST_SKIP() << path << " is not here";
    ReplaySummary s;
    ASSERT_TRUE(OpenReplay(path, s).ok);
    const GameInfo& g = s.doc.game;
    EXPECT_EQ(g.mapId, 9);
    EXPECT_EQ(MapName(g), "アラビア");
    EXPECT_EQ(IsCustomMap(g), false);
    EXPECT_EQ(g.mapSize, 0);
    EXPECT_EQ(g.population, 200);
    EXPECT_EQ(g.speed, 150);
    EXPECT_EQ(g.reveal, 0);
    EXPECT_EQ(g.startingAge, 0);
    EXPECT_EQ(g.victory, e.victory);
    EXPECT_EQ(g.encoding, TextEncoding::Cp932);
    EXPECT_EQ(MatchupText(g), "1v1");
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(g.players[i].civ, e.civ);
      EXPECT_EQ(g.players[i].color, e.colors[i]);
      EXPECT_EQ(g.players[i].winner, e.winner[i]);
      EXPECT_TRUE(g.players[i].coop.empty());
    }
    EXPECT_EQ(g.players[0].resignedMs, std::nullopt);
    EXPECT_EQ(g.players[1].resignedMs, e.resignedMs);
    // The resign comes at the game's very end.
    EXPECT_LE(s.view.gameDurationMs - e.resignedMs, 1000u);
    for (int i = 2; i < 8; ++i) EXPECT_EQ(g.players[i], PlayerFacts{});
    // A rename reads the same (the winner from the body's walk alone).
    TempDir dir;
    WriteBytes(dir / "game.mgx", ReadBytes(path));
    RenameRequest req;
    req.dryRun = true;
    ASSERT_EQ(CompileRenameFormat("[MAP] [MATCHUP] [REC_CIV] [WINNER]", req.format, req.tokens), 0);
    ReplaySummary fresh;
    EXPECT_EQ(RenameSelectedFiles(dir.path(), {dir / "game.mgx"}, req, fresh).files.at(0).newName, e.renamed + ".mgx");
  }
}
