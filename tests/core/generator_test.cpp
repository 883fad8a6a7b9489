// The generated recordings look like real ones where the scans and the
// measurements care: marker offsets, byte mix of header and body, command
// layout, and no pattern the generator didn't place.
#include "cli/recording_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "replay/core/body_scan.h"
#include "replay/core/header_extractor.h"
#include "support/core_support.h"

using namespace q2;

namespace {

double Count(const std::string& s, const std::string& what) {
  double n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

void ExpectRealistic(const std::string& file) {
  const uint32_t L = static_cast<uint8_t>(file[0]) | static_cast<uint8_t>(file[1]) << 8 |
                     static_cast<uint8_t>(file[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(file[3])) << 24;
  std::string h;
  ASSERT_TRUE(InflateRawDeflate(reinterpret_cast<const uint8_t*>(file.data()) + 8, L - 8, h));
  const std::string body = file.substr(L);
  const double n = static_cast<double>(body.size());
  const size_t rg = h.find("RandomGame"), table = h.find(q2test::kPlayerMarker, rg),
               team = h.find(q2test::kTeamMarker, table);
  const std::tuple<const char*, double, double, double> ranges[] = {
      {"compression ratio", static_cast<double>(h.size()) / (L - 8), 6.5, 11},
      {"RandomGame from the end", static_cast<double>(h.size() - rg), 20000, 25000},
      {"RandomGame texts", Count(h, "RandomGame"), 16, 16},
      {"table after RandomGame", static_cast<double>(table - rg), 18827, 18827},
      {"teams after the table", static_cast<double>(team - table), 2700, 2850},
      {"lobby chat after the teams", static_cast<double>(h.find("@#", team) - team), 0, 100},
      {"FF bytes", Count(body, "\xFF") / n, 0.003, 0.012},
      {"-1 words per KiB", Count(body, "\xFF\xFF\xFF\xFF") * 1024 / n, 0.8, 2.5},
      {"zero bytes", static_cast<double>(std::count(body.begin(), body.end(), '\0')) / n, 0.5, 0.7},
      {"@ bytes", Count(body, "@") / n, 0.0005, 0.005},
  };
  for (const auto& [what, value, lo, hi] : ranges) {
    EXPECT_GE(value, lo) << what;
    EXPECT_LE(value, hi) << what;
  }
}

}  // namespace

TEST(Generator, SameParametersSameBytes) {
  gen::GameParams a = gen::TypicalGame({"太郎", "花子"}, {1, 1}, 1, 9, 50000, 20000);
  EXPECT_EQ(gen::BuildRecording(a), gen::BuildRecording(a));
  gen::GameParams b = a;
  b.seed = 10;
  EXPECT_NE(gen::BuildRecording(a), gen::BuildRecording(b));
  EXPECT_EQ(gen::BuildBody(a).size(), 50000u);
  EXPECT_EQ(gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55}), "記録されたゲーム -  05-3-2005 10`40`55.mgx");
  EXPECT_EQ(gen::DefaultRecordingName({2005, 11, 26, 2, 3, 4}), "記録されたゲーム -  26-11-2005 02`03`04.mgx");
}

TEST(Generator, RecordingsHaveTheShapeOfRealOnes) {
  gen::GameParams params = gen::TypicalGame({"North", "侍ジャック", "ゆきむら", "West"}, {2, 3, 2, 3}, 1, 3, 800000, 300000);
  ExpectRealistic(gen::BuildRecording(params));
  // The real recordings fall in the same ranges.
  for (const char* name : {"aoc-1.0c.mgx", "up-1.4.mgz"}) {
    const std::string real = q2test::ReadBytes(std::string(QUORIL2_REAL_RECORDINGS) + "/" + name);
    SCOPED_TRACE(name);
    if (!real.empty()) ExpectRealistic(real);
  }
}

TEST(Generator, CommandsAreLaidOutAsTheGameWritesThemAndNoOthers) {
  gen::GameParams params = gen::TypicalGame({"A", "B", "C", "D", "E", "F", "G", "H"}, {2, 3, 2, 3, 2, 3, 2, 3}, 1, 8,
                                            1500000, 40000);
  gen::Placed placed;
  const std::string body = gen::BuildBody(params, &placed);
  for (size_t i = 0; i < params.chat.size(); ++i) {
    const std::string text = q2test::Cp932(params.chat[i].text);
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
    const std::string line = "@#" + std::to_string(c.player) + q2test::Cp932(c.text) + '\0';
    const size_t at = header.find(line);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(header.substr(at - 4, 4), q2test::Le32(static_cast<uint32_t>(line.size())));
  }
  // The scans find what was placed and nothing else.
  ReplayDocument d;
  ReplayView v;
  ScanBody(d, v, reinterpret_cast<const uint8_t*>(body.data()), body.size());
  std::set<std::pair<int, int>> distinct;
  for (const gen::Research& r : params.researches) distinct.insert({r.player, r.techId});
  size_t entries = 0;
  for (int s = 0; s < 8; ++s) entries += d.economyResearch[s].count + d.blacksmithResearch[s].count;
  EXPECT_EQ(entries, distinct.size());
  EXPECT_EQ(v.feudalCount + v.castleCount + v.imperialCount, static_cast<int>(params.ages.size()));
  EXPECT_EQ(Count(v.ingameChat.str(), "\r\n"), params.chat.size());
}
