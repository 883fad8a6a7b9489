// A small JSON writer for the command-line tool's output.
#pragma once

#include <string>
#include <string_view>

namespace q2 {

std::string JsonString(std::string_view utf8);
// Full precision: 17 significant digits.
std::string JsonNumber(double v);

}  // namespace q2
