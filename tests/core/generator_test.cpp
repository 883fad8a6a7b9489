// The generated recordings look like real ones where the scans and the
// measurements care: marker offsets, byte mix of header and body.
#include "cli/recording_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

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
  uint32_t L = 0;
  for (int i = 3; i >= 0; --i) L = L << 8 | static_cast<uint8_t>(file[i]);
  std::string h;
  ASSERT_TRUE(InflateRawDeflate(reinterpret_cast<const uint8_t*>(file.data()) + 8, L - 8, h));
  const std::string body = file.substr(L);
  const double n = static_cast<double>(body.size());
  const size_t rg = h.find("RandomGame"), table = h.find(q2test::kPlayerMarker, rg), team = h.find(q2test::kTeamMarker, table);
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
      {"@ bytes", Count(body, "@") / n, 0.0005, 0.005}};
  for (const auto& [what, value, lo, hi] : ranges) {
    EXPECT_GE(value, lo) << what;
    EXPECT_LE(value, hi) << what;
  }
}

}  // namespace

TEST(Generator, SameParametersSameBytesAndTheShapeOfRealRecordings) {
  gen::GameParams a = gen::TypicalGame({"North", "侍ジャック", "ゆきむら", "West"}, {2, 3, 2, 3}, 1, 3, 800000, 300000);
  const std::string file = gen::BuildRecording(a);
  EXPECT_EQ(gen::BuildRecording(a), file);
  EXPECT_EQ(gen::BuildBody(a).size(), 800000u);
  a.seed = 4;
  EXPECT_NE(gen::BuildRecording(a), file);
  EXPECT_EQ(gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55}), "記録されたゲーム -  05-3-2005 10`40`55.mgx");
  EXPECT_EQ(gen::DefaultRecordingName({2005, 11, 26, 2, 3, 4}), "記録されたゲーム -  26-11-2005 02`03`04.mgx");
  ExpectRealistic(file);
  // The real recordings fall in the same ranges.
  for (const char* name : {"aoc-1.0c.mgx", "up-1.4.mgz"}) {
    const std::string real = q2test::ReadBytes(std::string(QUORIL2_REAL_RECORDINGS) + "/" + name);
    SCOPED_TRACE(name);
    if (!real.empty()) ExpectRealistic(real);
  }
}
