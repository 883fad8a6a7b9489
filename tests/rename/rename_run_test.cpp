// Bulk and selected rename runs on folders of generated recordings.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "platform/files.h"
#include "platform/text.h"
#include "cli/recording_generator.h"
#include "rename/core/rename_run.h"
#include "replay/core/header_extractor.h"
#include "support/file_time.h"
#include "support/temp_dir.h"

namespace q2 {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  auto size = FileSizeOf(path);
  ByteBuffer b;
  if (!size || ReadWholeFile(path, *size, b) != ReadStatus::Ok) return "<unreadable>";
  return std::string(reinterpret_cast<const char*>(b.data.get()), b.size);
}

// File name → content of every entry (directories as "<dir>").
std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = PathString(e.path().filename());
    out[name] = e.is_directory() ? "<dir>" : ReadAll(PathString(e.path()));
  }
  return out;
}

std::string Game(const std::vector<std::string>& names, const std::vector<int>& teams, int recorder,
                 uint64_t seed) {
  return gen::BuildRecording(gen::TypicalGame(names, teams, recorder, seed, 20000, 20000));
}

std::string Put(const q2test::TempDir& dir, const std::string& name, const std::string& bytes) {
  EXPECT_TRUE(gen::WriteFile(dir / name, bytes));
  return bytes;
}

RenameRequest Request(const std::string& format, bool dryRun = false) {
  RenameRequest r;
  EXPECT_EQ(CompileRenameFormat(format, r.format, r.tokens), 0);
  r.dryRun = dryRun;
  return r;
}

std::vector<std::string> Texts(const Messages& ms) {
  std::vector<std::string> out;
  for (const Message& m : ms) out.push_back(m.text);
  return out;
}

bool AnyDatFile(const std::string& dir) {
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".dat") return true;
  return false;
}

const std::string kA = gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55});   // short form
const std::string kB = gen::DefaultRecordingName({2005, 11, 5, 21, 4, 38});
const std::string kC = gen::DefaultRecordingName({2006, 1, 14, 23, 59, 1});

TEST(BulkRename, RenamesEveryDefaultNamedRecordingByTheDefaultFormat) {
  q2test::TempDir dir;
  const std::string a = Put(dir, kA, Game({"太郎", "花子"}, {1, 1}, 1, 1));
  const std::string b = Put(dir, kB, Game({"侍", "North", "ゆき", "弓兵"}, {2, 2, 3, 3}, 1, 2));
  const std::string c = Put(dir, kC, Game({"a", "b", "c", "d", "e", "f", "g", "h"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3, 3));
  // Upper-case extension: found, renamed, and given ".mgx"; its header goes
  // to a sibling ".dat", never over the recording.
  const std::string upperName = DefaultNamePrefix + std::string("07-6-2004 18`30`12.MGX");
  const std::string upper = Put(dir, upperName, Game({"North", "South"}, {1, 1}, 2, 4));
  const std::string other = Put(dir, "my game.mgx", Game({"x"}, {1}, 1, 5));
  fs::create_directory(FsPath(dir / (DefaultNamePrefix + std::string("01-1-2001 00`00`00.mgx"))));

  ReplaySummary s;
  std::vector<std::pair<size_t, size_t>> progress;
  RenameRequest req = Request(kDefaultRenameFormat);
  req.progress = [&](size_t done, size_t total) { progress.push_back({done, total}); };
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), req, s);

  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(run.messages, BulkOutcomeMessages(kRenameOk));
  ASSERT_EQ(run.messages.size(), 2u);
  EXPECT_EQ(run.messages[0].caption, "ﾌｧｲﾙ名一括変換処理");
  EXPECT_EQ(run.messages[1].icon, MsgIcon::Information);
  ASSERT_EQ(run.files.size(), 4u);  // the directory is no recording
  EXPECT_EQ(progress, (std::vector<std::pair<size_t, size_t>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));

  const auto after = Snapshot(dir.path());
  const std::map<std::string, std::string> expected = {
      {"太郎：2005年03月05日： vs .mgx", a},
      {"侍：2005年11月05日：侍 North  vs .mgx", b},
      {"c：2006年01月14日：a c e g  vs b d f h .mgx", c},
      {"South：2004年06月07日： vs .mgx", upper},
      {"my game.mgx", other},
      {DefaultNamePrefix + std::string("01-1-2001 00`00`00.mgx"), "<dir>"},
  };
  EXPECT_EQ(after, expected);
  EXPECT_FALSE(AnyDatFile(dir.path()));
  // The model holds the last recording scanned, in name order.
  EXPECT_EQ(Cp932ToUtf8(s.doc.playerNames[0]), "a");
}

