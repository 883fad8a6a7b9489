// Every core test process keeps its settings in a file of its own, never in
// a Quoran.ini beside the test executable.
#include <gtest/gtest.h>

#include <optional>

#include "settings/core/settings.h"
#include "support/temp_dir.h"

struct SettingsEnvironment : ::testing::Environment {
  std::optional<q2test::TempDir> dir;
  void SetUp() override { q2::OverrideSettingsPath(dir.emplace() / "Quoran.ini"); }
  void TearDown() override { dir.reset(); }
};

static const bool kRegistered = (::testing::AddGlobalTestEnvironment(new SettingsEnvironment), true);
