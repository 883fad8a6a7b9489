#include "core/recording/display.h"

#include <climits>
#include <cstdio>
#include <system_error>

#include "platform/files.h"
#include "platform/mapped_file.h"
#include "platform/text.h"
#include "core/recording/body_scan.h"
#include "core/recording/container.h"
#include "core/recording/game_clock.h"
#include "core/recording/game_settings.h"
#include "core/recording/game_summary.h"

namespace q2 {
namespace {
// Below this more threads cost more than they save.
constexpr size_t kBodyBesideHeaderBytes = 1u << 20;
}  // namespace

void ResetDisplay(ReplayView& view) {
  view.resetAgeRecords();
  for (auto& t : view.slotNameTexts) t.clear();
}

void FillSlotNames(ReplaySummary& s) { s.view.slotNameTexts = s.doc.playerNames; }

namespace {
// The chat lines with "[mm:ss] " before each, from the times kept per line.
std::string WithTimes(const std::string& text, const std::vector<uint64_t>& times) {
  std::string out;
  size_t line = 0, pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    end = end == std::string::npos ? text.size() : end + 2;
    const uint64_t t = line < times.size() ? times[line] : 0;
    out += t == kUnknownTime ? std::string("[--:--] ") : FormatClock(t, "[%02llu:%02llu] ");
    out.append(text, pos, end - pos);
    pos = end;
    ++line;
  }
  return out;
}
}  // namespace

void ChooseTextEncoding(ReplaySummary& s) {
  s.view.textEncoding = s.view.encodingChoice == 1   ? TextEncoding::Cp932
                        : s.view.encodingChoice == 2 ? TextEncoding::Gbk
                                                     : s.doc.game.encoding;
}

namespace {
// A chat heading in the encoding of the lines under it (both hold it);
// the GBK converter is only opened for a Chinese game.
const std::string& Heading(bool pregame, TextEncoding encoding) {
  static const std::string preJa = *Utf8ToCp932(kPregameHeader), inJa = *Utf8ToCp932(kIngameHeader);
  if (encoding == TextEncoding::Gbk) {
    static const std::string preZh = Utf8ToGbk(kPregameHeader).value_or(preJa),
                             inZh = Utf8ToGbk(kIngameHeader).value_or(inJa);
    return pregame ? preZh : inZh;
  }
  return pregame ? preJa : inJa;
}
}  // namespace

void RefreshChatPane(ReplayView& v) {
  const std::string& pre = Heading(true, v.textEncoding);
  const std::string& in = Heading(false, v.textEncoding);
  const bool lobby = v.showPregameChat == 1;
  const std::string& body = lobby ? v.pregameChat.str()
                            : v.hideWarnings ? v.ingameChatFiltered.str()
                                             : v.ingameChat.str();
  if (!lobby && v.showChatTimes)
    v.chatText = in + "\r\n" + WithTimes(body, v.hideWarnings ? v.ingameChatFilteredMs : v.ingameChatMs);
  else
    v.chatText = (lobby ? pre : in) + "\r\n" + body;
}

void RefreshChatPaneIfLoaded(ReplayView& v) {
  if (v.chatText.empty()) return;
  RefreshChatPane(v);
}

uint64_t AgeReachedMs(const ReplayView& v, int slot, int age) {
  if (v.ageTimes[slot][age] == 0) return 0;
  const uint64_t reached = v.ageClickMs[slot][age] + kAgeResearchMs[age];
  return reached > v.gameDurationMs ? 0 : reached;
}

HeaderRead ReadGameLength(const std::string& replayPath, uint64_t& ms, std::vector<ResignOp>* resigns) {
  ms = 0;
  if (resigns) resigns->clear();
  MappedFile file;
  const MappedFile::Status st = file.open(replayPath);
  if (st == MappedFile::Status::CannotOpen) return HeaderRead::CannotOpen;
  // The same container checks as the header's read.
  const auto where =
      st == MappedFile::Status::Ok ? LocateCompressedHeader(replayPath, file.data(), file.size()) : std::nullopt;
  if (!where) return HeaderRead::Corrupt;
  const size_t L = where->offset + where->size;
  ClockIndex index = IndexGameClock(file.data() + L, file.size() - L, EditionOf(replayPath));
  ms = index.clock.durationMs;
  if (resigns) *resigns = std::move(index.resigns);
  return HeaderRead::Ok;
}

