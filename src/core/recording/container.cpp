#include "core/recording/container.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <zlib.h>

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

bool HeaderBuffer::inflate(const uint8_t* data, size_t size) {
  size_ = 0;
  // Headers inflate to some ten times their size: room for that at once
  // spares the copies of growing (untouched room costs no memory).
  const size_t guess = std::min(kInflatedHeaderMax, std::max(kInflateChunk, size * 16));
  if (capacity_ < guess) {
    buf_.reset();
    capacity_ = 0;
    buf_.reset(new (std::nothrow) uint8_t[guess]);
    if (buf_) capacity_ = guess;
  }
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

HeaderRead ReadHeader(const std::string& replayPath, HeaderBuffer& out) {
  MappedFile in;
  // Only the header is read here, not the body.
  const MappedFile::Status st = in.open(replayPath, false);
  if (st == MappedFile::Status::CannotOpen) return HeaderRead::CannotOpen;
  const auto where =
      st == MappedFile::Status::Ok ? LocateCompressedHeader(replayPath, in.data(), in.size()) : std::nullopt;
  if (!where) return HeaderRead::Corrupt;
  return out.inflate(in.data() + where->offset, where->size) ? HeaderRead::Ok : HeaderRead::Inflate;
}

HeaderBuffer& ThreadHeaderBuffer() {
  thread_local HeaderBuffer buffer;
  return buffer;
}

}  // namespace q2
