#include "header_scan.h"

#include <cstring>

#include "app/core/fs_ops.h"

namespace q2 {
namespace {

constexpr uint8_t kRandomGame[] = {'R', 'a', 'n', 'd', 'o', 'm', 'G', 'a', 'm', 'e'};
constexpr uint8_t kPlayerMarker[] = {0xFF, 0xFF, 0xFF, 0x9D, 0xFF};
constexpr uint8_t kTeamMarker[] = {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xF9, 0x3F};

template <size_t N>
bool At(const uint8_t* buf, size_t length, size_t pos, const uint8_t (&marker)[N]) {
  return pos <= length && length - pos >= N && std::memcmp(buf + pos, marker, N) == 0;
}

// Bytes that can start a marker; everything else is skipped at once.
struct StartBytes {
  bool v[256] = {};
  constexpr StartBytes() {
    v[static_cast<unsigned char>('R')] = true;
    v[0xFF] = true;
    v[0x9A] = true;
  }
};
constexpr StartBytes kStart;

enum class TableEnd { Done, StopScan };

// Reads the nine player records at pos; pos ends after the last one read.
TableEnd ReadPlayerTable(ReplayDocument& doc, const uint8_t* buf, size_t length, size_t& pos,
                         Messages& messages) {
  for (int r = 0; r < 9; ++r) {
    if (pos > length || length - pos < 9) return TableEnd::StopScan;  // record cut off
    const int8_t s = static_cast<int8_t>(buf[pos]);
    const int8_t n = static_cast<int8_t>(buf[pos + 8]);
    if (n < 0) return TableEnd::Done;  // no usable length: the table ends here
    if (s != 0) {
      if (length - pos < 12u + static_cast<size_t>(n)) return TableEnd::StopScan;
      if (s < 1 || s > 8) {
        messages.push_back({kMsgHeaderData});
        return TableEnd::StopScan;
      }
      const char* name = reinterpret_cast<const char*>(buf + pos + 12);
      doc.playerNames[s - 1].assign(name, strnlen(name, static_cast<size_t>(n)));
    }
    pos += 12 + static_cast<size_t>(n);
  }
  return TableEnd::Done;
}

}  // namespace

void HeaderScan(ReplayDocument& doc, const uint8_t* buf, size_t length, Messages& messages) {
  doc.clearHeaderFields();
  if (length == 0) return;
  bool randomGameSeen = false;
  for (size_t pos = 0; pos < length; ++pos) {
    if (pos == 12) {
      if (length < 16) return;
      if (buf[12] | buf[13] | buf[14] | buf[15]) {
        messages.push_back({kMsgScenario});
        return;
      }
      if (length <= 61) return;
      doc.recorderSlot = buf[61];
      pos = 61;
    } else if (!kStart.v[buf[pos]]) {
      continue;
    }
    if (At(buf, length, pos, kRandomGame)) {
      pos += 190;
      randomGameSeen = true;
    }
    if (randomGameSeen && At(buf, length, pos, kPlayerMarker)) {
      pos += 27;
      if (ReadPlayerTable(doc, buf, length, pos, messages) == TableEnd::StopScan) return;
    }
    if (At(buf, length, pos, kTeamMarker)) {
      if (length - pos < 21) return;  // team bytes cut off
      for (int s = 0; s < 8; ++s) doc.playerTeams[s] = static_cast<int8_t>(buf[pos + 13 + s]);
      return;
    }
  }
}

void CollectLobbyChat(const uint8_t* buf, size_t length, ChatText& out) {
  if (length <= 2) return;
  const uint8_t* end = buf + length;
  const uint8_t* p = buf;
  while (p < end - 2) {
    p = static_cast<const uint8_t*>(std::memchr(p, '@', static_cast<size_t>(end - 2 - p)));
    if (!p) return;
    if (p[1] == '#' && p[2] >= '1' && p[2] <= '8') {
      const uint8_t* text = p + 3;
      const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(text, 0, static_cast<size_t>(end - text)));
      const size_t m = static_cast<size_t>((zero ? zero : end) - text);
      out.appendLine(std::string_view(reinterpret_cast<const char*>(text), m));
    }
    ++p;
  }
}

bool PregameChatScan(const std::string& headerPath, ReplaySummary& s, Messages& messages) {
  s.view.pregameChat.clear();
  auto size = FileSizeOf(headerPath);
  if (!size) return false;
  ByteBuffer buf;
  if (ReadWholeFile(headerPath, *size, buf) != ReadStatus::Ok) {
    // Never leave the previous recording's players in place.
    s.doc.clearHeaderFields();
    return true;
  }
  HeaderScan(s.doc, buf.data.get(), buf.size, messages);
  CollectLobbyChat(buf.data.get(), buf.size, s.view.pregameChat);
  return true;
}

}  // namespace q2
