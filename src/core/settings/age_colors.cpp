#include "core/settings/age_colors.h"

namespace q2 {

void ResetAgeColors(const std::string& settingsPath) { SaveAgeColors(settingsPath, kDefaultAgeColors); }

}  // namespace q2
