// For a test object's life: the settings in a temporary file, and a seam
// that answers the boxes and pickers.
#pragma once

#include <string>

#include "app/qt/UiSeam.h"
#include "settings/core/settings.h"
#include "support/temp_dir.h"

namespace q2test {

template <class Seam>
struct SettingsAndSeam {
  TempDir dir;
  std::string ini = dir / "Quoran.ini";
  Seam seam;

  SettingsAndSeam() {
    q2::OverrideSettingsPath(ini);
    q2::UiSeam::install(&seam);
  }
  ~SettingsAndSeam() {
    q2::UiSeam::install(nullptr);
    q2::OverrideSettingsPath("");
  }
};

}  // namespace q2test
