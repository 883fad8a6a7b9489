// Renaming: names built from a format, default names and their dates, the
// format history, and bulk and selected runs checked against the whole
// folder afterwards: no file replaced, moved, changed or left behind.
#include "core/rename/rename_format.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "core/rename/default_name.h"
#include "core/rename/format_history.h"
#include "core/rename/rename_run.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "support/core_support.h"
#include "support/file_time.h"

namespace q2 {
namespace {

using K = TokenKind;

ReplayDocument Doc(const std::vector<std::string>& names, const std::vector<int>& teams, int recorder) {
  ReplayDocument d;
  for (size_t i = 0; i < names.size(); ++i) d.playerNames[i] = q2test::Cp932(names[i]);
  for (size_t i = 0; i < teams.size(); ++i) d.playerTeams[i] = teams[i];
  d.recorderSlot = static_cast<uint8_t>(recorder);
  return d;
}

std::string Build(const std::string& text, const ReplayDocument& doc = {}, uint64_t gameMs = 0) {
  CompiledFormat f;
  TokenList t;
  EXPECT_EQ(CompileRenameFormat(text, f, t), 0) << text;
  return BuildNewFileName(f, t, {"2005", "03", "05", "10", "40", "55"}, doc, gameMs);
}

TEST(RenameFormat, TokensExpandForOneRecordingWithinTheLimits) {
  const std::tuple<std::string, ReplayDocument, std::string> cases[] = {
      {"[YEAR]-[MONTH]-[DAY] [HOUR]`[MIN]`[SEC][SEC]", {}, "2005-03-05 10`40`5555"},
      // Stray closing brackets, percent signs and unknown tokens.
      {"YEAR]a]b[YEAR]", {}, "YEAR]a]b2005"},
      {"100%%[YEAR]%s%d%n", {}, "100%%2005%s%d%n"},
      {"x[]y[year]y[ YEAR]y[YEAR ]y[YEARS]y[ちーむ別]y[[YEAR]]", {}, "xyyyyyy]"},
      // The other six slots still get their separators; names are decoded.
      {"[REC_PLAYER]：[ALL]", Doc({"太郎", "ｶﾐｶｾﾞ"}, {1, 1}, 2), "ｶﾐｶｾﾞ：太郎 ｶﾐｶｾﾞ      "},
      // At most 259 code page 932 bytes, never splitting a character.
      {std::string(300, 'a'), {}, std::string(259, 'a')},
      {"[ALL]" + std::string(255, 'x'), Doc({"North"}, {1}, 1), ("North" + std::string(7, ' ') + std::string(255, 'x')).substr(0, 259)},
  };
  for (const auto& [format, doc, name] : cases) EXPECT_EQ(Build(format, doc), name) << format;
  std::string kana, days, name;  // 130 "あ" are 260 bytes; tokens after the 50th expand to nothing
  for (int i = 0; i < 130; ++i) kana += "あ";
  EXPECT_EQ(Build(kana + "[YEAR]"), kana.substr(0, 129 * 3));
  for (int i = 0; i < 60; ++i) days += "[DAY]-", name += i < 50 ? "05-" : "-";
  EXPECT_EQ(Build(days), name);
  const std::pair<uint64_t, std::string> times[] = {{2844945, "47分24秒"}, {0, "0分00秒"}, {59999, "0分59秒"}, {7203000, "120分03秒"}};
  for (const auto& [ms, text] : times) EXPECT_EQ(Build("[GAME_TIME]", {}, ms), text);
  // The recorder, the recorder's team, and both sides only in teams of four.
  const std::vector<std::string> s = {"s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8"}, abcd = {"a", "b", "c", "d"};
  const std::tuple<std::vector<int>, int, std::vector<std::string>, std::string> lineups[] = {
      {{2, 2, 3, 3}, 0, s, "|| vs "}, {{2, 2, 3, 3}, 9, s, "|| vs "}, {{2, 2, 3, 3}, 255, s, "|| vs "},
      {{2, 2, 3, 3}, 1, s, "s1|s1 s2 |s1 s2  vs "}, {{2, 2, 3, 3}, 4, s, "s4|s3 s4 |s3 s4  vs "},
      // Teams of four list both sides; empty slots each add a lone space.
      {{2, 3, 2, 3, 2, 3, 2, 3}, 3, s, "s3|s1 s3 s5 s7 |s1 s3 s5 s7  vs s2 s4 s6 s8 "},
      {{2, 3, 2, 3, 2, 3, 2, 3}, 2, s, "s2|s2 s4 s6 s8 |s2 s4 s6 s8  vs s1 s3 s5 s7 "},
      {{4, 4, 4, 4}, 2, abcd, "b|a b c d |a b c d  vs     "},
      // Any team 1 (a free-for-all is all 1), or a recorder alone: no lists.
      {{2, 2, 3, 1}, 1, s, "s1|| vs "}, {{1, 1, 1, 1, 1, 1, 1, 1}, 2, s, "s2|| vs "}, {{2, 3, 3, 3}, 1, s, "s1|| vs "},
      // Empty slots count towards a team 0: five members, no enemies.
      {{0, 2, 2, 3}, 1, abcd, "a|a     |a      vs "},
      // Team bytes are signed: -1 matches -1 only.
      {{-1, -1, 2, 2}, 2, s, "s2|s1 s2 |s1 s2  vs "},
  };
  for (const auto& [teams, recorder, names, text] : lineups)
    EXPECT_EQ(Build("[REC_PLAYER]|[味方]|[チーム別]", Doc(names, teams, recorder)), text) << recorder << " " << teams[0];
}

// [MAP], [MATCHUP], [REC_CIV] and [WINNER]: what the game's details give,
// empty where they are unknown; names in the game's own encoding.
TEST(RenameFormat, GameTokensFromTheGamesDetails) {
  auto game = [](std::optional<int> map, std::string mapText, std::vector<int> teams, std::vector<int> civs,
                 std::vector<int> winners) {
    ReplayDocument d = Doc({"s1", "s2", "s3", "s4"}, {}, 2);
    d.game.mapId = map;
    d.game.mapText = mapText;
    for (size_t i = 0; i < teams.size(); ++i) {
      d.game.seats[i] = {static_cast<int>(i + 1), 2, d.playerNames[i], std::nullopt};
      if (teams[i]) d.game.seats[i].team = teams[i];
    }
    for (size_t i = 0; i < civs.size(); ++i) d.game.players[i].civ = civs[i];
    for (int w : winners) d.game.players[w - 1].winner = true;
    return d;
  };
  const std::pair<ReplayDocument, std::string> cases[] = {
      {game(9, "Arabia", {2, 2, 3, 3}, {1, 17, 5, 5}, {2, 1}), "アラビア|2v2|フン|s1 s2 "},
      {game(44, "KotD2 - Arabia", {1, 1}, {0, 18}, {1}), "KotD2 - Arabia|1v1|朝鮮軍|s1 "},
      {game(std::nullopt, "Black Forest", {1, 1, 1}, {}, {}), "Black Forest|1v1v1||"},
      {game(77, "", {2, 0}, {3, 99}, {}), "|||"},
      {{}, "|||"},
  };
  for (const auto& [doc, name] : cases) EXPECT_EQ(Build("[MAP]|[MATCHUP]|[REC_CIV]|[WINNER]", doc), name) << name;
  // A Chinese game's names decode as GBK.
  ReplayDocument zh = game(9, "", {2, 3}, {6, 6}, {2});
  zh.playerNames[1] = Utf8ToGbk("长城").value();
  zh.game.encoding = TextEncoding::Gbk;
  EXPECT_EQ(Build("[REC_PLAYER] [WINNER][ALL]", zh), "长城 长城 s1 长城 s3 s4    ");
  for (const auto& [token, sample] : {std::pair<const char*, const char*>{"[MAP]", "ﾏｯﾌﾟ名"}, {"[MATCHUP]", "2v2"},
                                      {"[REC_CIV]", "記録者の文明"}, {"[WINNER]", "勝利ﾁｰﾑ"}}) {
    CompiledFormat f;
    TokenList t;
    CompileRenameFormat(token, f, t);
    EXPECT_EQ(BuildPreviewName(f, t), sample);
    EXPECT_TRUE(needsReplayData(t));
  }
}

TEST(DefaultName, LayoutsOfEveryVersionAndTheirDates) {
  const std::string jp = DefaultNamePrefix, en = DefaultNamePrefixEnglish, up = DefaultNamePrefixUserPatch;
  const DateFields d = {"2005", "03", "05", "10", "40", "55"}, upd = {"2008", "04", "12", "20", "30", "15"};
  const std::tuple<std::string, int, std::optional<DateFields>> cases[] = {  // name, kind (-1 none), date when checked
      // The Japanese one by the file search's pattern: "?" one character
      // (a double-byte one too), "*" any run, letters in any case; the short
      // form's one-character month gets a leading zero.
      {jp + "05-3-2005 10`40`55.mgx", 0, d}, {jp + "05-3-2005 10`40`55.mGx", 0, d},
      {jp + "05-12-2005 10`40`55.MGX", 0, DateFields{"2005", "12", "05", "10", "40", "55"}},
      {jp + "日本-3-2005 10`40`55.mgx", 0, {}}, {jp + "05--2005 10`40`55.mgx", 0, {}},
      {jp + "05-a-b-c-2005 10`40`55.mgx", 0, {}},
      // With the prefix alone the fields are taken by place in code page
      // 932 bytes, not tested for digits, and end where the name ends.
      {jp + "日-3-2005 10`40`55.mgx", -1, DateFields{"2005", "03", "日", "10", "40", "55"}},
      {jp + "abcdefghijklmnopqrstuvw", -1, DateFields{"ghij", "de", "ab", "lm", "op", "rs"}},
      {jp + "05-12-20", -1, DateFields{"20", "12", "05", "", "", ""}}, {jp + "05-1", -1, DateFields{"", "1", "05", "", "", ""}},
      // The English and UserPatch ones exactly, month names as the game writes them.
      {en + "05-Mar-2005 10`40`55.mgx", 1, d}, {en + "31-Dec-1999 23`59`59.MGX", 1, DateFields{"1999", "12", "31", "23", "59", "59"}},
      {up + "20080412-203015.mgz", 2, upd}, {up + "20080412-203015.MGZ", 2, upd},
  };
  for (const auto& [name, kind, date] : cases) {
    const auto k = DefaultNameKindOf(name);
    EXPECT_EQ(k ? static_cast<int>(*k) : -1, kind) << name;
    // Only the file name counts, not the folders.
    if (date) {
      EXPECT_EQ(ReadDefaultNameDate("/" + jp + "99-9-9999 99`99`99/" + name), *date) << name;
    }
  }
  for (const std::string& none : std::vector<std::string>{
           jp + "5-3-2005 10`40`55.mgx", jp + "05-3-2005 10'40'55.mgx", jp + "05-3-2005 10`40`55.mgx.bak",
           jp + "05-3-2005 10`40`555.mgx", jp + "05-3-205 10`40`55.mgx", "記録されたゲーム - 05-3-2005 10`40`55.mgx", "",
           en + "05-mar-2005 10`40`55.mgx", en + "05-Mrz-2005 10`40`55.mgx", en + "5-Mar-2005 10`40`55.mgx",
           en + "05-Mar-2005 10'40'55.mgx", en + "05-Mar-2005 10`40`55.mgz", up + "2008041-2203015.mgz",
           up + "20080412_203015.mgz", up + "20080412-203015.mgx", up + "2008O412-203015.mgz", "rec.20080412-203015.mgz.bak"})
    EXPECT_FALSE(DefaultNameKindOf(none)) << none;
}

std::vector<std::string> Entries(const FormatHistory& h) {
  std::vector<std::string> out;
  for (int i = 0; i < h.count(); ++i) out.push_back(h.entry(i));
  return out;
}

TEST(FormatHistory, LoadsSortedAsShiftJisTextAndSavesAllHundredKeys) {
  q2test::TempDir dir;
  const std::string ini = dir / "Quoran.ini";
  // Shift-JIS order: ASCII by byte, half-width katakana (single bytes
  // 0xA1…) before every double-byte character, a shorter prefix first;
  // UTF-8 byte order would put "あ" before "ｱ". Gaps close up.
  for (const auto& [n, v] : {std::pair{3, "あい"}, {9, "ｱ"}, {17, "b"}, {40, "あ"}, {41, "B"}, {100, "[YEAR]漢字"}, {55, ""}})
    IniWriteString(ini, kSectionFile, FormatHistoryKey(n), v);
  FormatHistory h;
  h.LoadFormatHistory(ini);
  EXPECT_EQ(Entries(h), (std::vector<std::string>{"B", "[YEAR]漢字", "b", "ｱ", "あ", "あい"}));
  // Characters without a Shift-JIS form sort after all that have one.
  EXPECT_GT(CompareCp932Text("😀", "龠"), 0);
  // Added at the end while there is room and the format is new; deleting
  // moves the later entries up; a save writes all 100 keys, empty ones too,
  // Japanese as Shift-JIS.
  EXPECT_FALSE(h.AddFormatToHistory("b"));
  EXPECT_TRUE(h.AddFormatToHistory(kDefaultRenameFormat));
  h.DeleteFormat(0);
  h.DeleteFormat(50);  // no such entry
  h.SaveFormatHistory(ini);
  const std::vector<std::string> saved = {"[YEAR]漢字", "b", "ｱ", "あ", "あい", kDefaultRenameFormat};
  EXPECT_EQ(Entries(h), saved);
  for (int n = 1; n <= 100; ++n)
    EXPECT_EQ(IniReadRaw(ini, kSectionFile, FormatHistoryKey(n)), n <= 6 ? q2test::Cp932(saved[n - 1]) : "") << n;
  FormatHistory full;
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(full.AddFormatToHistory("f" + std::to_string(1000 + i)));
  EXPECT_FALSE(full.AddFormatToHistory("one more"));
  full.SaveFormatHistory(ini);
  EXPECT_EQ(IniReadRaw(ini, kSectionFile, FormatHistoryKey(100)), "f1099");
}

TEST(FormatHistory, FormatsMustFitTheFileAndInsertTextsAreBracketed) {
  // 259 bytes as the file stores them: a kanji takes two, a half-width katakana one.
  std::string kanji129;
  for (int i = 0; i < 129; ++i) kanji129 += "年";
  for (const auto& [format, fits] : {std::pair{kanji129 + "a", true}, {std::string(250, 'x') + "[ﾃｽﾄ]ｱｲ", true},
                                     {kanji129 + "ab", false}, {kanji129 + "年", false}, {std::string(260, 'x'), false}}) {
    const auto message = CheckFormatLength(format);
    EXPECT_EQ(message ? message->caption : "", fits ? "" : "変換処理ｴﾗｰ") << format;
  }
  // Date parts lose their last five Shift-JIS bytes ("(年)" is four of them).
  const std::pair<const char*, const char*> inserts[] = {{"year (年)", "[YEAR]"}, {"min (分)", "[MIN]"}, {"ab (年)", "[AB]"},
                                                         {"hello", ""}, {"年月日", ""}, {"月x12345", "[月X]"}, {"", ""}};
  for (const auto& [item, text] : inserts) EXPECT_EQ(DatePartInsertText(item), text) << item;
  EXPECT_EQ(GameTokenInsertText("rec_player") + GameTokenInsertText("チーム別") + GameTokenInsertText(""), "[REC_PLAYER][チーム別]");
}

using q2test::Game;
using q2test::Snapshot;
using Folder = std::map<std::string, std::string>;
using F = RenameFailure;

// Writes the files ("<dir>" makes a folder); returns what the folder holds.
Folder Put(const q2test::TempDir& dir, const Folder& files) {
  for (const auto& [name, bytes] : files)
    bytes == "<dir>" ? std::filesystem::create_directories(FsPath(dir / name)) : gen::WriteFile(dir / name, bytes);
  return Snapshot(dir.path());
}

RenameRequest Request(const std::string& format, bool dryRun = false) {
  RenameRequest r;
  EXPECT_EQ(CompileRenameFormat(format, r.format, r.tokens), 0);
  r.dryRun = dryRun;
  return r;
}

std::vector<F> Failures(const RenameRunResult& run) {
  std::vector<F> f;
  for (const FileRenameResult& r : run.files) f.push_back(r.failure);
  return f;
}

const std::string P = DefaultNamePrefix;
const std::string kA = gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55});  // short form
const std::string kB = gen::DefaultRecordingName({2005, 11, 5, 21, 4, 38});
const std::string kC = gen::DefaultRecordingName({2006, 1, 14, 23, 59, 1});
const std::string kUpper = P + "07-6-2004 18`30`12.MGX";
const std::string kBulk = "ﾌｧｲﾙ名一括変換処理", kSelected = "ﾌｧｲﾙ名選択変換処理";

