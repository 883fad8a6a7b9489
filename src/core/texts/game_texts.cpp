#include "core/texts/game_texts.h"

namespace q2 {
namespace {

template <int N>
const char* Pick(const char* const (&names)[N], int i) {
  return i >= 0 && i < N ? names[i] : nullptr;
}

}  // namespace

const char* CivNameText(int civ) {
  static const char* const names[] = {nullptr,  "ブリトン", "フランク", "ゴート",     "チュートン",
                                      "日本",   "中国",     "ビザンティン", "ペルシア", "サラセン",
                                      "トルコ軍", "バイキング", "モンゴル", "ケルト",  "スペイン",
                                      "アステカ", "マヤ",     "フン",     "朝鮮軍"};
  return Pick(names, civ);
}

const char* MapNameText(int mapId) {
  static const char* const names[] = {
      "アラビア",   "列島",       "バルト海",     "深い森",       "沿岸",           "大陸",
      "カルデラ湖", "要塞",       "金鉱",         "高地",         "島々",           "地中海",
      "移住",       "流域",       "チームごとの島", "フル ランダム", "スカンディナビア", "モンゴリア",
      "海辺の沼地", "ユカタン",   "アリーナ",     "キング オブ ザ ヒル", "オアシス",  "凍結湖",
      "遊牧",       "イベリア",   "イギリス",     "中東",         "テキサス",       "イタリア",
      "中央アメリカ", "フランス", "ノルウェー",   "日本海 (東海)", "ビザンティウム"};
  return Pick(names, mapId - 9);
}

const char* MapSizeText(int sizeId) {
  static const char* const names[] = {"極小", "小", "普通", "大", "広大", "特大", "超特大"};
  return Pick(names, sizeId);
}

const char* SpeedText(int percent) {
  switch (percent) {
    case 100:
    case 118: return "遅い";
    case 150:
    case 178: return "標準";
    case 200:
    case 237: return "速い";
  }
  return nullptr;
}

const char* RevealText(int reveal) {
  static const char* const names[] = {"標準", "開拓済", "すべて表示"};
  return Pick(names, reveal);
}

const char* VictoryText(int victory) {
  static const char* const names[] = {"標準", "征服", "時間制限", "スコア", "カスタム"};
  return Pick(names, victory);
}

const char* StartingAgeText(int age) {
  static const char* const names[] = {"暗黒の時代", "領主の時代", "城主の時代", "帝王の時代"};
  return Pick(names, age);
}

}  // namespace q2
