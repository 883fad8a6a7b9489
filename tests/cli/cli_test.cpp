// quoril2-cli run as a user would run it: output shapes, exit codes,
// messages, and what its renames leave.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <tuple>

#include "support/core_support.h"
#include "support/run_program.h"
#include "core/recording/open_replay.h"

using namespace q2;
using namespace q2test;
namespace fs = std::filesystem;

namespace {

// As JSON writes it: Windows paths hold backslashes.
std::string Q(const std::string& s) {
  std::string q = "\"";
  for (char c : s) q += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return q + '"';
}

ProgramRun Cli(const TempDir& dir, const std::vector<std::string>& args, const std::string& workDir = "") {
  return RunProgram(QUORIL2_CLI, args, dir.path(), workDir);
}

const std::string kA = gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55});
const std::string kB = gen::DefaultRecordingName({2006, 1, 14, 23, 59, 1});
// A dry run's last line.
const std::string kDryOk = "(試行) 上のとおり変換できます。ファイル名はまだ変更していません。\n",
                  kDryFailed = "(試行) 一部のﾌｧｲﾙ名は変換できません。ファイル名はまだ変更していません。\n";

}  // namespace

TEST(CliShow, ExitCodesAndMessagesOfEveryOutcome) {
  TempDir dir;
  WriteBytes(dir / "a.mgx", "");
  WriteBytes(dir / "corrupt.mgx", Le32(0) + "xxxxxxxx");
  WriteBytes(dir / "inflate.mgx", Le32(8) + Le32(0));
  WriteBytes(dir / "slot9.mgx", gen::Assemble(HeaderBytes(1).randomGame().tableMarker().record(0, "").record(1, "kept")
                                                      .record(9, "bad").emptyRecords(6).b, std::string(50, '\x01')));
  const std::string usage = "usage: quoril2-cli show", a = dir / "a.mgx";
  // Arguments, exit code, the start of the error output. A failing step
  // prints its message on standard error only.
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{}, 2, usage}, {{"show"}, 2, usage}, {{"show", "--json"}, 2, usage}, {{"show", "--bogus", a}, 2, usage},
      {{"show", a, a}, 2, usage}, {{"frobnicate", a}, 2, usage},
      {{"show", "--json", dir / "corrupt.mgx"}, 1, kTextCorrupt + "\n"}, {{"show", dir / "corrupt.mgx"}, 1, kTextCorrupt + "\n"},
      {{"show", "--json", dir / "missing.mgx"}, 1, kTextCannotOpen + "\n"}, {{"show", dir / "inflate.mgx"}, 1, kTextInflate + "\n"}};
  for (const auto& [args, code, err] : cases) {
    ProgramRun r = Cli(dir, args);
    EXPECT_EQ(r.code, code) << r.err;
    EXPECT_EQ(code == 1 ? r.err : r.err.substr(0, err.size()), err);
    EXPECT_EQ(r.out, "");
  }
  // Help is asked for: on standard output, every form, exit 0.
  const ProgramRun help = Cli(dir, {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.err, "");
  for (const char* form : {"show [--json] FILE\n", "show --json FILE...\n", "show --json --recursive FOLDER...\n",
                           "--selected FILE...\n", "--version\n"})
    EXPECT_NE(help.out.find(form), std::string::npos) << form;
  // The messages of an open that succeeds are listed with the rest.
  ProgramRun r = Cli(dir, {"show", "--json", dir / "slot9.mgx"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\"name\": \"kept\""), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("\"messages\": [\"HEADER_DATA_ERROR\"]}\n")) << r.out;
  r = Cli(dir, {"show", dir / "slot9.mgx"});
  EXPECT_NE(r.out.find(kTextHeaderData), std::string::npos);
  EXPECT_EQ(Snapshot(dir.path()).size(), 4u);  // nothing written beside them
}
TEST(CliShow, TextOutputNeverPassesARecordingsControlBytesToTheTerminal) {
  TempDir dir;
  gen::GameParams p;
  p.players = {{1, "a\x1b[2Jb", 2}, {2, "West", 3}};
  p.recorderSlot = 1;
  p.lobbyChat = {{1, "\x1b]0;pwned\x07 ok\x7f"}};
  WriteBytes(dir / "game.mgx", gen::BuildRecording(p));
  const ProgramRun r = Cli(dir, {"show", dir / "game.mgx"});
  EXPECT_EQ(r.code, 0);
  const struct {
    std::string shown;
  } cases[] = {{"1: a\\x1b[2Jb  (チーム値 2)\n"}, {"視点プレイヤー：a\\x1b[2Jb\n"}, {"\\x1b]0;pwned\\x07 ok\\x7f\n"}};
  for (const auto& c : cases) EXPECT_NE(r.out.find(c.shown), std::string::npos) << c.shown << "\n" << r.out;
  for (const char raw : {'\x1b', '\x07', '\x7f'}) EXPECT_EQ(r.out.find(raw), std::string::npos) << int(raw);
}

