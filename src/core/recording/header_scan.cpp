#include "core/recording/header_scan.h"

#include <algorithm>
#include <cstring>


namespace q2 {
namespace {

constexpr uint8_t kRandomGame[] = {'R', 'a', 'n', 'd', 'o', 'm', 'G', 'a', 'm', 'e'};
constexpr uint8_t kPlayerMarker[] = {0xFF, 0xFF, 0xFF, 0x9D, 0xFF};
constexpr uint8_t kTeamMarker[] = {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xF9, 0x3F};

// Where the fields lie, in bytes.
constexpr size_t kScenarioFlag = 12;        // four bytes, not all zero in a scenario
constexpr size_t kRecorderSlot = 61;        // one byte
constexpr size_t kAfterRandomGame = 190;    // "RandomGame" to where the player table may start
constexpr size_t kTableAfterMarker = 27;    // the table marker to the first player record
constexpr size_t kTableAfterMarkerKings = 23;  // the same in the earlier game, which has no map id there
constexpr size_t kRecordsInTable = 9;
constexpr size_t kRecordLengthByte = 8;     // a record: slot byte, 7 bytes, length byte, 3 bytes, name
constexpr size_t kRecordName = 12;
constexpr size_t kTeamsAfterMarker = 13;    // the team marker to the eight team bytes

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
  for (size_t r = 0; r < kRecordsInTable; ++r) {
    if (pos > length || length - pos < kRecordLengthByte + 1) return TableEnd::StopScan;  // record cut off
    const int8_t s = static_cast<int8_t>(buf[pos]);
    const int8_t n = static_cast<int8_t>(buf[pos + kRecordLengthByte]);
    if (n < 0) return TableEnd::Done;  // no usable length: the table ends here
    if (s != 0) {
      if (length - pos < kRecordName + static_cast<size_t>(n)) return TableEnd::StopScan;
      if (s < 1 || s > 8) {
        messages.push_back({kMsgHeaderData});
        return TableEnd::StopScan;
      }
      const char* name = reinterpret_cast<const char*>(buf + pos + kRecordName);
      doc.playerNames[s - 1].assign(name, strnlen(name, static_cast<size_t>(n)));
    }
    pos += kRecordName + static_cast<size_t>(n);
  }
  return TableEnd::Done;
}

}  // namespace

namespace {

// The positions where some marker could start, in increasing order: only
// there can a check match. memchr finds them, so the scan doesn't walk the
// header byte by byte.
class Candidates {
 public:
  Candidates(const uint8_t* buf, size_t length) : buf_(buf), length_(length) {}

  // The first candidate at or after `from` (length when none); FF bytes
  // count only once the player table is looked for.
  size_t next(size_t from, bool withTable) {
    size_t best = Update(nextR_, from, 'R');
    best = std::min(best, Update(next9A_, from, 0x9A));
    if (withTable) best = std::min(best, Update(nextFF_, from, 0xFF));
    return best;
  }

 private:
  static constexpr size_t kUnknown = static_cast<size_t>(-1);

  size_t Update(size_t& cached, size_t from, uint8_t byte) {
    if (cached == kUnknown || cached < from) {
      const void* p = from < length_ ? std::memchr(buf_ + from, byte, length_ - from) : nullptr;
      cached = p ? static_cast<size_t>(static_cast<const uint8_t*>(p) - buf_) : length_;
    }
    return cached;
  }

  const uint8_t* buf_;
  size_t length_;
  size_t nextR_ = kUnknown, next9A_ = kUnknown, nextFF_ = kUnknown;
};

}  // namespace

void HeaderScan(ReplayDocument& doc, const uint8_t* buf, size_t length, Messages& messages, Edition edition) {
  doc.clearHeaderFields();
  if (length == 0) return;
  bool randomGameSeen = false;
  const size_t tableAfterMarker = edition == Edition::Kings ? kTableAfterMarkerKings : kTableAfterMarker;

  // The checks at one position; pos moves on past what they read. True
  // when the scan is over.
  auto checksAt = [&](size_t& pos) {
    if (At(buf, length, pos, kRandomGame)) {
      pos += kAfterRandomGame;
      randomGameSeen = true;
    }
    if (randomGameSeen && At(buf, length, pos, kPlayerMarker)) {
      pos += tableAfterMarker;
      if (ReadPlayerTable(doc, buf, length, pos, messages) == TableEnd::StopScan) return true;
    }
    if (At(buf, length, pos, kTeamMarker)) {
      if (length - pos < kTeamsAfterMarker + kSlots) return true;  // team bytes cut off
      for (int s = 0; s < kSlots; ++s) doc.playerTeams[s] = static_cast<int8_t>(buf[pos + kTeamsAfterMarker + s]);
      return true;
    }
    return false;
  };

  // The first bytes one by one: at offset 12 the scan checks for a scenario
  // and moves on to the recorder slot at 61.
  size_t pos = 0;
  for (; pos < length && pos <= kRecorderSlot; ++pos) {
    if (pos == kScenarioFlag) {
      if (length < kScenarioFlag + 4) return;
      if (buf[kScenarioFlag] | buf[kScenarioFlag + 1] | buf[kScenarioFlag + 2] | buf[kScenarioFlag + 3]) {
        messages.push_back({kMsgScenario});
        return;
      }
      if (length <= kRecorderSlot) return;
      doc.recorderSlot = buf[kRecorderSlot];
      pos = kRecorderSlot;
    } else if (!kStart.v[buf[pos]]) {
      continue;
    }
    if (checksAt(pos)) return;
  }
  // From there on only where a marker could start.
  Candidates candidates(buf, length);
  while (pos < length) {
    pos = candidates.next(pos, randomGameSeen);
    if (pos >= length) return;
    if (checksAt(pos)) return;
    ++pos;
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
      if (out.full()) return;
      out.appendLine(ChatLineAt(p + 3, end));
    }
    ++p;
  }
}

void ScanInflatedHeader(const uint8_t* buf, size_t length, ReplaySummary& s, Messages& messages, Edition edition) {
  s.view.pregameChat.clear();
  HeaderScan(s.doc, buf, length, messages, edition);
  CollectLobbyChat(buf, length, s.view.pregameChat);
}

}  // namespace q2