TEST(BulkRename, RenamesEveryVersionsDefaultNamesByTheFormat) {
  q2test::TempDir dir;
  const std::string a = Game({"太郎", "花子"}, 1), en = Game({"West"}, 2), up = Game({"North"}, 3),
                    upper = Game({"North", "South"}, 4, 2), mgz = Game({"South"}, 5);
  const std::string b = gen::BuildRecording(gen::TypicalGame({"侍", "North", "ゆき", "弓兵"}, {2, 2, 3, 3}, 1, 2, 20000, 20000));
  const std::string c = gen::BuildRecording(
      gen::TypicalGame({"a", "b", "c", "d", "e", "f", "g", "h"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3, 3, 20000, 20000));
  gen::GameParams old = gen::TypicalGame({"古参"}, {1}, 1, 7, 20000, 20000);
  old.earlierGame = true;
  // Look-alikes, other names and a folder named like a recording stay.
  Folder expected = Put(dir, {{"rec.2008-04-12 203015.mgz", up}, {"recorded game -  09-Okt-2007 19`45`02.mgx", en},
                              {"my game.mgx", a}, {"昔の対戦.mgl", gen::BuildRecording(old)}, {P + "01-1-2001 00`00`00.mgx", "<dir>"}});
  Folder renamed = {{kA, a}, {kB, b}, {kC, c}, {kUpper, upper}, {"recorded game -  09-Oct-2007 19`45`02.mgx", en},
                    {"rec.20080412-203015.mgz", up}, {"rec.20090101-000001.MGZ", mgz}};
  // As unpacked from an archive made on Japanese Windows, in code page 932 bytes.
  if (kPathSep == '/') renamed[q2test::Cp932(gen::DefaultRecordingName({2005, 3, 6, 1, 2, 3}))] = a;
  Put(dir, renamed);
  ReplaySummary s;
  std::vector<std::pair<size_t, size_t>> progress;
  RenameRequest req = Request(kDefaultRenameFormat);
  req.progress = [&](size_t done, size_t total) { progress.push_back({done, total}); };
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), req, s);
  EXPECT_EQ(run.outcome, RenameOutcome::Ok);
  EXPECT_EQ(run.messages, (Messages{{"ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。", kBulk},
                                    {"貴方もこれで紳士です(´'ω'｀)", kBulk, MsgIcon::Information}}));
  EXPECT_EQ(progress.size(), renamed.size() + 1);
  EXPECT_EQ(progress.front(), std::make_pair(size_t(0), renamed.size()));
  EXPECT_EQ(s.doc.playerNames[0], "a");  // the last recording scanned, in name order
  // Each keeps its kind's extension, in lower case; no .dat file is left.
  expected.insert({{"太郎：2005年03月05日： vs .mgx", a}, {"侍：2005年11月05日：侍 North  vs .mgx", b},
                   {"c：2006年01月14日：a c e g  vs b d f h .mgx", c}, {"South：2004年06月07日： vs .mgx", upper},
                   {"West：2007年10月09日： vs .mgx", en}, {"North：2008年04月12日： vs .mgz", up},
                   {"South：2009年01月01日： vs .mgz", mgz}});
  if (kPathSep == '/') expected["太郎：2005年03月06日： vs .mgx"] = a;
  EXPECT_EQ(Snapshot(dir.path()), expected);
  // Each match is renamed once, even when its new name is a default name.
  q2test::TempDir again;
  Put(again, {{kA, a}, {kB, b}});
  run = RenameDefaultNamedFiles(again.path(), Request(P + "[DAY]-[MONTH]-[YEAR] [HOUR]`[MIN]`[SEC]"), s);
  EXPECT_EQ(run.files.size(), 2u);
  EXPECT_EQ(Snapshot(again.path()), (Folder{{P + "05-03-2005 10`40`55.mgx", a}, {P + "05-11-2005 21`04`38.mgx", b}}));
}