TEST(CliShow, JsonHasExactlyTheDocumentedShape) {
  TempDir dir;
  gen::GameParams p;
  p.players = {{1, "North", 2, 17}, {2, "侍ジャック", 3, 15}, {3, "ゆきむら", 2, 5, 6}, {4, "West", 3, 99}};
  p.mapId = 44;
  p.customMap = "KotD2 - Arabia";
  p.population = 150;
  p.speed = 200;
  p.victory = 1;
  p.recorderSlot = 3;
  p.lobbyChat = {{2, "quote \" backslash \\ tab \t unit \x1F end"}};
  p.researches = {{1, 22, 0.1}, {3, 67, 0.3}, {3, 22, 0.5}};
  p.ages = {{1, 101, 0.2}, {3, 101, 0.25}, {1, 102, 0.6}, {1, 103, 0.99}};
  p.chat = {{1, "North: 11", 0.01}, {3, "--警告-- 攻撃", 0.35}, {4, "West: 「了解」", 0.8}};
  p.bodyLength = 240000;
  p.headerSize = 40000;
  WriteBytes(dir / "game.mgx", gen::BuildRecording(p));
  ProgramRun r = Cli(dir, {"show", "--json", dir / "game.mgx"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // Worked out from where the generator put each event and the game time
  // there (duration 448409): age times carry 84480, an age is reached 130,
  // 160 or 190 seconds after its click unless the game ends first, every
  // number that is no integer is printed to read back as the very double.
  std::string players, ages, research, shares;
  for (int i = 0; i < 8; ++i) {
    const std::string slot = "{\"slot\": " + std::to_string(i + 1) + ", ";
    // A civilisation without a Japanese name keeps its id; the colour is
    // the slot's unless the game gave another.
    const char* named[] = {"\"North\", \"team\": 2, \"civ\": 17, \"civName\": \"フン\", \"color\": 0",
                           "\"侍ジャック\", \"team\": 3, \"civ\": 15, \"civName\": \"アステカ\", \"color\": 1",
                           "\"ゆきむら\", \"team\": 2, \"civ\": 5, \"civName\": \"日本\", \"color\": 6",
                           "\"West\", \"team\": 3, \"civ\": 99, \"civName\": null, \"color\": 3"};
    players += (i ? ", " : "") + slot + "\"name\": " +
               (i < 4 ? named[i] : "\"\", \"team\": 0, \"civ\": null, \"civName\": null, \"color\": null") +
               ", \"winner\": null, \"resignedMs\": null, \"coop\": []}";
    ages += (i ? ", " : "") + slot +
            (i == 0   ? "\"feudal\": 132434, \"castle\": 228419, \"imperial\": 322017, \"feudalRank\": 1, \"castleRank\": 1, "
                        "\"imperialRank\": 1, \"feudalMs\": 218601, \"castleMs\": 426439, \"imperialMs\": 0}"
             : i == 2 ? "\"feudal\": 144426, \"castle\": 0, \"imperial\": 0, \"feudalRank\": 2, \"castleRank\": 0, "
                        "\"imperialRank\": 0, \"feudalMs\": 240761, \"castleMs\": 0, \"imperialMs\": 0}"
                      : "\"feudal\": 0, \"castle\": 0, \"imperial\": 0, \"feudalRank\": 0, \"castleRank\": 0, "
                        "\"imperialRank\": 0, \"feudalMs\": 0, \"castleMs\": 0, \"imperialMs\": 0}");
    research += (i ? ", " : "") + slot +
                (i == 0   ? "\"economy\": [{\"iconId\": 159, \"when\": 0.099741666666666673, \"ms\": 44870}], \"blacksmith\": []}"
                 : i == 2 ? "\"economy\": [{\"iconId\": 159, \"when\": 0.49974583333333333, \"ms\": 223107}], "
                            "\"blacksmith\": [{\"iconId\": 173, \"when\": 0.29979166666666668, \"ms\": 133670}]}"
                          : "\"economy\": [], \"blacksmith\": []}");
    shares += i == 0   ? "[5.5180833333333332, 3.9993750000000001, 3.8999166666666669, -3.4173749999999998]"
              : i == 2 ? ", [6.0177499999999995, 3.9822500000000005, 0, 0]"
                       : ", [10, 0, 0, 0]";
  }
  EXPECT_EQ(r.out, "{\"recorderSlot\": 3,\n \"players\": [" + players +
                       "],\n \"map\": {\"id\": 44, \"name\": \"KotD2 - Arabia\", \"custom\": true, \"size\": \"極小\"}, "
                       "\"settings\": {\"population\": 150, \"speed\": \"速い\", \"reveal\": \"標準\", \"victory\": \"征服\", "
                       "\"startingAge\": \"暗黒の時代\"}, \"matchup\": \"2v2\", \"encoding\": \"cp932\",\n"
                       " \"perspectivePlayer\": \"ゆきむら\", \"allyTeam\": \"North ゆきむら \", \"enemyTeam\": \"\",\n"
                       " \"pregameChat\": [\"quote \\\" backslash \\\\ tab \\t unit \\u001f end\"], \"ingameChat\": [\"North: 11\", "
                       "\"--警告-- 攻撃\", \"West: 「了解」\"], \"ingameChatFiltered\": [\"North: 11\", \"West: 「了解」\"],\n"
                       " \"ingameChatMs\": [4335, 155699, 357020],\n"
                       " \"bodyLength\": 240000, \"duration\": 448409, \"clockComplete\": true,\n \"ages\": [" + ages +
                       "],\n \"research\": [" + research + "],\n \"ageShares\": [" + shares + "],\n \"messages\": []}\n");
  // A chat record whose text holds CR LF is as many lines, each with the
  // record's time: the times stay beside their lines.
  auto sync = [](uint32_t ms) { return Le32(2) + Le32(ms); };
  auto say = [](const std::string& text) { return Le32(4) + Le32(0xFFFFFFFF) + Le32(uint32_t(text.size() + 4)) + "@#1" + text + '\0'; };
  WriteBytes(dir / "crlf.mgx", gen::Assemble(HeaderBytes().b, Le32(4) + Le32(500) + std::string(20, '\0') + sync(60000) +
                                                                  say("first\r\nsecond") + sync(60000) + say("third")));
  r = Cli(dir, {"show", "--json", dir / "crlf.mgx"});
  EXPECT_NE(r.out.find("\"ingameChat\": [\"first\", \"second\", \"third\"], \"ingameChatFiltered\": [\"first\", \"second\", "
                       "\"third\"],\n \"ingameChatMs\": [60000, 60000, 120000],\n"),
            std::string::npos) << r.out;
}

// A Chinese game's names and chat are GBK, as its header's own texts tell;
// both outputs decode them so, and the text output shows the details.
TEST(CliShow, AChineseGameIsReadAsGbk) {
  TempDir dir;
  gen::GameParams p;
  p.language = gen::Language::Chinese;
  p.players = {{1, "长城", 2, 6}, {2, "West", 3, 1}};
  p.lobbyChat = {{1, "长城: 你好"}};
  p.chat = {{2, "West: 再见", 0.5}};
  p.resigns = {{2, 2, 0.9}};
  WriteBytes(dir / "zh.mgx", gen::BuildRecording(p));
  ProgramRun r = Cli(dir, {"show", "--json", dir / "zh.mgx"});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const std::string part : {"\"name\": \"长城\", \"team\": 2, \"civ\": 6, \"civName\": \"中国\", \"color\": 0, "
                                 "\"winner\": true",
                                 "\"encoding\": \"gbk\"", "\"perspectivePlayer\": \"长城\"", "\"pregameChat\": [\"长城: 你好\"]",
                                 "\"ingameChat\": [\"West: 再见\"]"})
    EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
  r = Cli(dir, {"show", dir / "zh.mgx"});
  for (const std::string part : {"  1: 长城  (チーム値 2)\n", "ゲーム: アラビア(極小)  1v1  人口200  標準\n", "  1: 中国 ★\n",
                                 "  长城: 你好\n"})
    EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
}

TEST(CliShow, ManyRecordingsGiveOneJsonLineEachInOrderAndGoOnPastFailures) {
  TempDir dir;
  fs::create_directories(dir / "top/b-sub");
  WriteBytes(dir / "top/c.mgx", Game({"C", "B"}, 5));
  WriteBytes(dir / "top/a.mgx", Game({"A", "B"}, 5));
  WriteBytes(dir / "top/b-sub/inner.mgx", Game({"Inner", "B"}, 5));
  WriteBytes(dir / "top/broken.mgx", Le32(0) + "xxxxxxxx");
  WriteBytes(dir / "top/notes.txt", "no recording");
  std::error_code noLinks;  // Windows lets only some users make symbolic links
  fs::create_directory_symlink(dir / "top", dir / "top/b-sub/loop", noLinks);
  // A path as the walk through the folders joins it.
  auto in = [&](const std::string& name) { return JoinPath(dir / "top", name); };
  auto name = [](const std::string& n) { return "\"name\": " + Q(n) + ", "; };
  auto error = [](const std::string& e) { return "\"error\": " + Q(e) + "}"; };
  // Arguments; path and a part of each line; exit code.
  const std::tuple<std::vector<std::string>, std::vector<std::pair<std::string, std::string>>, int> cases[] = {
      {{dir / "top/c.mgx", dir / "top/missing.mgx", dir / "top/a.mgx"},
       {{dir / "top/c.mgx", name("C")}, {dir / "top/missing.mgx", error(kTextCannotOpen)}, {dir / "top/a.mgx", name("A")}},
       1},
      {{dir / "top/a.mgx", dir / "top/a.mgx"}, {{dir / "top/a.mgx", name("A")}, {dir / "top/a.mgx", name("A")}}, 0},
      // The list's order; a subfolder's recordings where the subfolder
      // stands; a link back is not followed again.
      {{"--recursive", dir / "top"},
       {{in("a.mgx"), name("A")}, {JoinPath(in("b-sub"), "inner.mgx"), name("Inner")},
        {in("broken.mgx"), error(kTextCorrupt)}, {in("c.mgx"), name("C")}},
       1},
  };
  for (auto [args, lines, code] : cases) {
    args.insert(args.begin(), {"show", "--json"});
    ProgramRun r = Cli(dir, args);
    EXPECT_EQ(r.code, code) << r.err;
    std::istringstream out(r.out);
    std::string line;
    for (const auto& [path, what] : lines) {
      ASSERT_TRUE(std::getline(out, line));
      EXPECT_EQ(line.rfind("{\"path\": " + Q(path) + ", ", 0), 0u) << line;
      EXPECT_NE(line.find(what), std::string::npos) << line;
    }
    EXPECT_FALSE(std::getline(out, line));
  }
  // More recordings than the readers may run ahead of the writer: every
  // line once, in the list's order, whichever reader finished first.
  fs::create_directories(dir / "many");
  for (int i = 0; i < 150; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "g%03d.mgx", i);
    WriteBytes(dir / ("many/" + std::string(name)), i % 7 == 3 ? std::string("broken") : Game({"P" + std::to_string(i)}, 5 + i % 3));
  }
  const ProgramRun many = Cli(dir, {"show", "--json", "--recursive", dir / "many"});
  EXPECT_EQ(many.code, 1);
  std::istringstream out(many.out);
  std::string line;
  for (int i = 0; i < 150; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "g%03d.mgx", i);
    ASSERT_TRUE(std::getline(out, line)) << i;
    EXPECT_EQ(line.rfind("{\"path\": " + Q(JoinPath(dir / "many", name)) + ", ", 0), 0u) << line.substr(0, 80);
    EXPECT_NE(line.find(i % 7 == 3 ? "\"error\"" : "\"name\": \"P" + std::to_string(i) + "\""), std::string::npos) << i;
  }
  EXPECT_FALSE(std::getline(out, line));
}

