// The terminal the program runs in, if any.
#pragma once

namespace q2 {

// Whether standard error is a terminal (for progress lines).
bool StderrIsTerminal();

}  // namespace q2
