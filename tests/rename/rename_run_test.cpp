// Bulk and selected rename runs on folders of generated recordings: every
// run is checked against the whole folder afterwards, so that no file is
// replaced, moved, changed or left behind.
#include "rename/core/rename_run.h"

#include <gtest/gtest.h>

#include "replay/core/header_extractor.h"
#include "support/core_support.h"
#include "support/file_time.h"

namespace q2 {
namespace {

using q2test::Game;
using q2test::Snapshot;
using q2test::Texts;
using Folder = std::map<std::string, std::string>;

// Writes the files into the folder; returns what it then holds.
Folder Put(const q2test::TempDir& dir, const Folder& files) {
  for (const auto& [name, bytes] : files) {
    if (bytes == "<dir>")
      std::filesystem::create_directories(FsPath(dir / name));
    else
      EXPECT_TRUE(gen::WriteFile(dir / name, bytes));
  }
  return Snapshot(dir.path());
}

RenameRequest Request(const std::string& format, bool dryRun = false) {
  RenameRequest r;
  EXPECT_EQ(CompileRenameFormat(format, r.format, r.tokens), 0);
  r.dryRun = dryRun;
  return r;
}

std::vector<RenameFailure> Failures(const RenameRunResult& run) {
  std::vector<RenameFailure> f;
  for (const FileRenameResult& r : run.files) f.push_back(r.failure);
  return f;
}

const std::string kA = gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55});  // short form
const std::string kB = gen::DefaultRecordingName({2005, 11, 5, 21, 4, 38});
const std::string kC = gen::DefaultRecordingName({2006, 1, 14, 23, 59, 1});
const std::string kUpper = DefaultNamePrefix + std::string("07-6-2004 18`30`12.MGX");

TEST(BulkRename, RenamesEveryVersionsDefaultNamesByTheFormat) {
  q2test::TempDir dir;
  const std::string a = Game({"太郎", "花子"}, 1), en = Game({"West"}, 2), up = Game({"North"}, 3),
                    upper = Game({"North", "South"}, 4, 2), mgz = Game({"South"}, 5);
  const std::string b = gen::BuildRecording(gen::TypicalGame({"侍", "North", "ゆき", "弓兵"}, {2, 2, 3, 3}, 1, 2, 20000, 20000));
  const std::string c = gen::BuildRecording(
      gen::TypicalGame({"a", "b", "c", "d", "e", "f", "g", "h"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3, 3, 20000, 20000));
  gen::GameParams mglGame = gen::TypicalGame({"古参"}, {1}, 1, 7, 20000, 20000);
  mglGame.mglContainer = true;
  const std::string mgl = gen::BuildRecording(mglGame);
  // Look-alikes, other names and a folder named like a recording stay.
  Folder kept = Put(dir, {{"rec.2008-04-12 203015.mgz", up}, {"recorded game -  09-Okt-2007 19`45`02.mgx", en},
                          {"my game.mgx", a}, {"昔の対戦.mgl", mgl}, {DefaultNamePrefix + std::string("01-1-2001 00`00`00.mgx"), "<dir>"}});
  Put(dir, {{kA, a}, {kB, b}, {kC, c}, {kUpper, upper}, {"recorded game -  09-Oct-2007 19`45`02.mgx", en},
            {"rec.20080412-203015.mgz", up}, {"rec.20090101-000001.MGZ", mgz}});
  ReplaySummary s;
  std::vector<std::pair<size_t, size_t>> progress;
  RenameRequest req = Request(kDefaultRenameFormat);
  req.progress = [&](size_t done, size_t total) { progress.push_back({done, total}); };
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), req, s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(run.messages, (Messages{{"ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。", "ﾌｧｲﾙ名一括変換処理"},
                                    {"貴方もこれで紳士です(´'ω'｀)", "ﾌｧｲﾙ名一括変換処理", MsgIcon::Information}}));
  EXPECT_EQ(progress.size(), 8u);
  EXPECT_EQ(progress.front(), std::make_pair(size_t(0), size_t(7)));
  EXPECT_EQ(progress.back(), std::make_pair(size_t(7), size_t(7)));
  // Each keeps its kind's extension, in lower case; no .dat file is left.
  Folder expected = kept;
  expected["太郎：2005年03月05日： vs .mgx"] = a;
  expected["侍：2005年11月05日：侍 North  vs .mgx"] = b;
  expected["c：2006年01月14日：a c e g  vs b d f h .mgx"] = c;
  expected["South：2004年06月07日： vs .mgx"] = upper;
  expected["West：2007年10月09日： vs .mgx"] = en;
  expected["North：2008年04月12日： vs .mgz"] = up;
  expected["South：2009年01月01日： vs .mgz"] = mgz;
  EXPECT_EQ(Snapshot(dir.path()), expected);
  // The model holds the last recording scanned, in name order.
  EXPECT_EQ(s.doc.playerNames[0], "a");

  // Each match is renamed once, even when its new name is a default name.
  q2test::TempDir again;
  Put(again, {{kA, a}, {kB, b}});
  run = RenameDefaultNamedFiles(again.path(), Request(DefaultNamePrefix + std::string("[DAY]-[MONTH]-[YEAR] [HOUR]`[MIN]`[SEC]")), s);
  EXPECT_EQ(run.files.size(), 2u);
  EXPECT_EQ(Snapshot(again.path()), (Folder{{DefaultNamePrefix + std::string("05-03-2005 10`40`55.mgx"), a},
                                           {DefaultNamePrefix + std::string("05-11-2005 21`04`38.mgx"), b}}));
}

