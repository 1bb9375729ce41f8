#pragma once

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <map>
#include <sstream>

#include "cli/cli_runner.h"
#include "ui/shell/desktop_settings.h"
#include "ui/shell/main_window.h"
#include "ui_test_support.h"

namespace pellmar::test_support {

// The state of one command in the window: enabled, disabled or hidden.
enum class Seen { kEnabled, kDisabled, kHidden };

// A main window on a copy of the example study, with scripted answers, a fixed clock and
// settings in a temporary file of its own.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest()
      : folder_(exampleStudy()),
        settingsFolder_("_settings"),
        settings_(settingsFile()),
        window_(dialogs_, settings_) {
    dialogs_.fixClock(ClockReading{"2026-05-04 09:00:00", 9, 0, 0});
  }

  [[nodiscard]] QString settingsFile() const {
    return QString::fromStdString((settingsFolder_.path() / "pellmar.ini").string());
  }

  // The page of the analysis now shown (the page before may wait for its deletion).
  [[nodiscard]] QWidget& page() const { return *window_.centralWidget(); }

  Seen seen(Command command) const {
    const QWidget* widget = window_.commandWidget(command);
    if (widget->isHidden()) return Seen::kHidden;
    return widget->isEnabled() ? Seen::kEnabled : Seen::kDisabled;
  }
  void click(const char* name) {
    auto* button = page().findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  QLabel* label(const char* name) const {
    return page().findChild<QLabel*>(QString::fromLatin1(name));
  }
  // A screen that the page shows as one of its views, by its object name, or nullptr.
  QWidget* view(const char* objectName) const {
    return page().findChild<QWidget*>(QString::fromLatin1(objectName));
  }
  // Whether that view is the one in front.
  bool viewShown(const char* objectName) const {
    const QWidget* shown = view(objectName);
    return shown != nullptr && shown->isVisibleTo(&window_);
  }
  QAction* action(const char* name) const {
    return window_.findChild<QAction*>(QString::fromLatin1(name));
  }
  void openExample() {
    dialogs_.chooseFile(folder_.data().string());
    click("openDataFileButton");
  }
  // A file of the examples folder, copied beside the study.
  std::string besideStudy(const char* name) const {
    const fs::path copy = folder_.folder() / name;
    fs::copy_file(fs::path(EXAMPLES_DIR) / name, copy);
    return copy.string();
  }
  // Every file written by the window and by `pellmar-cli run` with `options` on a copy of the
  // study: the same names in the same order, byte for byte; not the run records, whose times
  // and front ends differ by nature.
  void expectSameFilesAsCli(CliOptions options, const std::vector<const char*>& companions) {
    StudyFolder cliFolder(exampleStudy(), "_cli");
    for (const char* name : companions) {
      fs::copy_file(fs::path(EXAMPLES_DIR) / name, cliFolder.folder() / name);
    }
    if (options.sasdFile) options.sasdFile = (cliFolder.folder() / *options.sasdFile).string();
    if (options.fecundityFile) {
      options.fecundityFile = (cliFolder.folder() / *options.fecundityFile).string();
    }
    options.action = CliOptions::Action::kRun;
    options.dataFile = cliFolder.data().string();
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runCli(options, out, err), 0) << err.str();

    std::vector<std::string> cliFiles;
    std::istringstream listed(out.str());
    for (std::string line; std::getline(listed, line);) {
      if (line.rfind(cliFolder.folder().string(), 0) == 0) cliFiles.push_back(line);
    }
    std::vector<std::string> written = window_.desktop().analysis().writtenPaths();
    const auto isRunRecord = [](const std::string& file) {
      return fs::path(file).filename().string().ends_with("_run.json");
    };
    std::erase_if(written, isRunRecord);
    std::erase_if(cliFiles, isRunRecord);
    ASSERT_EQ(written.size(), cliFiles.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
      const fs::path ours(written[i]);
      const fs::path theirs(cliFiles[i]);
      ASSERT_EQ(ours.filename(), theirs.filename());
      EXPECT_EQ(readFile(ours), readFile(theirs)) << ours.filename();
    }
  }
  // The titles of every message shown so far.
  std::vector<std::string> messageTitles() const {
    std::vector<std::string> titles;
    for (const auto& message : dialogs_.messages()) titles.push_back(message.title);
    return titles;
  }
  // Checks the commands listed against the state expected.
  void expectStates(const std::map<Command, Seen>& expected) const {
    for (const auto& [command, state] : expected) {
      EXPECT_EQ(seen(command), state) << "command " << static_cast<int>(command);
    }
  }

  StudyFolder folder_;
  TemporaryFolder settingsFolder_;
  ScriptedDialogs dialogs_;
  DesktopSettings settings_;
  MainWindow window_;
};

}  // namespace pellmar::test_support
