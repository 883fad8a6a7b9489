// Orders texts as the Japanese locale does, the way the Windows list view
// sorts its items: digits, Latin, kana (hiragana, katakana and half-width
// katakana together), then kanji in their dictionary order.
#pragma once

#include <string_view>

namespace q2 {

// Negative, zero or positive as `a` sorts before, with or after `b`; both
// UTF-8.
int CollateJapanese(std::string_view a, std::string_view b);

}  // namespace q2
