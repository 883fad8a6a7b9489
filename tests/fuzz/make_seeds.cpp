// Writes seed inputs for the three fuzzers from generated recordings:
// DIR/extract (whole recordings), DIR/header (inflated headers) and
// DIR/body (command bodies).
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/recording_generator.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 2;
  }
  namespace fs = std::filesystem;
  using namespace q2::gen;
  const std::string dir = argv[1];
  for (const char* sub : {"extract", "header", "body"}) fs::create_directories(fs::path(dir) / sub);
  int n = 0;
  auto put = [&](const GameParams& params) {
    const std::string header = BuildHeader(params);
    const std::string body = BuildBody(params);
    const std::string name = std::to_string(n++);
    WriteFile(dir + "/extract/" + name, Assemble(header, body));
    WriteFile(dir + "/header/" + name, header);
    WriteFile(dir + "/body/" + name, body);
  };
  put(TypicalGame({"North", "South"}, {1, 1}, 1, 1, 3000, 3000));
  put(TypicalGame({"太郎", "花子", "侍ジャック", "ｶﾐｶｾﾞ"}, {2, 2, 3, 3}, 2, 2, 5000, 4000));
  put(TypicalGame({"A", "B", "C", "D", "E", "F", "G", "H"}, {2, 3, 2, 3, 2, 3, 2, 3}, 8, 3, 8000, 3000));
  GameParams odd = TypicalGame({"x", "y"}, {1, 1}, 9, 4, 2000, 3000);
  odd.players.push_back({9, "nine", 2});
  odd.nameLengthHasZero = true;
  put(odd);
  GameParams scenario = TypicalGame({"s"}, {1}, 1, 5, 1500, 3000);
  scenario.scenario = true;
  put(scenario);
  // Headers large enough for the scenario's instructions, of each version.
  for (Version v : {Version::Conquerors10, Version::UserPatch14, Version::UserPatch15, Version::Conquerors10c}) {
    GameParams full = TypicalGame({"North", "侍ジャック", "West"}, {2, 3, 3}, 1, 6, 3000, 40000);
    full.version = v;
    full.earlierGame = v == Version::Conquerors10c;  // the last one of the earlier game
    full.players.push_back({2, "Partner", 3});
    full.language = v == Version::UserPatch15 ? Language::Chinese : Language::Japanese;
    full.resigns = {{2, 2, 0.5}, {3, 3, 0.6, true}};
    full.postgame = v == Version::UserPatch14;
    put(full);
  }
  std::printf("%d seeds per fuzzer written to %s\n", n, dir.c_str());
  return 0;
}
