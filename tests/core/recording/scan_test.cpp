// A recording's bytes, hand-built and hostile: the header scan, chat,
// research and age advances by their byte patterns, and the game clock's
// walk over the body's operations.
#include "core/recording/body_scan.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/recording/game_clock.h"
#include "core/recording/header_scan.h"
#include "core/recording/tech_table.h"
#include "support/core_support.h"

using namespace q2;
using namespace q2test;
using namespace std::string_literals;

namespace {

// A header as a two-player game has it, with offsets noted for the tests.
struct Typical {
  HeaderBytes h{2};
  size_t northEnd = 0, tableEnd = 0, teamsEnd = 0;
  Typical() {
    h.pad(300, 'x').randomGame().tableMarker().record(0, "").record(1, "North");
    northEnd = h.size();
    h.record(2, "H_Haslebo\0"s, 10).emptyRecords(6);
    tableEnd = h.size();
    h.pad(40).teams({1, 4, 1, 1, 1, 1, 1, 1});
    teamsEnd = h.size();
    h.pad(10).lobby(2, "H_Haslebo: DEAD!").lobby(1, "North: u wish").pad(16);
  }
};

}  // namespace

TEST(HeaderScan, MarkersRecordsAndTheirLimits) {
  // Header bytes; the recorder slot, names and teams found, and the message.
  struct Case {
    const char* what;
    std::string bytes;
    uint8_t recorder;
    std::array<std::string, 8> names;
    std::array<int32_t, 8> teams;
    std::string message;
    Edition edition = Edition::Conquerors;
  };
  auto table = [](int slot, int length, Edition e) {
    return HeaderBytes().randomGame().tableMarker(e).record(0, "").record(1, "kept").record(slot, "xyz", length)
        .record(3, "lost").emptyRecords(4).pad(30).teams({2, 3}).b;
  };
  std::vector<Case> cases = {
      {"empty", "", 0, {}, {}, ""},
      {"no markers", HeaderBytes(5).pad(500, 'R').pad(10, '\xFF').pad(10, '\x9A').b, 5, {}, {}, ""},
      {"typical", Typical().h.b, 2, {"North", "H_Haslebo"}, {1, 4, 1, 1, 1, 1, 1, 1}, ""},
      {"the slot byte, not the record's place, chooses the slot; nine records",
       HeaderBytes().randomGame().tableMarker().record(0, "skipped", 7).record(3, "three").record(0, "gaia", 4)
           .record(1, "one").record(8, "eight\0\0"s, 7).record(5, "ab\0cd"s, 5).record(6, "", 0).record(0, "")
           .record(7, "nine").teams({2, 0, 2, 0, 3, 3, 0, 3}).b,
       1, {"one", "", "three", "", "ab", "", "nine", "eight"}, {2, 0, 2, 0, 3, 3, 0, 3}, ""},
      {"teams before RandomGame end the scan",
       HeaderBytes().teams({3, 3, 2, 2}).randomGame().tableMarker().record(1, "late").emptyRecords(8).b, 1, {},
       {3, 3, 2, 2}, ""},
      {"a table before RandomGame or within the 190 bytes after it is none",
       HeaderBytes().tableMarker().record(1, "early").emptyRecords(8).raw(kRandomGame).pad(175).raw(kPlayerMarker)
           .tableMarker().record(2, "real").emptyRecords(8).teams({2, 2}).b,
       1, {"", "real"}, {2, 2}, ""},
      // The earlier game has no map id before its table: the records start
      // 4 bytes nearer the marker. Its nature slot holds a name too.
      {"the earlier game's table",
       HeaderBytes(2).randomGame().tableMarker(Edition::Kings).record(0, "{+} North").record(1, "[KoT]South")
           .record(2, "{+} North").emptyRecords(6).teams({1, 1, 1, 1, 1, 1, 1, 1}).b,
       2, {"[KoT]South", "{+} North"}, {1, 1, 1, 1, 1, 1, 1, 1}, "", Edition::Kings},
      {"a second table overwrites",
       HeaderBytes().randomGame().tableMarker().record(1, "first").record(2, "two").emptyRecords(7).pad(50)
           .tableMarker().record(1, "second").emptyRecords(8).teams({2, 2}).b,
       1, {"second", "two"}, {2, 2}, ""},
      {"team bytes are signed", HeaderBytes().teams({-1, 0x80, 0x7F, 1}).b, 1, {}, {-1, -128, 127, 1}, ""},
      {"team bytes cut off", HeaderBytes().raw(kTeamMarker).pad(12, '\x02').b, 1, {}, {}, ""},
      // Reported by the header fuzzer: a table naming slot 4 "stale" that ends at a name length with the
      // high bit set; a second one overwrites slots 1 to 3 and is cut off by the end: no teams.
      {"fuzz report", ReadBytes(QUORIL2_FUZZ_REGRESSIONS "/header_two_tables_cut_names.bin"), 33,
       {"\x91\xBE\x98\x59", "\x89\xD4\x8E\x71", "\x8E\x98\x83\x57\x83\x83\x83\x27##", "stale"}, {}, ""},
  };
  for (int at : {12, 13, 14, 15}) {
    Typical t;
    t.h.b[at] = '\x01';
    cases.push_back({"scenario", t.h.b, 0, {}, {}, kTextScenario});
  }
  for (Edition e : {Edition::Conquerors, Edition::Kings}) {
    for (int slot : {9, 0x80, 0xFF, 100}) cases.push_back({"slot byte", table(slot, 3, e), 1, {"kept"}, {}, kTextHeaderData, e});
    for (int len : {0x80, 0xFF, 0xC0}) cases.push_back({"high-bit name length", table(2, len, e), 1, {"kept"}, {2, 3}, "", e});
  }
  for (const auto& [what, bytes, recorder, names, teams, message, edition] : cases) {
    SCOPED_TRACE(what);
    ReplayDocument d;  // what a previous recording left is never kept
    d.recorderSlot = 3;
    d.playerNames.fill("stale");
    d.playerTeams.fill(2);
    Messages m;
    ExactBuffer buf(bytes);
    HeaderScan(d, buf.data(), buf.size(), m, edition);
    EXPECT_EQ(d.recorderSlot, recorder);
    EXPECT_EQ(d.playerNames, names);
    EXPECT_EQ(d.playerTeams, teams);
    EXPECT_EQ(m, message.empty() ? Messages{} : Messages{{message}});
  }
}

