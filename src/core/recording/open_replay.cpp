#include "core/recording/open_replay.h"

#include <optional>

#include "core/recording/display.h"
#include "core/recording/game_settings.h"
#include "core/recording/header_scan.h"
#include "core/recording/team_lineup.h"

namespace q2 {

OpenResult OpenReplay(const std::string& replayPath, ReplaySummary& s, BodyThreads threads) {
  OpenResult r;
  // The clock's walk and the scan of a long body run beside the inflation.
  std::optional<BackgroundBody> body;
  if (threads == BodyThreads::Own) body.emplace(replayPath);
  HeaderBuffer& header = ThreadHeaderBuffer();
  // The background's map serves the header too: the file is mapped once.
  const MappedFile* map = body ? body->map() : nullptr;
  const HeaderRead read = map ? ReadHeader(replayPath, *map, header) : ReadHeader(replayPath, header);
  if (read != HeaderRead::Ok) {
    r.messages.push_back({HeaderReadText(read)});
    return r;
  }
  ScanInflatedHeader(header.data(), header.size(), s, r.messages, EditionOf(replayPath));
  ReadGameSettings(header.data(), header.size(), s.doc.game);
  UpdateTeamTexts(s);
  r.ok = ShowReplay(replayPath, s, body ? &*body : nullptr);
  return r;
}

HeaderRead ReadReplayHeader(const std::string& replayPath, ReplaySummary& s, Messages& messages) {
  HeaderBuffer& header = ThreadHeaderBuffer();
  const HeaderRead read = ReadHeader(replayPath, header);
  if (read != HeaderRead::Ok) messages.push_back({HeaderReadText(read)});
  if (read == HeaderRead::Ok || read == HeaderRead::Inflate) {
    ScanInflatedHeader(header.data(), header.size(), s, messages, EditionOf(replayPath));
    ReadGameSettings(header.data(), header.size(), s.doc.game);
  }
  return read;
}

}  // namespace q2
