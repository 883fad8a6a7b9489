// quoril2-cli rename, run as a user would run it.
#include <gtest/gtest.h>

#include "rename/core/default_name.h"
#include "support/as_user.h"
#include "support/core_support.h"
#include "support/run_program.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace q2 {
namespace {

using q2test::Game;
using q2test::ProgramRun;
using q2test::Snapshot;

ProgramRun Cli(const q2test::TempDir& tmp, std::vector<std::string> args, const std::string& workDir = "") {
  args.insert(args.begin(), "rename");
  return q2test::RunProgram(QUORIL2_CLI, args, tmp.path(), workDir);
}

const std::string kA = gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55});
const std::string kB = gen::DefaultRecordingName({2006, 1, 14, 23, 59, 1});

TEST(CliRename, OutcomesExitCodesAndWhatIsPrinted) {
  q2test::TempDir tmp;
  const std::string dir = tmp / "rec";
  std::filesystem::create_directory(dir);
  ASSERT_TRUE(gen::WriteFile(dir + "/" + kA, Game({"太郎", "花子"}, 1)));
  ASSERT_TRUE(gen::WriteFile(dir + "/" + kB, Game({"North"}, 2)));
  ASSERT_TRUE(gen::WriteFile(dir + "/keep.mgx", Game({"x"}, 3)));
  const auto before = Snapshot(dir);
  const std::string lines = kA + " -> 太郎：2005年03月05日： vs .mgx\n" + kB + " -> North：2006年01月14日： vs .mgx\n" +
                            "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。\n貴方もこれで紳士です(´'ω'｀)\n";
  // Bad arguments and formats: exit 2, nothing renamed.
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--format", "[YEAR", dir}, "変換書式をが不正だよ(´；ω；`)"}, {{"--format=", dir}, "変換書式を入力してよ(´；ω；`)"},
      {{}, "usage"}, {{dir, dir}, "usage"}, {{"--bogus", dir}, "usage"}, {{"--format"}, "usage"}};
  for (const auto& [args, err] : refused) {
    ProgramRun r = Cli(tmp, args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
  }
  ProgramRun dry = Cli(tmp, {"--dry-run", dir + "/"});
  EXPECT_EQ(dry.code, 0) << dry.err;
  EXPECT_EQ(dry.out, lines);
  EXPECT_EQ(Snapshot(dir), before);  // nothing renamed, no header file left or made
  ProgramRun real = Cli(tmp, {dir});
  EXPECT_EQ(real.code, 0) << real.err;
  EXPECT_EQ(real.out, lines);
  EXPECT_EQ(Snapshot(dir), (std::map<std::string, std::string>{{"太郎：2005年03月05日： vs .mgx", before.at(kA)},
                                                               {"North：2006年01月14日： vs .mgx", before.at(kB)},
                                                               {"keep.mgx", before.at("keep.mgx")}}));
  ProgramRun none = Cli(tmp, {"--format", "[YEAR]", dir});
  EXPECT_EQ(none.code, 3);
  EXPECT_EQ(none.out, "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません\n");

  // Selected files: each renamed in its own folder, a relative path too.
  ASSERT_TRUE(gen::WriteFile(tmp / "one.mgx", Game({"North"}, 1)));
  ASSERT_TRUE(gen::WriteFile(tmp / "two.mgx", Game({"North"}, 2)));
  ASSERT_TRUE(gen::WriteFile(tmp / "notes.txt", "x"));
  ProgramRun r = Cli(tmp, {"--format", "[REC_PLAYER]", "--selected", tmp / "one.mgx", tmp / "notes.txt", tmp / "two.mgx"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            "one.mgx -> North.mgx\nnotes.txt: 変換対象外\ntwo.mgx -> North.mgx: 失敗 (同じ名前のファイルが既にあります)\n"
            "使用不可な文字が挿入されてるため変換できません\n");
  EXPECT_EQ(Cli(tmp, {"--format", "renamed [REC_PLAYER]", "--selected", "two.mgx"}, tmp.path()).code, 0);
  const auto after = Snapshot(tmp.path());
  EXPECT_TRUE(after.count("North.mgx") && after.count("renamed North.mgx") && !after.count("two.mgx"));
}

// What the dry run lists and returns is what the real run then does, for an
// ordinary user where renames fail.
TEST(CliRename, DryRunForeseesWhatTheRealRunCannotDo) {
#ifdef _WIN32
  GTEST_SKIP() << "file modes and user ids are POSIX";
#else
  struct Case {
    const char* what;
    unsigned mode;  // of the folder
    int depth;      // folders of 240 bytes above it
    std::string format;
  } cases[] = {
      {"read-only folder", 0555, 0, "[REC_PLAYER]"},
      {"read-only folder, dates only", 0555, 0, "[YEAR][MONTH][DAY][SEC]"},
      {"sticky folder, another user's files", 01777, 0, "[REC_PLAYER]"},
      {"path longer than the system takes", 0755, 16, std::string(240, 'x') + "[SEC]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.mode & S_ISVTX && !q2test::IsRoot()) continue;  // needs files of another user
    q2test::TempDir tmp;
    std::string dir = tmp.path();
    for (int i = 0; i < c.depth; ++i) dir += "/" + std::string(240, 'd');
    dir += "/rec";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kA, Game({"太郎"}, 1)));
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kB, Game({"North"}, 2)));
    // The user's folders, so that only the case's own obstacle is in the way.
    for (const std::string& d : {tmp.path(), dir})
      if (q2test::IsRoot()) ASSERT_EQ(::chown(d.c_str(), q2test::kUnprivilegedId, q2test::kUnprivilegedId), 0);
    if (c.mode & S_ISVTX) ASSERT_EQ(::chown(dir.c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(dir.c_str(), c.mode), 0);
    const auto before = Snapshot(dir);
    const std::string why = q2test::RunAsUser([&] {
      ProgramRun dry = Cli(tmp, {"--format", c.format, "--dry-run", dir});
      ProgramRun real = Cli(tmp, {"--format", c.format, dir});
      EXPECT_EQ(dry.code, 1) << dry.out;
      EXPECT_EQ(real.code, dry.code);
      EXPECT_EQ(real.out, dry.out);
      EXPECT_EQ(real.err, dry.err);
    });
    if (!why.empty()) GTEST_SKIP() << why;
    EXPECT_EQ(Snapshot(dir), before);
    ::chmod(dir.c_str(), 0755);
  }
#endif
}

}  // namespace
}  // namespace q2
