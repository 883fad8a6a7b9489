// The header scan and the lobby chat, on hand-built headers.
#include "replay/core/header_scan.h"

#include <gtest/gtest.h>

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
  struct Case {
    const char* what;
    std::string bytes;
    uint8_t recorder;
    std::array<std::string, 8> names;
    std::array<int32_t, 8> teams;
    std::string message;
  };
  auto table = [](int slot, int length) {
    return HeaderBytes().randomGame().tableMarker().record(0, "").record(1, "kept").record(slot, "xyz", length)
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
      {"a second table overwrites",
       HeaderBytes().randomGame().tableMarker().record(1, "first").record(2, "two").emptyRecords(7).pad(50)
           .tableMarker().record(1, "second").emptyRecords(8).teams({2, 2}).b,
       1, {"second", "two"}, {2, 2}, ""},
      {"team bytes are signed", HeaderBytes().teams({-1, 0x80, 0x7F, 1}).b, 1, {}, {-1, -128, 127, 1}, ""},
      {"team bytes cut off", HeaderBytes().raw(kTeamMarker).pad(12, '\x02').b, 1, {}, {}, ""},
  };
  for (int at : {12, 13, 14, 15}) {
    Typical t;
    t.h.b[at] = '\x01';
    cases.push_back({"scenario", t.h.b, 0, {}, {}, kTextScenario});
  }
  for (int slot : {9, 0x80, 0xFF, 100}) cases.push_back({"slot byte", table(slot, 3), 1, {"kept"}, {}, kTextHeaderData});
  for (int len : {0x80, 0xFF, 0xC0}) cases.push_back({"high-bit name length", table(2, len), 1, {"kept"}, {2, 3}, ""});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReplayDocument d;  // what a previous recording left is never kept
    d.recorderSlot = 3;
    d.playerNames.fill("stale");
    d.playerTeams.fill(2);
    Messages m;
    ExactBuffer buf(c.bytes);
    HeaderScan(d, buf.data(), buf.size(), m);
    EXPECT_EQ(d.recorderSlot, c.recorder);
    EXPECT_EQ(d.playerNames, c.names);
    EXPECT_EQ(d.playerTeams, c.teams);
    EXPECT_EQ(m, c.message.empty() ? Messages{} : Messages{{c.message}});
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

TEST(LobbyChat, LinesInHeaderOrderWithinTheirLimits) {
  const std::string a254(254, 'a');
  const std::pair<std::string, std::string> cases[] = {
      {HeaderBytes().lobby(1, "first").lobby(2, "second").lobby(8, "").pad(4).raw("@#9nine").pad(1).raw("@#0zero")
           .pad(1).raw("@$1x").pad(1).lobby(3, "say @#2again").b,
       "first\r\nsecond\r\n\r\nsay @#2again\r\nagain\r\n"},
      {HeaderBytes().lobby(1, a254).lobby(1, std::string(255, 'b')).lobby(1, std::string(300, 'c')).b,
       a254 + "\r\n" + std::string(254, 'b') + "\r\n" + std::string(254, 'c') + "\r\n"},
      // Cut off by the end of the header: taken to the end.
      {HeaderBytes().lobby(1, "whole").raw("@#4cut off").b, "whole\r\ncut off\r\n"},
      {"xx@#1", "\r\n"}, {"xx@#", ""}, {"xx@", ""}, {"", ""}};
  for (const auto& [bytes, chat] : cases) {
    ExactBuffer buf(bytes);
    ChatText t;
    CollectLobbyChat(buf.data(), buf.size(), t);
    EXPECT_EQ(t.str(), chat);
  }
}

TEST(PregameChatScan, ReadsTheFileAndNeverKeepsThePreviousRecording) {
  TempDir dir;
  Typical t;
  t.h.b[14] = '\x05';  // a scenario has no players but its lobby chat all the same
  WriteBytes(dir / "game.dat", t.h.b);
  ReplaySummary s;
  Messages m;
  s.doc.playerNames[0] = "previous";
  ASSERT_TRUE(PregameChatScan(dir / "game.dat", s, m));
  EXPECT_EQ(s.doc.playerNames[0] + "|" + s.view.pregameChat.str(), "|H_Haslebo: DEAD!\r\nNorth: u wish\r\n");
  EXPECT_EQ(m, Messages{{kTextScenario}});
  // A file without a status gives false; one that can't be read (a folder)
  // gives true and clears the header fields as the scan would.
  for (const std::string& path : {dir / "missing.dat", dir.path()}) {
    s.doc.playerNames[0] = "previous";
    s.doc.playerTeams[0] = 2;
    s.doc.recorderSlot = 1;
    s.view.pregameChat.appendLine("old line");
    EXPECT_EQ(PregameChatScan(path, s, m), path == dir.path());
    EXPECT_TRUE(s.view.pregameChat.empty());
  }
  EXPECT_EQ(s.doc.playerNames[0] + std::to_string(s.doc.playerTeams[0]) + std::to_string(s.doc.recorderSlot), "00");
}
