#include "core/recording/tech_table.h"

#include "core/texts/texts.h"

namespace q2 {

const std::vector<TechInfo>& TechTable() {
  static const std::vector<TechInfo> table = [] {
    std::vector<TechInfo> t;
    for (const TrackedTech& k : kTrackedTechs) t.push_back({k.techId, k.category, k.iconId, TechNameText(k.techId)});
    return t;
  }();
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
