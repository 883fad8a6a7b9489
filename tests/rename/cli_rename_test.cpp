// quoril2-cli rename, run as a user would run it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/recording_generator.h"
#include "platform/files.h"
#include "rename/core/default_name.h"
#include "support/as_user.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace q2 {
namespace {

namespace fs = std::filesystem;

using CliRun = q2test::ProgramRun;

CliRun Cli(const q2test::TempDir& tmp, const std::vector<std::string>& args, const std::string& workDir = "") {
  std::vector<std::string> all{"rename"};
  all.insert(all.end(), args.begin(), args.end());
  return q2test::RunProgram(QUORIL2_CLI, all, tmp.path(), workDir);
}

std::map<std::string, uintmax_t> Listing(const std::string& dir) {
  std::map<std::string, uintmax_t> out;
  for (const auto& e : fs::directory_iterator(dir))
    out[PathString(e.path().filename())] = e.is_regular_file() ? e.file_size() : 0;
  return out;
}

std::string Game(const std::vector<std::string>& names, uint64_t seed) {
  return gen::BuildRecording(gen::TypicalGame(names, std::vector<int>(names.size(), 1), 1, seed, 20000, 20000));
}

const std::string kA = gen::DefaultRecordingName({2005, 3, 5, 10, 40, 55});
const std::string kB = gen::DefaultRecordingName({2006, 1, 14, 23, 59, 1});

TEST(CliRename, BulkRunDryRunAndOutcomes) {
  q2test::TempDir tmp;
  fs::create_directory(tmp / "rec");
  const std::string dir = tmp / "rec";
  ASSERT_TRUE(gen::WriteFile(dir + "/" + kA, Game({"太郎", "花子"}, 1)));
  ASSERT_TRUE(gen::WriteFile(dir + "/" + kB, Game({"North"}, 2)));
  ASSERT_TRUE(gen::WriteFile(dir + "/keep.mgx", Game({"x"}, 3)));
  const auto before = Listing(dir);

  const std::string lines =
      kA + " -> 太郎：2005年03月05日： vs .mgx\n" + kB + " -> North：2006年01月14日： vs .mgx\n";
  const std::string done = "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。\n貴方もこれで紳士です(´'ω'｀)\n";

  CliRun dry = Cli(tmp, {"--dry-run", dir + "/"});
  EXPECT_EQ(dry.code, 0) << dry.err;
  EXPECT_EQ(dry.out, lines + done);
  EXPECT_EQ(Listing(dir), before);  // nothing renamed, no header file left or made

  CliRun real = Cli(tmp, {dir});
  EXPECT_EQ(real.code, 0) << real.err;
  EXPECT_EQ(real.out, lines + done);
  EXPECT_TRUE(fs::exists(FsPath(dir + "/太郎：2005年03月05日： vs .mgx")));
  EXPECT_TRUE(fs::exists(FsPath(dir + "/North：2006年01月14日： vs .mgx")));
  EXPECT_TRUE(fs::exists(dir + "/keep.mgx"));
  EXPECT_EQ(Listing(dir).size(), 3u);

  CliRun none = Cli(tmp, {"--format", "[YEAR]", dir});
  EXPECT_EQ(none.code, 3);
  EXPECT_EQ(none.out, "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません\n");
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
  };
  const Case cases[] = {
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
    fs::create_directories(dir);
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kA, Game({"太郎"}, 1)));
    ASSERT_TRUE(gen::WriteFile(dir + "/" + kB, Game({"North"}, 2)));
    // The user's folders, so that only the case's own obstacle is in the way.
    for (const std::string& d : {tmp.path(), dir}) {
      if (q2test::IsRoot()) {
        ASSERT_EQ(::chown(d.c_str(), q2test::kUnprivilegedId, q2test::kUnprivilegedId), 0);
      }
    }
    if (c.mode & S_ISVTX) {
      ASSERT_EQ(::chown(dir.c_str(), 0, 0), 0);
    }
    ASSERT_EQ(::chmod(dir.c_str(), c.mode), 0);
    const auto before = Listing(dir);

    const std::string why = q2test::RunAsUser([&] {
      CliRun dry = Cli(tmp, {"--format", c.format, "--dry-run", dir});
      CliRun real = Cli(tmp, {"--format", c.format, dir});
      EXPECT_EQ(dry.code, 1) << dry.out;
      EXPECT_EQ(real.code, dry.code);
      EXPECT_EQ(real.out, dry.out);
      EXPECT_EQ(real.err, dry.err);
    });
    if (!why.empty()) GTEST_SKIP() << why;
    EXPECT_EQ(Listing(dir), before);
    ::chmod(dir.c_str(), 0755);
  }
#endif
}

TEST(CliRename, RefusesBadFormatsAndArguments) {
  q2test::TempDir tmp;
  ASSERT_TRUE(gen::WriteFile(tmp / kA, Game({"North"}, 1)));
  const auto before = Listing(tmp.path());

  CliRun malformed = Cli(tmp, {"--format", "[YEAR", tmp.path()});
  EXPECT_EQ(malformed.code, 2);
  EXPECT_NE(malformed.err.find("変換書式をが不正だよ(´；ω；`)"), std::string::npos);
  EXPECT_EQ(malformed.out, "");
  CliRun empty = Cli(tmp, {"--format=", tmp.path()});
  EXPECT_EQ(empty.code, 2);
  EXPECT_NE(empty.err.find("変換書式を入力してよ(´；ω；`)"), std::string::npos);
  EXPECT_EQ(Cli(tmp, {}).code, 2);
  EXPECT_EQ(Cli(tmp, {tmp.path(), tmp.path()}).code, 2);
  EXPECT_EQ(Cli(tmp, {"--bogus", tmp.path()}).code, 2);
  EXPECT_EQ(Cli(tmp, {"--format"}).code, 2);
  EXPECT_EQ(Listing(tmp.path()), before);
}

TEST(CliRename, SelectedFilesFailuresAndSkips) {
  q2test::TempDir tmp;
  ASSERT_TRUE(gen::WriteFile(tmp / "one.mgx", Game({"North"}, 1)));
  ASSERT_TRUE(gen::WriteFile(tmp / "two.mgx", Game({"North"}, 2)));
  ASSERT_TRUE(gen::WriteFile(tmp / "notes.txt", "x"));

  CliRun r = Cli(tmp, {"--format", "[REC_PLAYER]", "--selected", tmp / "one.mgx", tmp / "notes.txt", tmp / "two.mgx"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            "one.mgx -> North.mgx\n"
            "notes.txt: 変換対象外\n"
            "two.mgx -> North.mgx: 失敗 (同じ名前のファイルが既にあります)\n"
            "使用不可な文字が挿入されてるため変換できません\n");
  EXPECT_TRUE(fs::exists(tmp / "North.mgx"));
  EXPECT_TRUE(fs::exists(tmp / "two.mgx"));

  // A relative path is renamed in its own folder.
  EXPECT_EQ(Cli(tmp, {"--format", "renamed [REC_PLAYER]", "--selected", "two.mgx"}, tmp.path()).code, 0);
  EXPECT_TRUE(fs::exists(tmp / "renamed North.mgx"));
  EXPECT_FALSE(fs::exists(tmp / "two.mgx"));
}

}  // namespace
}  // namespace q2