TEST(CliRename, OutcomesExitCodesAndWhatIsPrinted) {
  TempDir tmp;
  const std::string dir = tmp / "rec";
  std::filesystem::create_directory(dir);
  for (const auto& [path, bytes] : {std::pair{dir + "/" + kA, Game({"太郎", "花子"}, 1)}, {dir + "/" + kB, Game({"North"}, 2)},
                                    {dir + "/keep.mgx", Game({"x"}, 3)}, {tmp / "one.mgx", Game({"North"}, 1)},
                                    {tmp / "two.mgx", Game({"North"}, 2)}, {tmp / "notes.txt", std::string("x")}})
    ASSERT_TRUE(gen::WriteFile(path, bytes));
  const auto before = Snapshot(dir);
  const std::string planned = kA + " -> 太郎：2005年03月05日： vs .mgx\n" + kB + " -> North：2006年01月14日： vs .mgx\n";
  const std::string renamed = planned + "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。\n貴方もこれで紳士です(´'ω'｀)\n";
  // Arguments, exit code, and the output; for a refusal (exit 2, nothing
  // renamed) the start of the error output. A dry run renames nothing and
  // leaves no header file, so the real run then does the same.
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      // A malformed format gives its message alone, without the usage.
      {{"--format", "[YEAR", dir}, 2, "変換書式をが不正だよ(´；ω；`)\n"}, {{"--format=", dir}, 2, "変換書式を入力してよ(´；ω；`)\n"},
      {{}, 2, "usage"}, {{dir, dir}, 2, "usage"}, {{"--bogus", dir}, 2, "usage"}, {{"--format"}, 2, "usage"},
      // A dry run claims no rename it didn't do.
      {{"--dry-run", dir + "/"}, 0, planned + "(試行) 上のとおり変換できます。ファイル名はまだ変更していません。\n"},
      {{dir}, 0, renamed},
      {{"--format", "[YEAR]", dir}, 3, "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません\n"},
      // Selected files: each renamed in its own folder.
      {{"--format", "[REC_PLAYER]", "--selected", tmp / "one.mgx", tmp / "notes.txt", tmp / "two.mgx"}, 1,
       "one.mgx -> North.mgx\nnotes.txt: 変換対象外\ntwo.mgx -> North.mgx: 失敗 (同じ名前のファイルが既にあります)\n"
       "使用不可な文字が挿入されてるため変換できません\n"}};
  for (auto [args, code, printed] : cases) {
    args.insert(args.begin(), "rename");
    ProgramRun r = Cli(tmp, args);
    EXPECT_EQ(r.code, code) << r.err;
    EXPECT_EQ(code != 2 ? r.out : r.out + (printed == "usage" ? r.err.substr(0, printed.size()) : r.err), printed);
  }
  EXPECT_EQ(Snapshot(dir), (std::map<std::string, std::string>{{"太郎：2005年03月05日： vs .mgx", before.at(kA)},
                                                               {"North：2006年01月14日： vs .mgx", before.at(kB)},
                                                               {"keep.mgx", before.at("keep.mgx")}}));
  // A relative path, from the folder the program runs in.
  EXPECT_EQ(Cli(tmp, {"rename", "--format", "renamed [REC_PLAYER]", "--selected", "two.mgx"}, tmp.path()).code, 0);
  const auto after = Snapshot(tmp.path());
  EXPECT_TRUE(after.count("North.mgx") && after.count("renamed North.mgx") && !after.count("two.mgx"));
}

