// The main window's commands: each step of the guided analysis and Run of the settings, the
// long ones in the background with progress and Stop.
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
#include "ui/shell/main_window.h"
#include "ui/views/data_format_window.h"
#include "ui/views/experiment_view.h"
#include "ui/views/large_graph_window.h"
#include "ui/views/output_files_window.h"
#include "ui/views/paired_test_window.h"
#include "ui/views/projection_view.h"
#include "ui/views/resampling_results_window.h"
#include "ui/views/results_pane.h"
#include "ui/views/results_window.h"
#include "ui/views/settings_panel.h"
#include "ui/views/stage_means_window.h"
#include "ui/views/treatments_panel.h"
#include "ui/widgets/clickable_label.h"
#include "ui/widgets/wrap_button.h"

namespace pellmar {

void MainWindow::perform(const std::function<void()>& command) {
  try {
    command();
  } catch (const UserError& error) {
    dialogs_.messageBox(error.text(), MessageButtons::kOk, error.title(), MessageKind::kFailure);
  }
  afterCommand();
}

void MainWindow::showNotice(const Notice& notice, MessageKind kind) {
  dialogs_.messageBox(notice.text, MessageButtons::kOk, notice.title, kind);
}

void MainWindow::checkDataFile() {
  if (!desktop_->isOpen()) {
    throw UserError("Check data file", "Please open a data file first.",
                    ErrorKind::kInvalidRequest);
  }
  // The study was read and checked when it was opened, and is not read again.
  showNotice(Notice{"Check data file", std::string(kStudyLooksOk)});
}

void MainWindow::basicRun() {
  // The Basic Run stays on the page after it has run: pressed again, it shows its chart again and
  // writes nothing.
  if (desktop_->analysis().basic()) {
    showChart(LifeChart::kCij);
    return;
  }
  const BasicRunResult result =
      desktop_->run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
        return analysis.basicRun(files);
      });
  if (result.warning) showNotice(*result.warning, MessageKind::kWarning);
  showChart(LifeChart::kCij);
}

void MainWindow::readSasd() {
  const ReadSasdRequest request = askReadSasd(dialogs_);
  RunRequest steps = desktop_->stepsBeforeStableDistribution();
  steps.readSasd = request;
  if (hasRunFrom(Step::kStableDistribution)) {
    runAgain(steps, QStringLiteral("Read SASD"));
    return;
  }
  const ReadSasdResult result =
      desktop_->run([&request](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
        return analysis.readSasd(request, reader, files);
      });
  desktop_->recordSteps(steps);
  showNotice(result.message);
}

void MainWindow::readFecundity() {
  const ReadFecundityRequest request = askReadFecundity(dialogs_);
  RunRequest steps = desktop_->stepsBeforeStableDistribution();
  steps.readFecundity = request;
  if (hasRunFrom(Step::kStableDistribution)) {
    runAgain(steps, QStringLiteral("Read fecundity"));
    showChart(LifeChart::kFecundity);
    return;
  }
  const ReadFecundityResult result =
      desktop_->run([&request](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
        return analysis.readFecundity(request, reader, files);
      });
  desktop_->recordSteps(steps);
  showChart(LifeChart::kFecundity);
  if (result.warning) {
    showNotice(*result.warning, MessageKind::kWarning);
  } else {
    showNotice(result.message);
  }
}

bool MainWindow::hasRunFrom(Step step) const {
  const RunRequest& steps = desktop_->stepsSoFar();
  const bool resampled = steps.bootstrap || steps.jackknife;
  if (step == Step::kResampling) return resampled;
  return resampled || steps.readSasd || steps.readFecundity;
}

void MainWindow::runAgain(const RunRequest& request, const QString& step) {
  runWholeInBackground(request, step, true);
  forgetChartsOfTheRunBefore();
  statusBar()->showMessage(step + QStringLiteral(" ran again after the steps before it."));
}

