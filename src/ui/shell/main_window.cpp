#include "ui/shell/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/system_clock.h"
#include "core/report/output_file.h"
#include "core/user_error.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/palette_colours.h"
#include "ui/classic/help_screen.h"
#include "ui/classic/help_texts.h"
#include "ui/classic/logo.h"
#include "ui/classic/quiz_screen.h"
#include "ui/classic/quotations.h"
#include "ui/classic/title_screen.h"
#include "ui/shell/desktop_settings.h"
#include "ui/views/data_format_window.h"
#include "ui/views/data_view.h"
#include "ui/views/large_graph_window.h"
#include "ui/views/output_files_window.h"
#include "ui/views/paired_test_window.h"
#include "ui/views/resampling_results_window.h"
#include "ui/views/results_pane.h"
#include "ui/views/results_window.h"
#include "ui/views/settings_panel.h"
#include "ui/views/stage_means_window.h"
#include "ui/views/treatments_panel.h"
#include "ui/widgets/clickable_label.h"
#include "ui/widgets/wrap_button.h"

namespace pellmar {

namespace {

// The window's size in the first program run, where the screen has room for it; a smaller
// screen is filled.
constexpr QSize kFirstSize(1400, 860);

// The last step of the analysis done: the steps go in this order, so it is the furthest.
QString lastStepDone(const Analysis& analysis) {
  if (analysis.comparison()) return QStringLiteral("Compare two bootstraps");
  if (analysis.jackknife()) return QStringLiteral("Jackknife");
  if (analysis.bootstrap()) return QStringLiteral("Bootstrap");
  if (analysis.lifeTable()) return QStringLiteral("Read fecundity");
  if (analysis.predation()) return QStringLiteral("Read SASD");
  if (analysis.basic()) return QStringLiteral("Basic Run");
  return QStringLiteral("Open data file");
}

// The one local file a drag carries, or the empty text.
QString draggedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl& url = data->urls().front();
  if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) return {};
  return url.toLocalFile();
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, DesktopSettings& settings)
    : dialogs_(dialogs), settings_(settings) {
  setObjectName(QStringLiteral("mainWindow"));
  setAcceptDrops(true);
  buildMenus();
  buildToolBar();
  buildStatusBar();
  settingsPanel_ = new SettingsPanel(dialogs_, this);
  connect(settingsPanel_->runButton(), &QPushButton::clicked, this, [this] {
    perform([this] {
      if (settingsPanel_->runsEveryTreatment()) {
        runEveryTreatment();
      } else {
        runWithSettings();
      }
    });
  });
  connect(settingsPanel_, &SettingsPanel::timeUnitEdited, this, [this](double unit) {
    if (!desktop_->isOpen()) return;
    const std::string file = desktop_->analysis().study().dataFileName;
    settings_.rememberTimeUnit(QString::fromStdString(file), unit);
    // A study nothing has run on yet is read again at once; the results of one that has run
    // are out of date until Run.
    if (!desktop_->analysis().basic()) perform([this, &file, unit] { openStudy(file, unit); });
  });
  buildTreatmentsDock();
  startNewAnalysis();

  if (!restoreGeometry(settings_.mainWindowGeometry())) {
    const QRect screen = QApplication::primaryScreen() != nullptr
                             ? QApplication::primaryScreen()->availableGeometry()
                             : QRect(QPoint(0, 0), kFirstSize);
    // The window manager's frame takes room around the window.
    const QSize frameRoom(16, 48);
    resize(kFirstSize.boundedTo(screen.size() - frameRoom));
    move(screen.center() - rect().center());
  }
  restoreState(settings_.mainWindowState());
}

MainWindow::~MainWindow() = default;

void MainWindow::afterCommand() {
  applyCommandStates();
  showStudy();
}

void MainWindow::applyCommandStates() {
  const CommandStates states = commandStatesFor(*desktop_);
  for (std::size_t i = 0; i < commandWidgets_.size(); ++i) {
    const auto command = static_cast<Command>(i);
    QWidget* widget = commandWidgets_[i];
    widget->setEnabled(states.isEnabled(command));
    widget->setVisible(states.isVisible(command));
  }
  if (lastFocus_ != states.focused()) {
    lastFocus_ = states.focused();
    commandWidget(*lastFocus_)->setFocus();
  }
}

