#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/program.h"
#include "app/system_clock.h"
#include "support/scripted_dialogs.h"

namespace pellmar::test_support {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh folder under the temporary directory, removed afterwards. It is named after the
// running test (or, in a suite's set-up, the suite) and the process, since the tests of one
// suite may run side by side in several processes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& tag = "") {
    const auto* unit = ::testing::UnitTest::GetInstance();
    const auto* info = unit->current_test_info();
    const std::string name = info != nullptr
                                 ? std::string(info->test_suite_name()) + "_" + info->name()
                                 : std::string(unit->current_test_suite()->name());
    path_ = fs::temp_directory_path() /
            ("pellmar_ui_" + name + tag + "_" + std::to_string(QCoreApplication::applicationPid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  [[nodiscard]] const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// A temporary folder holding a copy of a study.
class StudyFolder {
 public:
  explicit StudyFolder(const fs::path& study, const std::string& tag = "")
      : folder_(tag), data_(folder_.path() / study.filename()) {
    fs::copy_file(study, data_);
  }

  [[nodiscard]] const fs::path& folder() const { return folder_.path(); }
  [[nodiscard]] const fs::path& data() const { return data_; }

 private:
  TempFolder folder_;
  fs::path data_;
};

inline fs::path exampleStudy() { return fs::path(EXAMPLES_DIR) / "lady_beetle.txt"; }
inline fs::path goldenStudy(const std::string& name) {
  return fs::path(TEST_DATA_DIR) / "golden" / name / "study.txt";
}

// A study opened and analysed by the Basic Run.
struct AnalysedStudy {
  explicit AnalysedStudy(const fs::path& study) : folder(study) {
    program.run(OpenRequest{folder.data().string(), 1});
    program.run(BasicRunRequest{});
  }
  StudyFolder folder;
  Program program{readSystemClock};
};

// The top-level window with an object name, or nullptr.
inline QWidget* window(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(objectName)) return widget;
  }
  return nullptr;
}

inline bool shown(const char* objectName) {
  const QWidget* found = window(objectName);
  return found != nullptr && found->isVisible();
}

}  // namespace pellmar::test_support
