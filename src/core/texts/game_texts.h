// The game's own words: civilisations, maps, speeds, victory types and the
// other lobby settings as the Japanese game names them, and the labels the
// game writes into a recording's instructions in its own language, by which
// a reading tells a Japanese game from a Chinese one and finds a custom
// map's name.
#pragma once

#include <string_view>

namespace q2 {

// Japanese names by the game's ids; nullptr for an id without one.
const char* CivNameText(int civ);
const char* MapNameText(int mapId);      // the built-in maps, 9 … 43
const char* MapSizeText(int sizeId);     // lobby ids 0 … 6
const char* SpeedText(int percent);      // 100, 150, 200 (UserPatch 1.5's own values too)
const char* RevealText(int reveal);      // 0 … 2
const char* VictoryText(int victory);    // 0 standard, 1 conquest, 2 time limit, 3 score, 4 custom
const char* StartingAgeText(int age);    // 0 dark … 3 imperial

// The "map type" line of a random-map game's instructions, as the bytes the
// game writes in each language; `chinese` marks the GBK ones.
struct MapTypeLabel {
  std::string_view bytes;
  bool chinese;
};
inline constexpr MapTypeLabel kMapTypeLabels[] = {
    {"Map Type: ", false},
    {"Kartentyp: ", false},
    {"Tipo de mapa: ", false},
    {"Tipo de Mapa: ", false},
    {"Type de carte : ", false},
    {"Tipo di mappa: ", false},
    {"\x83\x7D\x83\x62\x83\x76\x82\xCC\x8E\xED\x97\xDE\x3A\x20", false},  // "マップの種類: " (cp932)
    {"\xB5\xD8\xCD\xBC\xC0\xE0\xD0\xCD\x3A\x20", true},                  // "地图类型: " (1.0c)
    {"\xB5\xD8\xCD\xBC\xC0\xE0\xB1\xF0\xA3\xBA", true},                  // "地图类别：" (1.0)
    {"\xB5\xD8\xCD\xBC\xC0\xE0\xB1\xF0\x3A\x20", true},                  // "地图类别: "
    {"\xB5\xD8\x88\x44\xEE\x90\x84\x65\xA3\xBA", true},                  // "地圖類別：" in GBK
};

// How the instructions' first line starts in a standard or a conquest game.
struct VictoryLabel {
  std::string_view bytes;
  int victory;  // as VictoryText
};
inline constexpr VictoryLabel kVictoryLabels[] = {
    {"Standard Game", 0},
    {"Conquest Game", 1},
    {"Standard-Spiel", 0},
    {"Eroberungsspiel", 1},
    {"Partida por conquista", 1},
    {"\x90\xAA\x95\x9E\x83\x51\x81\x5B\x83\x80", 1},  // "征服ゲーム" (cp932)
    {"\xB1\xEA\xD7\xBC\xD3\xCE\xCF\xB7", 0},          // "标准游戏" (GBK)
    {"\xD5\xF7\xB7\xFE\xD6\xC6\xD3\xCE\xCF\xB7", 1},  // "征服制游戏"
    {"\xCE\xE4\xC1\xA6\xD5\xF7\xB7\xFE\xD3\xCE\xCF\xB7", 1},  // "武力征服游戏"
};

// The window's detail texts.
inline constexpr const char* kDetailsBox = "詳細";
inline constexpr const char* kWinnerMark = "★";
inline constexpr const char* kResignedWord = "投了";
inline constexpr const char* kPopulationWord = "人口";
inline constexpr const char* kMapSizeOpen = "(";
inline constexpr const char* kMapSizeClose = ")";

}  // namespace q2
