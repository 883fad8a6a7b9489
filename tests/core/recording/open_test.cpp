// Opening a recording: bad input gives its message and leaves the
// recording untouched; nothing is ever written beside a recording; the
// display step; and the two real recordings, opened and renamed as the
// window does it.
#include "core/recording/open_replay.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <zlib.h>

#include "core/rename/rename_run.h"
#include "core/recording/container.h"
#include "support/core_support.h"
#include "core/recording/display.h"

using namespace q2;
using namespace q2test;
namespace fs = std::filesystem;

namespace {

// Opens `bytes` written as dir/name; the recording must stay as it was.
OpenResult Open(const TempDir& dir, const std::string& name, const std::string& bytes, ReplaySummary& s) {
  WriteBytes(dir / name, bytes);
  OpenResult r = OpenReplay(dir / name, s);
  EXPECT_EQ(ReadBytes(dir / name), bytes) << "the recording changed";
  return r;
}

Messages One(const std::string& text) { return text.empty() ? Messages{} : Messages{{text}}; }

// Raw deflate of `bytes`, level 1 (fast even for the larger ones).
std::string DeflateRaw(const std::string& bytes) {
  z_stream zs{};
  EXPECT_EQ(deflateInit2(&zs, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&zs, bytes.size()), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  zs.avail_in = static_cast<uInt>(bytes.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

}  // namespace

TEST(OpenReplay, BadInputGivesItsMessageAndLosesNothing) {
  gen::GameParams p = gen::TypicalGame({"Alpha", "Beta"}, {1, 1}, 2, 11, 20000, 20000);
  gen::Placed placed, placedMgl;
  const std::string good = gen::BuildRecording(p, &placed), header = gen::BuildHeader(p);
  // The earlier game's layout, with the same game in it.
  p.earlierGame = true;
  const std::string mgl = gen::BuildRecording(p, &placedMgl), deflated = gen::Assemble(header, "").substr(8);
  auto length = [](uint32_t l, const std::string& file) { return Le32(l) + file.substr(4); };
  auto twoWords = [](const std::string& d) { return Le32(static_cast<uint32_t>(d.size() + 8)) + Le32(0) + d; };
  std::mt19937 rng(7);
  std::string noisy = deflated.substr(0, 200);
  while (noisy.size() < deflated.size()) noisy += static_cast<char>(rng());
  struct Case {
    std::string name, bytes, message;  // "" opens
  };
  std::vector<Case> cases = {
      {"game.mgx", "", kTextCorrupt}, {"game.mgx", std::string("\x10\x00\x00", 3), kTextCorrupt},
      {"game.mgx", length(0, good), kTextCorrupt}, {"game.mgx", length(0xFFFFFFFF, good), kTextCorrupt},
      {"game.mgx", length(static_cast<uint32_t>(good.size() + 1), good), kTextCorrupt},
      {"rec.20080412-203015.mgz", good, ""}, {"old.mgl", mgl, ""}, {"OLD.MGL", mgl, ""},
      // Told by the extension: the wrong container doesn't inflate.
      {"old.mgx", mgl, kTextInflate}, {"game.mgl", good, kTextInflate},
      {"short.mgl", length(3, mgl), kTextCorrupt}, {"zero.mgl", length(0, mgl), kTextCorrupt},
      {"past.mgl", length(static_cast<uint32_t>(mgl.size() + 1), mgl), kTextCorrupt},
      // An empty compressed block, a stream cut short, noise after a valid
      // start, nothing that inflates.
      {"a.mgx", Le32(8) + Le32(0) + "body", kTextInflate},
      {"b.mgx", twoWords(deflated.substr(0, deflated.size() / 2)), kTextInflate},
      {"c.mgx", twoWords(noisy) + "body", kTextInflate},
      {"d.mgx", twoWords(std::string(1000, '\xFF')), kTextInflate},
      {"GAME.MGX", good, ""}, {"game.Mgx", good, ""}, {"game", good, ""}, {"game.dat", good, ""}, {".MGX", good, ""},
      {"empty body.mgx", gen::Assemble(header, ""), ""},
  };
  for (uint32_t l = 1; l <= 7; ++l)
    cases.insert(cases.end(), {{"game.mgx", length(l, good), kTextCorrupt}, {"game.mgx", Le32(l), kTextCorrupt}});
  ReplaySummary s;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + ", " + std::to_string(c.bytes.size()) + " bytes");
    TempDir dir;
    const ReplaySummary before = s;  // a failed open leaves what was shown
    OpenResult r = Open(dir, c.name, c.bytes, s);
    EXPECT_EQ(r.ok, c.message.empty());
    EXPECT_EQ(r.messages, One(c.message));
    EXPECT_EQ(Snapshot(dir.path()).size(), 1u) << "a file was written beside the recording";
    if (!r.ok) {
      EXPECT_EQ(s.doc.playerNames, before.doc.playerNames);
      EXPECT_EQ(s.view.chatText + s.view.ingameChat.str(), before.view.chatText + before.view.ingameChat.str());
      continue;
    }
    EXPECT_EQ(s.doc.playerNames[1] + "|" + s.view.perspectivePlayerText, "Beta|Beta");
    EXPECT_EQ(s.view.bodyLength, c.name == "empty body.mgx" ? 0 : 20000);
    EXPECT_EQ(s.view.clockComplete, s.view.bodyLength > 0);
    EXPECT_EQ(s.view.gameDurationMs, s.view.bodyLength == 0 ? 0 : c.bytes == mgl ? placedMgl.durationMs : placed.durationMs);
  }
}

TEST(OpenReplay, OnlyRegularFilesOpenAndHeadersInflateWhole) {
  TempDir dir;
  ReplaySummary s;
  // Nothing there, or a folder (also one named like a recording).
  fs::create_directory(dir / "old.mgx");
  for (const std::string& path : {dir / "missing.mgx", dir / "old.mgx", dir.path()})
    EXPECT_EQ(OpenReplay(path, s).messages, One(kTextCannotOpen)) << path;
  // Headers of whole inflate chunks and around them come out complete.
  HeaderBuffer& buffer = ThreadHeaderBuffer();
  for (size_t n : {size_t(0x20000), size_t(0x40000), size_t(0x20000 - 1), size_t(0x20000 + 1), size_t(1)}) {
    std::string header(n, 'h');
    for (size_t i = 0; i < n; i += 97) header[i] = static_cast<char>(i);
    WriteBytes(dir / "x.mgx", gen::Assemble(header, "body"));
    ASSERT_EQ(ReadHeader(dir / "x.mgx", buffer), HeaderRead::Ok) << n;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size()), header) << n;
  }
}

