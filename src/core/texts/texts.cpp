#include "core/texts/texts.h"

namespace q2 {

const char* TechNameText(int techId) {
  switch (techId) {
    case 12: return "輪作";
    case 13: return "重鋤";
    case 14: return "馬具";
    case 22: return "織機";
    case 55: return "金の採掘";
    case 182: return "金の立坑採掘";
    case 202: return "両刃の斧";
    case 203: return "弓のこ";
    case 213: return "手押し車";
    case 221: return "二人挽きのこ";
    case 249: return "荷車";
    case 278: return "石の採掘";
    case 279: return "石の立坑採掘";
    case 67: return "鍛造";
    case 68: return "鋳造";
    case 74: return "うろこの鎧";
    case 75: return "溶鉱炉";
    case 76: return "鎖かたびら";
    case 77: return "板金の鎧";
    case 80: return "騎兵の板金鎧";
    case 81: return "騎兵のうろこ鎧";
    case 82: return "騎兵の鎖かたびら";
    case 199: return "矢羽根";
    case 200: return "ボドキンの矢";
    case 201: return "腕当て";
    case 211: return "弓兵の詰め物の鎧";
    case 212: return "弓兵の革の鎧";
    case 219: return "弓兵の鎖の鎧";
  }
  return nullptr;
}

}  // namespace q2
