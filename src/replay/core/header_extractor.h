// A recording's container: the header length, a second prefix word, the
// raw-deflate header, then the uncompressed command body.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/message.h"
#include "replay_summary.h"

namespace q2 {

inline constexpr const char* kMsgCannotOpen = "ファイルをオープンできませんでした";
inline constexpr const char* kMsgCorrupt = "解凍エラーです(ファイルが壊れています)";
inline constexpr const char* kMsgCannotCreate = "ファイルの作成に失敗しました";
inline constexpr const char* kMsgInflate = "解凍エラーです";

inline constexpr size_t kInflateChunk = 0x20000;
// An inflated header beyond this is no recording's: real ones stay far below.
inline constexpr uint64_t kInflatedHeaderMax = 256ull << 20;

// Where a recording's compressed header lies: from offset 8 to the header
// length L (two prefix words), or for an .mgl file from offset 4 (the
// length alone). nullopt when the prefix doesn't fit the file, which is
// reported as a corrupt file.
struct CompressedHeader {
  size_t offset = 0, size = 0;
};
std::optional<CompressedHeader> LocateCompressedHeader(const std::string& replayPath, const uint8_t* data,
                                                       size_t size);

// The sibling file that receives the inflated header: every ".mgx" replaced
// by ".dat"; when that leaves the path as it was, the last extension is
// replaced instead (or ".dat" appended), so the recording itself is never
// the target.
std::string ExtractedHeaderPathFor(const std::string& replayPath);

// Inflates the header of the recording into the file at
// view.extractedHeaderPath. Failures add their message; result false.
// `created` tells whether this call created (or truncated) that file.
bool HeaderExtractor(const std::string& replayPath, ReplayView& view, Messages& messages,
                     bool* created = nullptr);

// Inflation alone, in memory: for measurements and checks. Returns false
// on any inflate error.
bool InflateRawDeflate(const uint8_t* data, size_t size, std::string& out);

}  // namespace q2