// A recording given twice in two spellings is one file, and on Windows names
// that differ only in case are one name: the dry run lists and returns what
// the real run then does, and that is the sound outcome.
TEST(CliRename, DryAndRealRunAgreeHoweverPathsAreSpelt) {
  const std::string missing = ": 失敗 (ファイルが見つかりません)\n", taken = ": 失敗 (同じ名前のファイルが既にあります)\n";
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // in d: name, player
    std::vector<std::string> paths;  // from the folder above d; "/" first: absolute
    int code;
    std::string printed;  // before the outcome
  };
  const Case cases[] = {
      {"relative and absolute", {{"a.mgx", "North"}}, {"d/a.mgx", "/d/a.mgx"}, 1, "a.mgx -> North.mgx\na.mgx" + missing},
      {"a doubled separator", {{"a.mgx", "North"}}, {"d//a.mgx", "d/a.mgx"}, 1, "a.mgx -> North.mgx\na.mgx" + missing},
      {"through . and ..", {{"a.mgx", "North"}}, {"d/./a.mgx", "d/../d/a.mgx"}, 1, "a.mgx -> North.mgx\na.mgx" + missing},
      {"already so named, spelt otherwise", {{"North.mgx", "North"}}, {"d//North.mgx", "/d/./North.mgx"}, 0,
       "North.mgx -> North.mgx\nNorth.mgx -> North.mgx\n"},
      {"a name the run freed, spelt otherwise", {{"a.mgx", "b"}, {"b.mgx", "c"}}, {"d/b.mgx", "/d/a.mgx"}, 0,
       "b.mgx -> c.mgx\na.mgx -> b.mgx\n"},
      {"a name the run gave, then given", {{"a.mgx", "North"}}, {"d/a.mgx", "/d/North.mgx"}, 0,
       "a.mgx -> North.mgx\nNorth.mgx -> North.mgx\n"},
#ifdef _WIN32
      {"two new names differing only in case", {{"a.mgx", "North"}, {"b.mgx", "NORTH"}}, {"d/a.mgx", "d/b.mgx"}, 1,
       "a.mgx -> North.mgx\nb.mgx -> NORTH.mgx" + taken},
      {"a rename that only changes case", {{"north.mgx", "North"}}, {"d/north.mgx"}, 0, "north.mgx -> North.mgx\n"},
      {"the same recording in two cases", {{"a.mgx", "North"}}, {"d/a.mgx", "D/A.mgx"}, 1, "a.mgx -> North.mgx\nA.mgx" + missing},
#else
      {"through a link to the folder", {{"a.mgx", "North"}}, {"link/a.mgx", "d/a.mgx"}, 1, "a.mgx -> North.mgx\na.mgx" + missing},
      {"names differing only in case", {{"a.mgx", "North"}, {"b.mgx", "NORTH"}}, {"d/a.mgx", "d/b.mgx"}, 0,
       "a.mgx -> North.mgx\nb.mgx -> NORTH.mgx\n"},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir tmp;
    std::filesystem::create_directory(FsPath(tmp / "d"));
#ifndef _WIN32
    std::filesystem::create_directory_symlink("d", tmp / "link");
#endif
    uint64_t seed = 1;
    for (const auto& [name, player] : c.files) WriteBytes(tmp / ("d/" + name), Game({player}, seed++));
    const auto before = Snapshot(tmp / "d");
    std::vector<std::string> args = {"rename", "--dry-run", "--format", "[REC_PLAYER]", "--selected"};
    for (const std::string& p : c.paths) args.push_back(p[0] == '/' ? tmp.path() + p : p);
    const ProgramRun dry = Cli(tmp, args, tmp.path());
    EXPECT_EQ(Snapshot(tmp / "d"), before);
    args.erase(args.begin() + 1);
    const ProgramRun real = Cli(tmp, args, tmp.path());
    EXPECT_EQ(real.code, c.code) << real.out << real.err;
    EXPECT_EQ(real.out, c.printed + (c.code == 0 ? "選択されたReplayﾌｧｲﾙが\n紳士的に変換されました。\nなかなか紳士ですﾅｯ ( ﾟДﾟ)y ＼_ ﾎﾟﾛｯ\n"
                                                  : "使用不可な文字が挿入されてるため変換できません\n"));
    // The same lines but the last, which says that nothing was renamed.
    EXPECT_EQ(dry.code, real.code);
    EXPECT_EQ(dry.out, c.printed + (c.code == 0 ? kDryOk : kDryFailed));
    EXPECT_EQ(dry.err, real.err);
    // Nothing lost or replaced.
    std::multiset<std::string> was, is;
    for (const auto& [name, bytes] : before) was.insert(bytes);
    for (const auto& [name, bytes] : Snapshot(tmp / "d")) is.insert(bytes);
    EXPECT_EQ(is, was);
  }
}