TEST(OpenReplay, ADecompressionBombIsRefusedWithinTheCap) {
  // Zeros deflate about a thousand to one: a few hundred KB that would
  // inflate past the cap.
  const size_t inflated = kInflatedHeaderMax + (kInflatedHeaderMax >> 2);
  const std::string deflated = DeflateRaw(std::string(inflated, '\0'));
  ASSERT_LT(deflated.size(), size_t(1) << 20);
  TempDir dir;
  WriteBytes(dir / "bomb.mgx", Le32(static_cast<uint32_t>(deflated.size() + 8)) + Le32(0) + deflated + "body");
  HeaderBuffer buffer;
  EXPECT_EQ(ReadHeader(dir / "bomb.mgx", buffer), HeaderRead::Inflate);
  EXPECT_LE(buffer.capacity(), kInflatedHeaderMax);
  ReplaySummary s;
  EXPECT_EQ(OpenReplay(dir / "bomb.mgx", s).messages, One(kTextInflate));
  // The refused bomb's memory is not kept for the next recording.
  WriteBytes(dir / "game.mgx", Game({"North", "South"}, 2));
  EXPECT_TRUE(OpenReplay(dir / "game.mgx", s).ok);
  EXPECT_LT(ThreadHeaderBuffer().capacity(), size_t(8) << 20);
}