TEST(BulkRename, EveryVersionsDefaultNamesAreRenamedAndKeepTheirExtension) {
  q2test::TempDir dir;
  const std::string jp = Put(dir, kA, Game({"太郎", "花子"}, {1, 1}, 1, 1));
  const std::string en = Put(dir, "recorded game -  09-Oct-2007 19`45`02.mgx", Game({"West"}, {1}, 1, 2));
  const std::string up = Put(dir, "rec.20080412-203015.mgz", Game({"North"}, {1}, 1, 3));
  const std::string upper = Put(dir, "rec.20090101-000001.MGZ", Game({"South"}, {1}, 1, 4));
  // Look-alikes stay as they are.
  const std::string like1 = Put(dir, "rec.2008-04-12 203015.mgz", Game({"x"}, {1}, 1, 5));
  const std::string like2 = Put(dir, "recorded game -  09-Okt-2007 19`45`02.mgx", Game({"y"}, {1}, 1, 6));
  gen::GameParams mgl = gen::TypicalGame({"古参"}, {1}, 1, 7, 20000, 20000);
  mgl.mglContainer = true;
  const std::string old = Put(dir, "昔の対戦.mgl", gen::BuildRecording(mgl));

  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[REC_PLAYER] [YEAR]-[MONTH]-[DAY] [HOUR][MIN][SEC]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  std::map<std::string, std::string> expected = {
      {"太郎 2005-03-05 104055.mgx", jp},          {"West 2007-10-09 194502.mgx", en},
      {"North 2008-04-12 203015.mgz", up},         {"South 2009-01-01 000001.mgz", upper},
      {"rec.2008-04-12 203015.mgz", like1},        {"recorded game -  09-Okt-2007 19`45`02.mgx", like2},
      {"昔の対戦.mgl", old},
  };
  EXPECT_EQ(Snapshot(dir.path()), expected);

  // Selected: an .mgl recording is renamed too (its date from the file time).
  run = RenameSelectedFiles(dir.path(), {dir / "昔の対戦.mgl", dir / "North 2008-04-12 203015.mgz"},
                            Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_TRUE(fs::exists(FsPath(dir / "古参.mgl")));
  EXPECT_TRUE(fs::exists(dir / "North.mgz"));
  EXPECT_FALSE(AnyDatFile(dir.path()));
}

#ifndef _WIN32
TEST(BulkRename, DefaultNamesInCodePage932BytesAreRecognisedAndRenamed) {
  // As unpacked from an archive made on Japanese Windows: the name's bytes
  // are code page 932, not UTF-8.
  q2test::TempDir dir;
  const std::string bytes = *Utf8ToCp932(kA);
  const std::string game = Put(dir, bytes, Game({"太郎"}, {1}, 1, 8));
  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[YEAR][MONTH][DAY]_[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(Snapshot(dir.path()), (std::map<std::string, std::string>{{"20050305_太郎.mgx", game}}));
}
#endif

TEST(BulkRename, GameTimeComesFromTheBodyWithoutAHeaderFile) {
  q2test::TempDir dir;
  gen::Placed placed;
  Put(dir, kA, gen::BuildRecording(gen::TypicalGame({"A", "B"}, {1, 1}, 1, 9, 90000, 20000), &placed));
  ReplaySummary s;
  for (bool dry : {true, false}) {
    RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[GAME_TIME]", dry), s);
    EXPECT_EQ(run.outcome, kRenameOk);
    ASSERT_EQ(run.files.size(), 1u);
    EXPECT_EQ(run.files[0].newName, GameTimeText(placed.durationMs) + ".mgx");
  }
  EXPECT_TRUE(fs::exists(FsPath(dir / (GameTimeText(placed.durationMs) + ".mgx"))));
}

TEST(BulkRename, CollisionsFailAndNothingIsReplaced) {
  q2test::TempDir dir;
  const std::string a = Put(dir, kA, Game({"太郎"}, {1}, 1, 1));
  const std::string b = Put(dir, kB, Game({"太郎"}, {1}, 1, 2));
  const std::string c = Put(dir, kC, Game({"太郎"}, {1}, 1, 3));
  const std::string keep = Put(dir, "先客.mgx", "an earlier file of that name");
  ReplaySummary s;

  // No token: every recording gets the same name. The first (in name
  // order) would take it, but a file of that name is already there.
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("先客"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  EXPECT_EQ(Texts(run.messages), std::vector<std::string>{"一部のﾌｧｲﾙ名の変換に失敗しました"});
  EXPECT_EQ(run.messages[0].icon, MsgIcon::Error);
  for (const FileRenameResult& f : run.files) EXPECT_EQ(f.failure, RenameFailure::TargetExists);
  EXPECT_EQ(Snapshot(dir.path()),
            (std::map<std::string, std::string>{{kA, a}, {kB, b}, {kC, c}, {"先客.mgx", keep}}));

  // Without the earlier file: the first succeeds, the others fail.
  fs::remove(FsPath(dir / "先客.mgx"));
  run = RenameDefaultNamedFiles(dir.path(), Request("先客"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  ASSERT_EQ(run.files.size(), 3u);
  EXPECT_TRUE(run.files[0].ok());
  EXPECT_EQ(run.files[1].failure, RenameFailure::TargetExists);
  EXPECT_EQ(run.files[2].failure, RenameFailure::TargetExists);
  // kB comes first in name order ("05-11-…" before "05-3-…").
  EXPECT_EQ(Snapshot(dir.path()),
            (std::map<std::string, std::string>{{"先客.mgx", b}, {kA, a}, {kC, c}}));
}

TEST(BulkRename, NamesTheFileSystemOrWindowsRefusesFail) {
  q2test::TempDir dir;
  fs::create_directory(dir / "a");
  const std::vector<std::string> badNames = {"a/b", "x:y", "w*", "q?", "l<g>", "p|", "dq\"", "b\\s",
                                              "tab\tname", "CON", "nul"};
  std::map<std::string, std::string> before;
  for (size_t i = 0; i < badNames.size(); ++i) {
    const std::string name = gen::DefaultRecordingName({2005, 1, 1, 0, 0, static_cast<int>(i)});
    before[name] = Put(dir, name, Game({badNames[i]}, {1}, 1, 10 + i));
  }
  before["a"] = "<dir>";
  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  ASSERT_EQ(run.files.size(), badNames.size());
  for (const FileRenameResult& f : run.files)
    EXPECT_EQ(f.failure, RenameFailure::RefusedCharacter) << f.newName;
  EXPECT_EQ(Snapshot(dir.path()), before);
  EXPECT_TRUE(fs::is_empty(dir / "a"));

  // Literal text the user typed is checked the same way.
  run = RenameDefaultNamedFiles(dir.path(), Request("[YEAR]:[SEC]"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST(BulkRename, EmptyAndOverlongNamesFail) {
  q2test::TempDir dir;
  const std::string a = Put(dir, kA, Game({"North"}, {1}, 1, 1));
  ReplaySummary s;
  for (const char* fmt : {"[year]", "[]", ".", "..", "[x].[y]"}) {
    RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request(fmt), s);
    EXPECT_EQ(run.outcome, kRenameSomeFailed) << fmt;
    ASSERT_EQ(run.files.size(), 1u);
    EXPECT_EQ(run.files[0].failure, RenameFailure::EmptyName) << fmt;
  }
  // 252 "a" and ".mgx" are too long for any file system.
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request(std::string(252, 'a')), s);
  ASSERT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.files[0].failure, RenameFailure::TooLong);
  EXPECT_EQ(Snapshot(dir.path()), (std::map<std::string, std::string>{{kA, a}}));
  // 100 "あ" are 200 Shift-JIS bytes, within the builder's limit, and 300
  // UTF-8 bytes, too long on POSIX, but 104 UTF-16 units, which Windows
  // takes (Wine can't store it on a Linux file system, so no rename here).
  std::string japanese;
  for (int i = 0; i < 100; ++i) japanese += "あ";
#ifdef _WIN32
  EXPECT_EQ(CheckNewFileName(japanese, japanese + ".mgx"), RenameFailure::None);
#else
  EXPECT_EQ(CheckNewFileName(japanese, japanese + ".mgx"), RenameFailure::TooLong);
#endif
}

TEST(BulkRename, NoMatchGivesOutcomeOne) {
  q2test::TempDir dir;
  Put(dir, "my game.mgx", Game({"x"}, {1}, 1, 1));
  Put(dir, DefaultNamePrefix + std::string("05-3-2005 10`40`55.txt"), "text");
  ReplaySummary s;
  for (const std::string& folder : {dir.path(), dir / "missing"}) {
    RenameRunResult run = RenameDefaultNamedFiles(folder, Request(kDefaultRenameFormat), s);
    EXPECT_EQ(run.outcome, kRenameNothing);
    EXPECT_TRUE(run.files.empty());
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0], (Message{"ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません", "ﾌｧｲﾙ名一括変換処理",
                                        MsgIcon::Error}));
  }
}

TEST(BulkRename, DateOnlyFormatsReadNoHeader) {
  q2test::TempDir dir;
  const std::string a = Put(dir, kA, Game({"North"}, {1}, 1, 1));
  const std::string upperName = DefaultNamePrefix + std::string("07-6-2004 18`30`12.MGX");
  const std::string upper = Put(dir, upperName, Game({"South"}, {1}, 1, 2));
  // A directory where each extracted header would go: any extraction
  // would fail.
  fs::create_directory(FsPath(dir / ExtractedHeaderPathFor(kA)));
  fs::create_directory(FsPath(dir / FileNameOf(ExtractedHeaderPathFor(dir / upperName))));
  ReplaySummary s;
  s.doc.playerNames[0] = "previous";
  s.doc.recorderSlot = 1;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[YEAR][MONTH][DAY]_[HOUR][MIN][SEC]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(ReadAll(dir / "20050305_104055.mgx"), a);
  EXPECT_EQ(ReadAll(dir / "20040607_183012.mgx"), upper);
  EXPECT_EQ(s.doc.playerNames[0], "previous");
  EXPECT_EQ(s.doc.recorderSlot, 1);
  EXPECT_EQ(run.messages, BulkOutcomeMessages(kRenameOk));
}

TEST(BulkRename, UnreadableHeadersKeepTheirNamesAndAreReportedInOneBox) {
  q2test::TempDir dir;
  const std::string garbage("\xff\xff\x00\x00garbage", 11);
  std::map<std::string, std::string> expected;
  std::vector<std::string> broken;
  for (int i = 0; i < 7; ++i) {
    broken.push_back(gen::DefaultRecordingName({2005, 3, 5, 10, 40, 50 + i}));
    expected[broken.back()] = Put(dir, broken.back(), garbage);
  }
  expected["North.mgx"] = Put(dir, gen::DefaultRecordingName({2006, 1, 1, 0, 0, 0}), Game({"North"}, {1}, 1, 1));
  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  EXPECT_EQ(Snapshot(dir.path()), expected);
  ASSERT_EQ(run.files.size(), 8u);
  EXPECT_EQ(run.files[1].failure, RenameFailure::HeaderUnreadable);  // [0] is North's, first in name order
  EXPECT_EQ(run.files[1].messages, Messages{{kMsgCorrupt}});
  // One box for the seven, naming the first five, then the outcome's.
  ASSERT_EQ(run.messages.size(), 2u);
  EXPECT_EQ(run.messages[0].caption, kCaptionBulkRename);
  const std::string& box = run.messages[0].text;
  EXPECT_NE(box.find("7個"), std::string::npos) << box;
  for (size_t i = 0; i < broken.size(); ++i)
    EXPECT_EQ(box.find(broken[i] + "：" + kMsgCorrupt) != std::string::npos, i < 5) << box;
  EXPECT_EQ(run.messages[1].text, kMsgBulkFailed);

  // A run over one recording shows its own message.
  run = RenameSelectedFiles(dir.path(), {dir / broken[0], dir / "notes.txt"}, Request("[REC_PLAYER]"), s);
  EXPECT_EQ(Texts(run.messages), (std::vector<std::string>{kMsgCorrupt, kMsgSelectedFailed}));
}

TEST(BulkRename, EachMatchIsRenamedOnceEvenWhenItsNewNameFitsThePattern) {
  q2test::TempDir dir;
  const std::string a = Put(dir, kA, Game({"North"}, {1}, 1, 1));
  const std::string b = Put(dir, gen::DefaultRecordingName({2005, 4, 6, 1, 2, 3}), Game({"South"}, {1}, 1, 2));
  ReplaySummary s;
  // Short-form names come out in the long form, still default names.
  RenameRunResult run = RenameDefaultNamedFiles(
      dir.path(), Request(std::string(DefaultNamePrefix) + "[DAY]-[MONTH]-[YEAR] [HOUR]`[MIN]`[SEC]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(run.files.size(), 2u);
  EXPECT_EQ(Snapshot(dir.path()),
            (std::map<std::string, std::string>{{DefaultNamePrefix + std::string("05-03-2005 10`40`55.mgx"), a},
                                                {DefaultNamePrefix + std::string("06-04-2005 01`02`03.mgx"), b}}));
}

TEST(BulkRename, DryRunChangesNothingAndForeseesCollisions) {
  q2test::TempDir dir;
  Put(dir, kA, Game({"太郎"}, {1}, 1, 1));
  Put(dir, kB, Game({"花子"}, {1}, 1, 2));
  Put(dir, kC, Game({"花子"}, {1}, 1, 3));
  Put(dir, "花子2.mgx", "x");
  const auto before = Snapshot(dir.path());
  ReplaySummary s;
  RenameRunResult run = RenameDefaultNamedFiles(dir.path(), Request("[REC_PLAYER]", true), s);
  EXPECT_EQ(Snapshot(dir.path()), before);  // no rename, no header file
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  ASSERT_EQ(run.files.size(), 3u);
  EXPECT_EQ(run.files[0].newName, "花子.mgx");
  EXPECT_TRUE(run.files[0].ok());
  EXPECT_EQ(run.files[1].newName, "太郎.mgx");
  EXPECT_TRUE(run.files[1].ok());
  EXPECT_EQ(run.files[2].newName, "花子.mgx");
  EXPECT_EQ(run.files[2].failure, RenameFailure::TargetExists);  // taken by the first

  // The real run agrees.
  RenameRunResult real = RenameDefaultNamedFiles(dir.path(), Request("[REC_PLAYER]"), s);
  ASSERT_EQ(real.files.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(real.files[i].newName, run.files[i].newName);
    EXPECT_EQ(real.files[i].failure, run.files[i].failure);
  }
}

void SetMtime(const std::string& path, int year, int mon, int day, int h, int m, int sec) {
  ASSERT_TRUE(q2test::SetLocalMtime(path, year, mon, day, h, m, sec));
}

TEST(SelectedRename, DatesFromDefaultNamesOrFileTimesAndOnlyLowerCaseMgx) {
  q2test::TempDir dir;
  const std::string a = Put(dir, kA, Game({"North"}, {1}, 1, 1));
  const std::string mine = Put(dir, "my game.mgx", Game({"South"}, {1}, 1, 2));
  SetMtime(dir / "my game.mgx", 2004, 6, 7, 18, 30, 12);
  const std::string upper = Put(dir, "CAPS.MGX", Game({"East"}, {1}, 1, 3));
  const std::string untouched = Put(dir, "row2.mgx", Game({"West"}, {1}, 1, 4));
  Put(dir, "notes.txt", "notes");
  fs::create_directory(dir / "folder.mgx");
  // A name with the prefix but not the layout still takes the layout's positions.
  const std::string odd = Put(dir, DefaultNamePrefix + std::string("abcdefghijklmnopqrs.mgx"), "x");

  ReplaySummary s;
  RenameRunResult run = RenameSelectedFiles(
      dir.path(),
      {dir / kA, dir / "my game.mgx", dir / "CAPS.MGX", dir / "notes.txt", dir / "folder.mgx", dir / "..",
       dir / (DefaultNamePrefix + std::string("abcdefghijklmnopqrs.mgx"))},
      Request("[YEAR]-[MONTH]-[DAY] [HOUR]-[MIN]-[SEC]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(run.messages, SelectedOutcomeMessages(kRenameOk));
  EXPECT_EQ(Texts(run.messages), (std::vector<std::string>{"選択されたReplayﾌｧｲﾙが\n紳士的に変換されました。",
                                                           "なかなか紳士ですﾅｯ ( ﾟДﾟ)y ＼_ ﾎﾟﾛｯ"}));
  ASSERT_EQ(run.files.size(), 7u);
  EXPECT_TRUE(run.files[2].skipped);
  EXPECT_TRUE(run.files[4].skipped);
  EXPECT_EQ(Snapshot(dir.path()), (std::map<std::string, std::string>{
                                      {"2005-03-05 10-40-55.mgx", a},
                                      {"2004-06-07 18-30-12.mgx", mine},
                                      {"CAPS.MGX", upper},
                                      {"row2.mgx", untouched},
                                      {"notes.txt", "notes"},
                                      {"folder.mgx", "<dir>"},
                                      {"ghij-de-ab lm-op-rs.mgx", odd},
                                  }));
}

TEST(SelectedRename, SameNameTwiceFailsTheSecond) {
  q2test::TempDir dir;
  const std::string one = Put(dir, "one.mgx", Game({"North"}, {1}, 1, 1));
  const std::string two = Put(dir, "two.mgx", Game({"North"}, {1}, 1, 2));
  ReplaySummary s;
  RenameRunResult run = RenameSelectedFiles(dir.path(), {dir / "one.mgx", dir / "two.mgx"},
                                            Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  EXPECT_EQ(run.messages, (Messages{{"使用不可な文字が挿入されてるため変換できません", "ﾌｧｲﾙ名選択変換処理",
                                     MsgIcon::Error}}));
  EXPECT_EQ(Snapshot(dir.path()), (std::map<std::string, std::string>{{"North.mgx", one}, {"two.mgx", two}}));

  // Renaming a recording to the name it has is no failure.
  run = RenameSelectedFiles(dir.path(), {dir / "North.mgx"}, Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  EXPECT_EQ(ReadAll(dir / "North.mgx"), one);

  // Nothing selected that is a recording: nothing renamed, success.
  run = RenameSelectedFiles(dir.path(), {dir / ".."}, Request("[REC_PLAYER]"), s);
  EXPECT_EQ(run.outcome, kRenameOk);
  // A file that went away meanwhile fails.
  run = RenameSelectedFiles(dir.path(), {dir / "gone.mgx"}, Request("[YEAR]"), s);
  EXPECT_EQ(run.outcome, kRenameSomeFailed);
  EXPECT_EQ(run.files.at(0).failure, RenameFailure::Missing);
}

}  // namespace
}  // namespace q2
