#include "core/recording/game_settings.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "core/recording/container.h"
#include "core/texts/game_texts.h"

namespace q2 {
namespace {

// The markers the sections are found by.
constexpr uint8_t kTriggerMarker[] = {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xF9, 0x3F};  // double 1.6
constexpr uint8_t kSeparator[] = {0x9D, 0xFF, 0xFF, 0xFF};                              // int -99
constexpr uint8_t kScenarioConquerors[] = {0xF6, 0x28, 0x9C, 0x3F};  // float 1.22
constexpr uint8_t kScenarioKings[] = {0x9A, 0x99, 0x99, 0x3F};       // float 1.20

// Sizes and distances, in bytes.
constexpr size_t kReplayBlock = 16;           // where the game block starts without AI data
constexpr size_t kSpeedInReplay = 12;         // speed in percent
constexpr size_t kSettingsSearch = 64 << 10;  // the settings lie some 3 to 5 KB before the trigger marker
constexpr size_t kDisablesBefore = 64 + 5392; // the starting ages and the disables block
constexpr size_t kVictoryBefore = 12544 + 44; // an unknown block and the victory block
constexpr size_t kScenarioSearch = 256 << 10; // the scenario's start lies some 6 KB before the victory block
constexpr size_t kScenarioFileName = 4433;    // from the scenario's start
constexpr uint32_t kNameMax = 255;
constexpr uint32_t kTextMax = 64 << 10;
constexpr uint32_t kHeaderFloatsMax = 1024;
constexpr int32_t kSavedViewsMax = 4096;
constexpr uint8_t kBlockMark = 0x0B;

class Bytes {
 public:
  Bytes(const uint8_t* b, size_t n) : b_(b), n_(n) {}

  size_t size() const { return n_; }
  const uint8_t* at(size_t pos) const { return b_ + pos; }
  bool has(size_t pos, size_t len) const { return pos <= n_ && n_ - pos >= len; }

  std::optional<uint8_t> u8(size_t pos) const {
    if (!has(pos, 1)) return std::nullopt;
    return b_[pos];
  }
  std::optional<uint16_t> u16(size_t pos) const {
    if (!has(pos, 2)) return std::nullopt;
    return static_cast<uint16_t>(b_[pos] | b_[pos + 1] << 8);
  }
  std::optional<int32_t> i32(size_t pos) const {
    if (!has(pos, 4)) return std::nullopt;
    return static_cast<int32_t>(ReadLe32(b_ + pos));
  }
  std::optional<float> f32(size_t pos) const {
    if (!has(pos, 4)) return std::nullopt;
    const uint32_t v = ReadLe32(b_ + pos);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
  }
  bool is(size_t pos, const uint8_t* m, size_t len) const { return has(pos, len) && std::memcmp(b_ + pos, m, len) == 0; }
  template <size_t N>
  bool is(size_t pos, const uint8_t (&m)[N]) const {
    return is(pos, m, N);
  }

  // The last place in [lo, hi) where the marker starts.
  template <size_t N>
  std::optional<size_t> findLast(const uint8_t (&m)[N], size_t lo, size_t hi) const {
    if (n_ < N) return std::nullopt;
    size_t i = std::min(hi, n_ - N + 1);
    while (i > lo) {
      --i;
      if (b_[i] == m[0] && std::memcmp(b_ + i + 1, m + 1, N - 1) == 0) return i;
    }
    return std::nullopt;
  }

