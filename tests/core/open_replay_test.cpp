// The whole open of a recording, and what it does with bad input: the
// message, the recording's bytes untouched, and the .dat file gone exactly
// where it must go.
#include "view/core/open_replay.h"

#include <gtest/gtest.h>

#include <tuple>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include "platform/text.h"
#include "cli/recording_generator.h"
#include "core_support.h"
#include "replay/core/header_extractor.h"
#include "replay/core/tech_table.h"
#include "support/temp_dir.h"
#include "view/core/display.h"

using namespace q2;
using q2test::HeaderBytes;
using q2test::ReadBytes;
using q2test::WriteBytes;
namespace fs = std::filesystem;

namespace {

std::string Cp932(const std::string& s) { return Utf8ToCp932(s).value(); }

std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> Texts(const Messages& m) {
  std::vector<std::string> out;
  for (const Message& x : m) out.push_back(x.text);
  return out;
}

// Opens `bytes` written as dir/name and checks that the recording is left
// as it was.
struct Open {
  OpenResult r;
  ReplaySummary s;
  Open(const q2test::TempDir& dir, const std::string& name, const std::string& bytes) {
    const std::string path = dir / name;
    WriteBytes(path, bytes);
    r = OpenReplay(path, s);
    EXPECT_EQ(ReadBytes(path), bytes) << "the recording changed";
  }
};

std::string TwoPlayerRecording(gen::GameParams* specOut = nullptr, gen::Placed* placed = nullptr) {
  gen::GameParams params = gen::TypicalGame({"North", "侍ジャック"}, {2, 2}, 2, 11, 120000, 30000);
  if (specOut) *specOut = params;
  return gen::BuildRecording(params, placed);
}

// A recording with a hand-made header and body.
std::string Recording(const HeaderBytes& h, const std::string& body = std::string(64, '\x01')) {
  return gen::Assemble(h.b, body);
}

}  // namespace

