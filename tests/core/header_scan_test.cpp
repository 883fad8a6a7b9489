#include "replay/core/header_scan.h"

#include <gtest/gtest.h>

#include "core_support.h"
#include "support/temp_dir.h"

using namespace q2;
using q2test::ExactBuffer;
using q2test::HeaderBytes;
using namespace std::string_literals;

namespace {

ReplayDocument Scan(const HeaderBytes& h, Messages* messages = nullptr) {
  ReplayDocument d;
  Messages m;
  HeaderScan(d, h.data(), h.size(), m);
  if (messages) *messages = m;
  return d;
}

std::array<std::string, 8> Names(std::initializer_list<std::pair<int, std::string>> set) {
  std::array<std::string, 8> n;
  for (auto& [slot, name] : set) n[slot - 1] = name;
  return n;
}

// A header as a two-player game has it, with offsets noted for the tests.
struct Typical {
  HeaderBytes h{2};
  size_t northEnd = 0, tableEnd = 0, teamsEnd = 0;
  Typical() {
    h.pad(300, 'x').randomGame().tableMarker();
    h.record(0, "").record(1, "North");
    northEnd = h.size();
    h.record(2, "H_Haslebo\0"s, 10).emptyRecords(6);
    tableEnd = h.size();
    h.pad(40).teams({1, 4, 1, 1, 1, 1, 1, 1});
    teamsEnd = h.size();
    h.pad(10).lobby(2, "H_Haslebo: DEAD!").lobby(1, "North: u wish").pad(16);
  }
};

}  // namespace

TEST(HeaderScan, AHeaderWithoutMarkersGivesTheRecorderSlotOnly) {
  HeaderBytes h(5);
  h.pad(500, 'R').pad(10, '\xFF').pad(10, '\x9A');
  Messages m;
  ReplayDocument d = Scan(h, &m);
  EXPECT_TRUE(m.empty());
  EXPECT_EQ(d.recorderSlot, 5);
  EXPECT_EQ(d.playerNames, Names({}));
  EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{}));
}

TEST(HeaderScan, ATypicalHeaderGivesNamesTeamsAndRecorder) {
  Typical t;
  Messages m;
  ReplayDocument d = Scan(t.h, &m);
  EXPECT_TRUE(m.empty());
  EXPECT_EQ(d.recorderSlot, 2);
  EXPECT_EQ(d.playerNames, Names({{1, "North"}, {2, "H_Haslebo"}}));
  EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{1, 4, 1, 1, 1, 1, 1, 1}));
}

TEST(HeaderScan, AScenarioStopsTheScanWithItsMessage) {
  for (int at : {12, 13, 14, 15}) {
    SCOPED_TRACE(at);
    Typical t;
    t.h.b[at] = '\x01';
    Messages m;
    ReplayDocument d = Scan(t.h, &m);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].text, q2test::kTextScenario);
    EXPECT_EQ(m[0].caption, "Quoril2");
    EXPECT_EQ(d.recorderSlot, 0);
    EXPECT_EQ(d.playerNames, Names({}));
    EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{}));
  }
}

TEST(HeaderScan, TheSlotByteNotTheRecordsPlaceChoosesTheSlot) {
  HeaderBytes h;
  h.randomGame().tableMarker();
  h.record(0, "skipped", 7).record(3, "three").record(0, "gaia-ish", 8).record(1, "one");
  h.record(8, "eight\0\0"s, 7).record(5, "ab\0cd"s, 5).record(6, "", 0).emptyRecords(2);
  h.teams({2, 0, 2, 0, 3, 3, 0, 3});
  Messages m;
  ReplayDocument d = Scan(h, &m);
  EXPECT_TRUE(m.empty());
  EXPECT_EQ(d.playerNames, Names({{1, "one"}, {3, "three"}, {5, "ab"}, {8, "eight"}}));
  EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{2, 0, 2, 0, 3, 3, 0, 3}));
}

TEST(HeaderScan, ASlotByteOutsideOneToEightEndsTheScanWithHeaderDataError) {
  for (int bad : {9, 0x80, 0xFF, 100}) {
    SCOPED_TRACE(bad);
    HeaderBytes h;
    h.randomGame().tableMarker().record(0, "").record(1, "kept").record(bad, "bad").record(2, "lost");
    h.emptyRecords(5).pad(20).teams({2, 2, 3, 3});
    Messages m;
    ReplayDocument d = Scan(h, &m);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].text, q2test::kTextHeaderData);
    EXPECT_EQ(d.playerNames, Names({{1, "kept"}}));
    EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{}));
    EXPECT_EQ(d.recorderSlot, 1);
  }
}

