// The whole open of a recording, and what it does with bad input: the
// message, the recording's bytes untouched, and the .dat file gone exactly
// where it must go.
#include "view/core/open_replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "replay/core/header_extractor.h"
#include "replay/core/tech_table.h"
#include "support/core_support.h"

using namespace q2;
using namespace q2test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& entry : Snapshot(dir)) out.push_back(entry.first);
  return out;
}

// Opens `bytes` written as dir/name; the recording must stay as it was.
OpenResult Open(const TempDir& dir, const std::string& name, const std::string& bytes, ReplaySummary& s) {
  WriteBytes(dir / name, bytes);
  OpenResult r = OpenReplay(dir / name, s);
  EXPECT_EQ(ReadBytes(dir / name), bytes) << "the recording changed";
  return r;
}

std::vector<std::string> One(const std::string& text) { return text.empty() ? std::vector<std::string>{} : std::vector{text}; }

}  // namespace

TEST(OpenReplay, ATypicalRecordingFillsTheWholeSummary) {
  for (bool laterLogHeader : {false, true}) {
    TempDir dir;
    gen::GameParams p = gen::TypicalGame({"侍ジャック", "North", "ゆきむら", "弓兵マスター"}, {2, 2, 3, 3}, 1, 5, 300000, 90000);
    p.laterLogHeader = laterLogHeader;
    gen::Placed placed;
    ReplaySummary s;
    OpenResult r = Open(dir, "game.mgx", gen::BuildRecording(p, &placed), s);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"game.mgx"}) << "the .dat file is deleted";
    EXPECT_EQ(s.view.extractedHeaderPath, dir / "game.dat");

    const ReplayDocument& d = s.doc;
    const ReplayView& v = s.view;
    EXPECT_EQ(d.recorderSlot, 1);
    EXPECT_EQ(d.playerNames, (std::array<std::string, 8>{Cp932("侍ジャック"), "North", Cp932("ゆきむら"),
                                                         Cp932("弓兵マスター"), "", "", "", ""}));
    EXPECT_EQ(d.playerTeams, (std::array<int32_t, 8>{2, 2, 3, 3, 0, 0, 0, 0}));
    EXPECT_EQ(v.slotNameTexts, d.playerNames);
    EXPECT_EQ(v.perspectivePlayerText, Cp932("侍ジャック"));
    EXPECT_EQ(v.allyTeamText, Cp932("侍ジャック") + " North ");
    EXPECT_EQ(v.enemyTeamText, "");
    std::string lobby;
    for (const gen::Chat& c : p.lobbyChat) lobby += Cp932(c.text) + "\r\n";
    EXPECT_EQ(v.pregameChat.str(), lobby);

    // In-game chat in body order, the warnings only in the full text.
    std::map<size_t, std::pair<std::string, uint64_t>> chat;
    for (size_t i = 0; i < p.chat.size(); ++i) chat[placed.chatPos[i]] = {Cp932(p.chat[i].text), placed.chatMs[i]};
    std::string all, filtered;
    std::vector<uint64_t> times;
    for (const auto& [pos, line] : chat) {
      all += line.first + "\r\n";
      if (line.first.rfind(kWarning, 0) != 0) filtered += line.first + "\r\n";
      times.push_back(line.second);
    }
    EXPECT_EQ(v.ingameChat.str(), all);
    EXPECT_EQ(v.ingameChatFiltered.str(), filtered);
    EXPECT_NE(all, filtered);
    EXPECT_EQ(v.ingameChatMs, times);
    EXPECT_EQ(v.chatText, Cp932("-------ゲーム開始後チャット-------") + "\r\n" + all);

    // The game's own clock, as the generator wrote it.
    EXPECT_EQ(v.bodyLength, 300000);
    EXPECT_TRUE(v.clockComplete);
    EXPECT_EQ(v.gameDurationMs, placed.durationMs);
    // Ages: the first advance per slot and age, ranked in body order.
    std::map<std::pair<int, int>, size_t> first;  // (age, slot) → index of its first advance
    for (size_t i = 0; i < p.ages.size(); ++i) {
      const auto key = std::make_pair(p.ages[i].tech - 101, p.ages[i].player - 1);
      if (!first.count(key) || placed.agePos[i] < placed.agePos[first[key]]) first[key] = i;
    }
    for (const auto& [key, i] : first) {
      const auto [age, slot] = key;
      EXPECT_EQ(v.ageTimes[slot][age], placed.agePos[i] + 84480) << slot << " " << age;
      EXPECT_EQ(v.ageClickMs[slot][age], placed.ageMs[i]);
      int rank = 1;
      for (const auto& [other, k] : first) rank += other.first == age && placed.agePos[k] < placed.agePos[i];
      EXPECT_EQ((age == 0 ? v.feudalRank : age == 1 ? v.castleRank : v.imperialRank)[slot], rank);
    }
    EXPECT_EQ(v.ageTimes[5], (std::array<uint32_t, 3>{}));
    // Every placed research in its list at its own position and game time.
    for (size_t i = 0; i < p.researches.size(); ++i) {
      const gen::Research& res = p.researches[i];
      const ResearchList& l = (CategoryOfTech(res.techId) == 1 ? d.economyResearch : d.blacksmithResearch)[res.player - 1];
      const auto* e = std::find_if(l.entries.begin(), l.entries.begin() + l.count,
                                   [&](const ResearchEntry& x) { return x.iconId == IconForTech(res.techId); });
      ASSERT_NE(e, l.entries.begin() + l.count) << res.techId;
      EXPECT_EQ(e->when, static_cast<double>(placed.researchPos[i]) / 300000);
      EXPECT_EQ(e->ms, placed.researchMs[i]);
    }
  }
}