TEST(OpenReplay, ATypicalRecordingFillsTheWholeSummary) {
  q2test::TempDir dir;
  gen::GameParams params = gen::TypicalGame({"侍ジャック", "North", "ゆきむら", "弓兵マスター"}, {2, 2, 3, 3}, 1, 5,
                                    300000, 90000);
  gen::Placed placed;
  const std::string bytes = gen::BuildRecording(params, &placed);
  Open o(dir, "game.mgx", bytes);
  ASSERT_TRUE(o.r.ok);
  EXPECT_TRUE(o.r.messages.empty());
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"game.mgx"}) << "the .dat file is deleted";
  EXPECT_EQ(o.s.view.extractedHeaderPath, dir / "game.dat");

  const ReplayDocument& d = o.s.doc;
  const ReplayView& v = o.s.view;
  EXPECT_EQ(d.recorderSlot, 1);
  EXPECT_EQ(d.playerNames, (std::array<std::string, 8>{Cp932("侍ジャック"), "North", Cp932("ゆきむら"),
                                                       Cp932("弓兵マスター"), "", "", "", ""}));
  EXPECT_EQ(std::vector<int32_t>(d.playerTeams.begin(), d.playerTeams.begin() + 4),
            (std::vector<int32_t>{2, 2, 3, 3}));
  EXPECT_EQ(v.slotNameTexts, d.playerNames);
  EXPECT_EQ(v.perspectivePlayerText, Cp932("侍ジャック"));
  EXPECT_EQ(v.allyTeamText, Cp932("侍ジャック") + " North ");
  EXPECT_EQ(v.enemyTeamText, "");

  std::string lobby;
  for (const gen::Chat& c : params.lobbyChat) lobby += Cp932(c.text) + "\r\n";
  EXPECT_EQ(v.pregameChat.str(), lobby);

  // In-game chat in body order; the warnings only in the full text.
  std::vector<std::pair<size_t, std::string>> chat;
  for (size_t i = 0; i < params.chat.size(); ++i) chat.push_back({placed.chatPos[i], params.chat[i].text});
  std::sort(chat.begin(), chat.end());
  std::string all, filtered;
  for (auto& [pos, text] : chat) {
    all += Cp932(text) + "\r\n";
    if (text.rfind("--警告", 0) != 0) filtered += Cp932(text) + "\r\n";
  }
  EXPECT_EQ(v.ingameChat.str(), all);
  EXPECT_EQ(v.ingameChatFiltered.str(), filtered);
  EXPECT_NE(all, filtered);
  EXPECT_EQ(v.chatText, Cp932("-------ゲーム開始後チャット-------") + "\r\n" + all);

  EXPECT_EQ(v.bodyLength, 300000);
  // Ages: the first advance per slot and age, ranked in body order.
  std::map<std::pair<int, int>, size_t> first;
  for (size_t i = 0; i < params.ages.size(); ++i) {
    auto key = std::make_pair(params.ages[i].player, params.ages[i].tech - 101);
    if (!first.count(key) || placed.agePos[i] < first[key]) first[key] = placed.agePos[i];
  }
  for (auto& [key, pos] : first) {
    const auto [player, age] = key;
    EXPECT_EQ(v.ageTimes[player - 1][age], pos + 84480) << player << " " << age;
    int rank = 1;
    for (auto& [k2, p2] : first)
      if (k2.second == age && p2 < pos) ++rank;
    const auto& ranks = age == 0 ? v.feudalRank : age == 1 ? v.castleRank : v.imperialRank;
    EXPECT_EQ(ranks[player - 1], rank) << player << " " << age;
  }
  EXPECT_EQ(v.ageTimes[5], (std::array<uint32_t, 3>{}));
  // Research: every placed research in its list at its own time.
  for (size_t i = 0; i < params.researches.size(); ++i) {
    const gen::Research& res = params.researches[i];
    const auto& lists = CategoryOfTech(res.techId) == 1 ? d.economyResearch : d.blacksmithResearch;
    const ResearchList& l = lists[res.player - 1];
    const auto* e = std::find_if(l.entries.begin(), l.entries.begin() + l.count,
                                 [&](const ResearchEntry& x) { return x.iconId == IconForTech(res.techId); });
    ASSERT_NE(e, l.entries.begin() + l.count) << res.techId;
    EXPECT_EQ(e->when, static_cast<double>(placed.researchPos[i]) / 300000);
  }
}

TEST(OpenReplay, ShortFilesAndBadHeaderLengthsAreCorruptAndWriteNothing) {
  q2test::TempDir dir;
  const std::string good = TwoPlayerRecording();
  const uint32_t size = static_cast<uint32_t>(good.size());
  std::vector<std::pair<std::string, std::string>> cases = {
      {"empty", ""},
      {"three bytes", std::string("\x10\x00\x00", 3)},
      {"L = 0", q2test::Le32(0) + good.substr(4)},
      {"L one past the end", q2test::Le32(size + 1) + good.substr(4)},
      {"L far past the end", q2test::Le32(0xFFFFFFFF) + good.substr(4)},
  };
  for (uint32_t l = 1; l <= 7; ++l) cases.push_back({"L = " + std::to_string(l), q2test::Le32(l) + good.substr(4)});
  for (uint32_t l = 1; l <= 7; ++l) cases.push_back({"L = " + std::to_string(l) + ", short file", q2test::Le32(l)});
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    Open o(dir, "game.mgx", bytes);
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextCorrupt});
    EXPECT_EQ(o.r.messages[0].caption, "Quoril2");
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"game.mgx"});
  }
}