TEST(Display, TheChatPaneAndTheBodyReadAgainNeverShowThePreviousRecording) {
  const std::string in = Cp932("-------ゲーム開始後チャット-------\r\n");
  // Nothing is shown before a recording is; the lobby box counts as checked
  // at 1 only, and any value but 0 hides warnings.
  ReplayView v;
  v.showPregameChat = 2;
  v.hideWarnings = 5;
  RefreshChatPaneIfLoaded(v);
  EXPECT_EQ(v.chatText, "");
  v.pregameChat.appendLine("lobby");
  v.ingameChat.appendLine(kWarning + " warn");
  v.ingameChatFiltered.appendLine("line");
  RefreshChatPane(v);
  EXPECT_EQ(v.chatText, in + "line\r\n");
  TempDir dir;
  std::string body(5000, '\x01');
  PutCommand(body, 1000, 3, 101, 0);
  PutCommand(body, 2000, 3, 22, 0);
  PutChat(body, 3000, 3, "gg");
  WriteBytes(dir / "x.mgx", gen::Assemble(HeaderBytes().b, body));
  WriteBytes(dir / "quiet.mgx", gen::Assemble(HeaderBytes().b, std::string(100, '\x01')));
  WriteBytes(dir / "short.mgx", Le32(1000) + "abc");  // shorter than its header length
  ReplaySummary s;  // what the previous recording left
  s.doc.playerNames[2] = "three";
  s.view.slotNameTexts[0] = "stale";
  s.view.ageTimes[0] = {1, 2, 3};
  s.view.castleRank[0] = s.view.castleCount = 1;
  s.view.ingameChat.appendLine("stale");
  // A file without a status: false, nothing changes. A body without chat
  // shows the header line alone; a file that can't be read (a folder) or is
  // cut short shows the names and nothing of the previous body.
  const std::tuple<std::string, bool, int32_t, std::string> shows[] = {  // path, read, body length, chat
      {dir / "x.mgx", true, 5000, "gg\r\n"}, {dir / "missing.mgx", false, 5000, "gg\r\n"}, {dir.path(), true, 0, ""},
      {dir / "quiet.mgx", true, 100, ""}, {dir / "short.mgx", true, 0, ""}};
  for (const auto& [path, read, length, chat] : shows) {
    SCOPED_TRACE(path);
    EXPECT_EQ(ShowReplay(path, s), read);
    EXPECT_EQ(s.view.bodyLength, length);
    EXPECT_EQ(s.view.chatText + "|" + s.view.ingameChat.str(), in + chat + "|" + chat);
    EXPECT_EQ(s.view.slotNameTexts, (std::array<std::string, 8>{"", "", "three"}));
    EXPECT_EQ(s.view.ageTimes[0], (std::array<uint32_t, 3>{}));
    EXPECT_EQ(s.view.ageTimes[2][0], chat.empty() ? 0u : 1000u + 84480u);
    EXPECT_EQ(s.view.castleCount + s.view.castleRank[0] + s.view.feudalRank[2], chat.empty() ? 0 : 1);
    EXPECT_EQ(s.doc.economyResearch[2].count ? s.doc.economyResearch[2].entries[0].when : 0.0, chat.empty() ? 0.0 : 0.4);
  }
  // With the game times: a record whose text holds CR LF shows each of its
  // lines at the record's time, with and without the warnings.
  auto sync = [](uint32_t ms) { return Le32(2) + Le32(ms); };
  auto say = [](const std::string& text) { return Le32(4) + Le32(0xFFFFFFFF) + Le32(uint32_t(text.size() + 4)) + "@#1" + text + '\0'; };
  WriteBytes(dir / "timed.mgx", gen::Assemble(HeaderBytes().b, Le32(4) + Le32(500) + std::string(20, '\0') + sync(60000) +
                                                                   say("first\r\nsecond") + say(kWarning + " x") +
                                                                   sync(61000) + say("third")));
  s.view.showChatTimes = 1;
  for (int hide : {0, 1}) {
    s.view.hideWarnings = hide;
    ASSERT_TRUE(ShowReplay(dir / "timed.mgx", s));
    EXPECT_EQ(s.view.chatText, in + "[01:00] first\r\n[01:00] second\r\n" + (hide ? "" : "[01:00] " + kWarning + " x\r\n") +
                                   "[02:01] third\r\n");
  }
  // A clock that stops early (an operation it doesn't know): lines after
  // the stop have no time rather than the last known one.
  WriteBytes(dir / "stopped.mgx", gen::Assemble(HeaderBytes().b, Le32(4) + Le32(500) + std::string(20, '\0') + sync(60000) +
                                                                    say("first") + Le32(0xEE) + say("later") + sync(5000)));
  ASSERT_TRUE(ShowReplay(dir / "stopped.mgx", s));
  EXPECT_FALSE(s.view.clockComplete);
  EXPECT_EQ(s.view.chatText, in + "[01:00] first\r\n[--:--] later\r\n");
}