TEST(HeaderScan, ANameLengthWithTheHighBitSetEndsTheTableOnly) {
  for (int len : {0x80, 0xFF, 0xC0}) {
    SCOPED_TRACE(len);
    HeaderBytes h;
    h.randomGame().tableMarker().record(0, "").record(1, "kept").record(2, "xyz", len);
    h.record(3, "after").emptyRecords(4).pad(30).teams({2, 3});
    Messages m;
    ReplayDocument d = Scan(h, &m);
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(d.playerNames, Names({{1, "kept"}}));
    EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{2, 3}));
  }
}

TEST(HeaderScan, MarkersCountOnlyWhereTheRulesLookForThem) {
  // Team marker before "RandomGame": teams, no names.
  {
    HeaderBytes h;
    h.teams({3, 3, 2, 2}).randomGame().tableMarker().record(1, "late").emptyRecords(8);
    ReplayDocument d = Scan(h);
    EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{3, 3, 2, 2}));
    EXPECT_EQ(d.playerNames, Names({}));
  }
  // A player-table marker before "RandomGame", or within the 190 bytes
  // skipped after it, is no table.
  {
    HeaderBytes h;
    h.tableMarker().record(1, "early").emptyRecords(8);
    h.raw(q2test::kRandomGame).raw(q2test::kPlayerMarker).pad(175);
    h.tableMarker().record(2, "real").emptyRecords(8).teams({2, 2});
    ReplayDocument d = Scan(h);
    EXPECT_EQ(d.playerNames, Names({{2, "real"}}));
  }
  // A second table later in the header reads again and overwrites.
  {
    HeaderBytes h;
    h.randomGame().tableMarker().record(1, "first").record(2, "two").emptyRecords(7);
    h.pad(50).tableMarker().record(1, "second").emptyRecords(8).teams({2, 2});
    ReplayDocument d = Scan(h);
    EXPECT_EQ(d.playerNames, Names({{1, "second"}, {2, "two"}}));
  }
  // Team bytes are sign-extended.
  {
    HeaderBytes h;
    h.teams({-1, 0x80, 0x7F, 1});
    EXPECT_EQ(Scan(h).playerTeams, (std::array<int32_t, 8>{-1, -128, 127, 1}));
  }
}

TEST(HeaderScan, EveryScanResetsTheHeaderFieldsFirst) {
  ReplayDocument d;
  d.recorderSlot = 3;
  d.playerNames[4] = "previous";
  d.playerTeams.fill(2);
  Messages m;
  HeaderScan(d, nullptr, 0, m);
  EXPECT_EQ(d.recorderSlot, 0);
  EXPECT_EQ(d.playerNames, Names({}));
  EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{}));

  d.playerNames[4] = "previous";
  HeaderBytes h(7);
  HeaderScan(d, h.data(), h.size(), m);
  EXPECT_EQ(d.recorderSlot, 7);
  EXPECT_EQ(d.playerNames, Names({}));
  EXPECT_TRUE(m.empty());
}

TEST(HeaderScan, AHeaderCutAnywhereKeepsWhatWasFoundSoFar) {
  Typical t;
  const std::string& full = t.h.b;
  for (size_t n = 0; n <= full.size(); ++n) {
    SCOPED_TRACE(n);
    ExactBuffer buf(full, n);
    ReplayDocument d;
    d.playerNames[7] = "stale";
    Messages m;
    HeaderScan(d, buf.data(), buf.size(), m);
    ASSERT_TRUE(m.empty());
    ASSERT_EQ(d.recorderSlot, n >= 62 ? 2 : 0);
    ASSERT_EQ(d.playerNames[7], "");
    ASSERT_EQ(d.playerNames[0], n >= t.northEnd ? "North" : "");
    ASSERT_EQ(d.playerNames[1], n >= t.tableEnd - 6 * 12 ? "H_Haslebo" : "");
    ASSERT_EQ(d.playerTeams[1], n >= t.teamsEnd ? 4 : 0);
    ChatText chat;
    CollectLobbyChat(buf.data(), buf.size(), chat);
  }
}

TEST(LobbyChat, LinesEndWithCrLfInHeaderOrder) {
  HeaderBytes h;
  h.lobby(1, "first").lobby(2, "second").lobby(8, "").pad(4);
  h.raw("@#9nine").pad(1).raw("@#0zero").pad(1).raw("@$1x").pad(1);
  h.lobby(3, "say @#2again").pad(1);
  ChatText c;
  CollectLobbyChat(h.data(), h.size(), c);
  EXPECT_EQ(c.str(), "first\r\nsecond\r\n\r\nsay @#2again\r\nagain\r\n");
}