void MainWindow::forgetChartsOfTheRunBefore() {
  const Analysis& analysis = desktop_->analysis();
  if (!analysis.bootstrap() && !analysis.jackknife()) {
    frequencyDrawing_ = nullptr;
    clearChart(*frequencyChart_->chart());
    resamplingResultsWindow_->clearResults(QString::fromStdString(analysis.study().projectTitle));
  }
  projectionDrawing_ = nullptr;
  clearChart(*projectionView_->chartView()->chart());
  experimentView_->clear();
  // The chart in view is drawn again from the new analysis; the life table's curves only while
  // it has one.
  const bool needsLifeTable =
      lifeChartName_ == QLatin1String(lifeChartName(LifeChart::kFecundity)) ||
      lifeChartName_ == QLatin1String(lifeChartName(LifeChart::kVxj));
  if (needsLifeTable && !analysis.lifeTable()) {
    showChart(LifeChart::kCij);
  } else if (lifeDrawing_) {
    lifeDrawing_(*lifeChart_->chart());
  }
  updateChartButtons();
}

void MainWindow::runWholeInBackground(const RunRequest& request, const QString& title,
                                      bool tellResults) {
  // The words of the run gather on the worker's side and are shown once it has ended.
  std::vector<std::string> said;
  std::vector<std::string> warnings;
  runningWork_ = title;
  runInBackground([this, &request, &said, &warnings](std::stop_token stop) {
    const RunListener listener{
        [&said](const std::string& text) { said.push_back(text); },
        [&warnings](const std::string& text) { warnings.push_back(text); },
        [this](std::string_view step) { return progressShownAs(std::string(step)); }};
    desktop_->runWhole(request, listener, stop);
  });
  const auto joined = [](const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
  };
  // A step run again tells its results as the step does; Run's speak in the results pane.
  if (tellResults && !said.empty()) showNotice(Notice{title.toStdString(), joined(said)});
  if (!warnings.empty()) {
    showNotice(Notice{title.toStdString(), joined(warnings)}, MessageKind::kWarning);
  }
}

void MainWindow::bootstrap() {
  const auto request = askBootstrap(dialogs_, desktop_->analysis(), seedFromClock());
  if (!request) return;
  RunRequest steps = desktop_->stepsBeforeResampling();
  steps.bootstrap = *request;
  bootstrapBegan_ = QString::fromStdString(dialogs_.clock().dateTimeText);
  bootstrapEnded_.clear();
  if (hasRunFrom(Step::kResampling)) {
    runAgain(steps, QStringLiteral("Bootstrap"));
  } else {
    std::optional<std::string> barren;
    runInBackground([this, &request, &barren](std::stop_token stop) {
      const ProgressReport progress = progressShownAs("Bootstrap");
      barren = desktop_
                   ->run([&](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
                     return analysis.bootstrap(*request, reader, files, progress, stop);
                   })
                   .barrenReplicates;
    });
    desktop_->recordSteps(steps);
    if (barren && desktop_->analysis().bootstrap()->barrenReplicates > 0) {
      statusBar()->showMessage(QString::fromStdString(*barren));
    }
  }
  bootstrapEnded_ = QString::fromStdString(dialogs_.clock().dateTimeText);
  showBootstrapTimes();
  showResamplingResults();
  if (askNormalDensity(dialogs_)) {
    showNotice(desktop_
                   ->run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
                     return analysis.normalDensity(files);
                   })
                   .message);
    steps.normalDensity = true;
    desktop_->recordSteps(steps);
  }
  if (askSamplesFile(dialogs_, desktop_->analysis())) {
    const SamplesFileResult result =
        desktop_->run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
          return analysis.samplesFile(files);
        });
    steps.writeSamples = true;
    desktop_->recordSteps(steps);
    if (result.warning) showNotice(*result.warning, MessageKind::kWarning);
  }
}

void MainWindow::jackknife() {
  RunRequest steps = desktop_->stepsBeforeResampling();
  steps.jackknife = true;
  if (hasRunFrom(Step::kResampling)) {
    bootstrapBegan_.clear();
    bootstrapEnded_.clear();
    bootBegin_->hide();
    bootEnd_->hide();
    runAgain(steps, QStringLiteral("Jackknife"));
    showResamplingResults();
    return;
  }
  JackknifeResult result;
  runInBackground([this, &result](std::stop_token stop) {
    const ProgressReport progress = progressShownAs("Jackknife");
    result = desktop_->run([&](Analysis& analysis, InputFileReader&, OutputFiles& files) {
      return analysis.jackknife(files, progress, stop);
    });
  });
  desktop_->recordSteps(steps);
  showResamplingResults();
  if (result.note) showNotice(Notice{"Jackknife", *result.note});
}

