#include "replay/core/body_scan.h"

#include <gtest/gtest.h>

#include "core_support.h"
#include "replay/core/tech_table.h"

using namespace q2;
using q2test::ExactBuffer;
using q2test::PutChat;
using q2test::PutCommand;

namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

ReplayDocument Research(const std::string& body) {
  ReplayDocument d;
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

std::vector<ResearchEntry> Entries(const ResearchList& l) {
  return std::vector<ResearchEntry>(l.entries.begin(), l.entries.begin() + l.count);
}

}  // namespace

TEST(TechTable, IconsAndCategoriesOfAllTwentyEightTechnologies) {
  const std::vector<std::array<int, 3>> expected = {
      {12, 1, 167}, {13, 1, 161}, {14, 1, 160}, {22, 1, 159}, {55, 1, 163}, {182, 1, 166},
      {202, 1, 155}, {203, 1, 164}, {213, 1, 154}, {221, 1, 165}, {249, 1, 158}, {278, 1, 162},
      {279, 1, 157}, {67, 2, 173}, {68, 2, 174}, {74, 2, 176}, {75, 2, 175}, {76, 2, 177},
      {77, 2, 178}, {80, 2, 181}, {81, 2, 179}, {82, 2, 180}, {199, 2, 182}, {200, 2, 183},
      {201, 2, 184}, {211, 2, 185}, {212, 2, 186}, {219, 2, 187}};
  ASSERT_EQ(TechTable().size(), 28u);
  for (const auto& [tech, category, icon] : expected) {
    SCOPED_TRACE(tech);
    EXPECT_EQ(CategoryOfTech(tech), category);
    EXPECT_EQ(IconForTech(tech), icon);
    ASSERT_NE(TechForIcon(icon), nullptr);
    EXPECT_EQ(TechForIcon(icon)->techId, tech);
  }
  for (int other : {0, 23, 101, 102, 103, 256, 277, 280, 535, -1}) {
    EXPECT_EQ(CategoryOfTech(other), -1) << other;
    EXPECT_EQ(IconForTech(other), 3) << other;
  }
  EXPECT_EQ(TechForIcon(3), nullptr);
}

TEST(ResearchScan, EachTechnologyOnceInFirstOrderWithItsLastTime) {
  std::string body(1000, '\x01');
  PutCommand(body, 100, 2, 22, 0);   // loom
  PutCommand(body, 200, 2, 213, 0);  // wheelbarrow
  PutCommand(body, 300, 2, 22, 0);   // loom again
  PutCommand(body, 400, 2, 67, 0);   // forging
  PutCommand(body, 500, 5, 22, 1);   // 278 stone mining
  PutCommand(body, 600, 5, 23, 1);   // 279 stone shaft mining
  ReplayDocument d = Research(body);
  EXPECT_EQ(Entries(d.economyResearch[1]),
            (std::vector<ResearchEntry>{{159, 300 / 1000.0}, {154, 200 / 1000.0}}));
  EXPECT_EQ(Entries(d.blacksmithResearch[1]), (std::vector<ResearchEntry>{{173, 400 / 1000.0}}));
  EXPECT_EQ(Entries(d.economyResearch[4]),
            (std::vector<ResearchEntry>{{162, 500 / 1000.0}, {157, 600 / 1000.0}}));
  for (int s : {0, 2, 3, 5, 6, 7}) {
    EXPECT_EQ(d.economyResearch[s].count, 0) << s;
    EXPECT_EQ(d.blacksmithResearch[s].count, 0) << s;
  }
}

TEST(ResearchScan, PatternsThatAreNoResearchOfInterestAreIgnored) {
  std::string body(2000, '\x01');
  PutCommand(body, 100, 0, 22, 0);    // player 0
  PutCommand(body, 200, 9, 22, 0);    // player 9
  PutCommand(body, 300, -1, 22, 0);   // player byte FF
  PutCommand(body, 400, 1, 23, 0);    // 23 with high byte 00
  PutCommand(body, 500, 1, 101, 0);   // an age advance
  PutCommand(body, 600, 1, 13, 2);    // high byte 2
  PutCommand(body, 700, 1, 12, 1);    // 268: not in the table
  PutCommand(body, 800, 1, 14, 0);    // then one FF byte spoilt
  body[806] = '\xFE';
  ReplayDocument d = Research(body);
  for (int s = 0; s < 8; ++s) {
    EXPECT_EQ(d.economyResearch[s].count, 0) << s;
    EXPECT_EQ(d.blacksmithResearch[s].count, 0) << s;
  }
}

