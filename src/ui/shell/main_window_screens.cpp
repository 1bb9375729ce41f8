// The screens the main window opens apart from its views: help, the data format, the large
// graph and the quiz, each hiding the main window until it returns; and the workbook.
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

void MainWindow::saveWorkbook() {
  const std::string file =
      desktop_->run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
        analysis.writeWorkbook(files);
        return files.paths().front();
      });
  statusBar()->showMessage(QStringLiteral("Workbook written: ") +
                           QDir::toNativeSeparators(QString::fromStdString(file)));
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

}  // namespace pellmar
