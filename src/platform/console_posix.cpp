#include "console.h"

#include <unistd.h>

namespace q2 {

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace q2
