// Bulk rename of 1,000 default-named recordings: reading replay data
// against date tokens alone and against the dry run.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "bench.h"
#include "tools/recording_generator.h"
#include "core/rename/rename_run.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
constexpr int kFiles = 1000;

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

std::vector<std::string> Recordings() {
  static const std::vector<std::vector<std::string>> names = {
      {"太郎", "花子"}, {"侍ジャック", "North", "ゆきむら", "弓兵マスター"},
      {"騎士団長", "ｶﾐｶｾﾞ", "太郎", "花子", "North", "Haslebo", "ゆきむら", "侍ジャック"}};
  static const std::vector<std::vector<int>> teams = {{1, 1}, {2, 2, 3, 3}, {2, 3, 2, 3, 2, 3, 2, 3}};
  std::vector<std::string> out;
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const size_t k = seed % names.size();
    out.push_back(q2::gen::BuildRecording(q2::gen::TypicalGame(names[k], teams[k], 1, seed, 20000, 60000)));
  }
  return out;
}

// Empties the folder and writes the 1,000 recordings under default names.
std::vector<std::string> Fill(const std::string& dir, const std::vector<std::string>& bytes) {
  for (const auto& e : fs::directory_iterator(dir)) fs::remove(e.path());
  std::vector<std::string> paths;
  for (int i = 0; i < kFiles; ++i) {
    const std::string path =
        dir + "/" + q2::gen::DefaultRecordingName({2005, 3, 5, 10 + i / 3600, (i / 60) % 60, i % 60});
    q2::gen::WriteFile(path, bytes[static_cast<size_t>(i) % bytes.size()]);
    paths.push_back(path);
  }
#ifndef _WIN32
  // A user's folder is not freshly written: its data is on disk already.
  ::sync();
#endif
  return paths;
}

q2::RenameRequest Request(const char* format, bool dryRun = false) {
  q2::RenameRequest r;
  q2::CompileRenameFormat(format, r.format, r.tokens);
  r.dryRun = dryRun;
  return r;
}

constexpr int kReps = 5;

// Best of kReps bulk runs, each over a freshly written folder.
double BulkRun(const std::string& dir, const std::vector<std::string>& bytes, const q2::RenameRequest& req,
               int* failures) {
  double best = 1e300;
  for (int rep = 0; rep < kReps; ++rep) {
    Fill(dir, bytes);
    q2::ReplaySummary s;
    auto t0 = std::chrono::steady_clock::now();
    q2::RenameRunResult run = q2::RenameDefaultNamedFiles(dir, req, s);
    auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, Ms(t0, t1));
    *failures = 0;
    for (const auto& f : run.files) *failures += f.ok() ? 0 : 1;
  }
  return best;
}

}  // namespace

Q2_BENCH(BulkRename1000) {
  q2test::TempDir dir;
  const std::vector<std::string> bytes = Recordings();
  int failures = 0;

  const double withData =
      BulkRun(dir.path(), bytes, Request("[REC_PLAYER]_[YEAR][MONTH][DAY]_[HOUR][MIN][SEC]_[チーム別]"), &failures);
  std::printf("bulk rename, %d recordings, format reading replay data: %.1f ms (%d failed)\n", kFiles, withData,
              failures);
  const double dateOnly = BulkRun(dir.path(), bytes, Request("[YEAR][MONTH][DAY]_[HOUR][MIN][SEC]"), &failures);
  std::printf("bulk rename, %d recordings, date tokens only:          %.1f ms (%d failed)\n", kFiles, dateOnly,
              failures);
  const double dry = BulkRun(dir.path(), bytes,
                             Request("[REC_PLAYER]_[YEAR][MONTH][DAY]_[HOUR][MIN][SEC]_[チーム別]", true), &failures);
  std::printf("dry run, header read in memory:                       %.1f ms\n", dry);

  std::printf("header reading's share of the bulk rename: %.0f %%\n", 100.0 * (withData - dateOnly) / withData);
  std::printf("per recording: %.3f ms\n", withData / kFiles);
}