TEST(OpenReplay, BadInputGivesItsMessageAndLosesNothing) {
  gen::GameParams p = gen::TypicalGame({"Alpha", "Beta"}, {1, 1}, 2, 11, 20000, 20000);
  const std::string good = gen::BuildRecording(p), header = gen::BuildHeader(p);
  p.mglContainer = true;
  const std::string mgl = gen::BuildRecording(p);
  auto withLength = [](uint32_t l, const std::string& file) { return Le32(l) + file.substr(4); };
  auto twoWords = [](const std::string& deflated, const std::string& body = "") {
    return Le32(static_cast<uint32_t>(deflated.size() + 8)) + Le32(0) + deflated + body;
  };
  const std::string deflated = gen::Assemble(header, "").substr(8);
  std::mt19937 rng(7);
  std::string noisy = deflated.substr(0, 200);
  while (noisy.size() < deflated.size()) noisy += static_cast<char>(rng());
  struct Case {
    std::string name, bytes, message;  // "" opens
    std::vector<std::string> left;     // beside the recording afterwards
    int dat = -1;                      // the .dat left: 0 empty, 1 a part of the header
  };
  std::vector<Case> cases = {
      {"game.mgx", "", kTextCorrupt},
      {"game.mgx", std::string("\x10\x00\x00", 3), kTextCorrupt},
      {"game.mgx", withLength(0, good), kTextCorrupt},
      {"game.mgx", withLength(static_cast<uint32_t>(good.size() + 1), good), kTextCorrupt},
      {"game.mgx", withLength(0xFFFFFFFF, good), kTextCorrupt},
      {"rec.20080412-203015.mgz", good, ""},
      {"old.mgl", mgl, ""},
      {"OLD.MGL", mgl, ""},
      // Told by the extension: the wrong container doesn't inflate.
      {"old.mgx", mgl, kTextInflate, {"old.dat"}},
      {"game.mgl", good, kTextInflate, {"game.dat"}},
      {"short.mgl", withLength(3, mgl), kTextCorrupt},
      {"zero.mgl", withLength(0, mgl), kTextCorrupt},
      {"past.mgl", withLength(static_cast<uint32_t>(mgl.size() + 1), mgl), kTextCorrupt},
      // An empty compressed block, a stream cut short, noise after a valid
      // start, nothing that inflates: the .dat file keeps what was written.
      {"a.mgx", Le32(8) + Le32(0) + "body", kTextInflate, {"a.dat"}, 0},
      {"b.mgx", twoWords(deflated.substr(0, deflated.size() / 2)), kTextInflate, {"b.dat"}, 1},
      {"c.mgx", twoWords(noisy, "body"), kTextInflate, {"c.dat"}},
      {"d.mgx", twoWords(std::string(1000, '\xFF')), kTextInflate, {"d.dat"}},
      // Names without a lower-case ".mgx" use a sibling .dat file.
      {"GAME.MGX", good, ""},
      {"game.Mgx", good, ""},
      {"game", good, ""},
      {"game.dat", good, ""},
      {".MGX", good, ""},
      {"empty body.mgx", gen::Assemble(header, ""), ""},
  };
  for (uint32_t l = 1; l <= 7; ++l) {
    cases.push_back({"game.mgx", withLength(l, good), kTextCorrupt});
    cases.push_back({"game.mgx", Le32(l), kTextCorrupt});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + ", " + std::to_string(c.bytes.size()) + " bytes");
    TempDir dir;
    ReplaySummary s;
    OpenResult r = Open(dir, c.name, c.bytes, s);
    EXPECT_EQ(r.ok, c.message.empty());
    EXPECT_EQ(Texts(r.messages), One(c.message));
    if (!r.messages.empty()) EXPECT_EQ(r.messages[0].caption, "Quoril2");
    std::vector<std::string> left = c.left;
    left.push_back(c.name);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Names(dir.path()), left);
    if (c.dat >= 0) {
      const std::string dat = ReadBytes(dir / c.left[0]);
      EXPECT_EQ(dat.empty(), c.dat == 0);
      EXPECT_EQ(dat, header.substr(0, std::min(dat.size(), header.size() - 1)));
    }
    if (r.ok) {
      EXPECT_NE(s.view.extractedHeaderPath, dir / c.name);
      EXPECT_EQ(s.doc.playerNames[1], "Beta");
      EXPECT_EQ(s.view.perspectivePlayerText, "Beta");
      EXPECT_EQ(s.view.bodyLength, c.name == "empty body.mgx" ? 0 : 20000);
      EXPECT_EQ(s.view.clockComplete, s.view.bodyLength > 0);
    }
  }
}