void MainWindow::showStudy() {
  if (desktop_->isOpen()) {
    const Analysis& analysis = desktop_->analysis();
    const std::vector<SummaryRow>* fromExperiment = experimentSummaryShown();
    // A project's results are headed by the treatment's name.
    QString subject;
    if (const std::optional<std::size_t> selected = treatments_->selected();
        selected && treatments_->project().treatments.size() > 1) {
      subject = QString::fromStdString(treatments_->project().treatments[*selected].name);
    }
    if (fromExperiment != nullptr && !analysis.basic()) {
      resultsPane_->showResults(*fromExperiment, experimentConfidence_, subject);
    } else {
      resultsPane_->showResults(analysis.summary(), analysis.confidence(), subject);
    }
    dataView_->showStudy(&analysis.study(),
                         analysis.lifeTable() ? &*analysis.lifeTable() : nullptr);
    refreshView(static_cast<View>(views_->currentIndex()));
  } else {
    resultsPane_->showResults({}, kDefaultConfidence);
    dataView_->showStudy(nullptr, nullptr);
    settingsPanel_->showNoStudy();
  }
  showTitle();
  if (!desktop_->isOpen()) {
    settings_.setStudyFolder({});
    studyStatus_->setText(QStringLiteral("No data file open"));
    studyStatus_->setToolTip({});
    timeUnitStatus_->hide();
    lastStepStatus_->hide();
    return;
  }
  const Study& study = desktop_->analysis().study();
  const QString path = QString::fromStdString(study.dataFileName);
  const QString name = QFileInfo(path).fileName();
  settings_.setStudyFolder(QFileInfo(path).absolutePath());
  studyStatus_->setText(QStringLiteral("Study: ") + name);
  studyStatus_->setToolTip(QDir::toNativeSeparators(path));
  timeUnitStatus_->setText(
      QStringLiteral("Time unit: %1 %2")
          .arg(QString::number(study.timeUnit, 'g', 6))
          .arg(study.timeUnit == 1.0 ? QStringLiteral("day") : QStringLiteral("days")));
  timeUnitStatus_->show();
  lastStepStatus_->setText(QStringLiteral("Last step: ") + lastStepDone(desktop_->analysis()));
  lastStepStatus_->show();
}

void MainWindow::showTitle() {
  // The project by its file when one is open, else the data file open alone.
  QString shown;
  if (treatments_->hasProject() && !treatments_->project().file.empty()) {
    shown = QFileInfo(QString::fromStdString(treatments_->project().file)).fileName();
    if (treatments_->isModified()) shown += QLatin1Char('*');
  } else if (desktop_->isOpen()) {
    shown = QFileInfo(QString::fromStdString(desktop_->analysis().study().dataFileName)).fileName();
  }
  setWindowTitle(shown.isEmpty() ? QStringLiteral("Pellmar")
                                 : shown + QStringLiteral(" - Pellmar"));
}

void MainWindow::startNewAnalysis() {
  destroyScreens();
  // The analysis before goes, and with it whatever it holds on its files.
  desktop_ = std::make_unique<DesktopAnalysis>();
  bootstrapBegan_.clear();
  bootstrapEnded_.clear();
  lastFocus_.reset();
  lockedDuringWork_.clear();
  stepLabels_.clear();
  // The page of the analysis before goes once the event that started this one is done with it.
  setCentralWidget(buildPage());
  loadTexts();
  applyColours();
  bindActionsToPage();
  applyCommandStates();
  showStudy();
}

void MainWindow::destroyScreens() {
  titleScreen_.reset();
  dataFormatWindow_.reset();
  largeGraphWindow_.reset();
  quizScreen_.reset();
  for (auto& screen : helpScreens_) screen.reset();
}

void MainWindow::openDataFile(const QString& path) {
  whenIdle(QStringLiteral("Open data file"), [this, path] {
    perform([this, &path] {
      const std::string file = path.isEmpty() ? dialogs_.openFileDialog(FileKind::kDataFile)
                                              : QDir::toNativeSeparators(path).toStdString();
      // Cancelling the dialog leaves the study open as it was.
      if (file.empty()) return;
      const double timeUnit = settings_.timeUnitFor(QString::fromStdString(file));
      openStudy(file, timeUnit);
      if (!desktop_->isOpen()) return;
      experimentSummaries_.clear();
      treatments_->showDataFile(file, timeUnit);
      settingsPanel_->showProject(treatments_->project());
      settingsPanel_->showStudy(file, timeUnit);
    });
  });
}

void MainWindow::openStudy(const std::string& dataFile, double timeUnit) {
  if (desktop_->isOpen()) startNewAnalysis();
  const QString chosen = QString::fromStdString(dataFile);
  settings_.addRecentFile(chosen);
  settings_.rememberFolder(FileKind::kDataFile, chosen);
  fillRecentMenu();
  const std::optional<std::string> outputFolder = outputFolderFor(dataFile);
  if (!outputFolder) return;
  try {
    desktop_->open(OpenRequest{dataFile, timeUnit},
                   outputFolder->empty() ? std::nullopt : outputFolder);
  } catch (const UserError& error) {
    // A fault in the data ends the analysis, not the program: a fresh window takes its place,
    // as a restarted program would show it, and the data view lists the fault.
    if (error.fatal()) startNewAnalysis();
    dataView_->showFault(dataFile, error.text());
    showView(View::kData);
    throw;
  }
  settingsPanel_->showStudy(dataFile, timeUnit);
  // What the data file holds that is worth a word but no refusal (a span of an unknown stage).
  for (const std::string& warning : desktop_->analysis().study().warnings) {
    statusBar()->showMessage(QString::fromStdString(warning));
  }
}

