// quoril2 [FOLDER | RECORDING]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gui/CQuoril2App.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  // Answered before any window or setting is touched.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("usage: quoril2 [FOLDER | RECORDING]\n"
                  "  FOLDER     list this folder (the start-up folder stays as it is)\n"
                  "  RECORDING  open this recording and list its folder\n"
                  "  --version  print the version\n");
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quoril2 %s\n", QUORIL2_VERSION);
      return 0;
    }
  }
  bool styleChosen = !qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE");
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "-style", 6) == 0 || std::strncmp(argv[i], "--style", 7) == 0) styleChosen = true;
  q2::CQuoril2App app(argc, argv);
  // The classic look of the Windows program, unless the user chose a style.
  if (!styleChosen) QApplication::setStyle(QStringLiteral("Windows"));
  // What Qt left of the command line, as the platform gives it (UTF-16 on
  // Windows, so a folder name in any script arrives whole).
  const std::vector<std::string> args = q2::ProgramArgs(argc, argv);
  if (args.size() > 1) {
    std::fprintf(stderr, "usage: quoril2 [FOLDER | RECORDING]\n");
    return 2;
  }
  const std::string argument = args.empty() ? std::string() : args.front();
  if (!app.InitInstance(argument)) return 1;
  return app.exec();
}
