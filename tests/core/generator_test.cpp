// The generated recordings look like real ones where the scans and the
// measurements care: marker offsets, byte mix of header and body, command
// layout, and no pattern the generator didn't place.
#include "cli/recording_generator.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/text.h"
#include "core_support.h"
#include "replay/core/body_scan.h"
#include "replay/core/header_extractor.h"

using namespace q2;

namespace {

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

struct Shape {
  size_t headerSize = 0;
  double ratio = 0;
  size_t randomGameFromEnd = 0, randomGames = 0, tableGap = 0, teamGap = 0, chatGap = 0;
  double ff = 0, minusOnesPerKb = 0, zeros = 0, ats = 0;
};

Shape ShapeOf(const std::string& file) {
  Shape s;
  const uint32_t L = uint32_t(uint8_t(file[0])) | uint32_t(uint8_t(file[1])) << 8 |
                     uint32_t(uint8_t(file[2])) << 16 | uint32_t(uint8_t(file[3])) << 24;
  std::string h;
  EXPECT_TRUE(InflateRawDeflate(reinterpret_cast<const uint8_t*>(file.data()) + 8, L - 8, h));
  s.headerSize = h.size();
  s.ratio = static_cast<double>(h.size()) / (L - 8);
  const size_t rg = h.find("RandomGame");
  const size_t table = h.find(q2test::kPlayerMarker, rg);
  const size_t team = h.find(q2test::kTeamMarker, table);
  s.randomGameFromEnd = h.size() - rg;
  s.randomGames = Count(h, "RandomGame");
  s.tableGap = table - rg;
  s.teamGap = team - table;
  s.chatGap = h.find("@#", team) - team;
  const std::string body = file.substr(L);
  s.ff = static_cast<double>(Count(body, "\xFF")) / body.size();
  s.minusOnesPerKb = Count(body, "\xFF\xFF\xFF\xFF") * 1024.0 / body.size();
  s.zeros = static_cast<double>(std::count(body.begin(), body.end(), '\0')) / body.size();
  s.ats = static_cast<double>(Count(body, "@")) / body.size();
  return s;
}

void ExpectRealistic(const Shape& s) {
  EXPECT_GT(s.ratio, 6.5);
  EXPECT_LT(s.ratio, 11);
  EXPECT_GT(s.randomGameFromEnd, 20000u);
  EXPECT_LT(s.randomGameFromEnd, 25000u);
  EXPECT_EQ(s.randomGames, 16u);
  EXPECT_EQ(s.tableGap, 18827u);
  EXPECT_GT(s.teamGap, 2700u);
  EXPECT_LT(s.teamGap, 2850u);
  EXPECT_LT(s.chatGap, 100u);
  EXPECT_GT(s.ff, 0.003);
  EXPECT_LT(s.ff, 0.012);
  EXPECT_GT(s.minusOnesPerKb, 0.8);
  EXPECT_LT(s.minusOnesPerKb, 2.5);
  EXPECT_GT(s.zeros, 0.5);
  EXPECT_LT(s.zeros, 0.7);
  EXPECT_GT(s.ats, 0.0005);
  EXPECT_LT(s.ats, 0.005);
}

}  // namespace

TEST(Generator, TheSameParametersGiveTheSameBytes) {
  gen::GameParams a = gen::TypicalGame({"太郎", "花子"}, {1, 1}, 1, 9, 50000, 20000);
  EXPECT_EQ(gen::BuildRecording(a), gen::BuildRecording(a));
  gen::GameParams b = a;
  b.seed = 10;
  EXPECT_NE(gen::BuildRecording(a), gen::BuildRecording(b));
  gen::Placed p;
  EXPECT_EQ(gen::BuildBody(a, &p).size(), 50000u);
  EXPECT_EQ(gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55}), "記録されたゲーム -  05-3-2005 10`40`55.mgx");
  EXPECT_EQ(gen::DefaultRecordingName({2005, 11, 26, 2, 3, 4}), "記録されたゲーム -  26-11-2005 02`03`04.mgx");
}

