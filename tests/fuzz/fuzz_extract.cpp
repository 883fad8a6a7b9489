// The whole open of an arbitrary file as a recording: the header inflated
// in memory, the header scans, the body scans. The recording is never
// changed and nothing is written beside it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/recording/open_replay.h"

namespace {

std::string Folder() {
  static const std::string dir = [] {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    auto d = base / ("quoril2-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(d);
    return d.string();
  }();
  return dir;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = Folder() + "/game.mgx";
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // As the later game's recording, then as the earlier game's.
  const std::string mgl = Folder() + "/game.mgl";
  for (const std::string& p : {path, mgl}) {
    if (p == mgl) std::filesystem::rename(path, mgl);
    q2::ReplaySummary s;
    q2::OpenResult r = q2::OpenReplay(p, s);
    if (Read(p) != bytes) std::abort();
    if (std::distance(std::filesystem::directory_iterator(Folder()), {}) != 1) std::abort();
    if (r.ok && r.messages.size() > 1) std::abort();
    if (!r.ok && r.messages.size() != 1) std::abort();
    if (s.view.bodyLength < 0) std::abort();
  }
  std::filesystem::remove(mgl);
  return 0;
}
