// The whole open of a recording, and what it does with bad input: the
// message, the recording's bytes untouched, and the .dat file gone exactly
// where it must go.
#include "view/core/open_replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

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
    gen::Placed at;
    ReplaySummary s;
    ASSERT_TRUE(Open(dir, "game.mgx", gen::BuildRecording(p, &at), s).ok);
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"game.mgx"}) << "the .dat file is deleted";
    EXPECT_EQ(s.view.extractedHeaderPath, dir / "game.dat");
    const ReplayView& v = s.view;
    EXPECT_EQ(s.doc.playerNames, (std::array<std::string, 8>{Cp932("侍ジャック"), "North", Cp932("ゆきむら"), Cp932("弓兵マスター")}));
    EXPECT_EQ(v.slotNameTexts, s.doc.playerNames);
    EXPECT_EQ(v.perspectivePlayerText + "|" + v.allyTeamText + "|" + v.enemyTeamText, Cp932("侍ジャック|侍ジャック North |"));
    // In-game chat in body order, the warnings only in the full text.
    std::map<size_t, std::string> chat;  // position → line
    for (size_t i = 0; i < p.chat.size(); ++i) chat[at.chatPos[i]] = Cp932(p.chat[i].text);
    std::string all, filtered;
    for (const auto& [pos, line] : chat) {
      all += line + "\r\n";
      if (line.rfind(kWarning, 0) != 0) filtered += line + "\r\n";
    }
    EXPECT_EQ(v.chatText, Cp932("-------ゲーム開始後チャット-------") + "\r\n" + all);
    EXPECT_EQ(v.ingameChatFiltered.str(), filtered);
    EXPECT_NE(all, filtered);
    // The game's own clock, as the generator wrote it; the first advance
    // of each slot and age; every research at its position and game time.
    EXPECT_EQ(v.bodyLength, 300000);
    EXPECT_TRUE(v.clockComplete);
    EXPECT_EQ(v.gameDurationMs, at.durationMs);
    for (size_t i = p.ages.size(); i-- > 0;) {
      const int slot = p.ages[i].player - 1, age = p.ages[i].tech - 101;
      if (v.ageTimes[slot][age] < at.agePos[i] + 84480) continue;
      EXPECT_EQ(v.ageTimes[slot][age], at.agePos[i] + 84480);
      EXPECT_EQ(v.ageClickMs[slot][age], at.ageMs[i]);
    }
    for (size_t i = 0; i < p.researches.size(); ++i) {
      const gen::Research& res = p.researches[i];
      const ResearchList& l = (CategoryOfTech(res.techId) == 1 ? s.doc.economyResearch : s.doc.blacksmithResearch)[res.player - 1];
      const auto* e = std::find_if(l.entries.begin(), l.entries.begin() + l.count,
                                   [&](const ResearchEntry& x) { return x.iconId == IconForTech(res.techId); });
      ASSERT_NE(e, l.entries.begin() + l.count) << res.techId;
      EXPECT_EQ(e->when, static_cast<double>(at.researchPos[i]) / 300000);
      EXPECT_EQ(e->ms, at.researchMs[i]);
    }
  }
}

