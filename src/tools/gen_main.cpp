// quoril2-gen: writes synthetic recordings.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/files.h"
#include "tools/recording_generator.h"

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
  q2::PrintTo(stderr,
               "usage: quoril2-gen sample FOLDER\n"
               "       quoril2-gen recording FILE [--names A,B,...] [--teams 2,3,...] [--recorder N]\n"
               "                                  [--body BYTES] [--header BYTES] [--seed N]\n"
               "       quoril2-gen many FOLDER COUNT [--body BYTES --header BYTES]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace q2::gen;
  using q2::PrintTo;
  const std::vector<std::string> args = q2::ProgramArgs(argc, argv);
  if (args.size() < 2) return Usage();
  const std::string& cmd = args[0];
  const std::string& target = args[1];
  if (cmd == "sample") {
    int n = WriteSampleFolder(target);
    if (n < 0) {
      PrintTo(stderr, "could not write %s\n", target.c_str());
      return 1;
    }
    PrintTo(stdout, "%d recordings written to %s\n", n, target.c_str());
    return 0;
  }
  if (cmd == "many" && (args.size() == 3 || args.size() == 7)) {
    int count = std::atoi(args[2].c_str());
    size_t body = 20000, header = 4000;
    for (size_t i = 3; i + 1 < args.size(); i += 2) {
      const std::string& k = args[i];
      if (k == "--body") body = std::strtoull(args[i + 1].c_str(), nullptr, 10);
      else if (k == "--header") header = std::strtoull(args[i + 1].c_str(), nullptr, 10);
      else return Usage();
    }
    std::error_code ec;
    std::filesystem::create_directories(q2::FsPath(target), ec);
    if (!q2::IsDirectory(target)) {
      PrintTo(stderr, "cannot make the folder %s: %s\n", target.c_str(), ec ? ec.message().c_str() : "not a folder");
      return 1;
    }
    for (int i = 0; i < count; ++i) {
      q2::LocalTime t{2000 + i % 20, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i / 60) % 60};
      GameParams s = TypicalGame({"太郎", "花子"}, {1, 1}, 1, static_cast<uint64_t>(i), body, header);
      const std::string path = target + "/" + DefaultRecordingName(t);
      if (!WriteFile(path, BuildRecording(s))) {
        PrintTo(stderr, "could not write %s\n", path.c_str());
        return 1;
      }
    }
    return 0;
  }
  if (cmd != "recording") return Usage();
  std::vector<std::string> names = {"太郎", "花子"};
  std::vector<int> teams;
  int recorder = 1;
  size_t body = 400000, header = 80000;
  uint64_t seed = 1;
  for (size_t i = 2; i + 1 < args.size(); i += 2) {
    const std::string &k = args[i], &v = args[i + 1];
    if (k == "--names") names = Split(v, ',');
    else if (k == "--teams") for (auto& t : Split(v, ',')) teams.push_back(std::atoi(t.c_str()));
    else if (k == "--recorder") recorder = std::atoi(v.c_str());
    else if (k == "--body") body = std::strtoull(v.c_str(), nullptr, 10);
    else if (k == "--header") header = std::strtoull(v.c_str(), nullptr, 10);
    else if (k == "--seed") seed = std::strtoull(v.c_str(), nullptr, 10);
    else return Usage();
  }
  GameParams params = TypicalGame(names, teams, recorder, seed, body, header);
  // An .mgl file is the earlier game's.
  const std::string& file = target;
  params.earlierGame = file.size() >= 4 && file.substr(file.size() - 4) == ".mgl";
  if (!WriteFile(file, BuildRecording(params))) {
    PrintTo(stderr, "could not write %s\n", target.c_str());
    return 1;
  }
  return 0;
}
