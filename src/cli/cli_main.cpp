// quoril2-cli: the replay reading and renaming of the window, from a shell.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/console.h"
#include "core/settings/settings.h"

namespace q2::cli {
int RunShow(const std::vector<std::string>& args);
int RunRename(const std::vector<std::string>& args);
// A bad argument whose own message was printed: exit code 2 without the usage.
inline constexpr int kExitToldWhy = -2;
}  // namespace q2::cli

namespace {
void Usage(std::FILE* to) {
  q2::PrintTo(to,
              "usage: quoril2-cli show [--json] FILE\n"
              "       quoril2-cli show --json FILE...\n"
              "       quoril2-cli show --json --recursive FOLDER...\n"
              "       quoril2-cli rename [--format FMT] [--dry-run] FOLDER\n"
              "       quoril2-cli rename [--format FMT] [--dry-run] --selected FILE...\n"
              "       quoril2-cli --version\n"
              "       quoril2-cli --help\n");
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args = q2::ProgramArgs(argc, argv);
  if (args.empty()) {
    Usage(stderr);
    return 2;
  }
  const std::string cmd = args.front();
  args.erase(args.begin());
  if (cmd == "--help" || cmd == "-h") {
    Usage(stdout);
    return 0;
  }
  if (cmd == "--version") {
    q2::PrintTo(stdout, "quoril2-cli %s\n設定ファイル: %s\n", QUORIL2_VERSION, q2::SettingsPathWithoutFolders().c_str());
    return 0;
  }
  int rc = 2;
  if (cmd == "show")
    rc = q2::cli::RunShow(args);
  else if (cmd == "rename")
    rc = q2::cli::RunRename(args);
  if (rc == 2) Usage(stderr);
  if (rc == q2::cli::kExitToldWhy) rc = 2;
  return rc;
}
