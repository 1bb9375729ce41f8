#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace pellmar::test_support {

// A folder of the running test's own, named after it, holding copies of the example study, its
// fecundity, its stable age-stage distribution and its bootstrap samples; removed with the
// object.
class ExampleFolder {
 public:
  explicit ExampleFolder(const std::string& prefix) {
    folder_ = std::filesystem::temp_directory_path() /
              (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    for (const char* name : {"lady_beetle.txt", "lady_beetle_fecundity.txt",
                             "lady_beetle_10_SASD.txt", "lady_beetle_11_Bootstrap_samples.txt"}) {
      std::filesystem::copy_file(std::filesystem::path(EXAMPLES_DIR) / name, folder_ / name);
    }
  }
  ~ExampleFolder() { std::filesystem::remove_all(folder_); }
  ExampleFolder(const ExampleFolder&) = delete;
  ExampleFolder& operator=(const ExampleFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }
  // The path of a file in the folder.
  [[nodiscard]] std::string path(const std::string& name) const {
    return (folder_ / name).string();
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace pellmar::test_support
