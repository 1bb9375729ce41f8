// The main window's commands for projects of several treatments: the treatments panel, opening
// and writing a project file, and running every treatment as the experiment it describes.
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>
#include <filesystem>

#include "app/experiment_command.h"
#include "app/project_file.h"
#include "core/platform/utf8_path.h"
#include "core/user_error.h"
#include "ui/shell/desktop_settings.h"
#include "ui/shell/main_window.h"
#include "ui/views/experiment_view.h"
#include "ui/views/settings_panel.h"
#include "ui/views/treatments_panel.h"

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

void MainWindow::buildTreatmentsDock() {
  treatments_ = new TreatmentsPanel;
  auto* dock = new QDockWidget(QStringLiteral("Treatments"), this);
  dock->setObjectName(QStringLiteral("treatmentsDock"));
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  dock->setWidget(treatments_);
  // Narrow, so that the page beside it fits a laptop's screen.
  constexpr int kDockWidth = 220;
  treatments_->setMaximumWidth(kDockWidth);
  addDockWidget(Qt::LeftDockWidgetArea, dock);
  connect(treatments_, &TreatmentsPanel::treatmentSelected, this, [this](std::size_t treatment) {
    perform([this, treatment] { openTreatment(treatment); });
  });
  connect(treatments_, &TreatmentsPanel::addRequested, this,
          [this] { perform([this] { addTreatment(); }); });
  connect(treatments_, &TreatmentsPanel::renameRequested, this,
          [this] { perform([this] { renameTreatment(); }); });
  connect(treatments_, &TreatmentsPanel::changed, this, [this] {
    // The results of the last run of every treatment belong to the project as it was.
    experimentSummaries_.clear();
    experimentView_->clear();
    settingsPanel_->showProject(settingsPanel_->appliedTo(treatments_->project()));
    showTitle();
  });
}

void MainWindow::openProject(const QString& path) {
  whenIdle(QStringLiteral("Open project"), [this, path] {
    perform([this, &path] {
      std::string file = path.toStdString();
      if (file.empty()) file = dialogs_.openFileDialog(FileKind::kProject);
      if (file.empty()) return;
      const Project project = readProject(file);
      settings_.addRecentFile(QString::fromStdString(file));
      fillRecentMenu();
      experimentSummaries_.clear();
      experimentView_->clear();
      treatments_->showProject(project);
      settingsPanel_->showProject(project);
      showTitle();
    });
  });
}

void MainWindow::openTreatment(std::size_t index) {
  const Project& project = treatments_->project();
  if (index >= project.treatments.size()) return;
  const Treatment& treatment = project.treatments[index];
  // A project's treatments share its time unit; a data file opened alone has its own.
  const double timeUnit = project.file.empty()
                              ? settings_.timeUnitFor(QString::fromStdString(treatment.data))
                              : project.timeUnit;
  if (desktop_->isOpen() && desktop_->analysis().study().dataFileName == treatment.data &&
      desktop_->analysis().study().timeUnit == timeUnit) {
    return;
  }
  openStudy(treatment.data, timeUnit);
  settingsPanel_->showTreatmentFiles(treatment);
}

void MainWindow::addTreatment() {
  const std::string dataFile = dialogs_.openFileDialog(FileKind::kDataFile);
  if (dataFile.empty()) return;
  // The new treatment brings the files its project's treatments bring.
  Treatment treatment = projectOf({}, {dataFile}).treatments.front();
  const std::string besideData = treatment.fecundity.value_or("");
  treatment.fecundity.reset();
  const Project& project = treatments_->project();
  if (project.kind == TreatmentKind::kFecundity) {
    std::string fecundity = besideData;
    if (fecundity.empty()) fecundity = dialogs_.openFileDialog(FileKind::kFecundity);
    if (fecundity.empty()) return;
    treatment.fecundity = fecundity;
  } else if (project.kind == TreatmentKind::kSasd) {
    const std::string sasd = dialogs_.openFileDialog(FileKind::kSasd);
    if (sasd.empty()) return;
    treatment.sasd = sasd;
  }
  treatments_->addTreatment(std::move(treatment));
}

void MainWindow::renameTreatment() {
  const std::optional<std::size_t> selected = treatments_->selected();
  if (!selected) return;
  const std::string old = treatments_->project().treatments[*selected].name;
  const std::optional<std::string> name = dialogs_.inputPrompt(
      "The treatment's new name (also its results folder's):", "Rename treatment", old);
  if (!name || name->empty() || *name == old) return;
  treatments_->renameSelected(*name);
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

void MainWindow::saveProjectFile() {
  if (!treatments_->hasProject()) {
    throw UserError("Save project", "Open a data file or a project first.",
                    ErrorKind::kInvalidRequest);
  }
  Project project = settingsPanel_->appliedTo(treatments_->project());
  if (project.file.empty()) {
    std::string file = dialogs_.saveFileDialog(
        FileKind::kProject, proposedProjectFile(project.treatments.front().data));
    if (file.empty()) return;
    project.file = withProjectSuffix(std::move(file));
    project.title =
        QFileInfo(QString::fromStdString(project.file)).completeBaseName().toStdString();
  }
  saveProject(project);
  // What is saved is read back, as the next program run would read it.
  const Project saved = readProject(project.file);
  treatments_->markSaved(saved);
  settings_.addRecentFile(QString::fromStdString(saved.file));
  fillRecentMenu();
  showTitle();
  statusBar()->showMessage(QStringLiteral("Project saved: ") +
                           QDir::toNativeSeparators(QString::fromStdString(saved.file)));
}

void MainWindow::runEveryTreatment() {
  if (treatments_->project().treatments.size() < 2) {
    throw UserError(std::string(kExperimentTitle),
                    "Every treatment runs when the project has two or more.",
                    ErrorKind::kInvalidRequest);
  }
  // The experiment runs the project as its file holds it, with these settings.
  saveProjectFile();
  if (treatments_->isModified() || treatments_->project().file.empty()) return;
  const ExperimentRequest request = settingsPanel_->experimentRequest(treatments_->project());
  std::optional<ExperimentResult> result;
  runningWork_ = QStringLiteral("The experiment");
  runInBackground([this, &request, &result](std::stop_token stop) {
    result = runExperiment(request, progressShownAs(std::string(kExperimentTitle)), stop);
  });
  experimentSummaries_.clear();
  for (const ExperimentTreatment& treatment : result->treatments) {
    experimentSummaries_.push_back(treatment.summary);
  }
  experimentConfidence_ = result->project.bootstrap.confidence;
  treatments_->markAllAnalysed();
  settingsPanel_->ranExperiment(result->project.bootstrap.seed.value_or(0),
                                result->treatments.size());
  experimentView_->showResult(*result);
  showView(View::kComparison);
  statusBar()->showMessage(QStringLiteral("Every treatment has run: the results are in ") +
                           QDir::toNativeSeparators(QString::fromStdString(result->resultsFolder)));
}

const std::vector<SummaryRow>* MainWindow::experimentSummaryShown() const {
  const std::optional<std::size_t> selected = treatments_->selected();
  if (!selected || *selected >= experimentSummaries_.size()) return nullptr;
  return &experimentSummaries_[*selected];
}

}  // namespace pellmar
