// The whole open of a recording, and what it does with bad input: the
// message, the recording's bytes untouched, and the .dat file gone exactly
// where it must go.
#include "view/core/open_replay.h"

#include <gtest/gtest.h>

#include <random>

#include "replay/core/header_extractor.h"
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

Messages One(const std::string& text) { return text.empty() ? Messages{} : Messages{{text}}; }

}  // namespace

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
    EXPECT_EQ(r.messages, One(c.message));
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
    EXPECT_EQ(s.doc.playerNames[1] + "|" + s.view.perspectivePlayerText, "Beta|Beta");
    EXPECT_EQ(s.view.extractedHeaderPath, dat);
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
    EXPECT_EQ(OpenReplay(path, s).messages, One(kTextCannotOpen)) << path;
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
    EXPECT_EQ(Open(dir, name, bytes, s).messages, One(kTextCannotCreate)) << name;
  }
  EXPECT_EQ(s.view.extractedHeaderPath, dir / "saved.dat/game.dat");
  EXPECT_EQ(ReadBytes(dir / "game.dat/keep.txt") + "|" + ReadBytes(dir / "hard.dat"), "keep|" + bytes);
  EXPECT_TRUE(noLinks || fs::is_symlink(dir / "sym.dat"));
  EXPECT_EQ(Names(dir / "saved.mgx"), std::vector<std::string>{"game.mgx"});
  EXPECT_EQ(Names(dir.path()).size(), noLinks ? 7u : 8u);
  for (const auto& [path, dat] : {std::pair{"/r/GAME.MGX", "/r/GAME.dat"}, {"/r/game.dat", "/r/game.dat.dat"},
                                  {"/r.d/game", "/r.d/game.dat"}, {"/r/.MGX", "/r/.MGX.dat"}, {"a.mgx.mgx", "a.dat.dat"},
                                  {"/r/x.mgx/y.mgxz/a.mgx", "/r/x.dat/y.datz/a.dat"}})
    EXPECT_EQ(ExtractedHeaderPathFor(path), dat);
  // Headers of whole inflate chunks and around them are written completely.
  for (size_t n : {size_t(0x20000), size_t(0x40000), size_t(0x20000 - 1), size_t(0x20000 + 1), size_t(1)}) {
    std::string header(n, 'h');
    for (size_t i = 0; i < n; i += 97) header[i] = static_cast<char>(i);
    WriteBytes(dir / "x.mgx", gen::Assemble(header, "body"));
    Messages m;
    ASSERT_TRUE(HeaderExtractor(dir / "x.mgx", s.view, m)) << n;
    EXPECT_EQ(ReadBytes(dir / "x.dat"), header) << n;
  }
}

TEST(ScanReplayHeader, ScansAndRemovesOnlyTheDatFileItWrote) {
  TempDir dir;
  WriteBytes(dir / "good.mgx", Game({"North", "侍ジャック"}, 4, 2));
  WriteBytes(dir / "empty.mgx", Le32(8) + Le32(0));
  WriteBytes(dir / "busy.mgx", Game({"North"}, 5));
  fs::create_hard_link(dir / "busy.mgx", dir / "busy.dat");  // never written, never removed
  ReplaySummary s;
  EXPECT_TRUE(ScanReplayHeader(dir / "good.mgx", s).empty());
  EXPECT_EQ(s.doc.playerNames[1], Cp932("侍ジャック"));
  EXPECT_EQ(s.doc.recorderSlot, 2);
  EXPECT_EQ(ScanReplayHeader(dir / "empty.mgx", s), One(kTextInflate));
  EXPECT_EQ(s.doc.playerNames[1], "");
  EXPECT_EQ(ScanReplayHeader(dir / "busy.mgx", s), One(kTextCannotCreate));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"busy.dat", "busy.mgx", "empty.mgx", "good.mgx"}));
}
