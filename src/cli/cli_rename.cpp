#include <string>
#include <vector>

namespace q2::cli {
int RunRename(const std::vector<std::string>&) { return 2; }
}  // namespace q2::cli
