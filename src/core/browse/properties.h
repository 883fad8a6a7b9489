// What the list's pop-up menu item "ﾌﾟﾛﾊﾟﾃｨ" shows of a row: the name,
// kind and place, the whole size in bytes, the file's times and, for a
// recording, the game's length.
#pragma once

#include <string>

#include "core/texts/message.h"

namespace q2 {

Message PropertiesMessage(const std::string& folder, const std::string& name);

}  // namespace q2