TEST(BulkRename, WhatCannotBeRenamedKeepsItsNameAndNothingIsReplaced) {
  q2test::TempDir dir;
  const Message failed = {"一部のﾌｧｲﾙ名の変換に失敗しました", kBulk, MsgIcon::Error};
  // No token: every recording gets the name an earlier file has; without
  // it the first in name order ("05-11-…" before "05-3-…") takes it.
  Folder before = Put(dir, {{kA, Game({"太郎"}, 1)}, {kB, Game({"太郎"}, 2)}, {kC, Game({"太郎"}, 3)}, {"先客.mgx", "earlier"}});
  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("先客"), s);
  EXPECT_EQ(run.outcome, RenameOutcome::SomeFailed);
  EXPECT_EQ(run.messages, Messages{failed});
  EXPECT_EQ(Failures(run), std::vector<F>(3, F::TargetExists));
  EXPECT_EQ(Snapshot(dir.path()), before);
  std::filesystem::remove(FsPath(dir / "先客.mgx"));
  EXPECT_EQ(Failures(RenameDefaultNamedFiles(dir.path(), Request("先客"), s)), (std::vector<F>{F::None, F::TargetExists, F::TargetExists}));
  EXPECT_EQ(Snapshot(dir.path()), (Folder{{"先客.mgx", before[kB]}, {kA, before[kA]}, {kC, before[kC]}}));
  // Names the file system or Windows refuses, empty names, overlong ones.
  q2test::TempDir bad;
  const std::vector<std::string> refused = {"a/b", "x:y", "w*", "q?", "l<g>", "p|", "dq\"", "b\\s", "tab\tname", "CON", "nul"};
  Folder files = {{"a", "<dir>"}};
  for (size_t i = 0; i < refused.size(); ++i)
    files[gen::DefaultRecordingName({2005, 1, 1, 0, 0, static_cast<int>(i)})] = Game({refused[i]}, 10 + i);
  before = Put(bad, files);
  const std::pair<std::string, F> formats[] = {
      {"[REC_PLAYER]", F::RefusedCharacter}, {"[YEAR]:[SEC]", F::RefusedCharacter}, {"[year]", F::EmptyName},
      {"[]", F::EmptyName}, {".", F::EmptyName}, {"..", F::EmptyName}, {"[x].[y]", F::EmptyName},
      {std::string(252, 'a'), F::TooLong}};
  for (const auto& [format, failure] : formats)
    EXPECT_EQ(Failures(RenameDefaultNamedFiles(bad.path(), Request(format), s)), std::vector<F>(refused.size(), failure)) << format;
  EXPECT_EQ(Snapshot(bad.path()), before);
  EXPECT_TRUE(std::filesystem::is_empty(bad / "a"));
  std::string kana;  // 100 "あ": 300 UTF-8 bytes, too long on POSIX; 104 UTF-16 units with ".mgx", which Windows takes
  for (int i = 0; i < 100; ++i) kana += "あ";
  EXPECT_EQ(CheckNewFileName(kana, kana + ".mgx"), kPathSep == '/' ? F::TooLong : F::None);
  // Unreadable headers keep their names, reported in one box naming the
  // first five; a run over one recording shows its own message.
  q2test::TempDir broken;
  std::vector<std::string> names;
  for (int i = 0; i < 7; ++i) {
    names.push_back(gen::DefaultRecordingName({2005, 3, 5, 10, 40, 50 + i}));
    Put(broken, {{names.back(), std::string("\xff\xff\x00\x00garbage", 11)}});
  }
  const std::string north = gen::DefaultRecordingName({2006, 1, 1, 0, 0, 0});
  before = Put(broken, {{north, Game({"North"}, 1)}});
  run = RenameDefaultNamedFiles(broken.path(), Request("[REC_PLAYER]"), s);
  ASSERT_EQ(run.files.size(), 8u);
  EXPECT_EQ(run.files[1].failure, F::HeaderUnreadable);  // [0] is North's, first in name order
  EXPECT_EQ(run.files[1].messages, Messages{{q2test::kTextCorrupt}});
  std::string box = "ﾍｯﾀﾞ情報の読み込みで7個のReplayﾌｧｲﾙにｴﾗｰがありました\n";
  for (int i = 0; i < 5; ++i) box += "\n" + names[i] + "：" + q2test::kTextCorrupt;
  EXPECT_EQ(run.messages, (Messages{{box + "\nほか2個", kBulk, MsgIcon::Exclamation}, failed}));
  before["North.mgx"] = before[north];
  before.erase(north);
  EXPECT_EQ(Snapshot(broken.path()), before);
  run = RenameSelectedFiles(broken.path(), {broken / names[0], broken / "notes.txt"}, Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.messages, (Messages{{q2test::kTextCorrupt}, {"使用不可な文字が挿入されてるため変換できません", kSelected, MsgIcon::Error}}));
  // No default name, or no folder: outcome 1.
  for (const std::string& folder : {dir / "missing", bad / "a"}) {
    run = RenameDefaultNamedFiles(folder, Request(kDefaultRenameFormat), s);
    EXPECT_EQ(run.outcome, RenameOutcome::NothingToRename);
    EXPECT_TRUE(run.files.empty());
    EXPECT_EQ(run.messages, (Messages{{"ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません", kBulk, MsgIcon::Error}}));
  }
}

