// The screens the main window opens: help, result tables, means, files, the large graph, the
// quiz and the resampling results, each hiding the main window until it returns.
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
#include "ui/views/experiment_window.h"
#include "ui/views/large_graph_window.h"
#include "ui/views/output_files_window.h"
#include "ui/views/paired_test_window.h"
#include "ui/views/resampling_results_window.h"
#include "ui/views/results_pane.h"
#include "ui/views/results_window.h"
#include "ui/views/settings_panel.h"
#include "ui/views/stage_means_window.h"
#include "ui/widgets/clickable_label.h"
#include "ui/widgets/wrap_button.h"

namespace pellmar {

void MainWindow::connectReturn(ReturnWindow& window) {
  connect(&window, &ReturnWindow::returned, this, &MainWindow::returnToMain);
}

void MainWindow::openWindow(ReturnWindow& window) {
  hideKeepingPlace();
  window.bringUp();
}

void MainWindow::hideKeepingPlace() {
  if (isHidden()) return;
  placeWhileHidden_ = saveGeometry();
  hide();
}

void MainWindow::returnToMain() {
  if (ended_) return;
  // Shown again, a window may be placed anew by the window manager: it comes back where it was.
  if (!placeWhileHidden_.isEmpty()) restoreGeometry(placeWhileHidden_);
  show();
  raise();
  activateWindow();
}

void MainWindow::showHelp(Help help) {
  std::unique_ptr<HelpScreen>& screen = helpScreens_.at(static_cast<std::size_t>(help));
  if (!screen) {
    switch (help) {
      case Help::kIntroduction:
        screen = std::make_unique<HelpScreen>(QStringLiteral("introductionScreen"),
                                              QStringLiteral("Introduction"), introductionText(),
                                              QStringLiteral("Continue"));
        break;
      case Help::kNotes:
        screen =
            std::make_unique<HelpScreen>(QStringLiteral("notesScreen"), QStringLiteral("Note well"),
                                         notesText(), QStringLiteral("Back to the main window"));
        break;
      case Help::kReferences:
        screen = std::make_unique<HelpScreen>(QStringLiteral("referencesScreen"),
                                              QStringLiteral("References"), referencesText(),
                                              QStringLiteral("Back to the main window"));
        break;
      case Help::kPrintingHints:
        screen = std::make_unique<HelpScreen>(
            QStringLiteral("printingHintsScreen"),
            QStringLiteral("What you should know about these files"), printingHintsText(),
            QStringLiteral("Back to the main window"));
        break;
    }
    connectReturn(*screen);
  }
  openWindow(*screen);
}

void MainWindow::showResults() {
  if (!resultsWindow_) {
    resultsWindow_ = std::make_unique<ResultsWindow>();
    connectReturn(*resultsWindow_);
    connect(resultsWindow_.get(), &ResultsWindow::workbookRequested, this,
            [this] { perform([this] { saveWorkbook(); }); });
  }
  resultsWindow_->load(desktop_->analysis());
  openWindow(*resultsWindow_);
}

void MainWindow::saveWorkbook() {
  const std::string file =
      desktop_->run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
        analysis.writeWorkbook(files);
        return files.paths().front();
      });
  statusBar()->showMessage(QStringLiteral("Workbook written: ") +
                           QDir::toNativeSeparators(QString::fromStdString(file)));
}

void MainWindow::showStageMeans() {
  if (!stageMeansWindow_) {
    stageMeansWindow_ = std::make_unique<StageMeansWindow>(dialogs_);
    connectReturn(*stageMeansWindow_);
  }
  stageMeansWindow_->load(desktop_->analysis());
  openWindow(*stageMeansWindow_);
}

void MainWindow::showOutputFiles() {
  if (!outputFilesWindow_) {
    outputFilesWindow_ = std::make_unique<OutputFilesWindow>(dialogs_);
    connectReturn(*outputFilesWindow_);
    connect(outputFilesWindow_.get(), &OutputFilesWindow::hintsRequested, this, [this] {
      outputFilesWindow_->hide();
      showHelp(Help::kPrintingHints);
    });
  }
  outputFilesWindow_->load(desktop_->analysis());
  openWindow(*outputFilesWindow_);
}

void MainWindow::showDataFormat() {
  if (!dataFormatWindow_) {
    dataFormatWindow_ = std::make_unique<DataFormatWindow>(dialogs_);
    connectReturn(*dataFormatWindow_);
  }
  openWindow(*dataFormatWindow_);
}

void MainWindow::showLargeGraph() {
  if (!largeGraphWindow_) {
    largeGraphWindow_ =
        std::make_unique<LargeGraphWindow>(desktop_->analysis(), dialogs_, settings_);
    connectReturn(*largeGraphWindow_);
    connect(largeGraphWindow_.get(), &LargeGraphWindow::quitRequested, this, [this] { quit(); });
  }
  hideKeepingPlace();
  largeGraphWindow_->open();
}

void MainWindow::showQuiz() {
  if (!quizScreen_) {
    quizScreen_ = std::make_unique<QuizScreen>();
    connectReturn(*quizScreen_);
  }
  openWindow(*quizScreen_);
}

void MainWindow::openResamplingResults() {
  if (!resamplingResultsWindow_) {
    resamplingResultsWindow_ = std::make_unique<ResamplingResultsWindow>(dialogs_);
    connectReturn(*resamplingResultsWindow_);
    connect(resamplingResultsWindow_.get(), &ResamplingResultsWindow::wentBack, this,
            &MainWindow::leaveResamplingResults);
  }
  const Analysis& analysis = desktop_->analysis();
  std::optional<ResamplingShown> shown;
  if (analysis.bootstrap()) {
    const BootstrapResults& boot = *analysis.bootstrap();
    shown.emplace();
    shown->method =
        QStringLiteral("Bootstrap of %1 replicates of %2 individuals%3")
            .arg(boot.bootCount)
            .arg(boot.bootSampleSize)
            .arg(boot.sameSamples ? QStringLiteral(" (the life table's samples)") : QString());
    if (!boot.sameSamples) shown->seed = boot.seed;
  } else if (analysis.jackknife()) {
    shown.emplace();
    shown->method =
        QStringLiteral("Jackknife of %1 individuals").arg(analysis.jackknife()->fullCount);
  }
  if (shown) {
    shown->confidence = analysis.confidence();
    shown->rows = analysis.summary();
  }
  resamplingResultsWindow_->present(QString::fromStdString(analysis.study().projectTitle), shown);
  openWindow(*resamplingResultsWindow_);
}

void MainWindow::showResamplingResults() {
  showFrequencyChart();
  openResamplingResults();
}

void MainWindow::leaveResamplingResults() {
  desktop_->leaveResamplingResults();
  instructions_->show();
  instructions_->setText(closingInstructionText());
  // In bold, at the size of the text around it: a larger one would push the steps down.
  QFont closing = instructions_->font();
  closing.setBold(true);
  instructions_->setFont(closing);
  applyCommandStates();
}

}  // namespace pellmar
