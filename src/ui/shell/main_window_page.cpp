// The main window's page: the heading with the results, the guided steps beside the settings,
// the chart area and the figure and graph buttons, and the chart shown in it.
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

// Room around the controls of the steps and the chart area for the focus frame, which is drawn
// outside the control that has the focus.
constexpr int kFocusFrameRoom = 3;

// The colours of the window's lines, as chosen for a light background; on a dark one each is
// lightened until it reads as well.
const QColor kTitleColour(0x7a, 0x1f, 0x14);
const QColor kStepColour(0x1f, 0x3f, 0x8f);
const QColor kNoticeColour(0xff, 0x00, 0x00);

void setTextColour(QWidget& widget, const QColor& colour) {
  QPalette colours = widget.palette();
  colours.setColor(QPalette::WindowText, colour);
  widget.setPalette(colours);
}

void setBold(QWidget& widget, int pointSize = 0) {
  QFont font = widget.font();
  font.setBold(true);
  if (pointSize > 0) font.setPointSize(pointSize);
  widget.setFont(font);
}

// The page of the main window, inside a scroll area. Its height for a width is the least its
// layout needs there, so the page scrolls only when the window is smaller than that, not as
// soon as it is smaller than the page's preferred size.
class ScrolledPage : public QWidget {
 public:
  [[nodiscard]] int heightForWidth(int width) const override {
    return layout() != nullptr ? layout()->totalMinimumHeightForWidth(width)
                               : QWidget::heightForWidth(width);
  }
};

ClickableLabel* stepLabel(const char* name, const QString& caption, QWidget* parent) {
  auto* label = new ClickableLabel(QString::fromLatin1(name), parent);
  label->setText(caption);
  setBold(*label);
  return label;
}

}  // namespace

QPushButton* MainWindow::addButton(const char* name, const QString& caption, const QString& toolTip,
                                   QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  if (!toolTip.isEmpty()) button->setToolTip(toolTip);
  return button;
}

