// quoril2-cli as a user's shell runs it: whole processes against a floor
// program that does the least an open must do, their peak memory, and many
// recordings in one call against one call each.
#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "bench.h"
#include "platform/files.h"
#include "platform/mapped_file.h"
#include "core/recording/container.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

struct Run {
  double ms = 0;
  int status = -1;
};

// Runs the program with its output thrown away (or kept, when `out` is given).
Run Spawn(const std::vector<std::string>& argv, std::string* out = nullptr) {
  std::vector<char*> a;
  for (const std::string& s : argv) a.push_back(const_cast<char*>(s.c_str()));
  a.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  char outName[] = "/tmp/quoril2-bench-XXXXXX";
  const int outFd = out ? mkstemp(outName) : -1;
  if (outFd >= 0)
    posix_spawn_file_actions_adddup2(&fa, outFd, 1);
  else
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
  Run r;
  const auto t0 = std::chrono::steady_clock::now();
  pid_t pid;
  if (posix_spawn(&pid, a[0], &fa, nullptr, a.data(), environ) == 0) {
    waitpid(pid, &r.status, 0);
  }
  r.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  posix_spawn_file_actions_destroy(&fa);
  if (outFd >= 0) {
    out->clear();
    char buf[4096];
    lseek(outFd, 0, SEEK_SET);
    for (ssize_t n; (n = read(outFd, buf, sizeof buf)) > 0;) out->append(buf, static_cast<size_t>(n));
    close(outFd);
    unlink(outName);
  }
  return r;
}

// Peak resident memory of one run, measured by the floor program's launcher.
long PeakKb(std::vector<std::string> argv) {
  argv.insert(argv.begin(), {QUORIL2_FLOOR, "--peak"});
  std::string out;
  Spawn(argv, &out);
  return std::atol(out.c_str());
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

size_t InflatedSize(const std::string& path) {
  q2::MappedFile f;
  f.open(path);
  const uint8_t* d = f.data();
  const uint32_t L = d[0] | d[1] << 8 | d[2] << 16 | uint32_t(d[3]) << 24;
  q2::HeaderBuffer header;
  header.inflate(d + 8, L - 8);
  return header.size();
}

void CompareWithFloor(const std::string& label, const std::string& path) {
  std::vector<double> cli, floor;
  bool ok = true;
  for (int i = 0; i < 21; ++i) {
    // Alternating, so that both see the same state of the machine.
    const Run f = Spawn({QUORIL2_FLOOR, path});
    const Run c = Spawn({QUORIL2_CLI, "show", "--json", path});
    ok = ok && f.status == 0 && c.status == 0;
    floor.push_back(f.ms);
    cli.push_back(c.ms);
  }
  const long peak = PeakKb({QUORIL2_CLI, "show", "--json", path});
  const double size = static_cast<double>(*q2::FileSizeOf(path)), header = static_cast<double>(InflatedSize(path));
  const double limitKb = (size + header + 8e6) / 1024;
  std::printf("%-10s %6.1f MB, header %6.0f KB: show --json %6.2f ms, floor %6.2f ms (medians of 21), ratio %.2f%s\n",
              label.c_str(), size / 1e6, header / 1024, Median(cli), Median(floor), Median(cli) / Median(floor),
              ok ? "" : "  (a run FAILED)");
  std::printf("%-10s peak resident memory %ld KB, limit file + header + 8 MB = %.0f KB%s\n", "", peak,
              limitKb, peak < limitKb ? "" : "  (OVER)");
}

}  // namespace

Q2_BENCH(process_open) {
  q2test::TempDir dir;
  struct Size {
    const char* label;
    const char *body, *header;
  } sizes[] = {{"2.5 MB", "2400000", "1000000"}, {"50 MB", "48000000", "2000000"}};
  for (const Size& s : sizes) {
    const std::string path = dir / (std::string("game-") + s.label + ".mgx");
    Spawn({QUORIL2_GEN, "recording", path, "--names", "侍ジャック,North,ゆきむら,弓兵マスター", "--teams", "2,3,2,3",
           "--recorder", "2", "--body", s.body, "--header", s.header});
    CompareWithFloor(s.label, path);
  }
}

Q2_BENCH(process_start) {
  std::vector<double> version, none;
  for (int i = 0; i < 41; ++i) {
    version.push_back(Spawn({QUORIL2_CLI, "--version"}).ms);
    none.push_back(Spawn({"/bin/true"}).ms);
  }
  std::printf("quoril2-cli --version %.2f ms, /bin/true %.2f ms (medians of 41)\n", Median(version), Median(none));
}

Q2_BENCH(process_many) {
  q2test::TempDir dir;
  const int n = 200;
  Spawn({QUORIL2_GEN, "many", dir.path(), std::to_string(n), "--body", "300000", "--header", "60000"});
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files.push_back(e.path().string());
  std::sort(files.begin(), files.end());
  std::vector<std::string> cliArgs = {QUORIL2_CLI, "show", "--json"}, floorArgs = {QUORIL2_FLOOR};
  cliArgs.insert(cliArgs.end(), files.begin(), files.end());
  floorArgs.insert(floorArgs.end(), files.begin(), files.end());
  std::vector<double> cli, floor;
  bool ok = true;
  for (int i = 0; i < 11; ++i) {
    const Run f = Spawn(floorArgs), c = Spawn(cliArgs);
    ok = ok && f.status == 0 && c.status == 0;
    floor.push_back(f.ms);
    cli.push_back(c.ms);
  }
  const long peak = PeakKb(cliArgs);
  const auto t0 = std::chrono::steady_clock::now();
  for (const std::string& f : files) ok = Spawn({QUORIL2_CLI, "show", "--json", f}).status == 0 && ok;
  const double each = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  std::printf("%d recordings of %.0f KB in one call: %.1f ms (%.0f files/s, peak %ld KB), floor %.1f ms, ratio %.2f"
              " (medians of 11); one call each %.0f ms (%.0f files/s)%s\n",
              n, *q2::FileSizeOf(files[0]) / 1024.0, Median(cli), n / Median(cli) * 1000, peak, Median(floor),
              Median(cli) / Median(floor), each, n / each * 1000, ok ? "" : "  (a run FAILED)");
}