TEST(BulkRename, ALengthThatCannotBeReadFailsAsThePlayersDoAndAShortGameIsNamed) {
  const std::string header = gen::BuildHeader(gen::TypicalGame({"North"}, {1}, 1, 5, 20000, 20000));
  const std::string deflated = gen::Assemble(header, "").substr(8);
  const std::string logHeader = q2test::Le32(4) + q2test::Le32(500) + std::string(20, '\0');
  struct Case {
    const char* what;
    std::string bytes;
    std::string message;  // "" renames it, to the length given
    std::string length;
    bool unreadable = false;  // mode 0, read by an ordinary user
  };
  const Case cases[] = {
      {"empty file", "", q2test::kTextCorrupt, ""},
      {"garbage", std::string("\xff\xff\x00\x00garbage", 11), q2test::kTextCorrupt, ""},
      {"header length past the end", q2test::Le32(1000) + "abc", q2test::kTextCorrupt, ""},
      {"nothing that inflates", q2test::Le32(8) + q2test::Le32(0) + "body", q2test::kTextInflate, ""},
      {"header cut short", q2test::Le32(static_cast<uint32_t>(deflated.size() / 2 + 8)) + q2test::Le32(0) +
                               deflated.substr(0, deflated.size() / 2) + logHeader, q2test::kTextInflate, ""},
      {"unreadable", Game({"North"}, 1), q2test::kTextCannotOpen, "", true},
      // Readable, with a game of no length or a short one.
      {"no body", gen::Assemble(header, ""), "", "0分00秒"},
      {"59 seconds", gen::Assemble(header, logHeader + q2test::Le32(2) + q2test::Le32(59999)), "", "0分59秒"},
  };
  for (const Case& c : cases) {
    // The length alone, and with the players, whose message comes but once.
    for (const auto& [format, players] : {std::pair<std::string, std::string>{"[GAME_TIME]", ""}, {"[REC_PLAYER] [GAME_TIME]", "North "}}) {
      for (bool bulk : {true, false}) {
        SCOPED_TRACE(std::string(c.what) + ", " + format + (bulk ? ", bulk" : ", selected"));
        q2test::TempDir dir;
        const Folder before = Put(dir, {{kA, c.bytes}});
        const std::string renamed = players + c.length + ".mgx";
        auto runs = [&] {
          ReplaySummary s;
          for (bool dry : {true, false}) {
            const RenameRunResult run = bulk ? RenameDefaultNamedFiles(dir.path(), Request(format, dry), s)
                                             : RenameSelectedFiles(dir.path(), {dir / kA}, Request(format, dry), s);
            ASSERT_EQ(run.files.size(), 1u);
            const Messages header = c.message.empty() ? Messages{} : Messages{{c.message}};
            EXPECT_EQ(run.files[0].failure, c.message.empty() ? F::None : F::HeaderUnreadable);
            EXPECT_EQ(run.files[0].messages, header);
            if (c.message.empty()) {
              EXPECT_EQ(run.files[0].newName, renamed);
            }
            Messages all = header;
            const Messages outcome = (bulk ? BulkOutcomeMessages : SelectedOutcomeMessages)(
                c.message.empty() ? RenameOutcome::Ok : RenameOutcome::SomeFailed);
            all.insert(all.end(), outcome.begin(), outcome.end());
            EXPECT_EQ(run.messages, all);
            // An ordinary user can't read the unreadable one: checked afterwards.
            if (!c.unreadable) {
              EXPECT_EQ(Snapshot(dir.path()), (dry || !c.message.empty() ? before : Folder{{renamed, c.bytes}}));
            }
          }
        };
        if (!c.unreadable) {
          runs();
          continue;
        }
#ifndef _WIN32
        ASSERT_EQ(::chmod((dir / kA).c_str(), 0), 0);
        const std::string why = q2test::RunAsUser(runs);
        if (!why.empty()) GTEST_SKIP() << why;
        EXPECT_EQ(Snapshot(dir.path()), before);
#endif
      }
    }
  }
}

