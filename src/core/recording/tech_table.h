// The 28 economy and blacksmith technologies that the tool follows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace q2 {

inline constexpr int kCategoryEconomy = 1;     // "内政"
inline constexpr int kCategoryBlacksmith = 2;  // "鉄鋼"

// The followed technologies: the game's id, category and icon id.
struct TrackedTech {
  int techId, category, iconId;
};
inline constexpr TrackedTech kTrackedTechs[] = {
    {12, kCategoryEconomy, 167},     {13, kCategoryEconomy, 161},     {14, kCategoryEconomy, 160},
    {22, kCategoryEconomy, 159},     {55, kCategoryEconomy, 163},     {182, kCategoryEconomy, 166},
    {202, kCategoryEconomy, 155},    {203, kCategoryEconomy, 164},    {213, kCategoryEconomy, 154},
    {221, kCategoryEconomy, 165},    {249, kCategoryEconomy, 158},    {278, kCategoryEconomy, 162},
    {279, kCategoryEconomy, 157},    {67, kCategoryBlacksmith, 173},  {68, kCategoryBlacksmith, 174},
    {74, kCategoryBlacksmith, 176},  {75, kCategoryBlacksmith, 175},  {76, kCategoryBlacksmith, 177},
    {77, kCategoryBlacksmith, 178},  {80, kCategoryBlacksmith, 181},  {81, kCategoryBlacksmith, 179},
    {82, kCategoryBlacksmith, 180},  {199, kCategoryBlacksmith, 182}, {200, kCategoryBlacksmith, 183},
    {201, kCategoryBlacksmith, 184}, {211, kCategoryBlacksmith, 185}, {212, kCategoryBlacksmith, 186},
    {219, kCategoryBlacksmith, 187},
};

struct TechInfo {
  int techId;
  int category;
  int iconId;
  const char* nameJa;  // UTF-8
};

const std::vector<TechInfo>& TechTable();

// Icon id of a technology; 3 for any id not in the table.
int IconForTech(int techId);
// 1, 2, or -1 for any id not in the table.
int CategoryOfTech(int techId);
// The technology an icon id stands for, or nullptr.
const TechInfo* TechForIcon(int iconId);

}  // namespace q2