TEST(OpenReplay, EachKindOfRecordingOpensByItsContainer) {
  gen::GameParams p = gen::TypicalGame({"Alpha", "Beta"}, {1, 1}, 2, 11, 30000, 20000);
  const std::string twoWords = gen::BuildRecording(p);
  p.mglContainer = true;
  const std::string lengthAlone = gen::BuildRecording(p);
  const uint32_t size = static_cast<uint32_t>(lengthAlone.size());
  // file name, bytes, the message it gives ("" = opens)
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"game.mgx", twoWords, ""},
      {"rec.20080412-203015.mgz", twoWords, ""},
      {"old.mgl", lengthAlone, ""},
      {"OLD.MGL", lengthAlone, ""},
      // Told by the extension: the wrong container doesn't inflate.
      {"old.mgx", lengthAlone, q2test::kTextInflate},
      {"game.mgl", twoWords, q2test::kTextInflate},
      // An .mgl prefix that doesn't fit the file.
      {"short.mgl", q2test::Le32(3) + lengthAlone.substr(4), q2test::kTextCorrupt},
      {"zero.mgl", q2test::Le32(0) + lengthAlone.substr(4), q2test::kTextCorrupt},
      {"past.mgl", q2test::Le32(size + 1) + lengthAlone.substr(4), q2test::kTextCorrupt},
  };
  for (const auto& [name, bytes, message] : cases) {
    SCOPED_TRACE(name);
    q2test::TempDir dir;
    Open o(dir, name, bytes);
    EXPECT_EQ(o.r.ok, message.empty());
    if (message.empty()) {
      EXPECT_EQ(o.s.doc.playerNames[1], "Beta");
      EXPECT_TRUE(o.s.view.clockComplete);
      EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{name});  // its .dat was written and deleted
    } else {
      EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{message});
    }
    EXPECT_EQ(q2test::ReadBytes(dir / name), bytes);
  }
}

TEST(OpenReplay, AHeaderLengthEqualToTheFileLengthIsAnEmptyBody) {
  q2test::TempDir dir;
  const std::string header = gen::BuildHeader(gen::TypicalGame({"A", "B"}, {1, 1}, 2, 3, 1000, 20000));
  Open o(dir, "game.mgx", gen::Assemble(header, ""));
  ASSERT_TRUE(o.r.ok);
  EXPECT_TRUE(o.r.messages.empty());
  EXPECT_EQ(o.s.view.bodyLength, 0);
  EXPECT_EQ(o.s.doc.playerNames[1], "B");
  EXPECT_EQ(o.s.view.perspectivePlayerText, "B");
  EXPECT_TRUE(o.s.view.ingameChat.empty());
  EXPECT_EQ(o.s.view.feudalCount, 0);
  EXPECT_EQ(o.s.doc.economyResearch[0].count, 0);
  EXPECT_FALSE(o.s.view.pregameChat.empty());
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"game.mgx"});
}

TEST(OpenReplay, InflateFailuresLeaveTheDatFileWithWhatWasWritten) {
  q2test::TempDir dir;
  // L = 8: an empty compressed block, an empty .dat file left on disk.
  {
    Open o(dir, "a.mgx", q2test::Le32(8) + q2test::Le32(0) + "body");
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextInflate});
    ASSERT_TRUE(PathExists(dir / "a.dat"));
    EXPECT_EQ(ReadBytes(dir / "a.dat"), "");
  }
  // A compressed block cut short: the .dat file holds a prefix of the header.
  const std::string header = gen::BuildHeader(gen::TypicalGame({"A", "B"}, {1, 1}, 1, 4, 1000, 400000));
  const std::string whole = gen::Assemble(header, "");
  const std::string compressed = whole.substr(8);
  {
    const std::string cut = compressed.substr(0, compressed.size() / 2);
    Open o(dir, "b.mgx", q2test::Le32(static_cast<uint32_t>(cut.size() + 8)) + q2test::Le32(0) + cut);
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextInflate});
    const std::string dat = ReadBytes(dir / "b.dat");
    EXPECT_EQ(dat, header.substr(0, dat.size()));
    EXPECT_LT(dat.size(), header.size());
  }
  // Random bytes after a valid start of the stream.
  {
    std::mt19937 rng(7);
    std::string noisy = compressed.substr(0, 200);
    while (noisy.size() < compressed.size()) noisy += static_cast<char>(rng());
    Open o(dir, "c.mgx", q2test::Le32(static_cast<uint32_t>(noisy.size() + 8)) + q2test::Le32(0) + noisy + "body");
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextInflate});
  }
  // Nothing at all that inflates.
  {
    Open o(dir, "d.mgx", q2test::Le32(1008) + q2test::Le32(0) + std::string(1000, '\xFF'));
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextInflate});
  }
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"a.dat", "a.mgx", "b.dat", "b.mgx", "c.dat", "c.mgx",
                                                           "d.dat", "d.mgx"}));
}

