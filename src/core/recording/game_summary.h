// What the window, the command line and the renames show of a game's
// civilisations, map and settings: Japanese names from the game's ids, the
// recording's own texts decoded in the encoding its game wrote them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/recording/game_info.h"
#include "core/recording/replay_summary.h"

namespace q2 {

// A recording's text (a name, a chat line) as UTF-8.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);
// UTF-8 in the recording's encoding; nullopt when a character has no form there.
std::optional<std::string> EncodeText(std::string_view utf8, TextEncoding encoding);
// "cp932" or "gbk".
const char* EncodingName(TextEncoding encoding);

// The map's name: the Japanese name of a built-in map, else the name the
// game wrote (a custom map's own); nullopt when neither is known.
std::optional<std::string> MapName(const GameInfo& g);
// nullopt when the map id is unknown.
std::optional<bool> IsCustomMap(const GameInfo& g);

// The Japanese name of a player's (index 1 … 8) civilisation.
std::optional<std::string> CivName(const GameInfo& g, int index);

// One line for the panel: map (size), matchup, population, speed; the
// parts that are known, in UTF-8.
std::string GameSummaryLine(const GameInfo& g);

// A player's details beside the name: civilisation, the winner's mark and
// the resign time; empty when nothing is known.
std::string PlayerDetailText(const GameInfo& g, int index);

}  // namespace q2