TEST(OpenReplay, BadInputGivesItsMessageAndLosesNothing) {
  gen::GameParams p = gen::TypicalGame({"Alpha", "Beta"}, {1, 1}, 2, 11, 20000, 20000);
  const std::string good = gen::BuildRecording(p), header = gen::BuildHeader(p);
  p.mglContainer = true;
  const std::string mgl = gen::BuildRecording(p), deflated = gen::Assemble(header, "").substr(8);
  auto length = [](uint32_t l, const std::string& file) { return Le32(l) + file.substr(4); };
  auto twoWords = [](const std::string& d) { return Le32(static_cast<uint32_t>(d.size() + 8)) + Le32(0) + d; };
  std::mt19937 rng(7);
  std::string noisy = deflated.substr(0, 200);
  while (noisy.size() < deflated.size()) noisy += static_cast<char>(rng());
  struct Case {
    std::string name, bytes, message;  // "" opens
    std::string dat = "";              // the .dat file left: "" none, "empty", "part" of the header, "any"
  };
  std::vector<Case> cases = {
      {"game.mgx", "", kTextCorrupt}, {"game.mgx", std::string("\x10\x00\x00", 3), kTextCorrupt},
      {"game.mgx", length(0, good), kTextCorrupt}, {"game.mgx", length(0xFFFFFFFF, good), kTextCorrupt},
      {"game.mgx", length(static_cast<uint32_t>(good.size() + 1), good), kTextCorrupt},
      {"rec.20080412-203015.mgz", good, ""}, {"old.mgl", mgl, ""}, {"OLD.MGL", mgl, ""},
      // Told by the extension: the wrong container doesn't inflate.
      {"old.mgx", mgl, kTextInflate, "any"}, {"game.mgl", good, kTextInflate, "any"},
      {"short.mgl", length(3, mgl), kTextCorrupt}, {"zero.mgl", length(0, mgl), kTextCorrupt},
      {"past.mgl", length(static_cast<uint32_t>(mgl.size() + 1), mgl), kTextCorrupt},
      // An empty compressed block, a stream cut short, noise after a valid
      // start, nothing that inflates: the .dat file keeps what was written.
      {"a.mgx", Le32(8) + Le32(0) + "body", kTextInflate, "empty"},
      {"b.mgx", twoWords(deflated.substr(0, deflated.size() / 2)), kTextInflate, "part"},
      {"c.mgx", twoWords(noisy) + "body", kTextInflate, "any"},
      {"d.mgx", twoWords(std::string(1000, '\xFF')), kTextInflate, "any"},
      // Names without a lower-case ".mgx" use a sibling .dat file.
      {"GAME.MGX", good, ""}, {"game.Mgx", good, ""}, {"game", good, ""}, {"game.dat", good, ""}, {".MGX", good, ""},
      {"empty body.mgx", gen::Assemble(header, ""), ""},
  };
  for (uint32_t l = 1; l <= 7; ++l) {
    cases.push_back({"game.mgx", length(l, good), kTextCorrupt});
    cases.push_back({"game.mgx", Le32(l), kTextCorrupt});
  }
  ReplaySummary s;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + ", " + std::to_string(c.bytes.size()) + " bytes");
    TempDir dir;
    const ReplaySummary before = s;  // a failed open leaves what was shown
    OpenResult r = Open(dir, c.name, c.bytes, s);
    EXPECT_EQ(r.ok, c.message.empty());
    EXPECT_EQ(Texts(r.messages), One(c.message));
    if (!r.messages.empty()) EXPECT_EQ(r.messages[0].caption, "Quoril2");
    const std::string dat = ExtractedHeaderPathFor(dir / c.name);
    EXPECT_EQ(Names(dir.path()).size(), c.dat.empty() ? 1u : 2u);
    EXPECT_EQ(dat != dir / c.name && fs::exists(dat), !c.dat.empty());
    if (c.dat == "empty" || c.dat == "part") {
      const std::string part = ReadBytes(dat);
      EXPECT_EQ(part.empty(), c.dat == "empty");
      EXPECT_EQ(part, header.substr(0, std::min(part.size(), header.size() - 1)));
    }
    if (!r.ok) {
      EXPECT_EQ(s.doc.playerNames, before.doc.playerNames);
      EXPECT_EQ(s.view.chatText + s.view.ingameChat.str(), before.view.chatText + before.view.ingameChat.str());
      continue;
    }
    EXPECT_EQ(s.doc.playerNames[1], "Beta");
    EXPECT_EQ(s.view.perspectivePlayerText, "Beta");
    EXPECT_EQ(s.view.bodyLength, c.name == "empty body.mgx" ? 0 : 20000);
    EXPECT_EQ(s.view.clockComplete, s.view.bodyLength > 0);
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
  for (const std::string name : {"game.mgx", "hard.mgx", "sym.mgx", "saved.mgx/game.mgx"}) {
    if (noLinks && name == "sym.mgx") continue;
    EXPECT_EQ(Texts(Open(dir, name, bytes, s).messages), One(kTextCannotCreate)) << name;
  }
  EXPECT_EQ(s.view.extractedHeaderPath, dir / "saved.dat/game.dat");
  EXPECT_EQ(ReadBytes(dir / "game.dat/keep.txt"), "keep");
  EXPECT_EQ(ReadBytes(dir / "hard.dat"), bytes);
  EXPECT_TRUE(noLinks || fs::is_symlink(dir / "sym.dat"));
  EXPECT_EQ(Names(dir / "saved.mgx"), std::vector<std::string>{"game.mgx"});
  EXPECT_EQ(Names(dir.path()).size(), noLinks ? 7u : 8u);
  const std::pair<const char*, const char*> paths[] = {{"/r/GAME.MGX", "/r/GAME.dat"}, {"/r/game.dat", "/r/game.dat.dat"},
                                                       {"/r.d/game", "/r.d/game.dat"}, {"a.mgx.mgx", "a.dat.dat"},
                                                       {"/r/x.mgx/y.mgxz/a.mgx", "/r/x.dat/y.datz/a.dat"}};
  for (const auto& [path, dat] : paths) EXPECT_EQ(ExtractedHeaderPathFor(path), dat);
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
  const std::tuple<HeaderBytes, std::string, std::string> cases[] = {  // header, message, player | perspective | allies
      // A slot byte of 9: the names before it, no teams.
      {HeaderBytes(1).randomGame().tableMarker().record(0, "").record(1, "kept").record(9, "bad").emptyRecords(6)
           .teams({2, 2}), kTextHeaderData, "kept|kept|kept        "},
      // A scenario: no players.
      {HeaderBytes(1).randomGame().tableMarker().record(1, "lost").emptyRecords(8), kTextScenario, "||"},
      // A name length with the high bit set ends the table, not the scan.
      {HeaderBytes(2).randomGame().tableMarker().record(0, "").record(1, "one").record(2, "two", 0x80).emptyRecords(6)
           .teams({2, 2}), "", "one||one  "},
  };
  for (auto [h, message, texts] : cases) {
    if (message == kTextScenario) h.b[12] = '\x02';
    TempDir dir;
    ReplaySummary s;
    OpenResult r = Open(dir, "game.mgx", gen::Assemble(h.lobby(1, "hello").b, std::string(64, '\x01')), s);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Texts(r.messages), One(message));
    EXPECT_EQ(s.doc.playerNames[0] + "|" + s.view.perspectivePlayerText + "|" + s.view.allyTeamText, texts);
    EXPECT_EQ(s.view.pregameChat.str(), "hello\r\n");  // the lobby chat all the same
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"game.mgx"});
  }
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