TEST(OpenReplay, WhereNoDatFileCanBeWrittenNothingIsLost) {
  TempDir dir;
  const std::string bytes = Game({"North", "South"}, 2);
  ReplaySummary s;
  // Nothing there, or a folder (also one named like a recording).
  fs::create_directory(dir / "old.mgx");
  for (const std::string& path : {dir / "missing.mgx", dir / "old.mgx", dir.path()})
    EXPECT_EQ(Texts(OpenReplay(path, s).messages), One(kTextCannotOpen)) << path;
  // The .dat path is a folder with a file in it, a hard or a symbolic link
  // to the recording, or (every ".mgx" of the path replaced) in a folder
  // that is not there.
  fs::create_directory(dir / "game.dat");
  WriteBytes(dir / "game.dat/keep.txt", "keep");
  WriteBytes(dir / "hard.mgx", bytes);
  fs::create_hard_link(dir / "hard.mgx", dir / "hard.dat");
  WriteBytes(dir / "sym.mgx", bytes);
  std::error_code noLinks;  // Windows lets only some users make symbolic links
  fs::create_symlink(dir / "sym.mgx", dir / "sym.dat", noLinks);
  fs::create_directory(dir / "saved.mgx");
  std::vector<std::string> names = {"game.mgx", "hard.mgx", "saved.mgx/game.mgx"};
  if (!noLinks) names.push_back("sym.mgx");
  for (const std::string& name : names) {
    OpenResult r = Open(dir, name, bytes, s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(Texts(r.messages), One(kTextCannotCreate)) << name;
    if (name == "saved.mgx/game.mgx") EXPECT_EQ(s.view.extractedHeaderPath, dir / "saved.dat/game.dat");
  }
  EXPECT_EQ(ReadBytes(dir / "game.dat/keep.txt"), "keep");
  EXPECT_EQ(ReadBytes(dir / "hard.dat"), bytes);
  EXPECT_TRUE(noLinks || fs::is_symlink(dir / "sym.dat"));
  EXPECT_EQ(Names(dir / "saved.mgx"), std::vector<std::string>{"game.mgx"});
  EXPECT_EQ(Names(dir.path()).size(), noLinks ? 7u : 8u);

  for (const auto& [path, dat] : std::map<std::string, std::string>{{"/r/GAME.MGX", "/r/GAME.dat"},
                                                                    {"/r/game.dat", "/r/game.dat.dat"},
                                                                    {"/r.d/game", "/r.d/game.dat"},
                                                                    {"/r/x.mgx/y.mgxz/a.mgx", "/r/x.dat/y.datz/a.dat"},
                                                                    {"a.mgx.mgx", "a.dat.dat"}})
    EXPECT_EQ(ExtractedHeaderPathFor(path), dat);
}

TEST(OpenReplay, HeadersOfWholeChunksAreWrittenCompletely) {
  TempDir dir;
  for (size_t n : {size_t(0x20000), size_t(0x40000), size_t(0x20000 - 1), size_t(0x20000 + 1), size_t(1)}) {
    std::string header(n, 'h');
    for (size_t i = 0; i < n; i += 97) header[i] = static_cast<char>(i);
    WriteBytes(dir / "x.mgx", gen::Assemble(header, "body"));
    ReplayView v;
    Messages m;
    ASSERT_TRUE(HeaderExtractor(dir / "x.mgx", v, m)) << n;
    EXPECT_EQ(ReadBytes(dir / "x.dat"), header) << n;
  }
}

TEST(OpenReplay, HeaderScanMessagesDoNotStopTheOpen) {
  struct Case {
    HeaderBytes h;
    std::string message, first, perspective, ally;
  } cases[] = {
      // A slot byte of 9: the names before it, no teams.
      {HeaderBytes(1).randomGame().tableMarker().record(0, "").record(1, "kept").record(9, "bad").emptyRecords(6)
           .teams({2, 2}).lobby(1, "hello"),
       kTextHeaderData, "kept", "kept", "kept        "},
      // A scenario: no players, the lobby chat all the same.
      {HeaderBytes(1).randomGame().tableMarker().record(1, "lost").emptyRecords(8).lobby(1, "hello"), kTextScenario,
       "", "", ""},
      // A name length with the high bit set ends the table, not the scan.
      {HeaderBytes(2).randomGame().tableMarker().record(0, "").record(1, "one").record(2, "two", 0x80)
           .emptyRecords(6).teams({2, 2}).lobby(1, "hello"),
       "", "one", "", "one  "},
  };
  cases[1].h.b[12] = '\x02';
  for (const Case& c : cases) {
    TempDir dir;
    ReplaySummary s;
    OpenResult r = Open(dir, "game.mgx", gen::Assemble(c.h.b, std::string(64, '\x01')), s);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Texts(r.messages), One(c.message));
    EXPECT_EQ(s.doc.playerNames[0], c.first);
    EXPECT_EQ(s.view.perspectivePlayerText, c.perspective);
    EXPECT_EQ(s.view.allyTeamText, c.ally);
    EXPECT_EQ(s.view.pregameChat.str(), "hello\r\n");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"game.mgx"});
  }
}

