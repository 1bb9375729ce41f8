#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "read_file.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/shell/desktop_analysis.h"

namespace pellmar::test_support {

namespace fs = std::filesystem;

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
  TemporaryFolder folder_;
  fs::path data_;
};

inline fs::path exampleStudy() { return fs::path(EXAMPLES_DIR) / "lady_beetle.txt"; }
inline fs::path goldenStudy(const std::string& name) {
  return fs::path(TEST_DATA_DIR) / "golden" / name / "study.txt";
}

// A study opened and analysed by the Basic Run, as the desktop does it.
struct AnalysedStudy {
  explicit AnalysedStudy(const fs::path& study, double timeUnit = 1) : folder(study) {
    desktop.open(OpenRequest{folder.data().string(), timeUnit});
    desktop.run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
      return analysis.basicRun(files);
    });
  }
  [[nodiscard]] const Analysis& analysis() const { return desktop.analysis(); }

  StudyFolder folder;
  DesktopAnalysis desktop;
};

// A suite whose tests share one analysed study of three individuals (egg, larva, adult), the
// golden case three_stages: analysed once per suite, since every test only reads it.
class ThreeStagesSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    study() = std::make_unique<AnalysedStudy>(goldenStudy("three_stages"));
  }
  static void TearDownTestSuite() { study().reset(); }
  static std::unique_ptr<AnalysedStudy>& study() {
    static std::unique_ptr<AnalysedStudy> analysed;
    return analysed;
  }
  static const Analysis& analysis() { return study()->analysis(); }
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
