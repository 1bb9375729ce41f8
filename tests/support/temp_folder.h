#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace pellmar::test_support {

// A fresh folder under the system's temporary folder, removed with the object. It is named after
// the running test (in a suite's set-up, the suite) and a random tag, since the tests of one
// suite may run side by side in several processes.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& tag = "") {
    const auto* unit = ::testing::UnitTest::GetInstance();
    const auto* test = unit->current_test_info();
    std::string name = test != nullptr ? std::string(test->test_suite_name()) + "_" + test->name()
                                       : std::string(unit->current_test_suite()->name());
    // Parameterised tests are named "Test/parameter".
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = std::filesystem::temp_directory_path() /
            ("pellmar_" + name + tag + "_" + std::to_string(std::random_device{}() % 100000));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  // The path of a file in the folder.
  [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }
  // The output base of a study named "study.txt" in the folder.
  [[nodiscard]] std::string base() const { return file("study"); }

 private:
  std::filesystem::path path_;
};

}  // namespace pellmar::test_support