TEST(OpenReplay, AFailedOpenLeavesThePreviousSummary) {
  TempDir dir;
  WriteBytes(dir / "good.mgx", Game({"North", "South"}, 3));
  WriteBytes(dir / "bad.mgx", std::string("\x05\x00", 2));
  ReplaySummary s;
  ASSERT_TRUE(OpenReplay(dir / "good.mgx", s).ok);
  const ReplaySummary before = s;
  EXPECT_FALSE(OpenReplay(dir / "bad.mgx", s).ok);
  EXPECT_EQ(s.doc.playerNames, before.doc.playerNames);
  EXPECT_EQ(s.view.ingameChat.str(), before.view.ingameChat.str());
  EXPECT_EQ(s.view.ageTimes, before.view.ageTimes);
  EXPECT_EQ(s.view.chatText, before.view.chatText);
}

TEST(ScanReplayHeader, ScansAndRemovesOnlyTheDatFileItWrote) {
  TempDir dir;
  WriteBytes(dir / "good.mgx", Game({"North", "侍ジャック"}, 4, 2));
  WriteBytes(dir / "empty.mgx", Le32(8) + Le32(0));
  WriteBytes(dir / "busy.mgx", Game({"North"}, 5));
  fs::create_directory(dir / "busy.dat");
  ReplaySummary s;
  EXPECT_TRUE(ScanReplayHeader(dir / "good.mgx", s).empty());
  EXPECT_EQ(s.doc.playerNames[1], Cp932("侍ジャック"));
  EXPECT_EQ(s.doc.recorderSlot, 2);
  EXPECT_EQ(Texts(ScanReplayHeader(dir / "empty.mgx", s)), One(kTextInflate));
  EXPECT_EQ(s.doc.playerNames[1], "");
  EXPECT_EQ(Texts(ScanReplayHeader(dir / "busy.mgx", s)), One(kTextCannotCreate));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"busy.dat", "busy.mgx", "empty.mgx", "good.mgx"}));
}
