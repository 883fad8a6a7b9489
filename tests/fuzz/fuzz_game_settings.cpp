// The game-settings, player and lobby sections over arbitrary inflated
// headers: every read stays inside the buffer, every value read keeps the
// range the game gives it, and deciding the outcome from resigns made of
// the same bytes never goes past them either.
#include <cstdint>
#include <cstdlib>

#include "core/recording/game_settings.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  q2::GameInfo g;
  g.mapText = "stale";
  q2::ReadGameSettings(data, size, g);
  Check(g.mapText != "stale");
  Check(!g.mapSize || (*g.mapSize >= 0 && *g.mapSize <= 6));
  Check(!g.reveal || (*g.reveal >= 0 && *g.reveal <= 2));
  Check(!g.population || (*g.population >= 1 && *g.population <= 1000));
  Check(!g.startingAge || (*g.startingAge >= 0 && *g.startingAge <= 3));
  Check(!g.mapId || (*g.mapId >= 0 && *g.mapId <= 255));
  for (const q2::SlotRecord& r : g.seats) Check(r.name.size() <= 255 && r.index >= 0 && r.index <= 8);
  for (const q2::PlayerFacts& p : g.players) {
    Check(!p.civ || (*p.civ >= 1 && *p.civ <= 255));
    Check(!p.color || (*p.color >= 0 && *p.color <= 7));
    Check(p.coop.size() <= 7);
  }
  // Resigns from the input's first bytes, the postgame from its end.
  std::vector<q2::ResignOp> resigns;
  for (size_t i = 0; i + 3 < size && i < 64; i += 4)
    resigns.push_back({data[i], data[i + 1], data[i + 2] != 0, data[i + 3] * 1000u});
  q2::DecideOutcome(g, resigns);
  q2::ReadPostgame(data, size, g);
  const auto matchup = q2::MatchupText(g);
  Check(!matchup || !matchup->empty());
  size_t winners = q2::WinningPlayers(g).size();
  Check(winners <= 8);
  return 0;
}