#ifndef _WIN32
// What the dry run lists and returns is what the real run then does, for an
// ordinary user where renames fail.
TEST(CliRename, DryRunForeseesWhatTheRealRunCannotDo) {
  const std::tuple<const char*, unsigned, int, std::string> cases[] = {  // folder mode; folders of 240 bytes above it
      {"read-only folder", 0555, 0, "[REC_PLAYER]"},
      {"read-only folder, dates only", 0555, 0, "[YEAR][MONTH][DAY][SEC]"},
      {"sticky folder, another user's files", 01777, 0, "[REC_PLAYER]"},
      {"path longer than the system takes", 0755, 16, std::string(240, 'x') + "[SEC]"},
  };
  for (const auto& [what, mode, depth, format] : cases) {
    SCOPED_TRACE(what);
    if (mode & S_ISVTX && !IsRoot()) continue;  // needs files of another user
    TempDir tmp;
    std::string dir = tmp.path();
    for (int i = 0; i < depth; ++i) dir += "/" + std::string(240, 'd');
    dir += "/rec";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kA, Game({"太郎"}, 1)));
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kB, Game({"North"}, 2)));
    // The user's folders, so that only the case's own obstacle is in the way.
    for (const std::string& d : {tmp.path(), dir}) ASSERT_TRUE(!IsRoot() || ::chown(d.c_str(), kUnprivilegedId, kUnprivilegedId) == 0);
    ASSERT_TRUE(!(mode & S_ISVTX) || ::chown(dir.c_str(), 0, 0) == 0);
    ASSERT_EQ(::chmod(dir.c_str(), mode), 0);
    const auto before = Snapshot(dir);
    const std::string why = RunAsUser([&] {
      ProgramRun dry = Cli(tmp, {"rename", "--format", format, "--dry-run", dir});
      ProgramRun real = Cli(tmp, {"rename", "--format", format, dir});
      EXPECT_EQ(dry.code, 1) << dry.out;
      EXPECT_EQ(real.code, dry.code);
      // The same lines but the last, which says whether anything was renamed.
      const auto cut = [](const std::string& s) { return s.substr(0, s.rfind('\n', s.size() - 2) + 1); };
      EXPECT_EQ(cut(real.out) + real.err, cut(dry.out) + dry.err);
      EXPECT_TRUE(dry.out.ends_with("(試行) 一部のﾌｧｲﾙ名は変換できません。ファイル名はまだ変更していません。\n")) << dry.out;
    });
    if (!why.empty()) GTEST_SKIP() << why;
    EXPECT_EQ(Snapshot(dir), before);
    ::chmod(dir.c_str(), 0755);
  }
}