TEST(OpenReplay, HeadersOfWholeChunksAreWrittenCompletely) {
  q2test::TempDir dir;
  for (size_t n : {size_t(0x20000), size_t(0x40000), size_t(0x20000 - 1), size_t(0x20000 + 1), size_t(1)}) {
    SCOPED_TRACE(n);
    std::string header(n, 'h');
    for (size_t i = 0; i < n; i += 97) header[i] = static_cast<char>(i);
    const std::string path = dir / "x.mgx";
    WriteBytes(path, gen::Assemble(header, "body"));
    ReplayView v;
    Messages m;
    ASSERT_TRUE(HeaderExtractor(path, v, m));
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(ReadBytes(dir / "x.dat"), header);
  }
}

TEST(OpenReplay, HeaderScanMessagesDoNotStopTheOpen) {
  q2test::TempDir dir;
  // A slot byte of 9: HEADER_DATA_ERROR, the names before it, no teams.
  {
    HeaderBytes h(1);
    h.randomGame().tableMarker().record(0, "").record(1, "kept").record(9, "bad").emptyRecords(6);
    h.teams({2, 2}).lobby(1, "hello");
    Open o(dir, "slot9.mgx", Recording(h));
    ASSERT_TRUE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextHeaderData});
    EXPECT_EQ(o.s.doc.playerNames[0], "kept");
    EXPECT_EQ(o.s.doc.playerTeams[0], 0);
    EXPECT_EQ(o.s.view.pregameChat.str(), "hello\r\n");
    EXPECT_EQ(o.s.view.perspectivePlayerText, "kept");
  }
  // A scenario: its message, no players, the lobby chat all the same.
  {
    HeaderBytes h(1);
    h.b[12] = '\x02';
    h.randomGame().tableMarker().record(1, "lost").emptyRecords(8).lobby(1, "hi");
    Open o(dir, "scenario.mgx", Recording(h));
    ASSERT_TRUE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextScenario});
    EXPECT_EQ(o.s.doc.playerNames[0], "");
    EXPECT_EQ(o.s.doc.recorderSlot, 0);
    EXPECT_EQ(o.s.view.pregameChat.str(), "hi\r\n");
  }
  // Name lengths with the high bit set end the table; the open goes on.
  for (int len : {0x80, 0xFF}) {
    HeaderBytes h(2);
    h.randomGame().tableMarker().record(0, "").record(1, "one").record(2, "two", len).emptyRecords(6);
    h.teams({2, 2});
    Open o(dir, "len.mgx", Recording(h));
    ASSERT_TRUE(o.r.ok);
    EXPECT_TRUE(o.r.messages.empty());
    EXPECT_EQ(o.s.doc.playerNames[0], "one");
    EXPECT_EQ(o.s.doc.playerNames[1], "");
    EXPECT_EQ(o.s.doc.playerTeams[1], 2);
    EXPECT_EQ(o.s.view.perspectivePlayerText, "");
    EXPECT_EQ(o.s.view.allyTeamText, "one  ");
  }
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"len.mgx", "scenario.mgx", "slot9.mgx"}));
}