TEST(BulkRename, DryRunsForeseeTheRealRunAndReadOnlyWhatTheFormatNeeds) {
  q2test::TempDir dir, timed;
  gen::Placed placed;
  Folder before = Put(dir, {{kA, gen::BuildRecording(gen::TypicalGame({"太郎"}, {1}, 1, 9, 90000, 20000), &placed)},
                            {kB, Game({"花子"}, 2)}, {kC, Game({"花子"}, 3)}, {"花子2.mgx", "x"}});
  // The second "花子" finds the name taken by the first; the dry run alike.
  ReplaySummary s;
  for (bool dry : {true, false}) {
    RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[REC_PLAYER]", dry), s);
    EXPECT_EQ(run.outcome, RenameOutcome::SomeFailed);
    ASSERT_EQ(run.files.size(), 3u);
    EXPECT_EQ(run.files[0].newName + run.files[1].newName + run.files[2].newName, "花子.mgx太郎.mgx花子.mgx");
    EXPECT_EQ(Failures(run), (std::vector<F>{F::None, F::None, F::TargetExists}));
    if (dry) {
      EXPECT_EQ(Snapshot(dir.path()), before);
    }
  }
  // The game's length comes from the body, without a header file.
  Put(timed, {{kA, before[kA]}});
  const std::string length = GameTimeText(placed.durationMs) + ".mgx";
  for (bool dry : {true, false}) EXPECT_EQ(RenameDefaultNamedFiles(timed.path(), Request("[GAME_TIME]", dry), s).files.at(0).newName, length);
  EXPECT_EQ(Snapshot(timed.path()), (Folder{{length, before[kA]}}));
  // The earlier game's recordings, each by its own length and players.
  q2test::TempDir older;
  std::vector<std::string> olds, names;
  for (size_t body : {90000, 60000}) {
    gen::GameParams g = gen::TypicalGame({"古参", "新参"}, {1, 1}, 2, body, body, 20000);
    g.earlierGame = true;
    olds.push_back(gen::BuildRecording(g, &placed));
    names.push_back("新参 " + GameTimeText(placed.durationMs) + ".mgl");
  }
  ASSERT_NE(names[0], names[1]);
  Put(older, {{"一.mgl", olds[0]}, {"二.mgl", olds[1]}});
  for (bool dry : {true, false}) {
    const RenameRunResult run = RenameSelectedFiles(older.path(), {older / "一.mgl", older / "二.mgl"}, Request("[REC_PLAYER] [GAME_TIME]", dry), s);
    EXPECT_EQ(Failures(run), (std::vector<F>{F::None, F::None}));
    EXPECT_EQ(run.files.at(0).newName + "|" + run.files.at(1).newName, names[0] + "|" + names[1]);
  }
  EXPECT_EQ(Snapshot(older.path()), (Folder{{names[0], olds[0]}, {names[1], olds[1]}}));
}

