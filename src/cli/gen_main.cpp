// quoril2-gen: writes synthetic recordings.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "recording_generator.h"

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (true) {
    size_t e = s.find(sep, pos);
    out.push_back(s.substr(pos, e == std::string::npos ? std::string::npos : e - pos));
    if (e == std::string::npos) break;
    pos = e + 1;
  }
  return out;
}

int Usage() {
  std::fprintf(stderr,
               "usage: quoril2-gen sample FOLDER\n"
               "       quoril2-gen recording FILE [--names A,B,...] [--teams 2,3,...] [--recorder N]\n"
               "                                  [--body BYTES] [--header BYTES] [--seed N]\n"
               "       quoril2-gen many FOLDER COUNT [--body BYTES --header BYTES]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace q2::gen;
  if (argc < 3) return Usage();
  const std::string cmd = argv[1];
  if (cmd == "sample") {
    int n = WriteSampleFolder(argv[2]);
    if (n < 0) {
      std::fprintf(stderr, "could not write %s\n", argv[2]);
      return 1;
    }
    std::printf("%d recordings written to %s\n", n, argv[2]);
    return 0;
  }
  if (cmd == "many" && (argc == 4 || argc == 8)) {
    int count = std::atoi(argv[3]);
    size_t body = 20000, header = 4000;
    for (int i = 4; i + 1 < argc; i += 2) {
      std::string k = argv[i];
      if (k == "--body") body = std::strtoull(argv[i + 1], nullptr, 10);
      else if (k == "--header") header = std::strtoull(argv[i + 1], nullptr, 10);
      else return Usage();
    }
    for (int i = 0; i < count; ++i) {
      q2::LocalTime t{2000 + i % 20, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i / 60) % 60};
      GameParams s = TypicalGame({"太郎", "花子"}, {1, 1}, 1, static_cast<uint64_t>(i), body, header);
      if (!WriteFile(std::string(argv[2]) + "/" + DefaultRecordingName(t), BuildRecording(s))) return 1;
    }
    return 0;
  }
  if (cmd != "recording") return Usage();
  std::vector<std::string> names = {"太郎", "花子"};
  std::vector<int> teams;
  int recorder = 1;
  size_t body = 400000, header = 80000;
  uint64_t seed = 1;
  for (int i = 3; i + 1 < argc; i += 2) {
    std::string k = argv[i], v = argv[i + 1];
    if (k == "--names") names = Split(v, ',');
    else if (k == "--teams") for (auto& t : Split(v, ',')) teams.push_back(std::atoi(t.c_str()));
    else if (k == "--recorder") recorder = std::atoi(v.c_str());
    else if (k == "--body") body = std::strtoull(v.c_str(), nullptr, 10);
    else if (k == "--header") header = std::strtoull(v.c_str(), nullptr, 10);
    else if (k == "--seed") seed = std::strtoull(v.c_str(), nullptr, 10);
    else return Usage();
  }
  GameParams params = TypicalGame(names, teams, recorder, seed, body, header);
  // An .mgl file gets the earlier game's container.
  const std::string file = argv[2];
  params.mglContainer = file.size() >= 4 && file.substr(file.size() - 4) == ".mgl";
  if (!WriteFile(file, BuildRecording(params))) {
    std::fprintf(stderr, "could not write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
