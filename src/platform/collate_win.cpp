#include "collate.h"

// CompareStringEx came with Vista.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0600
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include <windows.h>

#include "win_internal.h"

namespace q2 {

int CollateJapanese(std::string_view a, std::string_view b) {
  const std::wstring wa = Utf8ToWide(a), wb = Utf8ToWide(b);
  // Punctuation counts as a symbol, as ICU's default has it, rather than
  // being skipped as in a word sort: both builds then list alike.
  const int r = CompareStringEx(L"ja-JP", SORT_STRINGSORT, wa.data(), static_cast<int>(wa.size()), wb.data(),
                                static_cast<int>(wb.size()), nullptr, nullptr, 0);
  if (r == 0) return a.compare(b);  // the locale is missing: byte order
  return r - CSTR_EQUAL;
}

}  // namespace q2
