#include "core/recording/game_summary.h"

#include "platform/text.h"
#include "core/recording/game_clock.h"
#include "core/recording/game_settings.h"
#include "core/texts/game_texts.h"

namespace q2 {

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
  return encoding == TextEncoding::Gbk ? GbkToUtf8(bytes) : Cp932ToUtf8(bytes);
}

std::optional<std::string> EncodeText(std::string_view utf8, TextEncoding encoding) {
  return encoding == TextEncoding::Gbk ? Utf8ToGbk(utf8) : Utf8ToCp932(utf8);
}

const char* EncodingName(TextEncoding encoding) { return encoding == TextEncoding::Gbk ? "gbk" : "cp932"; }

std::optional<std::string> MapName(const GameInfo& g) {
  if (g.mapId && *g.mapId != kCustomMapId)
    if (const char* name = MapNameText(*g.mapId)) return name;
  if (!g.mapText.empty()) return DecodeText(g.mapText, g.encoding);
  return std::nullopt;
}

std::optional<bool> IsCustomMap(const GameInfo& g) {
  if (!g.mapId) return std::nullopt;
  return *g.mapId == kCustomMapId;
}

std::optional<std::string> CivName(const GameInfo& g, int index) {
  if (index < 1 || index > 8 || !g.players[index - 1].civ) return std::nullopt;
  const char* name = CivNameText(*g.players[index - 1].civ);
  return name ? std::optional<std::string>(name) : std::nullopt;
}

std::string GameSummaryLine(const GameInfo& g) {
  std::string out;
  auto add = [&](const std::string& part) { out += (out.empty() ? "" : "  ") + part; };
  if (const auto map = MapName(g)) {
    const char* size = g.mapSize ? MapSizeText(*g.mapSize) : nullptr;
    add(*map + (size ? std::string(kMapSizeOpen) + size + kMapSizeClose : std::string()));
  }
  if (const auto matchup = MatchupText(g)) add(*matchup);
  if (g.population) add(std::string(kPopulationWord) + std::to_string(*g.population));
  if (g.speed)
    if (const char* speed = SpeedText(*g.speed)) add(speed);
  return out;
}

std::string PlayerDetailText(const GameInfo& g, int index) {
  if (index < 1 || index > 8) return {};
  const PlayerFacts& p = g.players[index - 1];
  std::string out;
  auto add = [&](const std::string& part) { out += (out.empty() ? "" : " ") + part; };
  if (const auto civ = CivName(g, index)) add(*civ);
  if (p.winner == true) add(kWinnerMark);
  if (p.resignedMs) add(std::string(kResignedWord) + " " + ClockText(*p.resignedMs));
  return out;
}

}  // namespace q2
