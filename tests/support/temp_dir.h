// A fresh folder under the system's temporary folder, removed afterwards.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace q2test {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    for (int i = 0; i < 100 && path_.empty(); ++i) {
      const auto p = std::filesystem::temp_directory_path() / ("quoril2-test-" + std::to_string(rd()));
      if (std::filesystem::create_directory(p)) path_ = p.string();
    }
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace q2test
