// A recording's container: the header length, a second prefix word, the
// raw-deflate header, then the uncompressed command body. The header is
// inflated into memory; nothing is ever written beside the recording.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/texts/message.h"
#include "core/texts/texts.h"

namespace q2 {

class MappedFile;


inline constexpr size_t kInflateChunk = 0x20000;
// Real headers inflate to a few MB at most (a 4v4 on a giant map stays
// under 8 MB); a header that grows past this is a broken file or a
// decompression bomb and is refused before more memory is taken.
inline constexpr size_t kInflatedHeaderMax = 64u << 20;

inline uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Where a recording's compressed header lies: from offset 8 to the header
// length L (two prefix words), or for an .mgl file from offset 4 (the
// length alone). nullopt when the prefix doesn't fit the file, which is
// reported as a corrupt file.
struct CompressedHeader {
  size_t offset = 0, size = 0;
};
std::optional<CompressedHeader> LocateCompressedHeader(const std::string& replayPath, const uint8_t* data,
                                                       size_t size);

enum class HeaderRead {
  Ok,
  CannotOpen,  // missing, not a regular file, or unreadable
  Corrupt,     // the length prefix doesn't fit the file
  Inflate,     // the stream is broken, cut short or larger than kInflatedHeaderMax
};
// The message the user sees for a failed read (nullptr for Ok).
const char* HeaderReadText(HeaderRead r);

// An inflated header. Its memory is kept from one recording to the next,
// so that a batch allocates once.
class HeaderBuffer {
 public:
  const uint8_t* data() const { return buf_.get(); }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }

  // Inflates a raw-deflate stream, growing chunk by chunk up to
  // kInflatedHeaderMax. False on any inflate error, a stream cut short, or
  // one that would pass the cap; what was inflated until then is kept.
  bool inflate(const uint8_t* data, size_t size);

 private:
  bool grow();
  // Room for at least `bytes` (what it held is not kept); false when out of memory.
  bool reserve(size_t bytes);

  std::unique_ptr<uint8_t[]> buf_;
  size_t size_ = 0, capacity_ = 0;
};

// Maps the recording (header pages only) and inflates its header into `out`.
HeaderRead ReadHeader(const std::string& replayPath, HeaderBuffer& out);
// The same from a recording already mapped (whole, as MappedFile::open gave it).
HeaderRead ReadHeader(const std::string& replayPath, const MappedFile& in, HeaderBuffer& out);

// The buffer every open and rename of this thread reuses.
HeaderBuffer& ThreadHeaderBuffer();

}  // namespace q2