TEST(ResearchScan, ListsHoldEveryTechnologyAtMostOnce) {
  // All 28 technologies, three times over, for slot 8.
  std::string body;
  size_t at = 1;
  for (int round = 0; round < 3; ++round)
    for (const TechInfo& t : TechTable()) {
      PutCommand(body, at, 8, t.techId & 0xFF, t.techId >> 8);
      at += 8;
    }
  ReplayDocument d = Research(body);
  EXPECT_EQ(d.economyResearch[7].count, 13);
  EXPECT_EQ(d.blacksmithResearch[7].count, 15);
  // Order of the table (first appearance); times of the third round.
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(d.economyResearch[7].entries[i].iconId, TechTable()[i].iconId);
    EXPECT_EQ(d.economyResearch[7].entries[i].when, (1 + 8.0 * (56 + i)) / body.size());
  }
}

TEST(ResearchScan, PatternsAtTheEdgesOfTheBody) {
  // The player byte must lie inside the body: j = 0 has none.
  std::string atStart("\x00\x16\x00\xFF\xFF\xFF\xFF\x01\x01", 9);
  EXPECT_EQ(Research(atStart).economyResearch[0].count, 0);
  // A pattern whose last FF is the body's last byte counts.
  std::string atEnd(50, '\x01');
  PutCommand(atEnd, 43, 3, 22, 0);
  ASSERT_EQ(atEnd.size(), 50u);
  ReplayDocument d = Research(atEnd);
  ASSERT_EQ(d.economyResearch[2].count, 1);
  EXPECT_EQ(d.economyResearch[2].entries[0].when, 43 / 50.0);
  // One byte short: nothing, and nothing read past the end.
  EXPECT_EQ(Research(atEnd.substr(0, 49)).economyResearch[2].count, 0);
  // Every prefix of a body full of patterns.
  std::string dense;
  for (size_t j = 1; j < 400; j += 8) PutCommand(dense, j, 1 + j % 8, 22, j % 3 == 0);
  for (size_t n = 0; n <= dense.size(); ++n) Research(dense.substr(0, n));
}

TEST(ResearchScan, StartsFromEmptyListsEveryTime) {
  ReplayDocument d;
  d.economyResearch[0].count = 2;
  d.economyResearch[0].entries[0] = {159, 0.5};
  d.blacksmithResearch[3].count = 1;
  ResearchScan(d, nullptr, 0);
  EXPECT_EQ(d.economyResearch[0].count, 0);
  EXPECT_EQ(d.economyResearch[0].entries[0], ResearchEntry{});
  EXPECT_EQ(d.blacksmithResearch[3].count, 0);
}

