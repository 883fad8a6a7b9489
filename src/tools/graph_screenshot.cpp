// Renders the age graph of a generated four-player game, with the economy
// icons shown, to a PNG: quoril2-graph-shot OUTPUT.png [--game-time]
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "core/texts/message.h"
#include "tools/recording_generator.h"
#include "gui/AgeGraphDlg.h"
#include "gui/GraphCommands.h"
#include "core/settings/settings.h"
#include "core/recording/open_replay.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool gameTime = argc == 3 && std::string(argv[2]) == "--game-time";
  if (argc != 2 && !gameTime) {
    std::fprintf(stderr, "usage: %s OUTPUT.png [--game-time]\n", argv[0]);
    return 2;
  }
  QTemporaryDir tmp;
  if (!tmp.isValid()) return 1;
  const std::string dir = tmp.path().toStdString();
  // Keep the real settings file out of it.
  q2::OverrideSettingsPath(dir + "/Quoran.ini");

  const std::string path = dir + "/game.mgx";
  const q2::gen::GameParams params =
      q2::gen::TypicalGame({"侍ジャック", "North", "ゆきむら", "弓兵マスター"}, {2, 2, 3, 3}, 1, 3, 1500000);
  if (!q2::gen::WriteFile(path, q2::gen::BuildRecording(params))) return 1;
  q2::ReplaySummary s;
  const q2::OpenResult opened = q2::OpenReplay(path, s);
  if (!opened.ok) {
    for (const q2::Message& m : opened.messages) std::fprintf(stderr, "%s\n", m.text.c_str());
    return 1;
  }

  q2::CAgeGraphDlg dlg(nullptr);
  q2::PrepareAgeGraph(dlg, s);
  dlg.show();
  app.processEvents();
  if (gameTime) dlg.findChild<QPushButton*>(QStringLiteral("id1044"))->setChecked(true);
  dlg.findChild<QPushButton*>(QStringLiteral("id1100"))->click();
  app.processEvents();
  if (!dlg.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
