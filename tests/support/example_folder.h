#pragma once

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace pellmar::test_support {

// A temporary folder holding copies of the example study, its fecundity, its stable age-stage
// distribution and its bootstrap samples.
class ExampleFolder {
 public:
  explicit ExampleFolder(const std::string& tag = "") : folder_(tag) {
    for (const char* name : {"lady_beetle.txt", "lady_beetle_fecundity.txt",
                             "lady_beetle_10_SASD.txt", "lady_beetle_11_Bootstrap_samples.txt"}) {
      std::filesystem::copy_file(std::filesystem::path(EXAMPLES_DIR) / name, folder_.path() / name);
    }
  }

  [[nodiscard]] const std::filesystem::path& folder() const { return folder_.path(); }
  // The path of a file in the folder.
  [[nodiscard]] std::string path(const std::string& name) const { return folder_.file(name); }

 private:
  TemporaryFolder folder_;
};

}  // namespace pellmar::test_support