TEST(SelectedRename, DatesFromDefaultNamesOrFileTimesAndOnlyRecordings) {
  q2test::TempDir dir;
  const std::string odd = P + "abcdefghijklmnopqrs.mgx", en = "recorded game -  09-Oct-2007 19`45`02.mgx";
  Folder files = Put(dir, {{kA, Game({"North"}, 1)}, {"my game.mgx", Game({"South"}, 2)}, {"CAPS.MGX", Game({"East"}, 3)},
                           {"north2.mgx", Game({"North"}, 4)}, {"notes.txt", "notes"}, {"folder.mgx", "<dir>"}, {odd, "x"}, {en, "x"}});
  ASSERT_TRUE(q2test::SetLocalMtime(dir / "my game.mgx", {2004, 6, 7, 18, 30, 12}));
  ReplaySummary s;
  // Not .mgx in lower case, or a folder: skipped. A name with the prefix
  // but not the layout still takes the layout's places.
  RenameRunResult run = RenameSelectedFiles(dir.path(), {dir / kA, dir / "my game.mgx", dir / "CAPS.MGX", dir / "notes.txt",
                                                         dir / "folder.mgx", dir / "..", dir / odd, dir / en},
                                            Request("[YEAR]-[MONTH]-[DAY] [HOUR]-[MIN]-[SEC]"), s);
  EXPECT_EQ(run.outcome, RenameOutcome::Ok);
  EXPECT_EQ(run.messages, (Messages{{"選択されたReplayﾌｧｲﾙが\n紳士的に変換されました。", kSelected},
                                    {"なかなか紳士ですﾅｯ ( ﾟДﾟ)y ＼_ ﾎﾟﾛｯ", kSelected, MsgIcon::Information}}));
  std::vector<bool> skipped;
  for (const FileRenameResult& f : run.files) skipped.push_back(f.skipped);
  EXPECT_EQ(skipped, (std::vector<bool>{false, false, true, true, true, true, false, false}));
  // The same name twice fails the second; a recording already so named, or
  // nothing that is a recording, is no failure; a file gone meanwhile is.
  const std::pair<std::vector<std::string>, std::vector<F>> runs[] = {
      {{"2005-03-05 10-40-55.mgx", "north2.mgx"}, {F::None, F::TargetExists}}, {{"North.mgx"}, {F::None}},
      {{".."}, {F::None}}, {{"gone.mgx"}, {F::Missing}}};
  for (const auto& [names, failures] : runs) {
    std::vector<std::string> paths;
    for (const std::string& f : names) paths.push_back(dir / f);
    run = RenameSelectedFiles(dir.path(), paths, Request("[REC_PLAYER]"), s);
    EXPECT_EQ(Failures(run), failures);
    EXPECT_EQ(run.outcome, failures.back() == F::None ? RenameOutcome::Ok : RenameOutcome::SomeFailed);
  }
  EXPECT_EQ(run.messages, (Messages{{"使用不可な文字が挿入されてるため変換できません", kSelected, MsgIcon::Error}}));
  for (const auto& [from, to] : {std::pair{kA, "North.mgx"}, {"my game.mgx", "2004-06-07 18-30-12.mgx"},
                                 {odd, "ghij-de-ab lm-op-rs.mgx"}, {en, "2007-10-09 19-45-02.mgx"}}) {
    files[to] = files[from];
    files.erase(from);
  }
  EXPECT_EQ(Snapshot(dir.path()), files);
}

}  // namespace
}  // namespace q2