TEST(Generator, RecordingsHaveTheShapeOfRealOnes) {
  gen::GameParams params = gen::TypicalGame({"North", "侍ジャック", "ゆきむら", "West"}, {2, 3, 2, 3}, 1, 3, 800000, 300000);
  gen::Placed placed;
  const std::string file = gen::BuildRecording(params, &placed);
  Shape s = ShapeOf(file);
  EXPECT_NEAR(static_cast<double>(s.headerSize), 300000, 3000);
  ExpectRealistic(s);

  // The real recordings fall in the same ranges.
  for (const char* name : {"aoc-1.0c.mgx", "up-1.4.mgz"}) {
    const std::string real = q2test::ReadBytes(std::string(QUORIL2_REAL_RECORDINGS) + "/" + name);
    if (real.empty()) continue;
    SCOPED_TRACE(name);
    ExpectRealistic(ShapeOf(real));
  }
}

TEST(Generator, CommandsAreLaidOutAsTheGameWritesThem) {
  gen::GameParams params = gen::TypicalGame({"North", "侍ジャック"}, {2, 2}, 2, 4, 200000, 40000);
  gen::Placed placed;
  const std::string body = gen::BuildBody(params, &placed);
  for (size_t i = 0; i < params.chat.size(); ++i) {
    const std::string text = Utf8ToCp932(params.chat[i].text).value();
    const size_t at = placed.chatPos[i];
    EXPECT_EQ(body.substr(at - 12, 12), std::string("\x04\0\0\0\xFF\xFF\xFF\xFF", 8) + q2test::Le32(text.size() + 4));
    EXPECT_EQ(body.substr(at, text.size() + 4), "@#" + std::to_string(params.chat[i].player) + text + '\0');
  }
  for (size_t i = 0; i < params.researches.size(); ++i) {
    const size_t j = placed.researchPos[i];
    EXPECT_EQ(body.substr(j - 17, 4), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(body.substr(j - 9, 4), std::string("\x65\0\0\0", 4));
    EXPECT_EQ(body[j - 1], static_cast<char>(params.researches[i].player));
    EXPECT_EQ(body.substr(j + 3, 4), "\xFF\xFF\xFF\xFF");
  }
  // Lobby lines stand behind their length.
  const std::string header = gen::BuildHeader(params);
  for (const gen::Chat& c : params.lobbyChat) {
    const std::string line = "@#" + std::to_string(c.player) + Utf8ToCp932(c.text).value() + '\0';
    const size_t at = header.find(line);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(header.substr(at - 4, 4), q2test::Le32(line.size()));
  }
}

TEST(Generator, TheBodyHoldsNoPatternButThePlacedOnes) {
  gen::GameParams params = gen::TypicalGame({"A", "B", "C", "D", "E", "F", "G", "H"}, {2, 3, 2, 3, 2, 3, 2, 3}, 1, 8,
                                    1500000, 40000);
  gen::Placed placed;
  const std::string body = gen::BuildBody(params, &placed);
  ReplayDocument d;
  ResearchScan(d, reinterpret_cast<const uint8_t*>(body.data()), body.size());
  std::set<std::pair<int, int>> distinct;
  for (const gen::Research& r : params.researches) distinct.insert({r.player, r.techId});
  int entries = 0;
  for (int s = 0; s < 8; ++s) entries += d.economyResearch[s].count + d.blacksmithResearch[s].count;
  EXPECT_EQ(entries, static_cast<int>(distinct.size()));

  ReplayView v;
  BodyEventScan(v, reinterpret_cast<const uint8_t*>(body.data()), body.size());
  EXPECT_EQ(v.feudalCount + v.castleCount + v.imperialCount, static_cast<int>(params.ages.size()));
  EXPECT_EQ(Count(v.ingameChat.str(), "\r\n"), params.chat.size());
}
