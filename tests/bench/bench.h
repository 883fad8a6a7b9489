// A tiny benchmark harness: each Q2_BENCH runs in turn and prints its figures.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace q2bench {

struct Entry {
  const char* name;
  void (*fn)();
};

inline std::vector<Entry>& Registry() {
  static std::vector<Entry> r;
  return r;
}

struct Registrar {
  Registrar(const char* name, void (*fn)()) { Registry().push_back({name, fn}); }
};

// Best of `reps` runs, in milliseconds.
inline double BestMs(const std::function<void()>& f, int reps = 20) {
  double best = 1e300;
  for (int i = 0; i < reps; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  return best;
}

// Folder with the real recordings, or "" when absent.
std::string RealRecordingsDir();

}  // namespace q2bench

#define Q2_BENCH(name)                                                 \
  static void name();                                                  \
  static ::q2bench::Registrar q2bench_reg_##name(#name, name);         \
  static void name()
