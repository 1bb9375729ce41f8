// The main window's views: the data, the charts, the life table, the resampling, the comparison,
// the reports and the files, as tabs beside the steps. Each view is filled from the analysis as
// it stands when it is shown, so that nothing on screen lags behind a step run again.
#include <QChart>
#include <QChartView>
#include <QComboBox>
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
#include <memory>

#include "app/projection_command.h"
#include "core/predation/projection.h"
#include "core/resampling/projection_replicates.h"
#include "core/user_error.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/palette_colours.h"
#include "ui/charts/projection_chart.h"
#include "ui/charts/treatment_charts.h"
#include "ui/shell/main_window.h"
#include "ui/views/data_view.h"
#include "ui/views/experiment_view.h"
#include "ui/views/output_files_window.h"
#include "ui/views/paired_test_window.h"
#include "ui/views/projection_view.h"
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

  projectionView_ = new ProjectionView(views_);
  connect(projectionView_, &ProjectionView::drawRequested, this,
          [this] { perform([this] { drawProjection(); }); });
  experimentView_ = new ExperimentView(views_);
  connect(experimentView_->figureBox(), &QComboBox::currentIndexChanged, this,
          [this] { updateChartButtons(); });
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
  views_->addTab(projectionView_, QStringLiteral("Projection"));
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
  projectionDrawing_ = nullptr;
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
  // The views read the analysis that long work replaces, and some start work of their own: they
  // wait for it, as Stop beside them does not.
  lockedDuringWork_.push_back(views_);
  lockedDuringWork_.push_back(saveChartButton_);
  lockedDuringWork_.push_back(exportChartButton_);
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
  // The figure of a project's treatments needs no open study: each is analysed in memory.
  if (!backgroundTask_.running() && view == View::kComparison &&
      treatments_->project().treatments.size() > 1 && !experimentView_->hasTreatments()) {
    try {
      experimentView_->showTreatments(analyseTreatments(treatments_->project(), 90.0));
    } catch (const UserError& error) {
      experimentView_->showTreatmentsFault(QString::fromStdString(error.text()));
    }
  }
  if (backgroundTask_.running() || !desktop_->isOpen() || !desktop_->analysis().basic()) return;
  const Analysis& analysis = desktop_->analysis();
  switch (view) {
    case View::kLifeTable:
      resultsWindow_->load(analysis);
      stageMeansWindow_->load(analysis);
      break;
    case View::kProjection:
      projectionView_->showAvailability(
          analysis.lifeTable().has_value(),
          analysis.bootstrap() && analysis.bootstrap()->ownLifeTable && analysis.fecundity());
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
  switch (static_cast<View>(views_->currentIndex())) {
    case View::kCharts:
      return lifeDrawing_ ? lifeChart_ : nullptr;
    case View::kResampling:
      return frequencyDrawing_ ? frequencyChart_ : nullptr;
    case View::kProjection:
      return projectionDrawing_ ? projectionView_->chartView() : nullptr;
    case View::kComparison:
      return experimentView_->hasTreatments() ? experimentView_->figureView() : nullptr;
    case View::kData:
    case View::kLifeTable:
    case View::kReports:
    case View::kFiles:
      break;
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
  ChartDrawing draw;
  QString name;
  if (shown == lifeChart_) {
    draw = lifeDrawing_;
    name = lifeChartName_;
  } else if (shown == frequencyChart_) {
    draw = frequencyDrawing_;
    name = frequencyChartName_;
  } else if (shown == projectionView_->chartView()) {
    draw = projectionDrawing_;
    name = QStringLiteral("projection");
  } else {
    draw = experimentView_->figureDrawing();
    name = experimentView_->figureName();
  }
  // A project's figure is named after the project, a study's after its data file.
  QString base;
  if (shown == experimentView_->figureView()) {
    base = QString::fromStdString(treatments_->project().title);
  } else {
    base =
        QFileInfo(QString::fromStdString(desktop_->analysis().study().outputBaseName)).fileName();
  }
  exportChartWithDialog(draw, base + QLatin1Char('_') + name, dialogs_, settings_);
}

void MainWindow::drawProjection() {
  const Analysis& analysis = desktop_->analysis();
  const std::string title(kProjectionTitle);
  if (!analysis.lifeTable()) {
    throw UserError(title, "A projection needs the life table: Read fecundity first.",
                    ErrorKind::kInvalidRequest);
  }
  const ProjectionViewRequest asked = projectionView_->request();
  const std::optional<int> steps = projectionSteps(asked.days, analysis.study().timeUnit);
  if (!steps) {
    throw UserError(title, "The projection takes more steps of the time unit than it can.",
                    ErrorKind::kInvalidRequest);
  }
  const auto projection = std::make_shared<const Projection>(projectPopulation(
      projectionLifeTableOf(*analysis.basic(), *analysis.lifeTable()), asked.start, *steps, title));
  std::shared_ptr<const ProjectionReplicates> replicates;
  if (asked.band && analysis.bootstrap() && analysis.fecundity()) {
    const BootstrapResults& boot = *analysis.bootstrap();
    const ProjectionBootstrap source{boot.seed,         boot.bootCount,  boot.bootSampleSize,
                                     boot.redrawBarren, boot.bootLambda, analysis.confidence()};
    runningWork_ = QStringLiteral("The projection");
    runInBackground([&](std::stop_token stop) {
      replicates = std::make_shared<const ProjectionReplicates>(
          projectReplicates(analysis.study(), *analysis.fecundity(), source, asked.start,
                            *projection, ProgressAndStop{progressShownAs(title), stop}));
    });
  }
  ProjectionChartOptions options = asked.chart;
  if (replicates) options.ranks = replicates->ranks;
  const double confidence = analysis.confidence();
  projectionDrawing_ = [projection, replicates, options, confidence](QChart& chart) {
    drawProjectionChart(chart, *projection, replicates ? &replicates->band : nullptr, confidence,
                        options);
  };
  projectionDrawing_(*projectionView_->chartView()->chart());
  projectionView_->showDrawn(
      replicates ? QStringLiteral("The band of %1 replicates, and the life tables at the low, "
                                  "median and high lambda (dashed).")
                       .arg(replicates->band.replicates)
                 : QString());
  updateChartButtons();
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
