#include "core/recording/container.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <zlib.h>
#if QUORIL2_LIBDEFLATE
#include <libdeflate.h>
#endif

#include "platform/mapped_file.h"
#include "core/recording/recording_kind.h"

namespace q2 {
std::optional<CompressedHeader> LocateCompressedHeader(const std::string& replayPath, const uint8_t* data,
                                                       size_t size) {
  const uint32_t L = size >= 4 ? ReadLe32(data) : 0;
  const size_t prefix = IsMglPath(replayPath) ? 4 : 8;
  // A length shorter than the prefix would leave no room for it.
  if (L == 0 || size < L || L < prefix) return std::nullopt;
  return CompressedHeader{prefix, L - prefix};
}

const char* HeaderReadText(HeaderRead r) {
  switch (r) {
    case HeaderRead::Ok: return nullptr;
    case HeaderRead::CannotOpen: return kMsgCannotOpen;
    case HeaderRead::Corrupt: return kMsgCorrupt;
    case HeaderRead::Inflate: return kMsgInflate;
  }
  return nullptr;
}

bool HeaderBuffer::grow() {
  if (capacity_ >= kInflatedHeaderMax) return false;
  const size_t next = std::min(std::max(capacity_ * 2, kInflateChunk), kInflatedHeaderMax);
  std::unique_ptr<uint8_t[]> bigger(new (std::nothrow) uint8_t[next]);
  if (!bigger) return false;
  if (size_) std::memcpy(bigger.get(), buf_.get(), size_);
  buf_ = std::move(bigger);
  capacity_ = next;
  return true;
}

bool HeaderBuffer::reserve(size_t bytes) {
  if (capacity_ >= bytes) return true;
  buf_.reset();
  capacity_ = 0;
  buf_.reset(new (std::nothrow) uint8_t[bytes]);
  if (buf_) capacity_ = bytes;
  return buf_ != nullptr;
}

#if QUORIL2_LIBDEFLATE
namespace {
// libdeflate inflates a whole stream into room given up front, some three
// times as fast as zlib. Ok, NoRoom when the room is too small, Other for
// anything else.
enum class Whole { Ok, NoRoom, Other };

Whole InflateWhole(const uint8_t* data, size_t size, uint8_t* out, size_t room, size_t& produced) {
  struct Decompressor {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    ~Decompressor() {
      if (d) libdeflate_free_decompressor(d);
    }
  };
  thread_local Decompressor dec;
  if (!dec.d) return Whole::Other;
  size_t consumed = 0;  // bytes after the stream's end are allowed, as zlib allows them
  switch (libdeflate_deflate_decompress_ex(dec.d, data, size, out, room, &consumed, &produced)) {
    case LIBDEFLATE_SUCCESS: return Whole::Ok;
    case LIBDEFLATE_INSUFFICIENT_SPACE: return Whole::NoRoom;
    default: return Whole::Other;
  }
}
}  // namespace
#endif

bool HeaderBuffer::inflate(const uint8_t* data, size_t size) {
  size_ = 0;
  // Headers inflate to some ten times their size: room for that at once
  // spares the copies of growing (untouched room costs no memory).
  const size_t guess = std::min(kInflatedHeaderMax, std::max(kInflateChunk, size * 16));
  reserve(guess);
#if QUORIL2_LIBDEFLATE
  // The whole stream at once, in room that grows fourfold up to the cap.
  while (buf_) {
    size_t produced = 0;
    const Whole w = InflateWhole(data, size, buf_.get(), capacity_, produced);
    if (w == Whole::Ok) {
      size_ = produced;
      return true;
    }
    if (w == Whole::Other) break;  // zlib below says how far it gets
    if (capacity_ >= kInflatedHeaderMax) {
      // Past the cap: refused, and its memory not kept for the next one.
      buf_.reset();
      capacity_ = 0;
      return false;
    }
    if (!reserve(std::min(kInflatedHeaderMax, capacity_ * 4))) return false;
  }
#endif
  z_stream zs{};
  if (inflateInit2(&zs, -15) != Z_OK) return false;
  zs.next_in = const_cast<uint8_t*>(data);
  // Recordings are far below 4 GB; a larger span is fed in pieces all the same.
  size_t inLeft = size;
  int r = Z_OK;
  while (r == Z_OK) {
    if (size_ == capacity_ && !grow()) {
      r = Z_BUF_ERROR;  // past the cap (or out of memory): refused
      break;
    }
    if (zs.avail_in == 0 && inLeft) {
      zs.avail_in = static_cast<uInt>(std::min<size_t>(inLeft, 1u << 30));
      inLeft -= zs.avail_in;
    }
    const size_t room = std::min<size_t>(capacity_ - size_, kInflateChunk);
    zs.next_out = buf_.get() + size_;
    zs.avail_out = static_cast<uInt>(room);
    r = ::inflate(&zs, Z_SYNC_FLUSH);
    size_ += room - zs.avail_out;
    // Nothing more to give and nothing produced: the stream is cut short.
    if (r == Z_BUF_ERROR || (r == Z_OK && zs.avail_in == 0 && inLeft == 0 && zs.avail_out != 0)) {
      r = Z_BUF_ERROR;
      break;
    }
  }
  inflateEnd(&zs);
  if (r != Z_STREAM_END && capacity_ >= kInflatedHeaderMax) {
    // A refused bomb doesn't keep its memory for the next recording.
    buf_.reset();
    size_ = capacity_ = 0;
  }
  return r == Z_STREAM_END;
}

HeaderRead ReadHeader(const std::string& replayPath, const MappedFile& in, HeaderBuffer& out) {
  const auto where = LocateCompressedHeader(replayPath, in.data(), in.size());
  if (!where) return HeaderRead::Corrupt;
  return out.inflate(in.data() + where->offset, where->size) ? HeaderRead::Ok : HeaderRead::Inflate;
}

HeaderRead ReadHeader(const std::string& replayPath, HeaderBuffer& out) {
  MappedFile in;
  // Only the header is read here, not the body.
  const MappedFile::Status st = in.open(replayPath, false);
  if (st == MappedFile::Status::CannotOpen) return HeaderRead::CannotOpen;
  if (st != MappedFile::Status::Ok) return HeaderRead::Corrupt;
  return ReadHeader(replayPath, in, out);
}

HeaderBuffer& ThreadHeaderBuffer() {
  thread_local HeaderBuffer buffer;
  return buffer;
}

}  // namespace q2