TEST(BulkRename, WhatCannotBeRenamedKeepsItsNameAndNothingIsReplaced) {
  q2test::TempDir dir;
  const std::string failed = "一部のﾌｧｲﾙ名の変換に失敗しました";
  // No token: every recording gets the same name, which an earlier file has.
  Folder before = Put(dir, {{kA, Game({"太郎"}, 1)}, {kB, Game({"太郎"}, 2)}, {kC, Game({"太郎"}, 3)}, {"先客.mgx", "earlier"}});
  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("先客"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  EXPECT_EQ(run.messages, (Messages{{failed, "ﾌｧｲﾙ名一括変換処理", MsgIcon::Error}}));
  EXPECT_EQ(Failures(run), std::vector<RenameFailure>(3, RenameFailure::TargetExists));
  EXPECT_EQ(Snapshot(dir.path()), before);
  // Without it the first in name order takes the name ("05-11-…" before "05-3-…").
  std::filesystem::remove(FsPath(dir / "先客.mgx"));
  run = RenameDefaultNamedFiles(dir.path(), Request("先客"), s);
  EXPECT_EQ(Failures(run), (std::vector<RenameFailure>{RenameFailure::None, RenameFailure::TargetExists,
                                                       RenameFailure::TargetExists}));
  EXPECT_EQ(Snapshot(dir.path()), (Folder{{"先客.mgx", before[kB]}, {kA, before[kA]}, {kC, before[kC]}}));

  // Names the file system or Windows refuses, empty names, overlong ones.
  q2test::TempDir bad;
  const std::vector<std::string> refused = {"a/b", "x:y", "w*", "q?", "l<g>", "p|", "dq\"", "b\\s", "tab\tname", "CON", "nul"};
  Folder files = {{"a", "<dir>"}};
  for (size_t i = 0; i < refused.size(); ++i)
    files[gen::DefaultRecordingName({2005, 1, 1, 0, 0, static_cast<int>(i)})] = Game({refused[i]}, 10 + i);
  before = Put(bad, files);
  const std::pair<std::string, RenameFailure> formats[] = {
      {"[REC_PLAYER]", RenameFailure::RefusedCharacter}, {"[YEAR]:[SEC]", RenameFailure::RefusedCharacter},
      {"[year]", RenameFailure::EmptyName}, {"[]", RenameFailure::EmptyName}, {".", RenameFailure::EmptyName},
      {"..", RenameFailure::EmptyName}, {"[x].[y]", RenameFailure::EmptyName}, {std::string(252, 'a'), RenameFailure::TooLong}};
  for (const auto& [format, failure] : formats) {
    run = RenameDefaultNamedFiles(bad.path(), Request(format), s);
    EXPECT_EQ(run.outcome, kRenameSomeFailed);
    EXPECT_EQ(Failures(run), std::vector<RenameFailure>(refused.size(), failure)) << format;
  }
  EXPECT_EQ(Snapshot(bad.path()), before);
  EXPECT_TRUE(std::filesystem::is_empty(bad / "a"));
  // 100 "あ" are 200 code page 932 bytes, within the builder's limit, and
  // 300 UTF-8 bytes, too long on POSIX, but 104 UTF-16 units, which Windows
  // takes (Wine can't store it on a Linux file system, so no rename here).
  std::string japanese;
  for (int i = 0; i < 100; ++i) japanese += "あ";
#ifdef _WIN32
  EXPECT_EQ(CheckNewFileName(japanese, japanese + ".mgx"), RenameFailure::None);
#else
  EXPECT_EQ(CheckNewFileName(japanese, japanese + ".mgx"), RenameFailure::TooLong);
#endif

  // Recordings whose header can't be read keep their names, reported in one
  // box naming the first five; a run over one recording shows its own.
  q2test::TempDir broken;
  std::vector<std::string> names;
  for (int i = 0; i < 7; ++i) {
    names.push_back(gen::DefaultRecordingName({2005, 3, 5, 10, 40, 50 + i}));
    Put(broken, {{names.back(), std::string("\xff\xff\x00\x00garbage", 11)}});
  }
  before = Put(broken, {{gen::DefaultRecordingName({2006, 1, 1, 0, 0, 0}), Game({"North"}, 1)}});
  run = RenameDefaultNamedFiles(broken.path(), Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  ASSERT_EQ(run.files.size(), 8u);
  EXPECT_EQ(run.files[1].failure, RenameFailure::HeaderUnreadable);  // [0] is North's, first in name order
  EXPECT_EQ(Texts(run.files[1].messages), std::vector<std::string>{q2test::kTextCorrupt});
  ASSERT_EQ(run.messages.size(), 2u);
  EXPECT_EQ(run.messages[0].caption, "ﾌｧｲﾙ名一括変換処理");
  const std::string& box = run.messages[0].text;
  EXPECT_NE(box.find("7個"), std::string::npos) << box;
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(box.find(names[i] + "：" + q2test::kTextCorrupt) != std::string::npos, i < 5) << box;
  EXPECT_EQ(run.messages[1].text, failed);
  before.erase(gen::DefaultRecordingName({2006, 1, 1, 0, 0, 0}));
  before["North.mgx"] = Game({"North"}, 1);
  EXPECT_EQ(Snapshot(broken.path()), before);
  run = RenameSelectedFiles(broken.path(), {broken / names[0], broken / "notes.txt"}, Request("[REC_PLAYER]"), s);
  EXPECT_EQ(Texts(run.messages), (std::vector<std::string>{q2test::kTextCorrupt, "使用不可な文字が挿入されてるため変換できません"}));

  // No default name, or no folder: outcome 1.
  for (const std::string& folder : {dir / "missing", bad / "a"}) {
    run = RenameDefaultNamedFiles(folder, Request(kDefaultRenameFormat), s);
    EXPECT_EQ(run.outcome, kRenameNothing);
    EXPECT_TRUE(run.files.empty());
    EXPECT_EQ(run.messages, (Messages{{"ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません", "ﾌｧｲﾙ名一括変換処理", MsgIcon::Error}}));
  }
}

TEST(BulkRename, DryRunsForeseeTheRealRunAndReadOnlyWhatTheFormatNeeds) {
  q2test::TempDir dir;
  gen::Placed placed;
  Folder before = Put(dir, {{kA, gen::BuildRecording(gen::TypicalGame({"太郎"}, {1}, 1, 9, 90000, 20000), &placed)},
                            {kB, Game({"花子"}, 2)}, {kC, Game({"花子"}, 3)}, {"花子2.mgx", "x"}});
  ReplaySummary s;
  // The second "花子" finds the name taken by the first.
  std::vector<std::string> names;
  for (bool dry : {true, false}) {
    RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[REC_PLAYER]", dry), s);
    if (dry) EXPECT_EQ(Snapshot(dir.path()), before);
    EXPECT_EQ(run.outcome, kRenameSomeFailed);
    ASSERT_EQ(run.files.size(), 3u);
    for (const FileRenameResult& f : run.files) names.push_back(f.newName);
    EXPECT_EQ(Failures(run), (std::vector<RenameFailure>{RenameFailure::None, RenameFailure::None,
                                                         RenameFailure::TargetExists}));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"花子.mgx", "太郎.mgx", "花子.mgx", "花子.mgx", "太郎.mgx", "花子.mgx"}));

  // The game's length comes from the body, without a header file.
  q2test::TempDir timed;
  Put(timed, {{kA, before[kA]}});
  const std::string length = GameTimeText(placed.durationMs) + ".mgx";
  for (bool dry : {true, false}) {
    RenameRunResult run = RenameDefaultNamedFiles(timed.path(), Request("[GAME_TIME]", dry), s);
    ASSERT_EQ(run.files.size(), 1u);
    EXPECT_EQ(run.files[0].newName, length);
  }
  EXPECT_EQ(Snapshot(timed.path()), (Folder{{length, before[kA]}}));

  // Dates alone read no header: a folder where each header would go
  // doesn't stop them, and the model keeps what it had.
  q2test::TempDir dates;
  Put(dates, {{kA, before[kA]}, {kUpper, before[kB]}, {FileNameOf(ExtractedHeaderPathFor(dates / kA)), "<dir>"},
              {FileNameOf(ExtractedHeaderPathFor(dates / kUpper)), "<dir>"}});
  s.doc.playerNames[0] = "previous";
  s.doc.recorderSlot = 1;
  for (bool dry : {true, false})
    EXPECT_EQ(RenameDefaultNamedFiles(dates.path(), Request("[YEAR][MONTH][DAY]_[HOUR][MIN][SEC]", dry), s).outcome, kRenameOk);
  EXPECT_EQ(Snapshot(dates.path()), (Folder{{"20050305_104055.mgx", before[kA]}, {"20040607_183012.mgx", before[kB]},
                                            {"記録されたゲーム -  05-3-2005 10`40`55.dat", "<dir>"},
                                            {"記録されたゲーム -  07-6-2004 18`30`12.dat", "<dir>"}}));
  EXPECT_EQ(s.doc.playerNames[0], "previous");
  EXPECT_EQ(s.doc.recorderSlot, 1);
}