TEST(HeaderScan, AHeaderCutAnywhereKeepsWhatWasFoundSoFar) {
  Typical t;
  for (size_t n = 0; n <= t.h.size(); ++n) {
    SCOPED_TRACE(n);
    ExactBuffer buf(t.h.b, n);
    ReplayDocument d;
    Messages m;
    HeaderScan(d, buf.data(), buf.size(), m);
    ASSERT_TRUE(m.empty());
    ASSERT_EQ(d.recorderSlot, n >= 62 ? 2 : 0);
    ASSERT_EQ(d.playerNames[0], n >= t.northEnd ? "North" : "");
    ASSERT_EQ(d.playerNames[1], n >= t.tableEnd - 6 * 12 ? "H_Haslebo" : "");
    ASSERT_EQ(d.playerTeams[1], n >= t.teamsEnd ? 4 : 0);
    ChatText chat;
    CollectLobbyChat(buf.data(), buf.size(), chat);
  }
}

TEST(ScanInflatedHeader, NeverKeepsThePreviousRecording) {
  Typical t;
  t.h.b[14] = '\x05';  // a scenario has no players but its lobby chat all the same
  ReplaySummary s;
  Messages m;
  s.doc.playerNames[0] = "previous";
  s.doc.playerTeams[0] = 2;
  s.view.pregameChat.appendLine("old line");
  ExactBuffer buf(t.h.b);
  ScanInflatedHeader(buf.data(), buf.size(), s, m);
  EXPECT_EQ(s.doc.playerNames[0] + "|" + s.view.pregameChat.str(), "|H_Haslebo: DEAD!\r\nNorth: u wish\r\n");
  EXPECT_EQ(m, Messages{{kTextScenario}});
  // An empty header clears the header fields and the lobby chat.
  s.doc.playerNames[0] = "previous";
  s.doc.recorderSlot = 1;
  ScanInflatedHeader(nullptr, 0, s, m);
  EXPECT_TRUE(s.view.pregameChat.empty());
  EXPECT_EQ(s.doc.playerNames[0] + std::to_string(s.doc.playerTeams[0]) + std::to_string(s.doc.recorderSlot), "00");
}

