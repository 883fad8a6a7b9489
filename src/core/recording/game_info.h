// What a recording tells about its game beside the names and teams: the
// civilisations and colours, the map and the lobby's settings, who resigned
// when and which team won. Whatever could not be read stays empty: a value
// is shown only when the recording holds it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace q2 {

// How the recording's names and chat are encoded: the Japanese game writes
// code page 932, the Chinese one GBK.
enum class TextEncoding { Cp932, Gbk };

// The game that wrote the header, as far as its layout goes.
enum class GameVersion {
  Unknown,     // a layout this reader doesn't follow (later editions, damage)
  Kings,       // Age of Kings (.mgl): no map id, shorter records
  Conquerors,  // The Conquerors 1.0 / 1.0c
  UserPatch,   // UserPatch 1.2 … 1.5: population stored in 25s
};

// The lobby's victory choice.
enum class Victory { Standard, Conquest, TimeLimit, Score, Custom };

// Lobby team value of a player without a team; 2 … 5 are the teams.
inline constexpr int kNoTeam = 1;

// One record of the game settings' player table, slots 1 … 8 in order.
struct SlotRecord {
  int index = 0;     // the in-game player; co-op partners share it
  int type = 0;      // 2 human, 4 computer; 0 and 1 are empty slots
  std::string name;  // in the recording's encoding
  std::optional<int> team;  // the lobby's team value (1 = none)

  bool plays() const { return index >= 1 && index <= 8 && (type == 2 || type == 3 || type == 4 || type == 5); }
  bool operator==(const SlotRecord&) const = default;
};

// What a player (an in-game index 1 … 8) played and how the game went for
// them.
struct PlayerFacts {
  std::optional<int> civ, color;
  std::vector<std::string> coop;          // the slot's other humans, recording's encoding
  std::optional<uint64_t> resignedMs;     // game time the last of its humans left
  std::optional<bool> winner;
  bool operator==(const PlayerFacts&) const = default;
};

// A resign command in the body: the player (index), its slot (number),
// whether it was a drop rather than a resign, and its game time.
struct ResignOp {
  uint8_t index = 0, number = 0;
  bool dropped = false;
  uint64_t ms = 0;
  bool operator==(const ResignOp&) const = default;
};

struct GameInfo {
  GameVersion version = GameVersion::Unknown;
  TextEncoding encoding = TextEncoding::Cp932;  // as the header's own texts tell it

  std::optional<int> mapId;
  std::string mapText;  // the map name the game wrote in its instructions (recording's encoding)
  std::optional<int> mapSize;  // lobby id: 0 tiny … 5 giant, 6 UserPatch's largest
  std::optional<int> population;
  std::optional<int> speed;  // percent: 100 slow, 150 normal, 200 fast
  std::optional<int> reveal;  // 0 normal, 1 explored, 2 all visible
  std::optional<Victory> victory;
  std::optional<int> startingAge;  // 0 dark … 3 imperial

  std::array<SlotRecord, 8> seats;      // the table's slots 1 … 8
  std::array<PlayerFacts, 8> players;   // players 1 … 8 by index

  void clear() { *this = GameInfo{}; }
  bool operator==(const GameInfo&) const = default;
};

}  // namespace q2
