// The command-body scans on hand-built bodies: research, age advances and
// in-game chat.
#include "replay/core/body_scan.h"

#include <gtest/gtest.h>

#include "replay/core/tech_table.h"
#include "support/core_support.h"

using namespace q2;
using namespace q2test;

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

TEST(TechTable, IconsAndCategoriesOfAllTwentyEightTechnologies) {
  const int table[28][3] = {  // technology, category, icon
      {12, 1, 167},  {13, 1, 161},  {14, 1, 160},  {22, 1, 159},  {55, 1, 163},  {182, 1, 166}, {202, 1, 155},
      {203, 1, 164}, {213, 1, 154}, {221, 1, 165}, {249, 1, 158}, {278, 1, 162}, {279, 1, 157}, {67, 2, 173},
      {68, 2, 174},  {74, 2, 176},  {75, 2, 175},  {76, 2, 177},  {77, 2, 178},  {80, 2, 181},  {81, 2, 179},
      {82, 2, 180},  {199, 2, 182}, {200, 2, 183}, {201, 2, 184}, {211, 2, 185}, {212, 2, 186}, {219, 2, 187}};
  ASSERT_EQ(TechTable().size(), 28u);
  for (const auto& [tech, category, icon] : table) {
    EXPECT_EQ(CategoryOfTech(tech) * 1000 + IconForTech(tech), category * 1000 + icon) << tech;
    ASSERT_NE(TechForIcon(icon), nullptr);
    EXPECT_EQ(TechForIcon(icon)->techId, tech);
  }
  for (int other : {0, 23, 101, 256, 277, 280, -1}) EXPECT_EQ(CategoryOfTech(other) * 1000 + IconForTech(other), -997) << other;
  EXPECT_EQ(TechForIcon(3), nullptr);
}

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
  std::array<std::array<uint32_t, 3>, 8> times{};
  times[0] = {1500 + 84480, 1200 + 84480, 0};
  times[1] = {0, 0, 1600 + 84480};
  times[3] = {0, 1100 + 84480, 0};
  times[6] = {0, 1400 + 84480, 0};
  EXPECT_EQ(v.ageTimes, times);
  // What is no age of a player is ignored where it is recorded, too.
  for (const auto& [player, tech] : {std::pair{-1, 101}, {1, 100}, {1, 104}}) RecordAgeAdvance(v, player, tech, 5);
  EXPECT_EQ(v.feudalCount + v.castleCount + v.imperialCount, 5);

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

TEST(IngameChat, WarningLinesGoToTheFullTextOnlyAndLimitsHold) {
  std::string body(400, '\x01');
  PutChat(body, 10, 1, "North: hi");
  PutChat(body, 50, 2, kWarning + " attack");
  PutChat(body, 100, 8, "");
  PutChat(body, 120, 9, "not chat");
  PutChat(body, 150, 0, "not chat either");
  PutChat(body, 200, 3, "--\x8C\x78");  // the warning cut short is no warning
  PutChat(body, 250, 4, "a @#5b");
  ReplayView v = Events(body);
  EXPECT_EQ(v.ingameChat.str(), "North: hi\r\n" + kWarning + " attack\r\n\r\n--\x8C\x78\r\na @#5b\r\nb\r\n");
  EXPECT_EQ(v.ingameChatFiltered.str(), "North: hi\r\n\r\n--\x8C\x78\r\na @#5b\r\nb\r\n");
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
  // A line cut off by the end of the body is taken to the end.
  const std::pair<std::string, std::string> tails[] = {{"xx@#2cut here", "cut here\r\n"}, {"xx@#3", "\r\n"}, {"x@#", ""}, {"", ""}};
  for (const auto& [tail, chat] : tails) EXPECT_EQ(Events(tail).ingameChat.str(), chat) << tail;
}