// Expected values were worked out by hand from the byte rules and by walking
// the operations, independently of this code.
namespace {

struct Expected {
  const char* file;
  uint8_t recorder;
  std::array<std::string, 8> names;
  std::array<int32_t, 8> teams;
  std::vector<std::string> pregame, ingame;
  int32_t bodyLength;
  uint64_t duration;
  // Slots 1 and 2: age times, ranks, and the game time of each age's click
  // and of reaching it.
  std::array<std::array<uint32_t, 3>, 2> ages;
  std::array<std::array<uint8_t, 3>, 2> ranks;
  std::array<std::array<uint64_t, 3>, 2> clicks, reached;
  // (icon, body position) per slot 1 and 2
  std::array<std::vector<std::pair<int, int>>, 2> economy, blacksmith;
};

const Expected kRecordings[] = {
    {"aoc-1.0c.mgx", 1, {"North", "H_Haslebo"}, {1, 4, 1, 1, 1, 1, 1, 1},
     {"H_Haslebo: DEAD!", "North: u wish", "North: stay owned", "H_Haslebo: no need to wish", "North: :)",
      "H_Haslebo: watch me", "H_Haslebo: im in the zone", "H_Haslebo: die", "North: sure sure ^^",
      "H_Haslebo: due", "H_Haslebo: die", "North: rdy ?", "H_Haslebo: 14", "North: ok die"},
     {}, 1885669, 3226695,
     {{{392223, 780464, 1541626}, {430547, 851211, 0}}}, {{{1, 1, 1}, {2, 2, 0}}},
     {{{543690, 1209240, 2506305}, {609390, 1332540, 0}}}, {{{673690, 1369240, 2696305}, {739390, 1492540, 0}}},
     {{{{159, 145130}, {155, 398789}, {154, 648556}, {160, 721560}, {163, 730923}, {164, 806043}, {158, 1254945},
        {161, 1261461}, {162, 1279257}},
       {{159, 71342}, {155, 428005}, {154, 934292}}}},
     {{{{173, 748147}, {179, 786651}, {182, 1008903}, {185, 1111231}, {186, 1522010}, {174, 1307057}, {183, 1360173},
        {180, 1395181}, {184, 1574534}, {175, 1611062}, {181, 1691034}, {176, 1755782}, {177, 1787658}},
       {{173, 808111}, {179, 850026}, {176, 1319233}, {177, 1421105}}}}},
    // Slot 2's Imperial Age would come after the game's end.
    {"up-1.4.mgz", 2, {"Miracle_", "[LoS]bruh"}, {1, 1, 1, 1, 1, 1, 1, 1}, {"Miracle_: glhf"},
     {"<Rating> Miracle_: 2087", "<Rating> [LoS]bruh: 2092", "[LoS]bruh: 11", "[LoS]bruh: 11", "<All>[LoS]bruh: gg",
      "Miracle_: gg"},
     1685472, 2844945,
     {{{481687, 942660, 1267249}, {377771, 934188, 1700247}}}, {{{2, 2, 1}, {1, 1, 2}}},
     {{{688230, 1477710, 2020725}, {512595, 1463940, 2727990}}}, {{{818230, 1637710, 2210725}, {642595, 1623940, 0}}},
     {{{{154, 786660}, {155, 787780}, {163, 934292}, {164, 989146}, {160, 989610}, {158, 1382253}, {162, 1472174},
        {161, 1580987}},
       {{155, 407451}, {154, 802036}, {163, 870618}, {160, 889916}, {164, 956530}}}},
     {{{{182, 654534}, {185, 703906}, {176, 878192}, {177, 953382}, {173, 1032809}, {178, 1363933}, {174, 1536259},
        {175, 1607019}},
       {{182, 664866}, {176, 890352}, {173, 1142729}, {177, 1223750}, {174, 1653439}}}}},
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

class RealRecordings : public ::testing::TestWithParam<Expected> {};

}  // namespace

TEST_P(RealRecordings, OpenAndRenameAsWorkedOutByHand) {
  const Expected& e = GetParam();
  const std::string source = std::string(QUORIL2_REAL_RECORDINGS) + "/" + e.file;
  if (!fs::is_regular_file(source)) GTEST_SKIP() << source << " is not here";
  const std::string original = ReadBytes(source);
  // From a copy, named .mgx and by its own extension, since the rename at
  // the end renames it.
  for (const std::string& ext : {std::string(".mgx"), fs::path(e.file).extension().string()}) {
    SCOPED_TRACE(ext);
    TempDir dir;
    const std::string path = dir / ("recording" + ext);
    WriteBytes(path, original);
    ReplaySummary s;
    OpenResult r = OpenReplay(path, s);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(Snapshot(dir.path()), (std::map<std::string, std::string>{{"recording" + ext, original}}));
    EXPECT_EQ(s.doc.recorderSlot, e.recorder);
    EXPECT_EQ(s.doc.playerNames, e.names);
    EXPECT_EQ(s.doc.playerTeams, e.teams);
    EXPECT_EQ(s.view.perspectivePlayerText + "|" + s.view.allyTeamText + s.view.enemyTeamText, e.names[e.recorder - 1] + "|");
    EXPECT_EQ(s.view.pregameChat.str(), Joined(e.pregame));
    EXPECT_EQ(s.view.ingameChat.str(), Joined(e.ingame));
    EXPECT_EQ(s.view.ingameChatFiltered.str(), Joined(e.ingame));
    EXPECT_EQ(s.view.bodyLength, e.bodyLength);
    EXPECT_TRUE(s.view.clockComplete);
    EXPECT_EQ(s.view.gameDurationMs, e.duration);
    for (int p = 0; p < 8; ++p) {
      SCOPED_TRACE(p + 1);
      EXPECT_EQ(s.view.ageTimes[p], (p < 2 ? e.ages[p] : std::array<uint32_t, 3>{}));
      const std::array<uint8_t, 3> ranks = {s.view.feudalRank[p], s.view.castleRank[p], s.view.imperialRank[p]};
      EXPECT_EQ(ranks, (p < 2 ? e.ranks[p] : std::array<uint8_t, 3>{}));
      for (int age = 0; p < 2 && age < 3; ++age) {
        EXPECT_EQ(s.view.ageClickMs[p][age], e.clicks[p][age]);
        EXPECT_EQ(AgeReachedMs(s.view, p, age), e.reached[p][age]);
      }
      auto check = [&](const ResearchList& l, const std::vector<std::pair<int, int>>& want) {
        ASSERT_EQ(l.count, static_cast<int>(want.size()));
        for (size_t i = 0; i < want.size(); ++i)
          EXPECT_EQ(l.entries[i], (ResearchEntry{want[i].first, static_cast<double>(want[i].second) / e.bodyLength}));
      };
      check(s.doc.economyResearch[p], p < 2 ? e.economy[p] : std::vector<std::pair<int, int>>{});
      check(s.doc.blacksmithResearch[p], p < 2 ? e.blacksmith[p] : std::vector<std::pair<int, int>>{});
    }
    // The dry run names what the real run then does.
    RenameRequest req;
    ASSERT_EQ(CompileRenameFormat("[REC_PLAYER]_[ALL]_[GAME_TIME]", req.format, req.tokens), 0);
    const std::string name = e.names[e.recorder - 1] + "_" + e.names[0] + " " + e.names[1] + "      _" +
                             GameTimeText(e.duration) + ext;
    for (bool dry : {true, false}) {
      req.dryRun = dry;
      RenameRunResult run = RenameSelectedFiles(dir.path(), {path}, req, s);
      ASSERT_EQ(run.outcome, RenameOutcome::Ok);
      EXPECT_EQ(run.files.at(0).newName, name);
    }
    EXPECT_EQ(Snapshot(dir.path()), (std::map<std::string, std::string>{{name, original}}));
  }
}

INSTANTIATE_TEST_SUITE_P(Both, RealRecordings, ::testing::ValuesIn(kRecordings),
                         [](const auto& info) { return std::string(info.param.file[0] == 'a' ? "Aoc10c" : "Up14"); });

TEST(Display, ALongBodyReadBesideTheHeaderGivesWhatTheDisplayStepFindsItself) {
  // Past 1 MB the open walks the clock and scans the body on threads of
  // their own; what they find must be all the display step would find.
  TempDir dir;
  gen::GameParams typical = gen::TypicalGame({"North", "South", "侍ジャック", "弓兵"}, {2, 3, 2, 3}, 1, 7, 1500000);
  gen::GameParams chatty = typical;  // more chat than the pane holds
  for (int i = 0; i < 1500; ++i) chatty.chat.push_back({1 + i % 4, "a chat line of some length " + std::to_string(i), (i + 0.5) / 1500});
  const std::pair<const char*, const gen::GameParams*> games[] = {{"typical.mgx", &typical}, {"chatty.mgx", &chatty}};
  for (const auto& [name, params] : games) {
    SCOPED_TRACE(name);
    gen::Placed placed;
    WriteBytes(dir / name, gen::BuildRecording(*params, &placed));
    ReplaySummary beside, itself;
    ASSERT_TRUE(OpenReplay(dir / name, beside).ok);
    Messages m;
    ASSERT_EQ(ReadReplayHeader(dir / name, itself, m), HeaderRead::Ok);
    ASSERT_TRUE(ShowReplay(dir / name, itself));
    for (int slot = 0; slot < 8; ++slot) {
      for (auto list : {&ReplayDocument::economyResearch, &ReplayDocument::blacksmithResearch}) {
        const ResearchList &a = (beside.doc.*list)[slot], &b = (itself.doc.*list)[slot];
        ASSERT_EQ(a.count, b.count) << slot;
        for (int i = 0; i < a.count; ++i) EXPECT_EQ(a.entries[i], b.entries[i]) << slot;
        for (int i = 0; i < a.count; ++i) EXPECT_EQ(a.entries[i].ms, b.entries[i].ms) << slot;
      }
    }
    const ReplayView &a = beside.view, &b = itself.view;
    EXPECT_EQ(a.ageTimes, b.ageTimes);
    EXPECT_EQ(a.ageClickMs, b.ageClickMs);
    EXPECT_EQ(std::tie(a.feudalRank, a.castleRank, a.imperialRank), std::tie(b.feudalRank, b.castleRank, b.imperialRank));
    EXPECT_EQ(std::tie(a.feudalCount, a.castleCount, a.imperialCount), std::tie(b.feudalCount, b.castleCount, b.imperialCount));
    EXPECT_EQ(a.ingameChat.str(), b.ingameChat.str());
    EXPECT_EQ(a.ingameChatFiltered.str(), b.ingameChatFiltered.str());
    EXPECT_EQ(std::tie(a.ingameChatPos, a.ingameChatFilteredPos), std::tie(b.ingameChatPos, b.ingameChatFilteredPos));
    EXPECT_EQ(std::tie(a.ingameChatMs, a.ingameChatFilteredMs), std::tie(b.ingameChatMs, b.ingameChatFilteredMs));
    EXPECT_EQ(std::tie(a.gameDurationMs, a.clockComplete, a.chatText), std::tie(b.gameDurationMs, b.clockComplete, b.chatText));
    // And what the generator put there.
    EXPECT_EQ(a.gameDurationMs, placed.durationMs);
    EXPECT_FALSE(a.ingameChatPos.empty());
    EXPECT_EQ(size_t(a.ingameChatPos[0]), *std::min_element(placed.chatPos.begin(), placed.chatPos.end()));
    EXPECT_EQ(a.ingameChat.full(), params == &chatty);
  }
}

TEST(HeaderBuffer, WholeCutPaddedAndOversizedStreams) {
  auto header = [](size_t n) {
    std::string h(n, '\0');
    for (size_t i = 0; i < n; i += 4093) h[i] = static_cast<char>(i >> 12);
    return h;
  };
  const std::string small = header(200000), large = header(kInflatedHeaderMax - 4096);
  const std::string smallDeflated = DeflateRaw(small);
  struct Case {
    const char* what;
    std::string stream;
    bool ok;
    std::string expected;  // what the buffer holds after
  } cases[] = {
      {"whole", smallDeflated, true, small},
      // Far more than sixteen times its deflated size: the room grows.
      {"a thousand to one", DeflateRaw(header(3000000)), true, header(3000000)},
      {"just under the cap", DeflateRaw(large), true, large},
      {"bytes after the stream's end", smallDeflated + std::string(100, '\x07'), true, small},
      {"past the cap", DeflateRaw(header(kInflatedHeaderMax + 4096)), false, ""},
      {"broken from the start", "\xFF\xFF\xFF\xFF" + smallDeflated, false, ""},
  };
  HeaderBuffer buffer;  // one buffer through them all, as in a batch
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto* in = reinterpret_cast<const uint8_t*>(c.stream.data());
    EXPECT_EQ(buffer.inflate(in, c.stream.size()), c.ok);
    EXPECT_EQ(buffer.size(), c.expected.size());
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size()) == c.expected);
    EXPECT_LE(buffer.capacity(), kInflatedHeaderMax);
  }
  // A stream cut short fails, and keeps what it inflated until the cut: a
  // rename still finds the names near the start of a damaged header.
  const std::string cut = smallDeflated.substr(0, smallDeflated.size() / 2);
  EXPECT_FALSE(buffer.inflate(reinterpret_cast<const uint8_t*>(cut.data()), cut.size()));
  ASSERT_GT(buffer.size(), size_t(1000));
  ASSERT_LT(buffer.size(), small.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size()), small.substr(0, buffer.size()));
}