TEST(LobbyChat, LongLinesAreCutAndAFullTextDropsTheRest) {
  const std::string l254(254, 'a'), l255(255, 'b'), l300(300, 'c');
  HeaderBytes h;
  h.lobby(1, l254).lobby(1, l255).lobby(1, l300);
  ChatText c;
  CollectLobbyChat(h.data(), h.size(), c);
  EXPECT_EQ(c.str(), l254 + "\r\n" + std::string(254, 'b') + "\r\n" + std::string(254, 'c') + "\r\n");

  // 40000 bytes of chat in lines of 100: the lines that fit whole (one
  // byte stays for the terminating zero), then nothing, not even short ones.
  HeaderBytes big;
  for (int i = 0; i < 400; ++i) big.lobby(1 + i % 8, std::string(99, char('A' + i % 26)) + "!");
  big.lobby(1, "short");
  ChatText all;
  CollectLobbyChat(big.data(), big.size(), all);
  const size_t lines = 29999 / 102;
  ASSERT_EQ(all.str().size(), lines * 102);
  EXPECT_LT(all.str().size(), 30000u);
  for (size_t i = 0; i < lines; ++i) {
    EXPECT_EQ(all.str().substr(i * 102, 102),
              std::string(99, char('A' + i % 26)) + "!\r\n");
  }
  EXPECT_EQ(all.str().find("short"), std::string::npos);
}

TEST(LobbyChat, AChatTextCutOffByTheEndIsTakenToTheEnd) {
  HeaderBytes h;
  h.lobby(1, "whole").raw("@#4cut off");
  ExactBuffer b(h.b);
  ChatText c;
  CollectLobbyChat(b.data(), b.size(), c);
  EXPECT_EQ(c.str(), "whole\r\ncut off\r\n");

  for (const std::string tail : {"@#1", "@#", "@"}) {
    std::string bytes = std::string("xx") + tail;
    ExactBuffer e(bytes);
    ChatText t;
    CollectLobbyChat(e.data(), e.size(), t);
    EXPECT_EQ(t.str(), tail == "@#1" ? "\r\n" : "") << tail;
  }
  ChatText none;
  CollectLobbyChat(nullptr, 0, none);
  EXPECT_TRUE(none.empty());
}

TEST(PregameChatScan, LoadsTheFileScansItAndCollectsTheLobbyChat) {
  q2test::TempDir dir;
  Typical t;
  const std::string dat = dir / "game.dat";
  q2test::WriteBytes(dat, t.h.b);
  ReplaySummary s;
  Messages m;
  ASSERT_TRUE(PregameChatScan(dat, s, m));
  EXPECT_TRUE(m.empty());
  EXPECT_EQ(s.doc.playerNames[1], "H_Haslebo");
  EXPECT_EQ(s.view.pregameChat.str(), "H_Haslebo: DEAD!\r\nNorth: u wish\r\n");

  // A scenario: the message, no players, the lobby chat all the same.
  t.h.b[14] = '\x05';
  q2test::WriteBytes(dat, t.h.b);
  ASSERT_TRUE(PregameChatScan(dat, s, m));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].text, q2test::kTextScenario);
  EXPECT_EQ(s.doc.playerNames[1], "");
  EXPECT_EQ(s.view.pregameChat.str(), "H_Haslebo: DEAD!\r\nNorth: u wish\r\n");
}

TEST(PregameChatScan, AFileThatCannotBeReadLeavesNothingOfThePreviousRecording) {
  q2test::TempDir dir;
  ReplaySummary s;
  s.doc.playerNames[0] = "previous";
  s.doc.playerTeams[0] = 2;
  s.doc.recorderSlot = 1;
  s.view.pregameChat.appendLine("old line");
  Messages m;
  // Status fails: result false, chat cleared.
  EXPECT_FALSE(PregameChatScan(dir / "missing.dat", s, m));
  EXPECT_TRUE(s.view.pregameChat.empty());

  // Status works but the file can't be read (a folder): result true, and
  // the header fields are cleared as the scan would clear them.
  s.view.pregameChat.appendLine("old line");
  EXPECT_TRUE(PregameChatScan(dir.path(), s, m));
  EXPECT_TRUE(m.empty());
  EXPECT_TRUE(s.view.pregameChat.empty());
  EXPECT_EQ(s.doc.playerNames[0], "");
  EXPECT_EQ(s.doc.playerTeams[0], 0);
  EXPECT_EQ(s.doc.recorderSlot, 0);
}