void MainWindow::runWithSettings() {
  if (!desktop_->isOpen()) {
    throw UserError("Run", "Please open a data file first.", ErrorKind::kInvalidRequest);
  }
  const std::optional<RunRequest> request =
      settingsPanel_->request(desktop_->analysis().study().dataFileName, seedFromClock());
  if (!request) {
    throw UserError("Run", settingsPanel_->fault().toStdString(), ErrorKind::kInvalidRequest);
  }
  runWholeInBackground(*request, QStringLiteral("Run"), false);
  const Analysis& analysis = desktop_->analysis();
  settingsPanel_->ranWith(*request, analysis.writtenPaths().size());
  if (const std::optional<std::size_t> selected = treatments_->selected()) {
    treatments_->markAnalysed(*selected);
  }
  if (analysis.bootstrap() || analysis.jackknife()) {
    showResamplingResults();
  } else {
    showChart(analysis.lifeTable() ? LifeChart::kFecundity : LifeChart::kCij);
  }
}

void MainWindow::compareBootstraps() {
  if (const auto request = askComparison(dialogs_)) {
    showNotice(
        desktop_
            ->run([&request](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
              return analysis.compare(*request, reader, files);
            })
            .message);
    RunRequest steps = desktop_->stepsSoFar();
    steps.comparison = *request;
    desktop_->recordSteps(steps);
  }
}

void MainWindow::pairedBootstrapTest() {
  const auto request = askPairedTest(dialogs_, desktop_->analysis());
  if (!request) return;
  std::optional<PairedTestResult> result;
  runningWork_ = QStringLiteral("The paired bootstrap test");
  runInBackground([this, &request, &result](std::stop_token stop) {
    result = desktop_->pairedTest(*request, progressShownAs("Paired bootstrap test"), stop);
  });
  showPairedTest(*request, *result);
}

void MainWindow::stopWork() {
  backgroundTask_.requestStop();
  stopButton_->setEnabled(false);
}

void MainWindow::runInBackground(const std::function<void(std::stop_token)>& work) {
  if (backgroundTask_.running()) {
    throw UserError(runningWork_.toStdString(), "Other work is running: wait for it, or Stop it.",
                    ErrorKind::kInvalidRequest);
  }
  for (QWidget* widget : lockedDuringWork_) widget->setEnabled(false);
  progressTracker_.emplace();
  progressBar_->setValue(0);
  progressText_->clear();
  stopButton_->setEnabled(true);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{progressText_, progressBar_, stopButton_}) {
    widget->show();
  }
  const auto restore = [this] {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{progressText_, progressBar_, stopButton_}) {
      widget->hide();
    }
    progressTracker_.reset();
    runningWork_.clear();
    for (QWidget* widget : lockedDuringWork_) widget->setEnabled(true);
    updateChartButtons();
    // What waited for the work to stop runs once the command that started it has finished.
    if (afterWork_) {
      QMetaObject::invokeMethod(this, std::exchange(afterWork_, {}), Qt::QueuedConnection);
    }
  };
  try {
    backgroundTask_.run(work);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

ProgressReport MainWindow::progressShownAs(const std::string& label) {
  return [this, label](long done, long total) {
    // The worker goes on at once; the report is shown when the UI thread gets to it.
    QMetaObject::invokeMethod(
        &progressReceiver_, [this, label, done, total] { showProgress(label, done, total); },
        Qt::QueuedConnection);
  };
}

void MainWindow::showProgress(const std::string& label, long done, long total) {
  if (!progressTracker_) return;
  const ProgressTracker::Update update =
      progressTracker_->update(done, total, ProgressTracker::Clock::now());
  progressBar_->setValue(update.percent);
  progressText_->setText(QString::fromStdString(label) + QStringLiteral(": ") + update.text);
  runningWork_ = QStringLiteral("The ") + QString::fromStdString(label).toLower();
  if (label == "Bootstrap" && bootBegin_->isHidden()) showBootstrapTimes();
}

void MainWindow::showBootstrapTimes() {
  if (!bootstrapBegan_.isEmpty()) {
    bootBegin_->setText(QStringLiteral("Bootstrap begins at:\n") + bootstrapBegan_);
    bootBegin_->show();
  }
  if (desktop_->isOpen() && desktop_->analysis().bootstrap() && !bootstrapEnded_.isEmpty()) {
    bootEnd_->setText(QStringLiteral("Bootstrap ended at:\n") + bootstrapEnded_);
    bootEnd_->show();
  }
}

}  // namespace pellmar
