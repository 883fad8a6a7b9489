// The age colours of the graph as the settings file keeps them.
#pragma once

#include <string>

#include "core/settings/settings.h"

namespace q2 {

// Puts the four default age colours (blue, red, green, yellow) into the
// file at once, COLOR_ANKOKU first. A file that can't be written is left as it is.
void ResetAgeColors(const std::string& settingsPath);

}  // namespace q2
