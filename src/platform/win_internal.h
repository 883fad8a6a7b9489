// Helpers shared by the Windows implementations of the platform layer.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "times.h"

namespace q2 {

// Invalid UTF-8 becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

// A file time (UTC) as local calendar time, the way Explorer shows it.
LocalTime LocalTimeOfFileTime(const FILETIME& utc);

}  // namespace q2
