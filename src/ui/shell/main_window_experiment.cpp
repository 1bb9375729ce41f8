// The main window's commands for experiments of several treatments: opening and writing a
// project file, and running the experiment it describes.
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <filesystem>

#include "app/experiment_command.h"
#include "app/project_file.h"
#include "core/platform/utf8_path.h"
#include "core/user_error.h"
#include "ui/shell/main_window.h"
#include "ui/views/experiment_window.h"

namespace pellmar {
namespace {

constexpr std::string_view kProjectSuffix = ".pellmar";

// "experiment.pellmar" in the folder of the first data file.
std::string proposedProjectFile(const std::string& firstDataFile) {
  std::filesystem::path file = pathFromUtf8(firstDataFile);
  file.replace_filename("experiment.pellmar");
  return utf8FromPath(file);
}

std::string withProjectSuffix(std::string file) {
  if (utf8FromPath(pathFromUtf8(file).extension()) != kProjectSuffix) file += kProjectSuffix;
  return file;
}

}  // namespace

void MainWindow::openProject(const QString& path) {
  whenIdle(QStringLiteral("Open project"), [this, path] {
    perform([this, &path] {
      std::string file = path.toStdString();
      if (file.empty()) file = dialogs_.openFileDialog(FileKind::kProject);
      if (file.empty()) return;
      const Project project = readProject(file);
      if (!experimentWindow_) {
        experimentWindow_ = std::make_unique<ExperimentWindow>();
        connectReturn(*experimentWindow_);
        connect(experimentWindow_.get(), &ExperimentWindow::runRequested, this,
                [this] { perform([this] { runExperimentShown(); }); });
        connect(experimentWindow_.get(), &ExperimentWindow::saveRequested, this,
                [this] { perform([this] { saveProjectShown(); }); });
        connect(experimentWindow_.get(), &ExperimentWindow::stopRequested, this,
                &MainWindow::stopWork);
      }
      experimentWindow_->present(project);
      openWindow(*experimentWindow_);
    });
  });
}

void MainWindow::newProject() {
  whenIdle(QStringLiteral("New project"), [this] {
    perform([this] {
      const std::vector<std::string> dataFiles = dialogs_.openFilesDialog(FileKind::kDataFile);
      if (dataFiles.empty()) return;
      checkTreatmentCount(dataFiles.size());
      std::string file =
          dialogs_.saveFileDialog(FileKind::kProject, proposedProjectFile(dataFiles.front()));
      if (file.empty()) return;
      file = withProjectSuffix(std::move(file));
      // The save dialog has asked before a file already there is replaced.
      writeNewProject(file, dataFiles, ExistingProject::kReplace);
      statusBar()->showMessage(QStringLiteral("Project written: ") +
                               QDir::toNativeSeparators(QString::fromStdString(file)));
      openProject(QString::fromStdString(file));
    });
  });
}

void MainWindow::runExperimentShown() {
  ExperimentWindow& window = *experimentWindow_;
  const QString fault = window.settingsFault();
  if (!fault.isEmpty()) {
    throw UserError(std::string(kExperimentTitle), fault.toStdString(), ErrorKind::kInvalidRequest);
  }
  const ExperimentRequest request = window.request();
  std::optional<ExperimentResult> result;
  runningWork_ = QStringLiteral("The experiment");
  window.showRunning(true);
  try {
    runInBackground([this, &request, &result](std::stop_token stop) {
      result = runExperiment(request, progressShownAs(std::string(kExperimentTitle)), stop);
    });
  } catch (...) {
    window.showRunning(false);
    throw;
  }
  window.showRunning(false);
  window.showResult(*result);
  // The user may have gone back to the main window while the experiment ran.
  if (window.isHidden()) openWindow(window);
}

void MainWindow::saveProjectShown() {
  const Project project = experimentWindow_->editedProject();
  saveProject(project);
  statusBar()->showMessage(QStringLiteral("Project saved: ") +
                           QDir::toNativeSeparators(QString::fromStdString(project.file)));
}

}  // namespace pellmar
