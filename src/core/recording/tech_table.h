// The 28 economy and blacksmith technologies that the tool follows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace q2 {

inline constexpr int kCategoryEconomy = 1;     // "内政"
inline constexpr int kCategoryBlacksmith = 2;  // "鉄鋼"

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
