// Renaming copies of the real recordings, when they are at hand.
#include <gtest/gtest.h>

#include <filesystem>

#include "rename/core/rename_run.h"
#include "support/temp_dir.h"

namespace q2 {
namespace {

namespace fs = std::filesystem;

TEST(RealRecordings, DryRunAndRealRunAgree) {
  std::error_code ec;
  if (!fs::is_directory(QUORIL2_REAL_RECORDINGS, ec)) GTEST_SKIP() << "no real recordings";
  q2test::TempDir dir;
  std::vector<std::string> paths;
  std::map<std::string, uintmax_t> sizes;
  for (const char* name : {"aoc-1.0c.mgx", "up-1.4.mgz"}) {
    const fs::path from = fs::path(QUORIL2_REAL_RECORDINGS) / name;
    if (!fs::exists(from)) continue;
    const std::string copy = dir / (fs::path(name).stem().string() + ".mgx");
    fs::copy_file(from, copy);
    paths.push_back(copy);
    sizes[copy] = fs::file_size(copy);
  }
  ASSERT_FALSE(paths.empty());

  RenameRequest req;
  ASSERT_EQ(CompileRenameFormat("[REC_PLAYER]_[ALL]_[チーム別]", req.format, req.tokens), 0);
  req.dryRun = true;
  ReplaySummary s;
  RenameRunResult dry = RenameSelectedFiles(dir.path(), paths, req, s);
  req.dryRun = false;
  RenameRunResult real = RenameSelectedFiles(dir.path(), paths, req, s);

  ASSERT_EQ(dry.files.size(), paths.size());
  ASSERT_EQ(real.files.size(), paths.size());
  EXPECT_EQ(real.outcome, kRenameOk);
  for (size_t i = 0; i < paths.size(); ++i) {
    EXPECT_TRUE(real.files[i].ok()) << FailureText(real.files[i].failure);
    EXPECT_EQ(real.files[i].newName, dry.files[i].newName);
    EXPECT_EQ(real.files[i].messages, dry.files[i].messages);
    // A recorder was found: the name starts with a name, not with "_".
    EXPECT_NE(real.files[i].newName.front(), '_') << real.files[i].newName;
    EXPECT_EQ(fs::file_size(dir / real.files[i].newName), sizes[paths[i]]);
  }
  for (const auto& e : fs::directory_iterator(dir.path())) EXPECT_NE(e.path().extension(), ".dat");
}

}  // namespace
}  // namespace q2