// An installed tool (in a folder the user can't write) names the per-user
// settings file and makes no folder for it.
TEST(CliVersion, NamesTheSettingsFileWithoutMakingItsFolder) {
  TempDir home;
  ::chmod(home.path().c_str(), 0777);
  const std::string why = RunAsUser([&] {
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    const ProgramRun r = Cli(home, {"--version"});
    EXPECT_EQ(r.code, 0);
    if (IsRoot() || ::access(QUORIL2_CLI, W_OK) != 0) {
      EXPECT_NE(r.out.find(home / "config/quoril2/Quoran.ini"), std::string::npos) << r.out;
    }
    EXPECT_FALSE(fs::exists(home / "config"));
  });
  if (!why.empty()) GTEST_SKIP() << why;
}

// A folder the walk can't list is a line of its own, never silently left out.
TEST(CliShow, FoldersThatCannotBeListedAreReported) {
  TempDir dir, capture;
  ::chmod(capture.path().c_str(), 0777);
  fs::create_directories(dir / "top/locked");
  WriteBytes(dir / "top/a.mgx", Game({"A", "B"}, 5));
  WriteBytes(dir / "top/locked/x.mgx", Game({"X", "B"}, 5));
  const std::string locked = JoinPath(dir / "top", "locked");
  const struct {
    std::string folder;
    std::vector<std::string> lines;
  } cases[] = {
      {dir / "top", {"{\"path\": " + Q(JoinPath(dir / "top", "a.mgx")) + ", \"recorderSlot\"",
                     "{\"path\": " + Q(locked) + ", \"error\": \"フォルダの中身を読み込めませんでした\"}"}},
      {locked, {"{\"path\": " + Q(locked) + ", \"error\": \"フォルダの中身を読み込めませんでした\"}"}},
  };
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  const std::string why = RunAsUser([&] {
    for (const auto& c : cases) {
      const ProgramRun r = Cli(capture, {"show", "--json", "--recursive", c.folder});
      EXPECT_EQ(r.code, 1) << c.folder;
      std::istringstream out(r.out);
      std::string line;
      for (const std::string& want : c.lines) {
        ASSERT_TRUE(std::getline(out, line)) << c.folder;
        EXPECT_EQ(line.substr(0, want.size()), want);
      }
      EXPECT_FALSE(std::getline(out, line)) << line;
    }
  });
  ::chmod(locked.c_str(), 0755);
  if (!why.empty()) GTEST_SKIP() << why;
}