TEST(OpenReplay, LongChatIsCutAndAChatLineCutOffByTheEndIsKept) {
  q2test::TempDir dir;
  HeaderBytes h(1);
  h.lobby(1, std::string(300, 'L'));
  for (int i = 0; i < 400; ++i) h.lobby(2, std::string(100, 'l'));
  std::string body;
  q2test::PutChat(body, 5, 1, std::string(300, 'G'));
  for (int i = 0; i < 400; ++i) q2test::PutChat(body, body.size(), 3, std::string(100, 'g'));
  q2test::PutChat(body, body.size(), 4, "no zero at the end", false);
  Open o(dir, "chat.mgx", Recording(h, body));
  ASSERT_TRUE(o.r.ok);
  const std::string& pre = o.s.view.pregameChat.str();
  const std::string& in = o.s.view.ingameChat.str();
  EXPECT_EQ(pre.substr(0, 256), std::string(254, 'L') + "\r\n");
  EXPECT_EQ(in.substr(0, 256), std::string(254, 'G') + "\r\n");
  EXPECT_LT(pre.size(), 30000u);
  EXPECT_LT(in.size(), 30000u);
  EXPECT_EQ(pre.size() % 102, 256u % 102);
  EXPECT_EQ(in.size(), pre.size());

  std::string shortBody;
  q2test::PutChat(shortBody, 40, 4, "no zero at the end", false);
  Open t(dir, "tail.mgx", Recording(HeaderBytes(1), shortBody));
  ASSERT_TRUE(t.r.ok);
  EXPECT_EQ(t.s.view.ingameChat.str(), "no zero at the end\r\n");
  EXPECT_EQ(t.s.view.bodyLength, static_cast<int32_t>(shortBody.size()));
}

TEST(OpenReplay, WhatIsNoRecordingCannotBeOpened) {
  q2test::TempDir dir;
  ReplaySummary s;
  OpenResult r = OpenReplay(dir / "missing.mgx", s);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(Texts(r.messages), std::vector<std::string>{q2test::kTextCannotOpen});

  // A folder, also one named like a recording.
  fs::create_directory(dir / "old.mgx");
  r = OpenReplay(dir / "old.mgx", s);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(Texts(r.messages), std::vector<std::string>{q2test::kTextCannotOpen});
  r = OpenReplay(dir.path(), s);
  EXPECT_EQ(Texts(r.messages), std::vector<std::string>{q2test::kTextCannotOpen});
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"old.mgx"});
}

TEST(OpenReplay, ADatFileThatCannotBeCreatedStopsTheOpen) {
  q2test::TempDir dir;
  const std::string bytes = TwoPlayerRecording();
  // The .dat path is a folder: it stays, with its content.
  fs::create_directory(dir / "game.dat");
  WriteBytes(dir / "game.dat/keep.txt", "keep");
  {
    Open o(dir, "game.mgx", bytes);
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextCannotCreate});
    EXPECT_EQ(ReadBytes(dir / "game.dat/keep.txt"), "keep");
  }
  // Every ".mgx" of the path is replaced, so a folder named *.mgx gives a
  // .dat path in a folder that does not exist.
  fs::create_directory(dir / "saved.mgx");
  {
    Open o(dir, "saved.mgx/game.mgx", bytes);
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextCannotCreate});
    EXPECT_EQ(o.s.view.extractedHeaderPath, dir / "saved.dat/game.dat");
  }
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"game.dat", "game.mgx", "saved.mgx"}));
  EXPECT_EQ(Listing(dir / "saved.mgx"), std::vector<std::string>{"game.mgx"});
}

TEST(OpenReplay, ADatPathThatIsTheRecordingItselfIsRefused) {
  q2test::TempDir dir;
  const std::string bytes = TwoPlayerRecording();
  // A link named like the .dat file that leads to the recording.
  std::error_code noLinks;  // Windows lets only some users make symbolic links
  WriteBytes(dir / "sym.mgx", bytes);
  fs::create_symlink(dir / "sym.mgx", dir / "sym.dat", noLinks);
  if (!noLinks) {
    Open o(dir, "sym.mgx", bytes);
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextCannotCreate});
    EXPECT_TRUE(fs::is_symlink(dir / "sym.dat"));
  }
  {
    WriteBytes(dir / "hard.mgx", bytes);
    fs::create_hard_link(dir / "hard.mgx", dir / "hard.dat");
    Open o(dir, "hard.mgx", bytes);
    EXPECT_FALSE(o.r.ok);
    EXPECT_EQ(Texts(o.r.messages), std::vector<std::string>{q2test::kTextCannotCreate});
    EXPECT_EQ(ReadBytes(dir / "hard.dat"), bytes);
  }
}

