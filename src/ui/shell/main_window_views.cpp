// The main window's views: the data, the charts, the life table, the resampling, the comparison,
// the reports and the files, as tabs beside the steps. Each view is filled from the analysis as
// it stands when it is shown, so that nothing on screen lags behind a step run again.
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/charts/chart_export.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/palette_colours.h"
#include "ui/shell/main_window.h"
#include "ui/views/data_view.h"
#include "ui/views/experiment_view.h"
#include "ui/views/output_files_window.h"
#include "ui/views/paired_test_window.h"
#include "ui/views/report_viewer.h"
#include "ui/views/resampling_results_window.h"
#include "ui/views/results_window.h"
#include "ui/views/stage_means_window.h"

namespace pellmar {

namespace {

// Room around the views for the focus frame, which is drawn outside the control that has it.
constexpr int kViewFrameRoom = 3;

QChartView* newChartView(const char* name, QWidget* parent) {
  auto* view = new QChartView(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setRenderHint(QPainter::Antialiasing);
  // Nothing in a chart answers the keyboard; the focus goes to the buttons.
  view->setFocusPolicy(Qt::NoFocus);
  view->setMinimumSize(300, 240);
  // Narrow margins leave the plot room for all twelve labels of the probability charts in the
  // smallest window.
  view->chart()->setMargins(QMargins(4, 4, 4, 4));
  view->chart()->layout()->setContentsMargins(0, 0, 0, 0);
  return view;
}

}  // namespace

QWidget* MainWindow::buildViews() {
  auto* area = new QWidget(this);
  views_ = new QTabWidget(area);
  views_->setObjectName(QStringLiteral("viewTabs"));
  // Seven tabs scroll in a narrow window rather than widening it.
  views_->setUsesScrollButtons(true);

  dataView_ = new DataView(views_);

  chartArea_ = new QStackedWidget(views_);
  chartArea_->setObjectName(QStringLiteral("chartsView"));
  auto* placeholder = new QLabel(
      QStringLiteral("The figures of the analysis appear here after the Basic Run."), chartArea_);
  placeholder->setAlignment(Qt::AlignCenter);
  placeholder->setWordWrap(true);
  placeholder->setFrameShape(QFrame::StyledPanel);
  placeholder->setForegroundRole(QPalette::PlaceholderText);
  lifeChart_ = newChartView("lifeChartView", chartArea_);
  chartArea_->addWidget(placeholder);
  chartArea_->addWidget(lifeChart_);

  auto* lifeTable = new QSplitter(Qt::Vertical, views_);
  lifeTable->setObjectName(QStringLiteral("lifeTableView"));
  resultsWindow_ = new ResultsWindow;
  resultsWindow_->embedIn(*lifeTable);
  connect(resultsWindow_, &ResultsWindow::workbookRequested, this,
          [this] { perform([this] { saveWorkbook(); }); });
  stageMeansWindow_ = new StageMeansWindow(dialogs_);
  stageMeansWindow_->embedIn(*lifeTable);
  lifeTable->addWidget(resultsWindow_);
  lifeTable->addWidget(stageMeansWindow_);
  lifeTable->setStretchFactor(0, 3);

  auto* resampling = new QSplitter(Qt::Vertical, views_);
  resampling->setObjectName(QStringLiteral("resamplingView"));
  resamplingResultsWindow_ = new ResamplingResultsWindow(dialogs_);
  resamplingResultsWindow_->embedIn(*resampling);
  frequencyChart_ = newChartView("frequencyChartView", resampling);
  // Below the table the histogram may be low; the splitter raises it.
  frequencyChart_->setMinimumSize(160, 160);
  resampling->addWidget(resamplingResultsWindow_);
  resampling->addWidget(frequencyChart_);
  resampling->setStretchFactor(1, 1);

  experimentView_ = new ExperimentView(views_);
  pairedTestWindow_ = new PairedTestWindow;
  experimentView_->addPairedTest(*pairedTestWindow_);

  reportViewer_ = new ReportViewer(views_);
  outputFilesWindow_ = new OutputFilesWindow(dialogs_);
  outputFilesWindow_->embedIn(*views_);
  connect(outputFilesWindow_, &OutputFilesWindow::hintsRequested, this,
          [this] { showHelp(Help::kPrintingHints); });
  connect(outputFilesWindow_, &OutputFilesWindow::reportsRequested, this,
          [this](const QStringList& reports, const QString& shown) {
            showView(View::kReports);
            reportViewer_->showReports(reports, shown);
          });

  views_->addTab(dataView_, QStringLiteral("Data"));
  views_->addTab(chartArea_, QStringLiteral("Charts"));
  views_->addTab(lifeTable, QStringLiteral("Life table"));
  views_->addTab(resampling, QStringLiteral("Resampling"));
  views_->addTab(experimentView_, QStringLiteral("Comparison"));
  views_->addTab(reportViewer_, QStringLiteral("Reports"));
  views_->addTab(outputFilesWindow_, QStringLiteral("Files"));
  connect(views_, &QTabWidget::currentChanged, this, [this](int index) {
    refreshView(static_cast<View>(index));
    updateChartButtons();
  });
  for (QChartView* view : {lifeChart_, frequencyChart_}) {
    applyChartColours(*view->chart(), QGuiApplication::palette());
  }

  saveChartButton_ = addButton(
      "saveChartButton", QStringLiteral("Save chart"),
      QStringLiteral("Save the chart shown as a PNG picture (300 dpi) or an SVG drawing"), area);
  connect(saveChartButton_, &QPushButton::clicked, this, [this] {
    if (QChartView* shown = shownChartView()) saveChartWithDialog(*shown, settings_);
  });
  exportChartButton_ = addButton(
      "exportChartButton", QStringLiteral("Export chart"),
      QStringLiteral("Export the chart shown for a paper: its size in mm, its dpi and font size, "
                     "as PNG, SVG or PDF"),
      area);
  connect(exportChartButton_, &QPushButton::clicked, this, [this] { exportShownChart(); });
  lifeDrawing_ = nullptr;
  frequencyDrawing_ = nullptr;
  updateChartButtons();

  progressText_ = new QLabel(area);
  progressText_->setObjectName(QStringLiteral("progressLabel"));
  progressBar_ = new QProgressBar(area);
  progressBar_->setObjectName(QStringLiteral("progressBar"));
  progressBar_->setRange(0, 100);
  stopButton_ =
      addButton("stopButton", QStringLiteral("Stop"),
                QStringLiteral("Stop the work under way; no file of it is written"), area);
  connect(stopButton_, &QPushButton::clicked, this, [this] { stopWork(); });
  for (QWidget* widget :
       std::initializer_list<QWidget*>{progressText_, progressBar_, stopButton_}) {
    widget->hide();
  }

  auto* below = new QHBoxLayout;
  below->addWidget(progressText_);
  below->addWidget(progressBar_, 1);
  below->addWidget(stopButton_);
  below->addStretch();
  below->addWidget(saveChartButton_);
  below->addWidget(exportChartButton_);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(kViewFrameRoom, kViewFrameRoom, kViewFrameRoom, kViewFrameRoom);
  layout->addWidget(views_, 1);
  layout->addLayout(below);
  return area;
}

void MainWindow::showView(View view) {
  const int index = static_cast<int>(view);
  if (views_->currentIndex() == index) {
    refreshView(view);
  } else {
    views_->setCurrentIndex(index);
  }
}

void MainWindow::refreshView(View view) {
  if (!desktop_->isOpen() || !desktop_->analysis().basic()) return;
  const Analysis& analysis = desktop_->analysis();
  switch (view) {
    case View::kLifeTable:
      resultsWindow_->load(analysis);
      stageMeansWindow_->load(analysis);
      break;
    case View::kReports: {
      const QString report =
          QString::fromStdString(latestReport(analysis.writtenPaths(), analysis.basicReportPath()));
      QStringList written;
      for (const std::string& path : analysis.writtenPaths()) {
        written.append(QString::fromStdString(path));
      }
      reportViewer_->showReports(textReports(written, report), report);
      break;
    }
    case View::kFiles:
      outputFilesWindow_->load(analysis);
      break;
    case View::kData:
    case View::kCharts:
    case View::kResampling:
    case View::kComparison:
      break;
  }
}

QChartView* MainWindow::shownChartView() const {
  if (views_->currentWidget() == chartArea_ && lifeDrawing_) return lifeChart_;
  if (views_->currentIndex() == static_cast<int>(View::kResampling) && frequencyDrawing_) {
    return frequencyChart_;
  }
  return nullptr;
}

void MainWindow::updateChartButtons() {
  const bool shown = shownChartView() != nullptr;
  saveChartButton_->setEnabled(shown);
  exportChartButton_->setEnabled(shown);
}

void MainWindow::showChart(LifeChart kind) {
  drawLifeChart(*lifeChart_->chart(), kind, desktop_->analysis());
  chartArea_->setCurrentWidget(lifeChart_);
  lifeDrawing_ = [this, kind](QChart& chart) { drawLifeChart(chart, kind, desktop_->analysis()); };
  lifeChartName_ = QString::fromLatin1(lifeChartName(kind));
  showView(View::kCharts);
  updateChartButtons();
  // Enter steps on through the charts: each moves the focus to the button of the next.
  switch (kind) {
    case LifeChart::kSxj:
      commandWidget(Command::kShowGij)->setFocus();
      break;
    case LifeChart::kGij:
      commandWidget(Command::kShowDij)->setFocus();
      instructions_->hide();
      break;
    case LifeChart::kDij:
      commandWidget(Command::kShowCij)->setFocus();
      break;
    case LifeChart::kLx:
      commandWidget(Command::kShowCx)->setFocus();
      break;
    case LifeChart::kCx:
      commandWidget(Command::kShowLxCx)->setFocus();
      break;
    case LifeChart::kCij:
    case LifeChart::kLxCx:
    case LifeChart::kFecundity:
    case LifeChart::kExj:
    case LifeChart::kVxj:
      break;
  }
}

void MainWindow::showFrequencyChart() {
  const Analysis& analysis = desktop_->analysis();
  const bool bootstrap = analysis.bootstrap().has_value();
  const FrequencyFigure figure = bootstrap ? bootstrapFrequencyFigure(*analysis.bootstrap())
                                           : jackknifeFrequencyFigure(*analysis.jackknife());
  drawFrequencyChart(*frequencyChart_->chart(), figure);
  frequencyDrawing_ = [figure](QChart& chart) { drawFrequencyChart(chart, figure); };
  frequencyChartName_ = bootstrap ? QStringLiteral("bootstrap_C0") : QStringLiteral("jackknife_C0");
  updateChartButtons();
}

void MainWindow::exportShownChart() {
  const QChartView* shown = shownChartView();
  if (shown == nullptr) return;
  const bool life = shown == lifeChart_;
  const QString base =
      QFileInfo(QString::fromStdString(desktop_->analysis().study().outputBaseName)).fileName();
  exportChartWithDialog(life ? lifeDrawing_ : frequencyDrawing_,
                        base + QLatin1Char('_') + (life ? lifeChartName_ : frequencyChartName_),
                        dialogs_, settings_);
}

void MainWindow::showResults() { showView(View::kLifeTable); }

void MainWindow::showStageMeans() {
  showView(View::kLifeTable);
  stageMeansWindow_->setFocus();
}

void MainWindow::showOutputFiles() { showView(View::kFiles); }

void MainWindow::openResamplingResults() {
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
  showView(View::kResampling);
}

void MainWindow::showResamplingResults() {
  showFrequencyChart();
  openResamplingResults();
  instructions_->show();
  instructions_->setText(closingInstructionText());
  // In bold, at the size of the text around it: a larger one would push the steps down.
  QFont closing = instructions_->font();
  closing.setBold(true);
  instructions_->setFont(closing);
}

void MainWindow::showPairedTest(const PairedTestRequest& request, const PairedTestResult& result) {
  const Analysis& analysis = desktop_->analysis();
  PairedTestShown shown;
  shown.firstStudy =
      QDir::toNativeSeparators(QString::fromStdString(analysis.study().dataFileName));
  shown.secondStudy = QDir::toNativeSeparators(QString::fromStdString(request.secondDataFile));
  shown.method = QStringLiteral("%1 replicates of each study; seeds %2 and %3")
                     .arg(result.replicates)
                     .arg(analysis.bootstrap()->seed)
                     .arg(result.secondSeed);
  shown.confidence = analysis.confidence();
  shown.test = result.test;
  pairedTestWindow_->present(shown);
  experimentView_->showPairedTest();
  showView(View::kComparison);
}

}  // namespace pellmar