namespace {

// An exFAT image mounted through FUSE, as Linux mounts a memory card with
// exfat-fuse: no no-replace rename, no hard links, names in any case. `why`
// says what this machine lacks for it (root, a loop device, exfatprogs,
// exfat-fuse, /dev/fuse).
struct ExfatMount {
  std::string top, dir, device, why;
  bool mounted = false;
  explicit ExfatMount(const TempDir& tmp) : top(tmp.path()), dir(tmp / "mnt") {
    const std::string image = tmp / "exfat.img";
    if (!IsRoot()) {
      why = "mounting needs root";
      return;
    }
    fs::create_directory(dir);
    WriteBytes(image, "");
    fs::resize_file(image, 16 << 20);
    if (RunProgram("mkfs.exfat", {image}, top).code != 0) {
      why = "no mkfs.exfat (exfatprogs)";
      return;
    }
    const ProgramRun loop = RunProgram("losetup", {"--find", "--show", image}, top);
    device = loop.out.substr(0, loop.out.find('\n'));
    if (loop.code != 0 || device.empty()) {
      why = "no loop device: " + loop.err;
      return;
    }
    const ProgramRun mount = RunProgram("mount.exfat-fuse", {device, dir}, top);
    mounted = mount.code == 0;
    if (!mounted) why = "no exfat-fuse or FUSE: " + mount.err;
  }
  ~ExfatMount() {
    if (mounted && RunProgram("umount", {dir}, top).code != 0) RunProgram("umount", {"-l", dir}, top);
    if (!device.empty()) RunProgram("losetup", {"-d", device}, top);
  }
};

// A tree as lstat sees it: every entry's kind, mode, owner, times and bytes
// (a link's target, never what it points at; a FIFO is never opened).
std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> out;
  std::function<void(const std::string&, const std::string&)> walk = [&](const std::string& path, const std::string& rel) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) return;
    std::ostringstream e;
    e << std::oct << st.st_mode << std::dec << " " << st.st_uid << " " << st.st_mtim.tv_sec << "."
      << st.st_mtim.tv_nsec << " ";
    if (S_ISREG(st.st_mode)) e << ReadBytes(path);
    if (S_ISLNK(st.st_mode)) e << fs::read_symlink(path).string();
    out[rel] = e.str();
    if (S_ISDIR(st.st_mode))
      for (const auto& d : fs::directory_iterator(path)) walk(d.path().string(), rel + "/" + d.path().filename().string());
  };
  walk(root, ".");
  return out;
}

}  // namespace

// On exFAT through FUSE every rename used to fail while the dry run promised
// it: now the renames go through, never replacing a file, and the dry run
// foresees what the file system refuses, as an ordinary user with a card.
TEST(CliRename, OnExfatThroughFuseTheDryRunForeseesTheRealRun) {
  TempDir tmp, capture;
  const ExfatMount exfat(tmp);
  if (!exfat.why.empty()) GTEST_SKIP() << exfat.why;
  ::chmod(capture.path().c_str(), 0777);
  const std::string taken = ": 失敗 (同じ名前のファイルが既にあります)\n";
  const std::string bulkDone = "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。\n貴方もこれで紳士です(´'ω'｀)\n",
                    bulkFailed = "一部のﾌｧｲﾙ名の変換に失敗しました\n", selectedFailed = "使用不可な文字が挿入されてるため変換できません\n";
  const std::tuple<const char*, std::map<std::string, std::string>, std::string, int, std::string> cases[] = {
      // What, the folder, a file to rename alone (else the whole folder), exit code, the lines before the outcome.
      {"two recordings", {{kA, Game({"太郎"}, 1)}, {kB, Game({"North"}, 2)}}, "", 0,
       kA + " -> 太郎.mgx\n" + kB + " -> North.mgx\n"},
      {"a name taken already", {{kA, Game({"North"}, 1)}, {"North.mgx", "x"}}, "", 1, kA + " -> North.mgx" + taken},
      {"the same new name twice", {{kA, Game({"North"}, 1)}, {kB, Game({"North"}, 2)}}, "", 1,
       kA + " -> North.mgx\n" + kB + " -> North.mgx" + taken},
      {"two new names differing only in case", {{kA, Game({"North"}, 1)}, {kB, Game({"NORTH"}, 2)}}, "", 1,
       kA + " -> North.mgx\n" + kB + " -> NORTH.mgx" + taken},
      {"a rename that only changes case", {{"north.mgx", Game({"North"}, 1)}}, "north.mgx", 1,
       "north.mgx -> North.mgx" + taken},
  };
  int n = 0;
  for (const auto& [what, files, alone, code, printed] : cases) {
    SCOPED_TRACE(what);
    const std::string dir = exfat.dir + "/" + std::to_string(++n);
    fs::create_directory(dir);
    for (const auto& [name, bytes] : files) WriteBytes(dir + "/" + name, bytes);
    const auto before = Snapshot(dir);
    const std::string why = RunAsUser([&] {
      std::vector<std::string> args = {"rename", "--dry-run", "--format", "[REC_PLAYER]"};
      if (alone.empty()) {
        args.push_back(dir);
      } else {
        args.insert(args.end(), {"--selected", dir + "/" + alone});
      }
      const ProgramRun dry = Cli(capture, args);
      EXPECT_EQ(Snapshot(dir), before);
      args.erase(args.begin() + 1);
      const ProgramRun real = Cli(capture, args);
      EXPECT_EQ(real.code, code) << real.out << real.err;
      EXPECT_EQ(real.out, printed + (!alone.empty() ? selectedFailed : code == 0 ? bulkDone : bulkFailed));
      EXPECT_EQ(dry.code, real.code);
      EXPECT_EQ(dry.out, printed + (code == 0 ? kDryOk : kDryFailed));
      EXPECT_EQ(dry.err, real.err);
    });
    if (!why.empty()) GTEST_SKIP() << why;
    // Nothing replaced, and no placeholder left.
    std::multiset<std::string> was, is;
    for (const auto& [name, bytes] : before) was.insert(bytes);
    for (const auto& [name, bytes] : Snapshot(dir)) is.insert(bytes);
    EXPECT_EQ(is, was);
  }
}