TEST(OpenReplay, ARecordingWithoutLowerCaseMgxUsesASiblingDatFile) {
  q2test::TempDir dir;
  const std::string bytes = TwoPlayerRecording();
  for (const char* name : {"GAME.MGX", "game.Mgx", "game", "game.dat", ".MGX"}) {
    SCOPED_TRACE(name);
    Open o(dir, name, bytes);
    ASSERT_TRUE(o.r.ok);
    EXPECT_TRUE(o.r.messages.empty());
    EXPECT_NE(o.s.view.extractedHeaderPath, dir / name);
    if (std::string(name) == "GAME.MGX") {
      EXPECT_EQ(o.s.view.extractedHeaderPath, dir / "GAME.dat");
    }
    EXPECT_EQ(o.s.doc.playerNames[0], "North");
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{name});
    fs::remove(dir / name);
  }
  EXPECT_EQ(ExtractedHeaderPathFor("/r/GAME.MGX"), "/r/GAME.dat");
  EXPECT_EQ(ExtractedHeaderPathFor("/r/game.dat"), "/r/game.dat.dat");
  EXPECT_EQ(ExtractedHeaderPathFor("/r.d/game"), "/r.d/game.dat");
  EXPECT_EQ(ExtractedHeaderPathFor("/r/x.mgx/y.mgxz/a.mgx"), "/r/x.dat/y.datz/a.dat");
  EXPECT_EQ(ExtractedHeaderPathFor("a.mgx.mgx"), "a.dat.dat");
}

TEST(OpenReplay, AFailedOpenLeavesThePreviousSummary) {
  q2test::TempDir dir;
  const std::string good = dir / "good.mgx";
  WriteBytes(good, TwoPlayerRecording());
  WriteBytes(dir / "bad.mgx", std::string("\x05\x00", 2));
  ReplaySummary s;
  ASSERT_TRUE(OpenReplay(good, s).ok);
  const ReplaySummary before = s;
  EXPECT_FALSE(OpenReplay(dir / "bad.mgx", s).ok);
  EXPECT_EQ(s.doc.playerNames, before.doc.playerNames);
  EXPECT_EQ(s.view.ingameChat.str(), before.view.ingameChat.str());
  EXPECT_EQ(s.view.ageTimes, before.view.ageTimes);
  EXPECT_EQ(s.view.chatText, before.view.chatText);
}

TEST(ScanReplayHeader, ScansAndAlwaysRemovesTheDatFileItWrote) {
  q2test::TempDir dir;
  WriteBytes(dir / "good.mgx", TwoPlayerRecording());
  ReplaySummary s;
  EXPECT_TRUE(ScanReplayHeader(dir / "good.mgx", s).empty());
  EXPECT_EQ(s.doc.playerNames[1], Cp932("侍ジャック"));
  EXPECT_EQ(s.doc.recorderSlot, 2);

  WriteBytes(dir / "empty.mgx", q2test::Le32(8) + q2test::Le32(0));
  EXPECT_EQ(Texts(ScanReplayHeader(dir / "empty.mgx", s)), std::vector<std::string>{q2test::kTextInflate});
  EXPECT_EQ(s.doc.playerNames[1], "");
  fs::create_directory(dir / "busy.dat");
  WriteBytes(dir / "busy.mgx", TwoPlayerRecording());
  EXPECT_EQ(Texts(ScanReplayHeader(dir / "busy.mgx", s)), std::vector<std::string>{q2test::kTextCannotCreate});
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"busy.dat", "busy.mgx", "empty.mgx", "good.mgx"}));
}