TEST(SelectedRename, DatesFromDefaultNamesOrFileTimesAndOnlyRecordings) {
  q2test::TempDir dir;
  const std::string odd = DefaultNamePrefix + std::string("abcdefghijklmnopqrs.mgx");
  Folder before = Put(dir, {{kA, Game({"North"}, 1)}, {"my game.mgx", Game({"South"}, 2)}, {"CAPS.MGX", Game({"East"}, 3)},
                            {"north2.mgx", Game({"North"}, 4)}, {"notes.txt", "notes"}, {"folder.mgx", "<dir>"}, {odd, "x"}});
  ASSERT_TRUE(q2test::SetLocalMtime(dir / "my game.mgx", 2004, 6, 7, 18, 30, 12));
  ReplaySummary s;
  // A name with the prefix but not the layout still takes the layout's places.
  RenameRunResult run = RenameSelectedFiles(dir.path(),
                                            {dir / kA, dir / "my game.mgx", dir / "CAPS.MGX", dir / "notes.txt",
                                             dir / "folder.mgx", dir / "..", dir / odd},
                                            Request("[YEAR]-[MONTH]-[DAY] [HOUR]-[MIN]-[SEC]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(run.messages, (Messages{{"選択されたReplayﾌｧｲﾙが\n紳士的に変換されました。", "ﾌｧｲﾙ名選択変換処理"},
                                    {"なかなか紳士ですﾅｯ ( ﾟДﾟ)y ＼_ ﾎﾟﾛｯ", "ﾌｧｲﾙ名選択変換処理", MsgIcon::Information}}));
  std::vector<bool> skipped;
  for (const FileRenameResult& f : run.files) skipped.push_back(f.skipped);
  EXPECT_EQ(skipped, (std::vector<bool>{false, false, true, true, true, true, false}));
  Folder expected = before;
  for (const auto& [from, to] : {std::pair{kA, "2005-03-05 10-40-55.mgx"}, std::pair{std::string("my game.mgx"), "2004-06-07 18-30-12.mgx"},
                                 std::pair{odd, "ghij-de-ab lm-op-rs.mgx"}}) {
    expected[to] = expected[from];
    expected.erase(from);
  }
  EXPECT_EQ(Snapshot(dir.path()), expected);

  // The same name twice fails the second; a recording already so named,
  // or nothing that is a recording, is no failure; a file gone meanwhile is.
  const std::pair<std::vector<std::string>, std::vector<RenameFailure>> runs[] = {
      {{"2005-03-05 10-40-55.mgx", "north2.mgx"}, {RenameFailure::None, RenameFailure::TargetExists}},
      {{"North.mgx"}, {RenameFailure::None}},
      {{".."}, {RenameFailure::None}},
      {{"gone.mgx"}, {RenameFailure::Missing}},
  };
  for (const auto& [files, failures] : runs) {
    std::vector<std::string> paths;
    for (const std::string& f : files) paths.push_back(dir / f);
    run = RenameSelectedFiles(dir.path(), paths, Request("[REC_PLAYER]"), s);
    EXPECT_EQ(Failures(run), failures);
    EXPECT_EQ(run.outcome, failures.back() == RenameFailure::None ? kRenameOk : kRenameSomeFailed);
  }
  EXPECT_EQ(run.messages, (Messages{{"使用不可な文字が挿入されてるため変換できません", "ﾌｧｲﾙ名選択変換処理", MsgIcon::Error}}));
  expected["North.mgx"] = expected["2005-03-05 10-40-55.mgx"];
  expected.erase("2005-03-05 10-40-55.mgx");
  EXPECT_EQ(Snapshot(dir.path()), expected);
}

#ifndef _WIN32
TEST(BulkRename, DefaultNamesInCodePage932BytesAreRecognised) {
  // As unpacked from an archive made on Japanese Windows.
  q2test::TempDir dir;
  const std::string game = Game({"太郎"}, 8);
  Put(dir, {{*Utf8ToCp932(kA), game}});
  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[YEAR][MONTH][DAY]_[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(Snapshot(dir.path()), (Folder{{"20050305_太郎.mgx", game}}));
}
#endif

}  // namespace
}  // namespace q2