BackgroundBody::BackgroundBody(const std::string& replayPath) {
  const auto size = FileSizeOf(replayPath);
  if (!size || *size < kBodyBesideHeaderBytes) return;
  // Pages come in as the threads reach them: bringing the whole map in at
  // once would hold the process's memory map and stall the inflation.
  if (file_.open(replayPath, false) != MappedFile::Status::Ok || file_.size() < 4) return;
  mapped_ = true;
  offset_ = ReadLe32(file_.data());
  if (offset_ > file_.size()) return;
  const uint8_t* body = file_.data() + offset_;
  const size_t n = file_.size() - offset_;
  try {
    clockThread_ = std::thread([this, body, n, edition = EditionOf(replayPath)] {
      index_ = IndexGameClock(body, n, edition);
      clockReady_ = true;
    });
    scanThread_ = std::thread([this, body, n] {
      ScanBody(found_.doc, found_.view, body, n);
      scanReady_ = true;
    });
  } catch (const std::system_error&) {
    // Without a thread the display step does that part itself.
  }
}

BackgroundBody::~BackgroundBody() {
  if (clockThread_.joinable()) clockThread_.join();
  if (scanThread_.joinable()) scanThread_.join();
}

const MappedFile* BackgroundBody::file(uint64_t size) const {
  return mapped_ && file_.size() == size ? &file_ : nullptr;
}

std::optional<ClockIndex> BackgroundBody::takeClock(size_t bodyOffset) {
  if (clockThread_.joinable()) clockThread_.join();
  if (!clockReady_ || offset_ != bodyOffset) return std::nullopt;
  clockReady_ = false;
  return std::move(index_);
}

bool BackgroundBody::takeScan(size_t bodyOffset, ReplaySummary& s) {
  if (scanThread_.joinable()) scanThread_.join();
  if (!scanReady_ || offset_ != bodyOffset) return false;
  scanReady_ = false;
  // Every field ScanBody writes.
  s.doc.economyResearch = found_.doc.economyResearch;
  s.doc.blacksmithResearch = found_.doc.blacksmithResearch;
  ReplayView& v = s.view;
  ReplayView& f = found_.view;
  v.feudalCount = f.feudalCount;
  v.castleCount = f.castleCount;
  v.imperialCount = f.imperialCount;
  v.feudalRank = f.feudalRank;
  v.castleRank = f.castleRank;
  v.imperialRank = f.imperialRank;
  v.ageTimes = f.ageTimes;
  v.ingameChat = std::move(f.ingameChat);
  v.ingameChatFiltered = std::move(f.ingameChatFiltered);
  v.ingameChatPos = std::move(f.ingameChatPos);
  v.ingameChatFilteredPos = std::move(f.ingameChatFilteredPos);
  return true;
}

bool ShowReplay(const std::string& replayPath, ReplaySummary& s, BackgroundBody* background) {
  auto size = FileSizeOf(replayPath);
  if (!size) return false;
  ResetDisplay(s.view);
  s.view.clearIngameChat();
  s.view.gameDurationMs = 0;
  s.view.clockComplete = false;

  // Scanned in place: the body is never copied, nor mapped twice.
  MappedFile own;
  const MappedFile* mapped = background ? background->file(*size) : nullptr;
  if (!mapped && own.open(replayPath) == MappedFile::Status::Ok) mapped = &own;
  const MappedFile& file = mapped ? *mapped : own;
  bool scanned = false;
  if (*size <= static_cast<uint64_t>(INT32_MAX) && mapped && file.size() == *size && file.size() >= 4) {
    const uint8_t* d = file.data();
    const uint32_t L = ReadLe32(d);
    // The file may have changed since its header was read.
    if (L <= file.size()) {
      const uint8_t* body = d + L;
      const size_t n = file.size() - L;
      s.view.bodyLength = static_cast<int32_t>(n);
      const bool ours = background && mapped == background->file(*size);
      if (!ours || !background->takeScan(L, s)) ScanBody(s.doc, s.view, body, n);
      std::optional<ClockIndex> index = ours ? background->takeClock(L) : std::nullopt;
      if (!index) index = IndexGameClock(body, n, EditionOf(replayPath));
      TimeBodyEvents(s.doc, s.view, body, n, *index);
      ReadPostgame(body, n, s.doc.game);
      DecideOutcome(s.doc.game, index->resigns);
      scanned = true;
    }
  }
  if (!scanned) {
    // Never show another recording's research beside this one's names.
    s.doc.clearResearch();
    s.view.bodyLength = 0;
    DecideOutcome(s.doc.game, {});
  }
  FillSlotNames(s);
  ChooseTextEncoding(s);
  RefreshChatPane(s.view);
  return true;
}

}  // namespace q2
