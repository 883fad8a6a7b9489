#include "open_replay.h"

#include "platform/files.h"
#include "display.h"
#include "replay/core/header_extractor.h"
#include "replay/core/header_scan.h"
#include "replay/core/team_lineup.h"

namespace q2 {
namespace {
void DeleteExtractedHeader(const std::string& replayPath, const ReplayView& v) {
  if (!v.extractedHeaderPath.empty() && v.extractedHeaderPath != replayPath)
    RemoveFile(v.extractedHeaderPath);
}
}  // namespace

OpenResult OpenReplay(const std::string& replayPath, ReplaySummary& s) {
  OpenResult r;
  // The clock's walk over a long body runs beside the extraction and scans.
  BackgroundClock clock(replayPath);
  if (!HeaderExtractor(replayPath, s.view, r.messages)) return r;
  if (!PregameChatScan(s.view.extractedHeaderPath, s, r.messages)) return r;
  UpdateTeamTexts(s);
  DeleteExtractedHeader(replayPath, s.view);
  r.ok = ShowReplay(replayPath, s, &clock);
  return r;
}

Messages ScanReplayHeader(const std::string& replayPath, ReplaySummary& s) {
  Messages m;
  bool created = false;
  HeaderExtractor(replayPath, s.view, m, &created);
  // Only a file this open wrote is scanned and deleted; a failed extraction
  // scans what it wrote so far.
  if (created) {
    PregameChatScan(s.view.extractedHeaderPath, s, m);
    DeleteExtractedHeader(replayPath, s.view);
  }
  return m;
}

}  // namespace q2