namespace {

ReplayDocument Research(const std::string& body, ReplayDocument d = {}) {
  ExactBuffer b(body);
  ResearchScan(d, b.data(), b.size());
  return d;
}

ReplayView Events(const std::string& body) {
  ReplayView v;
  ExactBuffer b(body);
  BodyEventScan(v, b.data(), b.size());
  return v;
}

std::vector<ResearchEntry> Entries(const ResearchList& l) { return {l.entries.begin(), l.entries.begin() + l.count}; }

}  // namespace

TEST(BodyScans, ResearchAndAgeAdvancesByTheirPatterns) {
  std::string body(2200, '\x01');
  const int commands[][4] = {  // position, player, low and high byte of the technology
      // Loom, wheelbarrow, loom again, forging; 278 and 279 (high byte 1).
      {100, 2, 22, 0}, {200, 2, 213, 0}, {300, 2, 22, 0}, {400, 2, 67, 0}, {500, 5, 22, 1}, {600, 5, 23, 1},
      // No research: players 0 (loom, forging), 9 and -1, 23 with high byte 0, high byte 2, 268, 278 with high byte 2.
      {700, 0, 22, 0}, {780, 0, 67, 0}, {710, 9, 22, 0}, {720, -1, 22, 0}, {730, 1, 23, 0}, {740, 1, 13, 2}, {750, 1, 12, 1}, {770, 1, 22, 2},
      // Castle: slot 4, then 1, 4 again (ignored), 7; Feudal after Castle.
      {1100, 4, 102, 0}, {1200, 1, 102, 0}, {1300, 4, 102, 0}, {1400, 7, 102, 0}, {1500, 1, 101, 0}, {1600, 2, 103, 0},
      // No age: no such player, no age, high byte 1.
      {1700, 9, 103, 0}, {1800, 0, 101, 0}, {1900, 3, 104, 0}, {2000, 3, 101, 1}};
  for (const auto& [at, player, lo, hi] : commands) PutCommand(body, at, player, lo, hi);
  PutCommand(body, 760, 1, 14, 0);
  body[766] = '\xFE';  // one FF spoilt
  ReplayDocument stale;  // every scan starts from empty lists
  stale.economyResearch[0].count = 2;
  stale.blacksmithResearch[3].count = 1;
  const ReplayDocument d = Research(body, stale);
  std::array<std::vector<ResearchEntry>, 8> economy, blacksmith;
  economy[1] = {{159, 300 / 2200.0}, {154, 200 / 2200.0}};  // first order, last time
  blacksmith[1] = {{173, 400 / 2200.0}};
  economy[4] = {{162, 500 / 2200.0}, {157, 600 / 2200.0}};
  for (int s = 0; s < 8; ++s) {
    EXPECT_EQ(Entries(d.economyResearch[s]), economy[s]) << s;
    EXPECT_EQ(Entries(d.blacksmithResearch[s]), blacksmith[s]) << s;
  }
  ReplayView v = Events(body);
  EXPECT_EQ(std::vector<int>({v.feudalCount, v.castleCount, v.imperialCount}), std::vector<int>({1, 3, 1}));
  EXPECT_EQ(v.castleRank, (std::array<uint8_t, 8>{2, 0, 0, 1, 0, 0, 3, 0}));
  EXPECT_EQ(v.feudalRank, (std::array<uint8_t, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(v.imperialRank, (std::array<uint8_t, 8>{0, 1, 0, 0, 0, 0, 0, 0}));
  const uint32_t o = 84480;  // added to every age's position
  EXPECT_EQ(v.ageTimes, (std::array<std::array<uint32_t, 3>, 8>{
                            {{1500 + o, 1200 + o, 0}, {0, 0, 1600 + o}, {}, {0, 1100 + o, 0}, {}, {}, {0, 1400 + o, 0}, {}}}));
  // All 28 technologies, three times over, for slot 8: each once, in the
  // table's order, with the time of the third round.
  std::string all;
  for (int round = 0; round < 3; ++round)
    for (const TechInfo& t : TechTable()) PutCommand(all, all.size() + 1, 8, t.techId & 0xFF, t.techId >> 8);
  const ReplayDocument d8 = Research(all);
  EXPECT_EQ(d8.blacksmithResearch[7].count, 15);
  ASSERT_EQ(d8.economyResearch[7].count, 13);
  for (int i = 0; i < 13; ++i)
    EXPECT_EQ(d8.economyResearch[7].entries[i], (ResearchEntry{TechTable()[i].iconId, (1 + 8.0 * (56 + i)) / all.size()}));
}

TEST(BodyScans, PatternsAtTheEdgesOfTheBody) {
  // The player byte must lie inside the body: j = 0 has none.
  EXPECT_EQ(Research(std::string("\x00\x16\x00\xFF\xFF\xFF\xFF\x01\x01", 9)).economyResearch[0].count, 0);
  EXPECT_EQ(Events(std::string("\x00\x65\x00\xFF\xFF\xFF\xFF\x01\x01", 9)).feudalCount, 0);
  // A research whose last FF is the body's last byte counts; an age needs one byte more.
  std::string body(50, '\x01');
  PutCommand(body, 43, 3, 22, 0);
  EXPECT_EQ(Entries(Research(body).economyResearch[2]), (std::vector<ResearchEntry>{{159, 43 / 50.0}}));
  EXPECT_EQ(Research(body.substr(0, 49)).economyResearch[2].count, 0);
  PutCommand(body, 43, 2, 101, 0);
  EXPECT_EQ(Events(body).feudalCount, 0);
  EXPECT_EQ(Events(body + '\x01').ageTimes[1][0], 43u + 84480u);
  // Every prefix of a body full of patterns: nothing is read past its end.
  std::string dense;
  for (size_t j = 1; j < 400; j += 8) PutCommand(dense, j, 1 + j % 8, j % 16 ? 22 : 101, j % 3 == 0);
  for (size_t n = 0; n <= dense.size(); ++n) Research(dense.substr(0, n)), Events(dense.substr(0, n));
}

TEST(BodyScans, EachPatternIsFoundWhereverItLiesInTheScansBlocks) {
  // The scan looks at 64 bytes at a time: a pattern is found at every
  // offset, across a block's edge, in a body of any length, among FF and '#'
  // bytes that start nothing.
  for (size_t len : {9, 63, 64, 65, 127, 128, 129, 200}) {
    for (size_t at = 1; at + 8 <= len; ++at) {
      std::string body(len, '\x01');
      for (size_t i = 0; i < len; i += 7) body[i] = i % 2 ? '\xFF' : '#';
      PutCommand(body, at, 2, 22, 0);
      EXPECT_EQ(Entries(Research(body).economyResearch[1]), (std::vector<ResearchEntry>{{159, double(at) / len}}))
          << len << " " << at;
      PutCommand(body, at, 3, 102, 0);
      EXPECT_EQ(Events(body + '\x01').ageTimes[2][1], at + 84480u) << len << " " << at;
    }
    for (size_t at = 0; at + 5 <= len; ++at) {
      std::string body(len, '\xFF');
      PutChat(body, at, 1, "");
      body[len - 1] = '@';  // an "@" with no '#' after it
      EXPECT_EQ(Events(body).ingameChat.str(), "\r\n") << len << " " << at;
      EXPECT_EQ(Events(body).ingameChatPos, std::vector<uint32_t>{uint32_t(at)}) << len << " " << at;
    }
  }
}

TEST(Chat, LinesByTheirMarkersInTheHeaderAndTheBody) {
  const std::string a254(254, 'a');
  const std::pair<std::string, std::string> cases[] = {
      {HeaderBytes().lobby(1, "first").lobby(2, "second").lobby(8, "").pad(4).raw("@#9nine").pad(1).raw("@#0zero")
           .pad(1).raw("@$1x").pad(1).raw("$#1x").pad(1).lobby(3, "say @#2again").b,
       "first\r\nsecond\r\n\r\nsay @#2again\r\nagain\r\n"},
      {HeaderBytes().lobby(1, a254).lobby(1, std::string(255, 'b')).lobby(1, std::string(300, 'c')).b,
       a254 + "\r\n" + std::string(254, 'b') + "\r\n" + std::string(254, 'c') + "\r\n"},
      // Cut off by the end: taken to the end.
      {HeaderBytes().lobby(1, "whole").raw("@#4cut off").b, "whole\r\ncut off\r\n"},
      {"@#1", "\r\n"}, {"xx@#", ""}, {"xx@", ""}, {"", ""}};
  for (const auto& [bytes, chat] : cases) {
    ExactBuffer buf(bytes);
    ChatText lobby;
    CollectLobbyChat(buf.data(), buf.size(), lobby);
    EXPECT_EQ(lobby.str(), chat);
    EXPECT_EQ(Events(bytes).ingameChat.str(), chat);
  }
}

TEST(IngameChat, WarningLinesGoToTheFullTextOnlyAndLimitsHold) {
  std::string body(400, '\x01');
  PutChat(body, 10, 1, "North: hi");
  PutChat(body, 50, 2, kWarning + " attack");
  PutChat(body, 200, 3, "--\x8C\x78");  // the warning cut short is no warning
  // A CR LF within a record splits its text: each line it shows has the
  // record's position, a lone CR or LF splits nothing.
  PutChat(body, 250, 4, "two\r\nlines");
  PutChat(body, 280, 4, kWarning + "\r\nx\r\n");
  PutChat(body, 300, 5, "cr\rlf\n\r");
  ReplayView v = Events(body);
  EXPECT_EQ(v.ingameChat.str(), "North: hi\r\n" + kWarning + " attack\r\n--\x8C\x78\r\ntwo\r\nlines\r\n" + kWarning +
                                    "\r\nx\r\n\r\ncr\rlf\n\r\r\n");
  EXPECT_EQ(v.ingameChatFiltered.str(), "North: hi\r\n--\x8C\x78\r\ntwo\r\nlines\r\ncr\rlf\n\r\r\n");
  EXPECT_EQ(v.ingameChatPos, (std::vector<uint32_t>{10, 50, 200, 250, 250, 280, 280, 280, 300}));
  EXPECT_EQ(v.ingameChatFilteredPos, (std::vector<uint32_t>{10, 200, 250, 250, 300}));
  // Lines cut to 254 bytes; the text takes what fits whole below 30000
  // bytes (one byte stays for the terminating zero), then nothing more.
  for (size_t last : {45, 46}) {
    std::string big, fits;
    for (int i = 0; i < 117; ++i) {
      PutChat(big, big.size(), 1 + i % 8, std::string(300, char('a' + i % 26)));
      fits += std::string(254, char('a' + i % 26)) + "\r\n";
    }
    PutChat(big, big.size(), 2, std::string(last, 'z'));
    PutChat(big, big.size(), 3, "short");
    if (last == 45) fits += std::string(45, 'z') + "\r\n";
    v = Events(big);
    EXPECT_EQ(v.ingameChat.str(), fits) << last;
    EXPECT_EQ(v.ingameChatFiltered.str(), fits) << last;
  }
  // Reported by the body fuzzer: once the full text has no room left, the
  // filtered one (without the warnings) still takes the lines that fit.
  std::string warnings;
  for (int i = 0; i < 120; ++i) PutChat(warnings, warnings.size(), 1, kWarning + std::string(244, 'w'));
  PutChat(warnings, warnings.size(), 2, "after the warnings");
  v = Events(warnings);
  EXPECT_EQ(v.ingameChat.str().size(), 119u * 252);
  EXPECT_EQ(v.ingameChat.str().find("after"), std::string::npos);
  EXPECT_EQ(v.ingameChatFiltered.str(), "after the warnings\r\n");
}

namespace {

// A body built operation by operation.
struct Body {
  std::string b;
  // The earlier game writes no log version before the checksum interval.
  explicit Body(bool laterHeader = false, Edition e = Edition::Conquerors) {
    for (uint32_t w : {4u, 500u, 0u, 1u, 0u, 0u, 0u})
      if (w != 4 || e == Edition::Conquerors) b += Le32(w);
    if (laterHeader) b += std::string(12, '\0');
  }
  uint32_t at() const { return static_cast<uint32_t>(b.size()); }
  Body& sync(uint32_t step, bool block = false) { return raw(Le32(2) + Le32(step) + (block ? Le32(0) + std::string(24, 7) : "")); }
  Body& view() { return raw(Le32(3) + std::string(12, '\x01')); }
  Body& raw(const std::string& s) { return b += s, *this; }
};

}  // namespace

TEST(GameClock, WalksOperationsAndTimesEachPositionByTheOperationHoldingIt) {
  // Body, positions asked for; the game's length, whether the walk reached the end, each position's time.
  struct Case {
    std::string what, body;
    std::vector<uint32_t> positions;
    uint64_t duration;
    bool complete;
    std::vector<uint64_t> expected;
    Edition edition = Edition::Conquerors;
  };
  std::vector<Case> cases;
  for (Edition e : {Edition::Conquerors, Edition::Kings}) {
    for (bool later : {false, true}) {
      Body b(later, e);
      const uint32_t s1 = b.at(), v1 = b.sync(500).at(), s2 = b.view().at(), c1 = b.sync(300, true).at() + 9;
      const uint32_t ch = b.raw(Le32(1) + Le32(16) + std::string(16, '\x65') + Le32(0)).at() + 12;  // a command
      const uint32_t last = b.raw(Le32(4) + Le32(0xFFFFFFFF) + Le32(8) + "@#1hello").sync(200).at() - 1;  // chat
      cases.push_back({std::string(later ? "later log header" : "every kind of operation") +
                           (e == Edition::Kings ? ", the earlier game" : ""),
                       b.b, {3, s1, s1 + 7, v1, s2, s2 + 20, c1, ch, last}, 1000, true,
                       {0, 0, 0, 500, 500, 500, 800, 800, 800}, e});
    }
  }
  // Long runs of sync and view pairs are taken in bulk; positions among
  // them must still be timed one operation at a time.
  Body pairs;
  std::vector<uint32_t> pos;
  for (uint32_t k = 0; k < 40; ++k) {
    if (k == 17) pos.push_back(pairs.at() + 2);
    pairs.sync(10 + k % 4);
    if (k == 17 || k == 30) pos.push_back(pairs.at() + 5);
    pairs.view();
  }
  cases.push_back({"bulk pairs", pairs.b, pos, 460, true, {194, 205, 355}});
  Body bad;
  const uint32_t type9 = bad.sync(100).view().at();
  cases.push_back({"unknown type stops the walk", bad.raw(Le32(9)).sync(50).b, {type9 - 1, type9 + 10}, 100, false, {100, 100}});
  cases.push_back({"command longer than the body", Body().sync(70).raw(Le32(1) + Le32(1000) + "xx").b, {40}, 70, false, {70}});
  cases.push_back({"chat longer than the body", Body().sync(70).raw(Le32(4) + Le32(0xFFFFFFFF) + Le32(99)).b, {}, 70, false, {}});
  cases.push_back({"meta record of unknown size", Body().sync(70).raw(Le32(4) + Le32(500) + Le32(0)).b, {}, 70, false, {}});
  cases.push_back({"sync cut off", Body().sync(70).raw(Le32(2) + "\x05").b, {}, 70, false, {}});
  cases.push_back({"a byte left over", Body().sync(70).raw("\x02").b, {}, 70, false, {}});
  cases.push_back({"huge steps add up beyond 32 bits", Body().sync(0xFFFFFFFF).sync(0xFFFFFFFF).b, {}, 0x1FFFFFFFEull, true, {}});
  cases.push_back({"no log header", std::string(20, '\0'), {5}, 0, false, {0}});
  cases.push_back({"empty body", "", {}, 0, false, {}});
  for (const auto& [what, body, positions, duration, complete, expected, edition] : cases) {
    SCOPED_TRACE(what);
    std::vector<uint64_t> times;
    const GameClock clock =
        WalkGameClock(reinterpret_cast<const uint8_t*>(body.data()), body.size(), positions, times, edition);
    EXPECT_EQ(clock.durationMs, duration);
    EXPECT_EQ(clock.complete, complete);
    EXPECT_EQ(times, expected);
  }
}
