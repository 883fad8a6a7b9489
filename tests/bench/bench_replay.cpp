// Opening a recording against its floor: reading the file, inflating the
// header in memory and one pass over the body.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <zlib.h>

#include "platform/files.h"
#include "bench.h"
#include "tools/recording_generator.h"
#include "core/recording/body_scan.h"
#include "core/recording/game_clock.h"
#include "core/recording/container.h"
#include "core/recording/header_scan.h"
#include "core/recording/game_settings.h"
#include "support/temp_dir.h"
#include "core/recording/display.h"
#include "core/recording/open_replay.h"

namespace {

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The least any open must do: read, inflate, touch every body byte once.
size_t Floor(const std::string& path, size_t& headerBytes) {
  q2::ByteBuffer buf;
  q2::ReadWholeFile(path, *q2::FileSizeOf(path), buf);
  const uint32_t L = Le32(buf.data.get());
  // Inflated chunk by chunk into one buffer, as the extraction does.
  static uint8_t chunk[q2::kInflateChunk];
  z_stream zs{};
  zs.next_in = buf.data.get() + 8;
  zs.avail_in = L - 8;
  inflateInit2(&zs, -15);
  int r;
  do {
    zs.next_out = chunk;
    zs.avail_out = sizeof chunk;
    r = inflate(&zs, Z_SYNC_FLUSH);
  } while (r == Z_OK && zs.avail_out == 0);
  headerBytes = zs.total_out;
  inflateEnd(&zs);
  // One pass over the body at memchr speed, stopping at every FF byte as
  // the scans do.
  size_t ff = 0;
  const uint8_t* p = buf.data.get() + L;
  const uint8_t* end = buf.data.get() + buf.size;
  while (p < end && (p = static_cast<const uint8_t*>(std::memchr(p, 0xFF, static_cast<size_t>(end - p))))) {
    ++ff;
    ++p;
  }
  return ff;
}

void Measure(const std::string& label, const std::string& path) {
  size_t headerBytes = 0;
  volatile size_t sink = 0;
  const double floor = q2bench::BestMs([&] { sink = sink + Floor(path, headerBytes); }, 30);
  q2::ReplaySummary s;
  bool ok = true;
  const double full = q2bench::BestMs([&] { ok = q2::OpenReplay(path, s).ok && ok; }, 30);
  std::printf("%-28s %8.2f MB file, header %6.0f KB inflated, body %8d bytes\n", label.c_str(),
              *q2::FileSizeOf(path) / 1e6, headerBytes / 1024.0, s.view.bodyLength);
  std::printf("%-28s OpenReplay %6.2f ms   floor %6.2f ms   ratio %.2f%s\n", "", full, floor, full / floor,
              ok ? "" : "   (open FAILED)");

  // The steps one by one, to see where the time goes.
  q2::Messages m;
  q2::HeaderBuffer& hb = q2::ThreadHeaderBuffer();
  const double extract = q2bench::BestMs([&] { q2::ReadHeader(path, hb); }, 20);
  const double header = q2bench::BestMs([&] { q2::ScanInflatedHeader(hb.data(), hb.size(), s, m); }, 20);
  // The game-settings, player and lobby sections, read from the same buffer.
  q2::GameInfo game;
  const double settings = q2bench::BestMs([&] { q2::ReadGameSettings(hb.data(), hb.size(), game); }, 50);
  const double show = q2bench::BestMs([&] { q2::ShowReplay(path, s); }, 20);
  q2::ByteBuffer buf;
  q2::ReadWholeFile(path, *q2::FileSizeOf(path), buf);
  const uint8_t* body = buf.data.get() + Le32(buf.data.get());
  const size_t n = static_cast<size_t>(s.view.bodyLength);
  const double research = q2bench::BestMs([&] { q2::ResearchScan(s.doc, body, n); }, 20);
  const double events = q2bench::BestMs([&] { q2::BodyEventScan(s.view, body, n); }, 20);
  // The game clock: the scans alone against the scans and the clock's walk
  // one after the other (the open itself walks beside them on a second
  // thread when the body is long).
  const double scans = q2bench::BestMs([&] { q2::ScanBody(s.doc, s.view, body, n); }, 20);
  const double timed = q2bench::BestMs(
      [&] {
        q2::ScanBody(s.doc, s.view, body, n);
        q2::TimeBodyEvents(s.doc, s.view, body, n);
      },
      20);
  std::printf("%-28s game clock: scans %.2f ms, scans and clock %.2f ms (x %.2f), game %s%s\n", "", scans, timed,
              timed / scans, q2::ClockText(s.view.gameDurationMs).c_str(), s.view.clockComplete ? "" : " (incomplete)");
  std::printf("%-28s inflate %.2f, header scans %.2f, game settings %.3f, show %.2f (research %.2f, events %.2f) ms\n",
              "", extract, header, settings, show, research, events);
}

}  // namespace

Q2_BENCH(open_replay) {
  q2test::TempDir dir;
  const std::vector<std::string> names = {"侍ジャック", "North", "ゆきむら", "弓兵マスター",
                                          "騎士団長",   "ｶﾐｶｾﾞ", "太郎",     "花子"};
  q2::gen::GameParams params = q2::gen::TypicalGame(names, {2, 3, 2, 3, 2, 3, 2, 3}, 3, 42, 2400000, 720000);
  const std::string generated = dir / "generated.mgx";
  q2::gen::WriteFile(generated, q2::gen::BuildRecording(params));
  Measure("generated", generated);

  const std::string real = q2bench::RealRecordingsDir();
  if (real.empty()) return;
  for (const auto& e : std::filesystem::directory_iterator(real)) {
    const std::string name = e.path().filename().string();
    if (name.size() < 4 || (name.substr(name.size() - 4) != ".mgx" && name.substr(name.size() - 4) != ".mgz"))
      continue;
    Measure(name, e.path().string());
  }
}
