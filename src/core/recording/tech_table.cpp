#include "core/recording/tech_table.h"

namespace q2 {

const std::vector<TechInfo>& TechTable() {
  static const std::vector<TechInfo> table = {
      {12, 1, 167, "輪作"},
      {13, 1, 161, "重鋤"},
      {14, 1, 160, "馬具"},
      {22, 1, 159, "織機"},
      {55, 1, 163, "金の採掘"},
      {182, 1, 166, "金の立坑採掘"},
      {202, 1, 155, "両刃の斧"},
      {203, 1, 164, "弓のこ"},
      {213, 1, 154, "手押し車"},
      {221, 1, 165, "二人挽きのこ"},
      {249, 1, 158, "荷車"},
      {278, 1, 162, "石の採掘"},
      {279, 1, 157, "石の立坑採掘"},
      {67, 2, 173, "鍛造"},
      {68, 2, 174, "鋳造"},
      {74, 2, 176, "うろこの鎧"},
      {75, 2, 175, "溶鉱炉"},
      {76, 2, 177, "鎖かたびら"},
      {77, 2, 178, "板金の鎧"},
      {80, 2, 181, "騎兵の板金鎧"},
      {81, 2, 179, "騎兵のうろこ鎧"},
      {82, 2, 180, "騎兵の鎖かたびら"},
      {199, 2, 182, "矢羽根"},
      {200, 2, 183, "ボドキンの矢"},
      {201, 2, 184, "腕当て"},
      {211, 2, 185, "弓兵の詰め物の鎧"},
      {212, 2, 186, "弓兵の革の鎧"},
      {219, 2, 187, "弓兵の鎖の鎧"},
  };
  return table;
}

namespace {
const TechInfo* Find(int techId) {
  for (const TechInfo& t : TechTable())
    if (t.techId == techId) return &t;
  return nullptr;
}
}  // namespace

int IconForTech(int techId) {
  const TechInfo* t = Find(techId);
  return t ? t->iconId : 3;
}

int CategoryOfTech(int techId) {
  const TechInfo* t = Find(techId);
  return t ? t->category : -1;
}

const TechInfo* TechForIcon(int iconId) {
  for (const TechInfo& t : TechTable())
    if (t.iconId == iconId) return &t;
  return nullptr;
}

}  // namespace q2
