// quoril2-cli rename, run as a user would run it.
#include <gtest/gtest.h>

#include <tuple>

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
  for (const auto& [path, bytes] : {std::pair{dir + "/" + kA, Game({"太郎", "花子"}, 1)}, {dir + "/" + kB, Game({"North"}, 2)},
                                    {dir + "/keep.mgx", Game({"x"}, 3)}, {tmp / "one.mgx", Game({"North"}, 1)},
                                    {tmp / "two.mgx", Game({"North"}, 2)}, {tmp / "notes.txt", std::string("x")}})
    ASSERT_TRUE(gen::WriteFile(path, bytes));
  const auto before = Snapshot(dir);
  const std::string renamed = kA + " -> 太郎：2005年03月05日： vs .mgx\n" + kB + " -> North：2006年01月14日： vs .mgx\n" +
                              "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。\n貴方もこれで紳士です(´'ω'｀)\n";
  // Arguments, exit code, and the output; for a refusal (exit 2, nothing
  // renamed) the start of the error output. A dry run renames nothing and
  // leaves no header file, so the real run then does the same.
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{"--format", "[YEAR", dir}, 2, "変換書式をが不正だよ(´；ω；`)"}, {{"--format=", dir}, 2, "変換書式を入力してよ(´；ω；`)"},
      {{}, 2, "usage"}, {{dir, dir}, 2, "usage"}, {{"--bogus", dir}, 2, "usage"}, {{"--format"}, 2, "usage"},
      {{"--dry-run", dir + "/"}, 0, renamed}, {{dir}, 0, renamed},
      {{"--format", "[YEAR]", dir}, 3, "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません\n"},
      // Selected files: each renamed in its own folder.
      {{"--format", "[REC_PLAYER]", "--selected", tmp / "one.mgx", tmp / "notes.txt", tmp / "two.mgx"}, 1,
       "one.mgx -> North.mgx\nnotes.txt: 変換対象外\ntwo.mgx -> North.mgx: 失敗 (同じ名前のファイルが既にあります)\n"
       "使用不可な文字が挿入されてるため変換できません\n"}};
  for (const auto& [args, code, printed] : cases) {
    ProgramRun r = Cli(tmp, args);
    EXPECT_EQ(r.code, code) << r.err;
    EXPECT_EQ(code == 2 ? r.out + r.err.substr(0, printed.size()) : r.out, printed);
  }
  EXPECT_EQ(Snapshot(dir), (std::map<std::string, std::string>{{"太郎：2005年03月05日： vs .mgx", before.at(kA)},
                                                               {"North：2006年01月14日： vs .mgx", before.at(kB)},
                                                               {"keep.mgx", before.at("keep.mgx")}}));
  // A relative path, from the folder the program runs in.
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
  const std::tuple<const char*, unsigned, int, std::string> cases[] = {  // folder mode; folders of 240 bytes above it
      {"read-only folder", 0555, 0, "[REC_PLAYER]"},
      {"read-only folder, dates only", 0555, 0, "[YEAR][MONTH][DAY][SEC]"},
      {"sticky folder, another user's files", 01777, 0, "[REC_PLAYER]"},
      {"path longer than the system takes", 0755, 16, std::string(240, 'x') + "[SEC]"},
  };
  for (const auto& [what, mode, depth, format] : cases) {
    SCOPED_TRACE(what);
    if (mode & S_ISVTX && !q2test::IsRoot()) continue;  // needs files of another user
    q2test::TempDir tmp;
    std::string dir = tmp.path();
    for (int i = 0; i < depth; ++i) dir += "/" + std::string(240, 'd');
    dir += "/rec";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kA, Game({"太郎"}, 1)));
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kB, Game({"North"}, 2)));
    // The user's folders, so that only the case's own obstacle is in the way.
    for (const std::string& d : {tmp.path(), dir}) ASSERT_TRUE(!q2test::IsRoot() || ::chown(d.c_str(), q2test::kUnprivilegedId, q2test::kUnprivilegedId) == 0);
    ASSERT_TRUE(!(mode & S_ISVTX) || ::chown(dir.c_str(), 0, 0) == 0);
    ASSERT_EQ(::chmod(dir.c_str(), mode), 0);
    const auto before = Snapshot(dir);
    const std::string why = q2test::RunAsUser([&] {
      ProgramRun dry = Cli(tmp, {"--format", format, "--dry-run", dir});
      ProgramRun real = Cli(tmp, {"--format", format, dir});
      EXPECT_EQ(dry.code, 1) << dry.out;
      EXPECT_EQ(real.code, dry.code);
      EXPECT_EQ(real.out + real.err, dry.out + dry.err);
    });
    if (!why.empty()) GTEST_SKIP() << why;
    EXPECT_EQ(Snapshot(dir), before);
    ::chmod(dir.c_str(), 0755);
  }
#endif
}

}  // namespace
}  // namespace q2