// Every way of reading a recording, run as an ordinary user over folders
// that hold what a program writing beside recordings would destroy: reading
// changes nothing at all (not even a folder's time), and a rename changes
// only the recording's name.
TEST(ReadingNeverWrites, EveryReaderAndRenameOverFoldersWithTraps) {
  const std::string kDefault = kA, kDat = kA.substr(0, kA.size() - 4) + ".dat";
  struct Case {
    const char* what;
    std::string recording;                        // relative to the top folder
    std::function<void(const std::string&)> make;  // what lies beside it
    bool readOnly = false;
  };
  TempDir outside;
  const std::string target = outside / "precious.txt";
  const std::vector<Case> cases = {
      {"read-only folder", "rec/" + kDefault, [](const std::string&) {}, true},
      {"the user's .dat file", "rec/" + kDefault, [&](const std::string& d) { WriteBytes(d + "/rec/" + kDat, "mine"); }},
      {"a link named .dat", "rec/" + kDefault,
       [&](const std::string& d) { fs::create_symlink(target, d + "/rec/" + kDat); }},
      {"a FIFO named .dat", "rec/" + kDefault, [&](const std::string& d) { ::mkfifo((d + "/rec/" + kDat).c_str(), 0644); }},
      {"a.mgx.mgz beside a.dat.mgz", "rec/a.mgx.mgz",
       [&](const std::string& d) { WriteBytes(d + "/rec/a.dat.mgz", Game({"Other"}, 9)); }},
      {"replays.mgx/ beside replays.dat/", "replays.mgx/game.mgz",
       [&](const std::string& d) {
         fs::create_directories(d + "/replays.dat");
         WriteBytes(d + "/replays.dat/game.mgz", Game({"Other"}, 9));
       }},
  };
  WriteBytes(target, "precious");
  const std::string game = Game({"North", "South"}, 3);
  for (const Case& c : cases) {
    for (const bool bulk : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (bulk ? ", bulk rename" : ", selected rename"));
      TempDir top;
      const std::string rec = top / c.recording, folder = fs::path(rec).parent_path().string();
      fs::create_directories(folder);
      WriteBytes(rec, game);
      c.make(top.path());
      // Old times, so that a touch shows.
      for (const auto& e : fs::recursive_directory_iterator(top.path()))
        if (!e.is_symlink() && !e.is_fifo()) fs::last_write_time(e.path(), fs::file_time_type::clock::now() - std::chrono::hours(48));
      // The user's own folders (root's files in them), the recording's read-only where the case says.
      for (const auto& e : fs::recursive_directory_iterator(top.path())) {
        const bool mine = !e.is_directory() || !IsRoot() || ::chown(e.path().c_str(), kUnprivilegedId, kUnprivilegedId) == 0;
        ASSERT_TRUE(mine);
      }
      ASSERT_TRUE(!IsRoot() || ::chown(top.path().c_str(), kUnprivilegedId, kUnprivilegedId) == 0);
      ASSERT_EQ(::chmod(folder.c_str(), c.readOnly ? 0555 : 0755), 0);
      TempDir capture;
      ::chmod(capture.path().c_str(), 0777);
      const auto before = Tree(top.path()), outsideBefore = Tree(outside.path());
      const std::string why = RunAsUser([&] {
        ReplaySummary s;
        const OpenResult open = OpenReplay(rec, s);
        EXPECT_TRUE(open.ok) << (open.messages.empty() ? "" : open.messages[0].text);
        EXPECT_EQ(s.doc.playerNames[0], "North");
        EXPECT_EQ(Cli(capture, {"show", rec}).code, 0);
        const ProgramRun all = Cli(capture, {"show", "--json", "--recursive", top.path()});
        EXPECT_EQ(all.code, 0) << all.out;
        EXPECT_NE(all.out.find("\"North\""), std::string::npos);
        EXPECT_EQ(Tree(top.path()), before) << "reading changed the folder";
        const ProgramRun r = bulk ? Cli(capture, {"rename", "--format", "[REC_PLAYER]", folder})
                                  : Cli(capture, {"rename", "--format", "[REC_PLAYER]", "--selected", rec});
        const std::string ext = fs::path(rec).extension().string();
        if (c.readOnly) {
          EXPECT_EQ(r.code, 1);
          EXPECT_NE(r.out.find("-> North" + ext + ": 失敗 (ファイル名を変更できませんでした)"), std::string::npos) << r.out;
          EXPECT_EQ(r.err, "");
        } else if (bulk && c.recording.find(kDefault) == std::string::npos) {
          EXPECT_EQ(r.code, 3) << r.out;  // nothing default-named there
        } else {
          EXPECT_EQ(r.code, 0) << r.out + r.err;
        }
      });
      if (!why.empty()) GTEST_SKIP() << why;
      // Only the recording's own name changed, when it could.
      auto after = Tree(top.path());
      const std::string renamed = fs::path(c.recording).replace_filename("North" + fs::path(rec).extension().string());
      if (after.count("./" + renamed)) {
        EXPECT_FALSE(c.readOnly);
        after["./" + c.recording] = after["./" + renamed];
        after.erase("./" + renamed);
        const std::string parent = "./" + fs::path(c.recording).parent_path().string();
        after[parent] = before.at(parent);  // the rename itself touches its folder
      }
      EXPECT_EQ(after, before);
      EXPECT_EQ(Tree(outside.path()), outsideBefore);
      ::chmod(folder.c_str(), 0755);
    }
  }
}
#endif
