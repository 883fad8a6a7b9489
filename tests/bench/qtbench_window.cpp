// The window's share: listing a big folder, and a click on a recording
// until the panel shows it, against the pipeline alone.
#include <QApplication>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <fstream>

#include "gui/CMainFrame.h"
#include "gui/CQuoril2App.h"
#include "gui/kit/UiSeam.h"
#include "bench.h"
#include "tools/recording_generator.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "support/temp_dir.h"
#include "core/recording/open_replay.h"
#include "gui/CQuoril2Doc.h"
#include "gui/CQuoril2View.h"

namespace {

class SilentSeam : public q2::UiSeam {
 public:
  int showMessage(QWidget*, const q2::Message& m) override {
    std::printf("  (message: %s)\n", m.text.c_str());
    return 0x400;
  }
};

struct Window {
  q2::CQuoril2Doc doc;
  std::unique_ptr<q2::CMainFrame> frame;
  Window(const std::string& ini, const std::string& folder) {
    q2::OverrideSettingsPath(ini);
    q2::IniWriteString(ini, "FILE_INFO", "SAVEGAME_DIR", folder);
    frame = q2::CQuoril2App::CreateMainWindow(&doc, "");
  }
};

}  // namespace

Q2_BENCH(window_list_10000) {
  q2test::TempDir d;
  const std::string f = d / "many";
  std::filesystem::create_directory(f);
  const std::string tiny = q2::gen::BuildRecording(q2::gen::TypicalGame({"太郎", "花子"}, {1, 1}, 1, 3, 2000, 2000));
  for (int i = 0; i < 10000; ++i) {
    q2::LocalTime t{2000 + i % 20, 1 + i % 12, 1 + i % 28, i % 24, (i / 24) % 60, (i / 1440) % 60};
    std::ofstream(f + "/" + std::to_string(i) + " " + q2::gen::DefaultRecordingName(t), std::ios::binary) << tiny;
  }
  SilentSeam seam;
  q2::UiSeam::install(&seam);
  Window w(d / "Quoran.ini", f);
  double ms = q2bench::BestMs([&] { w.frame->view()->NavigateTo(f); }, 5);
  std::printf("  NavigateTo on 10,000 recordings: %.1f ms (goal < 500 ms), %d rows\n", ms,
              w.frame->view()->fileList()->topLevelItemCount());
  double scan = q2bench::BestMs([&] { q2::ScanFolder(f); }, 5);
  std::printf("  of which the folder scan: %.1f ms\n", scan);
  q2::UiSeam::install(nullptr);
}

Q2_BENCH(window_click_to_shown) {
  q2test::TempDir d;
  const std::string f = d / "one";
  std::filesystem::create_directory(f);
  q2::gen::GameParams s = q2::gen::TypicalGame({"太郎", "花子", "侍", "North"}, {2, 2, 3, 3}, 1, 11, 2400000, 700000);
  const std::string path = f + "/big.mgx";
  q2::gen::WriteFile(path, q2::gen::BuildRecording(s));
  SilentSeam seam;
  q2::UiSeam::install(&seam);
  Window w(d / "Quoran.ini", f);
  QTreeWidget* list = w.frame->view()->fileList();
  (void)QTest::qWaitForWindowExposed(w.frame.get());
  const QPoint at = list->visualItemRect(list->topLevelItem(0)).center();
  double click = q2bench::BestMs([&] {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
  });
  q2::ReplaySummary sum;
  double pipeline = q2bench::BestMs([&] { q2::OpenReplay(path, sum); });
  std::printf("  %s (%zu bytes): click to shown %.2f ms, pipeline alone %.2f ms, ratio %.2f (goal <= 1.20)\n",
              "big.mgx", static_cast<size_t>(std::filesystem::file_size(path)), click, pipeline, click / pipeline);
  q2::UiSeam::install(nullptr);
}