 private:
  const uint8_t* b_;
  size_t n_;
};

GameVersion VersionOf(const Bytes& h) {
  if (!h.has(0, 12)) return GameVersion::Unknown;
  const std::string_view v(reinterpret_cast<const char*>(h.at(0)), 8);
  const float save = *h.f32(8);
  // The editions after these write a larger save version and other layouts.
  auto near = [&](float want) { return std::fabs(save - want) < 0.005f; };
  if ((v == std::string_view("VER 9.3\0", 8) || v == std::string_view("TRL 9.3\0", 8)) && near(11.50f))
    return GameVersion::Kings;
  if (!near(11.76f) || v.substr(0, 6) != "VER 9." || v[7] != '\0') return GameVersion::Unknown;
  if (v[6] == '4') return GameVersion::Conquerors;
  if (v[6] == '8' || (v[6] >= 'A' && v[6] <= 'F')) return GameVersion::UserPatch;
  return GameVersion::Unknown;
}

// Where the game block starts: behind the AI data when the game had
// computer players with scripts. nullopt when that data can't be followed.
std::optional<size_t> ReplayBlockStart(const Bytes& h) {
  const auto includeAi = h.i32(12);
  if (!includeAi) return std::nullopt;
  if (*includeAi == 0) return kReplayBlock;
  size_t p = kReplayBlock + 2;
  const auto strings = h.u16(p);
  if (!strings) return std::nullopt;
  p += 6;
  for (uint16_t i = 0; i < *strings; ++i) {
    const auto len = h.i32(p);
    if (!len || *len < 0 || *len > static_cast<int32_t>(kTextMax)) return std::nullopt;
    p += 4 + static_cast<size_t>(*len);
  }
  p += 6;
  for (int script = 0; script < 8; ++script) {
    const auto rules = h.u16(p + 10);
    if (!rules) return std::nullopt;
    p += 16 + size_t{*rules} * 400;
  }
  p += 104 + 320 + 1024 + 4096;
  return h.has(p, 0) ? std::optional<size_t>(p) : std::nullopt;
}

void ReadSpeed(const Bytes& h, GameInfo& g) {
  const auto r = ReplayBlockStart(h);
  if (!r) return;
  const auto speed = h.i32(*r + kSpeedInReplay);
  if (speed && SpeedText(*speed)) g.speed = *speed;
}

std::string Trimmed(const uint8_t* p, size_t n) {
  // Names may carry their terminating zero inside the length.
  while (n > 0 && p[n - 1] == 0) --n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

// The nine records at `pos`: the nature slot, then slots 1 … 8. Stops at
// the first record that doesn't fit or makes no sense.
void ReadPlayerTable(const Bytes& h, size_t pos, GameInfo& g) {
  for (int r = 0; r < 9; ++r) {
    const auto index = h.i32(pos), type = h.i32(pos + 4), len = h.i32(pos + 8);
    if (!index || !type || !len || *index < 0 || *index > 8 || *type < 0 || *type > 6 || *len < 0 ||
        *len > static_cast<int32_t>(kNameMax) || !h.has(pos + 12, static_cast<size_t>(*len)))
      return;
    if (r > 0) g.seats[r - 1] = {*index, *type, Trimmed(h.at(pos + 12), static_cast<size_t>(*len)), std::nullopt};
    pos += 12 + static_cast<size_t>(*len);
  }
}

// The lobby settings behind the trigger marker, when the game has no
// triggers (a random-map game); the teams go into the table's slots.
void ReadLobby(const Bytes& h, size_t trigger, GameInfo& g) {
  const size_t afterMarker = trigger + sizeof kTriggerMarker;
  const auto triggers = h.i32(afterMarker + 1);
  if (!triggers || *triggers != 0) return;
  const size_t l = afterMarker + 5;
  if (!h.has(l, 25)) return;
  for (int s = 0; s < 8; ++s) {
    const int team = *h.u8(l + s);
    // Co-op partners may hold stray values here.
    if (team >= kNoTeam && team <= 5) g.seats[s].team = team;
  }
  const int32_t reveal = *h.i32(l + 9), size = *h.i32(l + 17), pop = *h.i32(l + 21);
  if (reveal >= 0 && reveal <= 2) g.reveal = reveal;
  if (size >= 0 && size <= 6) g.mapSize = size;
  if (g.version == GameVersion::UserPatch) {
    if (pop >= 1 && pop <= 40) g.population = pop * 25;
  } else if (pop >= 1 && pop <= 1000) {
    g.population = pop;
  }
}

// The instructions' lines: the map type and the victory line, and the
// language they are written in.
void ReadInstructions(std::string_view text, GameInfo& g) {
  for (const VictoryLabel& v : kVictoryLabels) {
    if (text.substr(0, v.bytes.size()) == v.bytes) {
      g.victory = static_cast<Victory>(v.victory);
      break;
    }
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    for (const MapTypeLabel& label : kMapTypeLabels) {
      if (line.substr(0, label.bytes.size()) != label.bytes) continue;
      g.encoding = label.chinese ? TextEncoding::Gbk : TextEncoding::Cp932;
      std::string_view name = line.substr(label.bytes.size());
      // UserPatch marks a zipped map script, and some names keep the script's extension.
      if (name.substr(0, 3) == "ZR@") name.remove_prefix(3);
      if (name.size() > 4 && name.substr(name.size() - 4) == ".rms") name.remove_suffix(4);
      while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
      g.mapText = std::string(name);
      return;
    }
    start = end + 1;
  }
}

// The scenario part before the game settings at `s`: the instructions the
// game wrote for a random-map game.
void ReadScenario(const Bytes& h, size_t s, GameInfo& g) {
  if (s < kDisablesBefore + kVictoryBefore) return;
  const size_t disables = s - kDisablesBefore, victory = disables - kVictoryBefore;
  if (!h.is(disables, kSeparator) || !h.is(victory, kSeparator)) return;
  const bool kings = g.version == GameVersion::Kings;
  const size_t lo = victory > kScenarioSearch ? victory - kScenarioSearch : 0;
  const auto marker = kings ? h.findLast(kScenarioKings, lo, victory) : h.findLast(kScenarioConquerors, lo, victory);
  if (!marker || *marker < 4) return;
  const size_t fileName = *marker - 4 + kScenarioFileName;
  const auto fileNameLen = h.u16(fileName);
  if (!fileNameLen) return;
  // The string ids of the messages, five in the earlier game.
  const size_t text = fileName + 2 + *fileNameLen + (kings ? 20 : 24);
  const auto len = h.u16(text);
  if (!len || !h.has(text + 2, *len)) return;
  std::string_view instructions(reinterpret_cast<const char*>(h.at(text + 2)), *len);
  instructions = instructions.substr(0, instructions.find('\0'));
  ReadInstructions(instructions, g);
}

// Civilisation and colour of one player block found by its name at `q`,
// after the `floats` resource values; false when the block doesn't read.
bool ReadPlayerBlock(const Bytes& h, size_t floatsAt, uint32_t floats, GameInfo& g, PlayerFacts& p) {
  const size_t camera = floatsAt + size_t{floats} * 4;
  if (h.u8(camera) != kBlockMark) return false;
  size_t c = camera + 9;
  if (g.version != GameVersion::Kings) {
    const auto views = h.i32(c);
    if (!views || *views > kSavedViewsMax) return false;
    c += 4 + (*views > 0 ? size_t(*views) * 8 : 0);
  }
  // Spawn point, culture, civilisation, status, resigned, a mark, colour.
  if (!h.has(c, 10) || *h.u8(c + 8) != kBlockMark) return false;
  const int civ = *h.u8(c + 5), color = *h.u8(c + 9);
  if (civ >= 1) p.civ = civ;
  if (color <= 7) p.color = color;
  if (!g.startingAge && floats > 6) {
    const float age = *h.f32(floatsAt + 6 * 4);
    if (age >= 0 && age <= 4 && age == std::floor(age)) g.startingAge = std::min(3, static_cast<int>(age));
  }
  return true;
}

// A player block's name ends "\0", 0x16, the number of resource values
// (32 bits), 0x21, and its two-byte length (the zero included) comes right
// before the name. 0x21 is rare in a header, so the scan stops only there.
struct BlockName {
  size_t floatsAt;  // the resource values start here
  uint32_t floats;
};
std::optional<BlockName> BlockNameEndingAt(const Bytes& h, size_t bang, std::string_view name) {
  const size_t len = name.size();
  if (bang < len + 8 || *h.u8(bang - 5) != 0x16 || *h.u8(bang - 6) != 0) return std::nullopt;
  const size_t nameAt = bang - 6 - len;
  if (h.u16(nameAt - 2) != len + 1 || std::memcmp(h.at(nameAt), name.data(), len) != 0) return std::nullopt;
  return BlockName{bang + 1, static_cast<uint32_t>(*h.i32(bang - 4))};
}

// The player blocks follow nature's, one per player in index order; each
// is found by its name as the game-settings table gives it, in one pass
// that ends once every player's block is found.
void ReadPlayerBlocks(const Bytes& h, GameInfo& g) {
  struct Wanted {
    int index;
    const std::string* name;
  };
  std::vector<Wanted> wanted;
  for (int index = 1; index <= 8; ++index)
    for (const SlotRecord& r : g.seats)
      if (r.index == index && r.plays() && !r.name.empty()) wanted.push_back({index, &r.name});
  std::optional<uint32_t> floats;  // as nature's block has them
  std::array<bool, 8> found{};
  size_t left = 0;
  for (int index = 1; index <= 8; ++index)
    for (const Wanted& w : wanted)
      if (w.index == index) {
        ++left;
        break;
      }
  for (size_t from = 0; left > 0 && from < h.size();) {
    const void* p = std::memchr(h.at(from), 0x21, h.size() - from);
    if (!p) return;
    const size_t bang = static_cast<size_t>(static_cast<const uint8_t*>(p) - h.at(0));
    from = bang + 1;
    if (!floats) {
      const auto gaia = BlockNameEndingAt(h, bang, "GAIA");
      if (gaia && gaia->floats >= 1 && gaia->floats <= kHeaderFloatsMax) {
        floats = gaia->floats;
        from = gaia->floatsAt + size_t{*floats} * 4;
      }
      continue;
    }
    for (const Wanted& w : wanted) {
      if (found[w.index - 1]) continue;
      const auto block = BlockNameEndingAt(h, bang, *w.name);
      if (!block || block->floats != *floats) continue;
      if (ReadPlayerBlock(h, block->floatsAt, *floats, g, g.players[w.index - 1])) {
        found[w.index - 1] = true;
        --left;
        from = block->floatsAt + size_t{*floats} * 4;
      }
      break;
    }
  }
}

// The table's other humans of each player, beside the name kept for it
// (the last record of its index).
void CollectCoop(GameInfo& g) {
  for (int index = 1; index <= 8; ++index) {
    int last = -1;
    for (int s = 0; s < 8; ++s)
      if (g.seats[s].index == index) last = s;
    for (int s = 0; s < last; ++s)
      if (g.seats[s].index == index && g.seats[s].type == 2) g.players[index - 1].coop.push_back(g.seats[s].name);
  }
}

}  // namespace

void ReadGameSettings(const uint8_t* buf, size_t length, GameInfo& g) {
  g.clear();
  const Bytes h(buf, length);
  g.version = VersionOf(h);
  if (g.version == GameVersion::Unknown) return;
  ReadSpeed(h, g);
  const auto trigger = h.findLast(kTriggerMarker, 0, length);
  if (!trigger) return;
  const size_t lo = *trigger > kSettingsSearch ? *trigger - kSettingsSearch : 0;
  const auto s = h.findLast(kSeparator, lo, *trigger);
  if (s && h.i32(*s + 4) == -1 && h.i32(*s + 8) == -1) {
    if (g.version == GameVersion::Kings) {
      ReadPlayerTable(h, *s + 20, g);
    } else {
      const auto map = h.i32(*s + 12);
      if (map && *map >= 0 && *map <= 255) g.mapId = *map;
      ReadPlayerTable(h, *s + 24, g);
    }
    CollectCoop(g);
    ReadScenario(h, *s, g);
    ReadPlayerBlocks(h, g);
  }
  ReadLobby(h, *trigger, g);
}

void ReadPostgame(const uint8_t* body, size_t length, GameInfo& g) {
  // The last command: 0x830 bytes starting with FF, and its four-byte tail.
  constexpr size_t kCommand = 8 + 0x830 + 4, kVictoryAt = 8 + 64;
  if (length < kCommand) return;
  const uint8_t* p = body + length - kCommand;
  if (ReadLe32(p) != 1 || ReadLe32(p + 4) != 0x830 || p[8] != 0xFF) return;
  switch (p[kVictoryAt]) {
    case 0: g.victory = Victory::Standard; break;
    case 1: g.victory = Victory::Conquest; break;
    case 7: g.victory = Victory::TimeLimit; break;
    case 8: g.victory = Victory::Score; break;
    default: break;
  }
}

std::vector<int> PlayingIndices(const GameInfo& g) {
  std::vector<int> out;
  for (int index = 1; index <= 8; ++index)
    for (const SlotRecord& r : g.seats)
      if (r.index == index && r.plays()) {
        out.push_back(index);
        break;
      }
  return out;
}

std::optional<int> TeamOfPlayer(const GameInfo& g, int index) {
  for (const SlotRecord& r : g.seats) {
    if (r.index != index || !r.plays()) continue;
    if (!r.team) return std::nullopt;
    return *r.team == kNoTeam ? 100 + index : *r.team;
  }
  return std::nullopt;
}

namespace {
// The teams in order of their first player, each with its players.
std::optional<std::vector<std::pair<int, std::vector<int>>>> Teams(const GameInfo& g) {
  std::vector<std::pair<int, std::vector<int>>> teams;
  for (int index : PlayingIndices(g)) {
    const auto team = TeamOfPlayer(g, index);
    if (!team) return std::nullopt;
    auto it = std::find_if(teams.begin(), teams.end(), [&](const auto& t) { return t.first == *team; });
    if (it == teams.end()) {
      teams.push_back({*team, {index}});
    } else {
      it->second.push_back(index);
    }
  }
  if (teams.empty()) return std::nullopt;
  return teams;
}
}  // namespace

std::optional<std::string> MatchupText(const GameInfo& g) {
  const auto teams = Teams(g);
  if (!teams) return std::nullopt;
  std::string out;
  for (const auto& t : *teams) out += (out.empty() ? "" : "v") + std::to_string(t.second.size());
  return out;
}

void DecideOutcome(GameInfo& g, const std::vector<ResignOp>& resigns) {
  for (PlayerFacts& p : g.players) {
    p.resignedMs.reset();
    p.winner.reset();
  }
  // When each slot left (its first resign or drop).
  std::array<std::optional<uint64_t>, 8> left;
  for (const ResignOp& r : resigns)
    if (r.number >= 1 && r.number <= 8 && !left[r.number - 1]) left[r.number - 1] = r.ms;
  // A player has left once all of its humans (or its computer) have.
  std::array<bool, 8> anyLeft{}, allLeft{};
  for (int index : PlayingIndices(g)) {
    PlayerFacts& p = g.players[index - 1];
    uint64_t last = 0;
    bool all = true;
    for (int s = 0; s < 8; ++s) {
      if (g.seats[s].index != index || !g.seats[s].plays()) continue;
      if (left[s]) {
        anyLeft[index - 1] = true;
        last = std::max(last, *left[s]);
      } else {
        all = false;
      }
    }
    allLeft[index - 1] = all;
    if (all) p.resignedMs = last;
  }
  const auto teams = Teams(g);
  if (!teams || teams->size() < 2) return;
  const std::vector<int>* winner = nullptr;
  for (const auto& t : *teams) {
    const bool noneLeft = std::none_of(t.second.begin(), t.second.end(), [&](int i) { return anyLeft[i - 1]; });
    const bool allOut = std::all_of(t.second.begin(), t.second.end(), [&](int i) { return allLeft[i - 1]; });
    if (noneLeft) {
      if (winner) return;  // two teams still standing
      winner = &t.second;
    } else if (!allOut) {
      return;  // a team only partly gone
    }
  }
  if (!winner) return;
  for (const auto& t : *teams)
    for (int i : t.second) g.players[i - 1].winner = &t.second == winner;
}

std::vector<int> WinningPlayers(const GameInfo& g) {
  std::vector<int> out;
  for (int index = 1; index <= 8; ++index)
    if (g.players[index - 1].winner == true) out.push_back(index);
  return out;
}

}  // namespace q2
