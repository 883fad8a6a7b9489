#include "header_extractor.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <zlib.h>

#include "platform/files.h"
#include "platform/mapped_file.h"
#include "recording_kind.h"

namespace q2 {
namespace {

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Fail(Messages& m, const char* text) { m.push_back({text}); }

}  // namespace

std::optional<CompressedHeader> LocateCompressedHeader(const std::string& replayPath, const uint8_t* data,
                                                       size_t size) {
  const uint32_t L = size >= 4 ? ReadLe32(data) : 0;
  const size_t prefix = IsMglPath(replayPath) ? 4 : 8;
  // A length shorter than the prefix would leave no room for it.
  if (L == 0 || size < L || L < prefix) return std::nullopt;
  return CompressedHeader{prefix, L - prefix};
}

std::string ExtractedHeaderPathFor(const std::string& replayPath) {
  std::string out;
  out.reserve(replayPath.size());
  for (size_t i = 0; i < replayPath.size();) {
    if (replayPath.compare(i, 4, ".mgx") == 0) {
      out += ".dat";
      i += 4;
    } else {
      out += replayPath[i++];
    }
  }
  if (out != replayPath) return out;
  size_t sep = replayPath.find_last_of(kPathSep == '/' ? "/" : "\\/");
  size_t dot = replayPath.rfind('.');
  if (dot != std::string::npos && (sep == std::string::npos || dot > sep + 1))
    out = replayPath.substr(0, dot) + ".dat";
  else
    out = replayPath + ".dat";
  if (out == replayPath) out += ".dat";  // the recording is itself named *.dat
  return out;
}

bool HeaderExtractor(const std::string& replayPath, ReplayView& view, Messages& messages,
                     bool* created) {
  if (created) *created = false;
  MappedFile in;
  // Only the header is read here, not the body.
  const MappedFile::Status st = in.open(replayPath, false);
  if (st == MappedFile::Status::CannotOpen) {
    Fail(messages, kMsgCannotOpen);
    return false;
  }
  const auto where = st == MappedFile::Status::Ok ? LocateCompressedHeader(replayPath, in.data(), in.size())
                                                  : std::nullopt;
  if (!where) {
    Fail(messages, kMsgCorrupt);
    return false;
  }

  view.extractedHeaderPath = ExtractedHeaderPathFor(replayPath);
  const std::string& outPath = view.extractedHeaderPath;
  if (outPath == replayPath || IsDirectory(outPath) || SameFile(outPath, replayPath)) {
    Fail(messages, kMsgCannotCreate);
    return false;
  }
  File out(outPath, "w+b");
  if (!out) {
    Fail(messages, kMsgCannotCreate);
    return false;
  }
  if (created) *created = true;

  // One chunk buffer for every open of the process; it is always written
  // before it is read.
  thread_local std::unique_ptr<uint8_t[]> chunk(new uint8_t[kInflateChunk]);
  z_stream zs{};
  zs.next_in = const_cast<uint8_t*>(in.data() + where->offset);
  zs.avail_in = static_cast<uInt>(where->size);
  int r = inflateInit2(&zs, -15);
  bool writeFailed = false;
  if (r == Z_OK) {
    uint64_t total = 0;
    do {
      zs.next_out = chunk.get();
      zs.avail_out = static_cast<uInt>(kInflateChunk);
      r = inflate(&zs, Z_SYNC_FLUSH);
      if (r != Z_OK && r != Z_STREAM_END) break;
      size_t produced = kInflateChunk - zs.avail_out;
      total += produced;
      if (total > kInflatedHeaderMax) {
        r = Z_DATA_ERROR;
        break;
      }
      if (produced && std::fwrite(chunk.get(), 1, produced, out.get()) != produced) {
        writeFailed = true;
        break;
      }
    } while (r == Z_OK && zs.avail_out == 0);
  }
  inflateEnd(&zs);
  if (!out.close()) writeFailed = true;
  if (writeFailed) {
    Fail(messages, kMsgCannotCreate);
    return false;
  }
  if (r != Z_STREAM_END) {
    Fail(messages, kMsgInflate);
    return false;
  }
  return true;
}

bool InflateRawDeflate(const uint8_t* data, size_t size, std::string& out) {
  z_stream zs{};
  zs.next_in = const_cast<uint8_t*>(data);
  zs.avail_in = static_cast<uInt>(size);
  if (inflateInit2(&zs, -15) != Z_OK) return false;
  out.clear();
  int r;
  do {
    size_t old = out.size();
    out.resize(old + kInflateChunk);
    zs.next_out = reinterpret_cast<Bytef*>(out.data() + old);
    zs.avail_out = static_cast<uInt>(kInflateChunk);
    r = inflate(&zs, Z_SYNC_FLUSH);
    out.resize(out.size() - zs.avail_out);
  } while (r == Z_OK && zs.avail_out == 0 && out.size() <= kInflatedHeaderMax);
  inflateEnd(&zs);
  return r == Z_STREAM_END;
}

}  // namespace q2
