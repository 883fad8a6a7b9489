// Reads the header's game-settings, player and lobby sections (civilisations,
// colours, map, the lobby's settings, the game's language) and decides the
// winner from the body's resign commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/recording/game_info.h"

namespace q2 {

// Fills `game` (cleared first) from an inflated header. Every read is
// checked against the buffer; a section that can't be found or followed
// leaves its fields empty and never undoes what was read before it.
void ReadGameSettings(const uint8_t* buf, size_t length, GameInfo& game);

// UserPatch 1.4 and later end the body with a summary of the game; its
// victory type is taken when it is there.
void ReadPostgame(const uint8_t* body, size_t length, GameInfo& game);

// Each player's resign time and the winner: a team none of whose players
// resigned or dropped while every other team's all did. Anything less
// clear leaves the winner unknown.
void DecideOutcome(GameInfo& game, const std::vector<ResignOp>& resigns);

// The team a player (index 1 … 8) plays in: its lobby value 2 … 5, or a
// team of its own (100 + index) without one; nullopt when unknown.
std::optional<int> TeamOfPlayer(const GameInfo& game, int index);

// The players in the game, by index (ascending).
std::vector<int> PlayingIndices(const GameInfo& game);

// "1v1", "2v2", "1v1v1"…: players per team, teams in order of their first
// player; nullopt when a team is unknown.
std::optional<std::string> MatchupText(const GameInfo& game);

// The indices of the winning team's players (empty when unknown).
std::vector<int> WinningPlayers(const GameInfo& game);

// True for the map id the game gives a custom map.
inline constexpr int kCustomMapId = 44;

}  // namespace q2
