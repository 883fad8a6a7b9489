// quoril2 [FOLDER | RECORDING]
#include <cstdio>
#include <cstring>
#include <string>

#include "CQuoril2App.h"

int main(int argc, char** argv) {
  bool styleChosen = !qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE");
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "-style", 6) == 0 || std::strncmp(argv[i], "--style", 7) == 0) styleChosen = true;
  q2::CQuoril2App app(argc, argv);
  // The classic look of the Windows program, unless the user chose a style.
  if (!styleChosen) QApplication::setStyle(QStringLiteral("Windows"));
  std::string argument;
  for (int i = 1; i < argc; ++i) {
    if (!argument.empty()) {
      std::fprintf(stderr, "usage: quoril2 [FOLDER | RECORDING]\n");
      return 2;
    }
    argument = argv[i];
  }
  if (!app.InitInstance(argument)) return 1;
  return app.exec();
}
