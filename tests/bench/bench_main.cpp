#include <cstring>
#include <filesystem>

#include "bench.h"

#ifdef QUORIL2_BENCH_QT
#include <QApplication>
#endif

namespace q2bench {
std::string RealRecordingsDir() {
  std::error_code ec;
  return std::filesystem::is_directory(QUORIL2_REAL_RECORDINGS, ec) ? QUORIL2_REAL_RECORDINGS : "";
}
}  // namespace q2bench

// Runs every benchmark, or those whose names contain the first argument.
int main(int argc, char** argv) {
#ifdef QUORIL2_BENCH_QT
  QApplication app(argc, argv);
#endif
  for (const auto& e : q2bench::Registry()) {
    if (argc > 1 && !std::strstr(e.name, argv[1])) continue;
    std::printf("== %s\n", e.name);
    std::fflush(stdout);
    e.fn();
    std::fflush(stdout);
  }
  return 0;
}