TEST(AgeAdvances, FirstMatchCountsAndRanksFollowBodyOrder) {
  std::string body(2000, '\x01');
  PutCommand(body, 100, 4, 102, 0);   // castle: slot 4 first
  PutCommand(body, 200, 1, 102, 0);   // slot 1 second
  PutCommand(body, 300, 4, 102, 0);   // slot 4 again: ignored
  PutCommand(body, 400, 7, 102, 0);   // slot 7 third
  PutCommand(body, 500, 1, 101, 0);   // feudal after castle: still recorded
  PutCommand(body, 600, 2, 103, 0);
  PutCommand(body, 700, 9, 103, 0);   // no such player
  PutCommand(body, 800, 0, 101, 0);
  PutCommand(body, 900, 3, 104, 0);   // no age
  PutCommand(body, 1000, 3, 101, 1);  // high byte 1
  ReplayView v = Events(body);
  EXPECT_EQ(v.castleCount, 3);
  EXPECT_EQ(v.feudalCount, 1);
  EXPECT_EQ(v.imperialCount, 1);
  EXPECT_EQ(v.castleRank, (std::array<uint8_t, 8>{2, 0, 0, 1, 0, 0, 3, 0}));
  EXPECT_EQ(v.feudalRank, (std::array<uint8_t, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(v.imperialRank, (std::array<uint8_t, 8>{0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(v.ageTimes[3], (std::array<uint32_t, 3>{0, 100 + 84480, 0}));
  EXPECT_EQ(v.ageTimes[0], (std::array<uint32_t, 3>{500 + 84480, 200 + 84480, 0}));
  EXPECT_EQ(v.ageTimes[6], (std::array<uint32_t, 3>{0, 400 + 84480, 0}));
  EXPECT_EQ(v.ageTimes[1], (std::array<uint32_t, 3>{0, 0, 600 + 84480}));
  for (int s : {2, 4, 5, 7}) EXPECT_EQ(v.ageTimes[s], (std::array<uint32_t, 3>{})) << s;
}

TEST(AgeAdvances, TheAgeCheckNeedsOneByteAfterThePattern) {
  std::string body(30, '\x01');
  PutCommand(body, 23, 2, 101, 0);  // last FF is the last byte: j + 7 == length
  EXPECT_EQ(Events(body).feudalCount, 0);
  body += '\x01';
  ReplayView v = Events(body);
  EXPECT_EQ(v.feudalCount, 1);
  EXPECT_EQ(v.ageTimes[1][0], 23u + 84480u);
  // No player byte at j = 0.
  std::string first("\x00\x65\x00\xFF\xFF\xFF\xFF\x01\x01", 9);
  EXPECT_EQ(Events(first).feudalCount, 0);
}

TEST(AgeAdvances, RecordAgeAdvanceIgnoresWhatIsNoAgeOfAPlayer) {
  ReplayView v;
  EXPECT_TRUE(RecordAgeAdvance(v, 0, 101, 5));
  EXPECT_TRUE(RecordAgeAdvance(v, 9, 101, 5));
  EXPECT_TRUE(RecordAgeAdvance(v, -1, 101, 5));
  EXPECT_TRUE(RecordAgeAdvance(v, 1, 100, 5));
  EXPECT_TRUE(RecordAgeAdvance(v, 1, 104, 5));
  EXPECT_EQ(v.feudalCount + v.castleCount + v.imperialCount, 0);
  EXPECT_TRUE(RecordAgeAdvance(v, 8, 103, 0));
  EXPECT_TRUE(RecordAgeAdvance(v, 8, 103, 7));
  EXPECT_EQ(v.imperialRank[7], 1);
  EXPECT_EQ(v.ageTimes[7][2], 84480u);
  v.resetAgeRecords();
  EXPECT_EQ(v.imperialRank[7], 0);
  EXPECT_EQ(v.ageTimes[7][2], 0u);
  EXPECT_EQ(v.imperialCount, 0);
}

TEST(IngameChat, WarningLinesGoToTheFullTextOnly) {
  const std::string warn = "--\x8C\x78\x8D\x90-- attack";
  std::string body(400, '\x01');
  PutChat(body, 10, 1, "North: hi");
  PutChat(body, 50, 2, warn);
  PutChat(body, 100, 8, "");
  PutChat(body, 120, 9, "not chat");
  PutChat(body, 150, 0, "not chat either");
  PutChat(body, 200, 3, "--\x8C\x78");  // the warning cut short is no warning
  PutChat(body, 250, 4, "a @#5b");
  ReplayView v = Events(body);
  EXPECT_EQ(v.ingameChat.str(),
            "North: hi\r\n" + warn + "\r\n\r\n--\x8C\x78\r\na @#5b\r\nb\r\n");
  EXPECT_EQ(v.ingameChatFiltered.str(), "North: hi\r\n\r\n--\x8C\x78\r\na @#5b\r\nb\r\n");
}

TEST(IngameChat, LimitsOfLinesAndTexts) {
  std::string body;
  PutChat(body, 0, 1, std::string(300, 'x'));
  size_t at = body.size();
  for (int i = 0; i < 400; ++i) {
    PutChat(body, at, 1 + i % 8, std::string(100, char('a' + i % 26)));
    at = body.size();
  }
  // Cut off by the end of the body, inside the text.
  PutChat(body, at, 2, "cut here", false);
  ReplayView v = Events(body);
  const std::string& t = v.ingameChat.str();
  EXPECT_EQ(t.substr(0, 256), std::string(254, 'x') + "\r\n");
  EXPECT_LT(t.size(), 30000u);
  EXPECT_EQ(t.size(), 256 + (29999 - 256) / 102 * 102);
  EXPECT_EQ(t.substr(t.size() - 102), std::string(100, char('a' + ((29999 - 256) / 102 - 1) % 26)) + "\r\n");
  EXPECT_EQ(v.ingameChatFiltered.str(), t);

  std::string tail = "xx";
  PutChat(tail, 2, 2, "cut here", false);
  EXPECT_EQ(Events(tail).ingameChat.str(), "cut here\r\n");
  EXPECT_EQ(Events("xx@#3").ingameChat.str(), "\r\n");
  EXPECT_EQ(Events("x@#").ingameChat.str(), "");
  EXPECT_EQ(Events("@#").ingameChat.str(), "");
}

TEST(BodyScans, AnEmptyOrTinyBodyYieldsNothing) {
  for (const std::string body : {"", "\x01", "\x00\x65", "@#"}) {
    ReplayDocument d = Research(body);
    ReplayView v = Events(body);
    for (int s = 0; s < 8; ++s) EXPECT_EQ(d.economyResearch[s].count + d.blacksmithResearch[s].count, 0);
    EXPECT_EQ(v.feudalCount + v.castleCount + v.imperialCount, 0);
    EXPECT_TRUE(v.ingameChat.empty());
    EXPECT_TRUE(v.ingameChatFiltered.empty());
  }
  ReplayView v;
  BodyEventScan(v, Bytes(""), 0);
  EXPECT_TRUE(v.ingameChat.empty());
}
