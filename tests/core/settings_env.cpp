// Every core test process keeps its settings in a file of its own, never in
// a Quoran.ini beside the test executable.
#include <gtest/gtest.h>

#include <memory>

#include "settings/core/settings.h"
#include "support/temp_dir.h"

namespace {

class SettingsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<q2test::TempDir>();
    q2::OverrideSettingsPath(*dir_ / "Quoran.ini");
  }
  void TearDown() override { dir_.reset(); }

 private:
  std::unique_ptr<q2test::TempDir> dir_;
};

const bool kRegistered = (::testing::AddGlobalTestEnvironment(new SettingsEnvironment), true);

}  // namespace