QWidget* MainWindow::buildPage() {
  auto* page = new ScrolledPage;
  page->setObjectName(QStringLiteral("mainPage"));
  auto* title = new ClickableLabel(QStringLiteral("titleLabel"), page, true);
  connect(title, &ClickableLabel::clicked, this, [this] { showHelp(Help::kIntroduction); });
  connect(title, &ClickableLabel::doubleClicked, this, [this] { showHelp(Help::kNotes); });
  title_ = title;

  auto* instructions = new ClickableLabel(QStringLiteral("instructionsLabel"), page);
  instructions->setWordWrap(true);
  // The figure buttons hide the instructions; the controls below keep their places meanwhile.
  QSizePolicy policy = instructions->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  instructions->setSizePolicy(policy);
  connect(instructions, &ClickableLabel::clicked, this, [this] { showHelp(Help::kNotes); });
  connect(instructions, &ClickableLabel::doubleClicked, this, [this] { showHelp(Help::kNotes); });
  instructions_ = instructions;

  auto* notice = new ClickableLabel(QStringLiteral("checkDataFileNotice"), page);
  connect(notice, &ClickableLabel::clicked, this, [this] { perform([this] { checkDataFile(); }); });
  notice_ = notice;

  auto* heading = new QVBoxLayout;
  heading->addWidget(title_);
  heading->addWidget(instructions_);
  heading->addWidget(notice_);

  // The guided steps, and beside them the settings of a whole run.
  QWidget* steps = buildStepsArea();
  lockedDuringWork_.push_back(settingsPanel_);
  lockedDuringWork_.push_back(treatments_);
  auto* modes = new QTabWidget(page);
  modes->setObjectName(QStringLiteral("stepsOrSettings"));
  modes->addTab(steps, QStringLiteral("Guided steps"));
  modes->addTab(settingsPanel_, QStringLiteral("Settings"));
  modes->setFixedWidth(steps->width() +
                       2 * modes->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
  // Made in the order the Tab key goes through them: the steps, the views, the results.
  QWidget* views = buildViews();
  // The main results stay in view beside the views, whatever view is in front.
  resultsPane_ = new ResultsPane(page);
  auto* side = new QVBoxLayout;
  side->addWidget(resultsPane_);
  side->addWidget(buildFigureFrame());
  side->addWidget(buildGraphFrame());
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(modes);
  middle->addWidget(views, 1);
  middle->addLayout(side);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(heading);
  layout->addLayout(middle, 1);
  lockedDuringWork_.push_back(notice_);

  // Where large fonts or a small screen leave the window smaller than the page, the page
  // scrolls rather than squeezing its controls until their texts are cut.
  auto* scroller = new QScrollArea;
  scroller->setObjectName(QStringLiteral("mainPageScroller"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setWidget(page);
  return scroller;
}

QWidget* MainWindow::buildStepsArea() {
  auto* area = new QWidget(this);
  area->setObjectName(QStringLiteral("stepsArea"));
  auto* grid = new QGridLayout;

  auto* step1 = stepLabel("checkDataFileStep", QStringLiteral("Step 1."), area);
  step1->setToolTip(QStringLiteral("Check the data file"));
  step1->setCursor(Qt::PointingHandCursor);
  connect(step1, &ClickableLabel::clicked, this, [this] { perform([this] { checkDataFile(); }); });
  QPushButton* open = addButton("openDataFileButton", QStringLiteral("Open data file"),
                                QStringLiteral("Open data file"), area);
  connect(open, &QPushButton::clicked, this, [this] { openDataFile(); });
  QPushButton* basicRun = addButton("basicRunButton", QStringLiteral("Basic Run"),
                                    QStringLiteral("Run life table analysis"), area);
  connect(basicRun, &QPushButton::clicked, this, [this] { perform([this] { this->basicRun(); }); });
  auto* readSasd = new WrapButton(
      QStringLiteral(
          "Read SASD (in your life table folder) to calculate the finite predation rate"),
      area);
  readSasd->setObjectName(QStringLiteral("readSasdButton"));
  readSasd->setToolTip(
      QStringLiteral("Read SASD file from life table folder (_10_SASD and Oviposition "
                     "age_for_PELLMAR_program_in_column.txt)"));
  connect(readSasd, &QPushButton::clicked, this, [this] { perform([this] { this->readSasd(); }); });
  QPushButton* readFecundity = addButton(
      "readFecundityButton", QStringLiteral("Read fecundity"),
      QStringLiteral("Compute the two-sex life table from the eggs of each female (the fecundity "
                     "file), and the finite predation rate from its stable age-stage "
                     "distribution"),
      area);
  connect(readFecundity, &QPushButton::clicked, this,
          [this] { perform([this] { this->readFecundity(); }); });
  auto* stableDistribution = new QVBoxLayout;
  stableDistribution->addWidget(readSasd);
  stableDistribution->addWidget(readFecundity);
  QPushButton* bootstrap =
      addButton("bootstrapButton", QStringLiteral("Bootstrap"),
                QStringLiteral("If you want to use the same bootstrap samples, please select "
                               "file no. 11 in your life table folder."),
                area);
  connect(bootstrap, &QPushButton::clicked, this,
          [this] { perform([this] { this->bootstrap(); }); });
  QPushButton* jackknife = addButton("jackknifeButton", QStringLiteral("Jackknife"), {}, area);
  connect(jackknife, &QPushButton::clicked, this,
          [this] { perform([this] { this->jackknife(); }); });
  QPushButton* compare = addButton("compareBootstrapsButton", QStringLiteral("C2B"), {}, area);
  connect(compare, &QPushButton::clicked, this,
          [this] { perform([this] { compareBootstraps(); }); });
  auto* resampling = new QHBoxLayout;
  resampling->addWidget(bootstrap);
  resampling->addWidget(jackknife);
  resampling->addWidget(compare);

  stepLabels_ = {step1, stepLabel("basicRunStep", QStringLiteral("Step 2."), area),
                 stepLabel("readSasdStep", QStringLiteral("Step 3."), area),
                 stepLabel("resamplingStep", QStringLiteral("Step 4."), area)};
  grid->addWidget(stepLabels_[0], 0, 0);
  grid->addWidget(open, 0, 1);
  grid->addWidget(stepLabels_[1], 1, 0);
  grid->addWidget(basicRun, 1, 1);
  grid->addWidget(stepLabels_[2], 2, 0);
  grid->addLayout(stableDistribution, 2, 1);
  grid->addWidget(stepLabels_[3], 3, 0);
  grid->addLayout(resampling, 3, 1);

  bootBegin_ = new QLabel(area);
  bootBegin_->setObjectName(QStringLiteral("bootstrapBeganLabel"));
  bootEnd_ = new QLabel(area);
  bootEnd_->setObjectName(QStringLiteral("bootstrapEndedLabel"));
  bootBegin_->hide();
  bootEnd_->hide();

  auto* action = new QGroupBox(QStringLiteral("Action"), area);
  action->setObjectName(QStringLiteral("actionFrame"));
  auto* actionLayout = new QVBoxLayout(action);
  QPushButton* paired = addButton(
      "pairedBootstrapTestButton", QStringLiteral("Paired bootstrap test"),
      QStringLiteral("Compare this bootstrap with a second study's by the paired bootstrap test"),
      action);
  connect(paired, &QPushButton::clicked, this,
          [this] { perform([this] { pairedBootstrapTest(); }); });
  actionLayout->addWidget(paired);

  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(kFocusFrameRoom, kFocusFrameRoom, kFocusFrameRoom, kFocusFrameRoom);
  layout->addLayout(grid);
  layout->addWidget(bootBegin_);
  layout->addWidget(bootEnd_);
  layout->addWidget(action);
  layout->addStretch();
  // A fixed width keeps the long caption of Step 3 wrapped; larger fonts widen it.
  constexpr int kStepsWidth = 316;
  area->setFixedWidth(std::max(kStepsWidth, area->minimumSizeHint().width()));

  commandWidgets_[static_cast<std::size_t>(Command::kOpenDataFile)] = open;
  commandWidgets_[static_cast<std::size_t>(Command::kCheckDataFile)] = step1;
  commandWidgets_[static_cast<std::size_t>(Command::kBasicRun)] = basicRun;
  commandWidgets_[static_cast<std::size_t>(Command::kReadSasd)] = readSasd;
  commandWidgets_[static_cast<std::size_t>(Command::kReadFecundity)] = readFecundity;
  commandWidgets_[static_cast<std::size_t>(Command::kBootstrap)] = bootstrap;
  commandWidgets_[static_cast<std::size_t>(Command::kJackknife)] = jackknife;
  commandWidgets_[static_cast<std::size_t>(Command::kCompare)] = compare;
  commandWidgets_[static_cast<std::size_t>(Command::kActionFrame)] = action;
  commandWidgets_[static_cast<std::size_t>(Command::kPairedTest)] = paired;
  lockedDuringWork_.push_back(area);
  return area;
}

QGroupBox* MainWindow::buildFigureFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Select a figure to display"), this);
  frame->setObjectName(QStringLiteral("figureFrame"));
  auto* grid = new QGridLayout(frame);
  struct ChartButton {
    const char* name;
    const char* caption;
    const char* toolTip;
    Command command;
    LifeChart kind;
  };
  const std::array<ChartButton, 10> buttons = {{
      {"showSxjButton", "s(x,j)", "Surivival rate to each age-stage unit (i,j)", Command::kShowSxj,
       LifeChart::kSxj},
      {"showGxjButton", "g(x,j)", "Transition probability from n(i,j) to n(i+1,j)",
       Command::kShowGij, LifeChart::kGij},
      {"showDxjButton", "d(x,j)", "Transition probability from n(i,j) to n(i+1,j+1)",
       Command::kShowDij, LifeChart::kDij},
      {"showCxjButton", "c(x,j)", "Consumption rate of n(i,j)", Command::kShowCij, LifeChart::kCij},
      {"showLxButton", "l(x)", "Age-specific survival rate", Command::kShowLx, LifeChart::kLx},
      {"showCxButton", "c(x)", "Age-specific consumption rate", Command::kShowCx, LifeChart::kCx},
      {"showLxCxButton", "l(x)c(x)", "Age-specific maternity", Command::kShowLxCx,
       LifeChart::kLxCx},
      {"showExjButton", "e(x,j)", "Life expectancy of each age-stage group, in days",
       Command::kShowExj, LifeChart::kExj},
      {"showVxjButton", "v(x,j)",
       "Reproductive value of each age-stage group (after Read fecundity)", Command::kShowVxj,
       LifeChart::kVxj},
      {"showFecundityButton", kFecundityChartCaption,
       "Survival rate, fecundity and maternity of the life table (after Read fecundity)",
       Command::kShowFecundity, LifeChart::kFecundity},
  }};
  // Three buttons a row, as in the graph frame, keep the column beside the chart short enough
  // for small screens; the fecundity chart's long caption takes the last two places.
  constexpr int kColumns = 3;
  int position = 0;
  for (const ChartButton& b : buttons) {
    QPushButton* button =
        addButton(b.name, QString::fromLatin1(b.caption), QString::fromLatin1(b.toolTip), frame);
    const LifeChart kind = b.kind;
    connect(button, &QPushButton::clicked, this, [this, kind] { showChart(kind); });
    const int span = b.kind == LifeChart::kFecundity ? 2 : 1;
    grid->addWidget(button, position / kColumns, position % kColumns, 1, span);
    position += span;
    commandWidgets_[static_cast<std::size_t>(b.command)] = button;
  }
  commandWidgets_[static_cast<std::size_t>(Command::kFigureFrame)] = frame;
  lockedDuringWork_.push_back(frame);
  return frame;
}

QGroupBox* MainWindow::buildGraphFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Graph"), this);
  frame->setObjectName(QStringLiteral("graphFrame"));
  auto* grid = new QGridLayout(frame);
  // Three buttons a row keep the column beside the chart short enough for small screens.
  constexpr int kColumns = 3;
  int position = 0;
  const auto place = [&grid, &position](QPushButton* button) {
    grid->addWidget(button, position / kColumns, position % kColumns);
    ++position;
    return button;
  };
  const auto command = [this, &place, frame](const char* name, const char* caption,
                                             const char* toolTip, auto action) {
    QPushButton* button =
        place(addButton(name, QString::fromLatin1(caption), QString::fromLatin1(toolTip), frame));
    connect(button, &QPushButton::clicked, this, action);
    return button;
  };
  command("resamplingResultsButton", "B or J results", "Bootstrap or Jackknife results",
          [this] { openResamplingResults(); });
  QPushButton* large =
      command("largeGraphButton", "Large", "Show large graph", [this] { showLargeGraph(); });
  QPushButton* results = command("resultsButton", "Results", "Show analytical results in tables",
                                 [this] { showResults(); });
  QPushButton* means = command("stageMeansButton", "Means", "Table of means for each stage",
                               [this] { showStageMeans(); });
  QPushButton* outputFiles = command("outputFilesButton", "Output files",
                                     "Show list of output files", [this] { showOutputFiles(); });
  command("dataFormatButton", "Data format", "Format of data file", [this] { showDataFormat(); });
  command("referencesButton", "References", "Show references",
          [this] { showHelp(Help::kReferences); });
  command("notesButton", "Note well", "Special note", [this] { showHelp(Help::kNotes); });
  command("printPageButton", "Print page", "Print this form", [this] { printThisWindow(); });
  command("quitButton", "Quit", "Quit this program", [this] { quit(); });

  commandWidgets_[static_cast<std::size_t>(Command::kLarge)] = large;
  commandWidgets_[static_cast<std::size_t>(Command::kResults)] = results;
  commandWidgets_[static_cast<std::size_t>(Command::kMeans)] = means;
  commandWidgets_[static_cast<std::size_t>(Command::kOutputFiles)] = outputFiles;
  lockedDuringWork_.push_back(frame);
  return frame;
}

void MainWindow::loadTexts() {
  notice_->setText(
      QStringLiteral("Check your data file before the analysis: click this line or \"Step 1.\""));
  instructions_->setText(QString::fromStdString(instructionText()));
}

void MainWindow::applyColours() {
  const QColor background = palette().color(QPalette::Window);
  title_->setText(
      QStringLiteral("<span style='font-size:18pt; font-weight:bold; color:%1;'>Pellmar</span>"
                     "&nbsp;&nbsp;<span style='font-size:11pt;'>Consumption and predation rates "
                     "from the age-stage, two-sex life table</span>")
          .arg(readableOn(background, kTitleColour).name()));
  setTextColour(*notice_, readableOn(background, kNoticeColour));
  for (QLabel* step : stepLabels_) setTextColour(*step, readableOn(background, kStepColour));
  for (QChartView* view : {lifeChart_, frequencyChart_}) {
    applyChartColours(*view->chart(), QGuiApplication::palette());
  }
}

QWidget* MainWindow::commandWidget(Command command) const {
  return commandWidgets_.at(static_cast<std::size_t>(command));
}

void MainWindow::printThisWindow() { dialogs_.printWindow(objectName().toStdString()); }

}  // namespace pellmar
