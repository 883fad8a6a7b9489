// Inputs the fuzzers reported, kept as cases. Both reports came from checks
// of the fuzz targets that were too strict; the cases pin the behaviour the
// checks got wrong.
#include <gtest/gtest.h>

#include "replay/core/body_scan.h"
#include "replay/core/header_scan.h"
#include "support/core_support.h"

using namespace q2;

// fuzz_header_scan: a mutated generated header whose table names slot 4
// "stale", the very text the target had put there beforehand.
TEST(FuzzRegressions, HeaderWithTwoTablesAndCutNames) {
  std::string header;
  const std::string hex =
      "56455220392e34000000803f000000003d3d3d000060b00002a9a93d121212121212121212121212030303030303030808083d3d3d3d3d3d"
      "3d3d3d21312121212121212152616e646f6d47616d651d1d1d1d1d1d1d3030303333e2333352616e646f6d47616d65333333010101010101"
      "010101010f0f0f0f0f0f0f0f141414141414141409090909090932323232a5323232323232323a3a3a3a3a08082c2c2c2c2c2c2c2c2c2c1f"
      "1f1f1f1f1f232323232323232323233a3a3a3a3a3a3a3a3a3a3a20202020ffff5fc00001ad403939391053ffffff101010131313131c1c0a"
      "0a0a0a0a0a0a2a2a2a2a2a2a2a2a2a2a2a2a121212121212121212393910101010102610101c1a1a1a1a1a1a1a1a1a1a1a0101010101ffff"
      "ff9dff030909090909090909090929292929292929292a2a2a00101026263636360000000001151515151515150400000091be9859023131"
      "31313026260400000089d48e7103070707070707040a0000008e98835783838362834e0407363636363633050000007374616c6500101010"
      "28282f2f0000ffffffffffffffffffffffffffffffffffffffffff00000080ffffffff080808080606060000003f3f3f3f3f3f3f3f3f3f3f"
      "3f34383434343437373737373737373737373738383812121212101010101010101c1a1a1a3c1a1a1a1a1a1a1a1a0101010101ffffff9dff"
      "030909090909090909090929292929292964292a2a2a00101026263636360000000001151515151515150400000091be9859023131313131"
      "26260400000089d48e7103070747070707040a0000008e9883578383832723232323";
  for (size_t i = 0; i + 1 < hex.size(); i += 2) header += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  ASSERT_EQ(header.size(), 594u);
  q2test::ExactBuffer buf(header);
  ReplayDocument d;
  d.playerNames[3] = "stale";
  d.playerNames[4] = "stale";
  Messages m;
  HeaderScan(d, buf.data(), buf.size(), m);
  EXPECT_TRUE(m.empty());
  EXPECT_EQ(d.recorderSlot, 33);
  // The first table names slots 1 to 4 and ends at a name length with the
  // high bit set; a second one overwrites slots 1 to 3 and is cut off by the
  // end of the header, which ends the scan: no teams.
  EXPECT_EQ(d.playerNames, (std::array<std::string, 8>{"\x91\xBE\x98\x59", "\x89\xD4\x8E\x71",
                                                       "\x8E\x98\x83\x57\x83\x83\x83\x27##", "stale"}));
  EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{}));
}

// fuzz_body_scan: once the full chat text has no room left, the filtered
// text (which lacks the warnings) still takes the lines that fit, so it may
// hold lines the full text doesn't.
TEST(FuzzRegressions, FilteredChatKeepsLinesTheFullTextHadNoRoomFor) {
  std::string body;
  for (int i = 0; i < 120; ++i) q2test::PutChat(body, body.size(), 1, "--\x8C\x78\x8D\x90" + std::string(244, 'w'));
  q2test::PutChat(body, body.size(), 2, "after the warnings");
  q2test::ExactBuffer buf(body);
  ReplayView v;
  BodyEventScan(v, buf.data(), buf.size());
  EXPECT_EQ(v.ingameChat.str().size(), 119u * 252);
  EXPECT_EQ(v.ingameChat.str().find("after"), std::string::npos);
  EXPECT_EQ(v.ingameChatFiltered.str(), "after the warnings\r\n");
}