std::optional<std::string> MainWindow::outputFolderFor(const std::string& dataFile) {
  const QString dataPath = QString::fromStdString(dataFile);
  if (const QString remembered = settings_.outputFolderFor(dataPath); !remembered.isEmpty()) {
    return remembered.toStdString();
  }
  if (folderTakesNewFiles(outputBaseNameFor(dataFile))) return std::string();
  // A study on a read-only share, or among the examples a package installs.
  const MessageAnswer answer = dialogs_.messageBox(
      "The folder of " + QFileInfo(dataPath).fileName().toStdString() +
          " cannot be written, so its results cannot go beside it. Choose another folder for "
          "them?",
      MessageButtons::kYesNo, "Open data file", MessageKind::kWarning);
  if (answer != MessageAnswer::kYes) return std::nullopt;
  const std::string folder = dialogs_.openFileDialog(FileKind::kOutputFolder);
  if (folder.empty()) return std::nullopt;
  settings_.rememberOutputFolder(dataPath, QString::fromStdString(folder));
  return folder;
}

void MainWindow::newAnalysis() {
  whenIdle(QStringLiteral("New analysis"), [this] {
    treatments_->clear();
    experimentSummaries_.clear();
    startNewAnalysis();
  });
}

void MainWindow::quit() {
  whenIdle(QStringLiteral("Quit"), [this] { endProgram(); });
}

void MainWindow::whenIdle(const QString& title, std::function<void()> action) {
  if (!backgroundTask_.running()) {
    action();
    return;
  }
  const QString work = runningWork_.isEmpty() ? QStringLiteral("The analysis") : runningWork_;
  const QString question = QStringLiteral(
                               "%1 is still running. Stop it? Its files will not be "
                               "written.")
                               .arg(work);
  if (dialogs_.messageBox(question.toStdString(), MessageButtons::kYesNo, title.toStdString(),
                          MessageKind::kResult) != MessageAnswer::kYes) {
    return;
  }
  afterWork_ = std::move(action);
  stopWork();
}

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  backgroundTask_.requestStop();
  if (isHidden() && !placeWhileHidden_.isEmpty()) restoreGeometry(placeWhileHidden_);
  settings_.saveMainWindow(saveGeometry(), saveState());
  for (QWidget* window :
       std::initializer_list<QWidget*>{titleScreen_.get(), dataFormatWindow_.get(),
                                       largeGraphWindow_.get(), quizScreen_.get()}) {
    if (window != nullptr) window->hide();
  }
  for (const auto& screen : helpScreens_) {
    if (screen) screen->hide();
  }
  hide();
  emit programEnded();
}

void MainWindow::start() {
  // The title screen and the introduction greet the first start alone; Help > Introduction
  // shows the introduction again.
  if (settings_.introductionShown()) {
    returnToMain();
    return;
  }
  settings_.rememberIntroductionShown();
  titleScreen_ = std::make_unique<TitleScreen>();
  connect(titleScreen_.get(), &TitleScreen::dismissed, this,
          [this] { showHelp(Help::kIntroduction); });
  titleScreen_->show();
}

void MainWindow::startWithFile(const std::string& path) {
  returnToMain();
  openDataOrProject(QString::fromStdString(path));
}

void MainWindow::openDataOrProject(const QString& path) {
  if (QFileInfo(path).suffix().compare(QStringLiteral("pellmar"), Qt::CaseInsensitive) == 0) {
    openProject(path);
  } else {
    openDataFile(path);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (backgroundTask_.running()) {
    event->ignore();
    whenIdle(QStringLiteral("Quit"), [this] { close(); });
    return;
  }
  QMainWindow::closeEvent(event);
  endProgram();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if ((event->type() == QEvent::PaletteChange ||
       event->type() == QEvent::ApplicationPaletteChange) &&
      title_ != nullptr) {
    applyColours();
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!draggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString file = draggedFile(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  // The drop ends before the file is opened, so that its prompts do not hold the dragging
  // program.
  QMetaObject::invokeMethod(
      this, [this, file] { openDataOrProject(file); }, Qt::QueuedConnection);
}

}  // namespace pellmar
