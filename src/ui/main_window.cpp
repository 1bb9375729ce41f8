#include "ui/main_window.h"

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
#include "ui/chart_export.h"
#include "ui/clickable_label.h"
#include "ui/data_format_window.h"
#include "ui/desktop_settings.h"
#include "ui/experiment_window.h"
#include "ui/frequency_chart.h"
#include "ui/help_screen.h"
#include "ui/help_texts.h"
#include "ui/large_graph_window.h"
#include "ui/logo.h"
#include "ui/output_files_window.h"
#include "ui/paired_test_window.h"
#include "ui/palette_colours.h"
#include "ui/quiz_screen.h"
#include "ui/quotations.h"
#include "ui/resampling_results_window.h"
#include "ui/results_pane.h"
#include "ui/results_window.h"
#include "ui/settings_panel.h"
#include "ui/stage_means_window.h"
#include "ui/title_screen.h"
#include "ui/wrap_button.h"

namespace pellmar {

namespace {

constexpr int kClosingTextPointSize = 24;
// The window's size in the first program run, where the screen has room for it.
constexpr QSize kFirstSize(1240, 800);
// Room around the controls of the steps and the chart area for the focus frame, which is drawn
// outside the control that has the focus.
constexpr int kFocusFrameRoom = 3;
// The colours of the window's lines, as chosen for a light background; on a dark one each is
// lightened until it reads as well.
const QColor kTitleColour(0x7a, 0x1f, 0x14);
const QColor kStepColour(0x1f, 0x3f, 0x8f);
const QColor kNoticeColour(0xff, 0x00, 0x00);

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

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

// The one local file a drag carries, or the empty text.
QString draggedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl& url = data->urls().front();
  if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) return {};
  return url.toLocalFile();
}

ClickableLabel* stepLabel(const char* name, const QString& caption, QWidget* parent) {
  auto* label = new ClickableLabel(QString::fromLatin1(name), parent);
  label->setText(caption);
  setBold(*label);
  return label;
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, DesktopSettings& settings)
    : dialogs_(dialogs), settings_(settings) {
  setObjectName(QStringLiteral("mainWindow"));
  setAcceptDrops(true);
  buildMenus();
  buildToolBar();
  buildStatusBar();
  startNewAnalysis();

  if (!restoreGeometry(settings_.mainWindowGeometry())) {
    const QRect screen = QApplication::primaryScreen() != nullptr
                             ? QApplication::primaryScreen()->availableGeometry()
                             : QRect(QPoint(0, 0), kFirstSize);
    resize(kFirstSize.boundedTo(screen.size() * 0.9));
    move(screen.center() - rect().center());
  }
  restoreState(settings_.mainWindowState());
}

MainWindow::~MainWindow() = default;

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
  heading->addStretch();
  // The main results stay in view beside the heading, whatever screen the steps lead to.
  resultsPane_ = new ResultsPane(page);
  auto* top = new QHBoxLayout;
  top->addLayout(heading, 1);
  top->addWidget(resultsPane_);
  top->addWidget(buildAuthorFrame());

  // The guided steps, and beside them the settings of a whole run.
  QWidget* steps = buildStepsArea();
  settingsPanel_ = new SettingsPanel(dialogs_, page);
  connect(settingsPanel_->runButton(), &QPushButton::clicked, this,
          [this] { perform([this] { runWithSettings(); }); });
  lockedDuringWork_.push_back(settingsPanel_);
  auto* modes = new QTabWidget(page);
  modes->setObjectName(QStringLiteral("stepsOrSettings"));
  modes->addTab(steps, QStringLiteral("Guided steps"));
  modes->addTab(settingsPanel_, QStringLiteral("Settings"));
  modes->setFixedWidth(steps->width() +
                       2 * modes->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
  auto* side = new QVBoxLayout;
  side->addWidget(buildFigureFrame());
  side->addWidget(buildGraphFrame());
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(modes);
  middle->addWidget(buildChartArea(), 1);
  middle->addLayout(side);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(notice_);
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

QWidget* MainWindow::buildChartArea() {
  auto* area = new QWidget(this);
  chartArea_ = new QStackedWidget(area);
  auto* placeholder = new QLabel(
      QStringLiteral("The figures of the analysis appear here after the Basic Run."), chartArea_);
  placeholder->setAlignment(Qt::AlignCenter);
  placeholder->setWordWrap(true);
  placeholder->setFrameShape(QFrame::StyledPanel);
  placeholder->setForegroundRole(QPalette::PlaceholderText);
  lifeChart_ = new QChartView(chartArea_);
  lifeChart_->setObjectName(QStringLiteral("lifeChartView"));
  frequencyChart_ = new QChartView(chartArea_);
  frequencyChart_->setObjectName(QStringLiteral("frequencyChartView"));
  for (QChartView* view : {lifeChart_, frequencyChart_}) {
    view->setRenderHint(QPainter::Antialiasing);
    // Nothing in a chart answers the keyboard; the focus goes to the buttons.
    view->setFocusPolicy(Qt::NoFocus);
    view->setMinimumSize(380, 260);
    // Narrow margins leave the plot room for all twelve labels of the probability charts in
    // the smallest window.
    view->chart()->setMargins(QMargins(4, 4, 4, 4));
    view->chart()->layout()->setContentsMargins(0, 0, 0, 0);
  }
  chartArea_->addWidget(placeholder);
  chartArea_->addWidget(lifeChart_);
  chartArea_->addWidget(frequencyChart_);

  saveChartButton_ = addButton(
      "saveChartButton", QStringLiteral("Save chart"),
      QStringLiteral("Save the chart shown as a PNG picture (300 dpi) or an SVG drawing"), area);
  saveChartButton_->setEnabled(false);
  connect(saveChartButton_, &QPushButton::clicked, this, [this] {
    saveChartWithDialog(
        chartArea_->currentWidget() == frequencyChart_ ? *frequencyChart_ : *lifeChart_, settings_);
  });

  exportChartButton_ = addButton(
      "exportChartButton", QStringLiteral("Export chart"),
      QStringLiteral("Export the chart shown for a paper: its size in mm, its dpi and font size, "
                     "as PNG, SVG or PDF"),
      area);
  exportChartButton_->setEnabled(false);
  shownChart_ = nullptr;
  connect(exportChartButton_, &QPushButton::clicked, this, [this] { exportShownChart(); });

  progressText_ = new QLabel(area);
  progressText_->setObjectName(QStringLiteral("progressLabel"));
  progressBar_ = new QProgressBar(area);
  progressBar_->setObjectName(QStringLiteral("progressBar"));
  progressBar_->setRange(0, 100);
  stopButton_ = addButton("stopButton", QStringLiteral("Stop"),
                          QStringLiteral("Stop the bootstrap after the replicate under way"), area);
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
  layout->setContentsMargins(kFocusFrameRoom, kFocusFrameRoom, kFocusFrameRoom, kFocusFrameRoom);
  layout->addWidget(chartArea_, 1);
  layout->addLayout(below);
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

QGroupBox* MainWindow::buildAuthorFrame() {
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("authorFrame"));
  auto* quiz = addButton("quizButton", {}, {}, frame);
  quiz->setIcon(quizIcon());
  quiz->setIconSize(QSize(40, 40));
  quiz->setFlat(true);
  quiz->setAccessibleName(QStringLiteral("Quiz"));
  connect(quiz, &QPushButton::clicked, this, [this] { showQuiz(); });

  auto* image = new ClickableLabel(QStringLiteral("logoImage"), frame);
  image->setPixmap(drawLogo(96));
  connect(image, &ClickableLabel::clicked, this, [this] { showHelp(Help::kNotes); });
  connect(image, &ClickableLabel::doubleClicked, this, [this] { showHelp(Help::kNotes); });

  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(quiz, 0, Qt::AlignHCenter);
  layout->addWidget(image, 0, Qt::AlignHCenter);
  layout->addStretch();
  lockedDuringWork_.push_back(quiz);
  return frame;
}

void MainWindow::loadTexts() {
  notice_->setText(
      QStringLiteral("Check your data file before the analysis: click this line or \"Step 1.\""));
  instructions_->setText(fromStd(instructionText()));
}

void MainWindow::applyColours() {
  const QColor background = palette().color(QPalette::Window);
  title_->setText(
      QStringLiteral("<span style='font-size:26pt; font-weight:bold; color:%1;'>Pellmar</span><br>"
                     "<span style='font-size:12pt;'>Consumption and predation rates from the "
                     "age-stage, two-sex life table</span>")
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
  const ReadSasdResult result =
      desktop_->run([&request](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
        return analysis.readSasd(request, reader, files);
      });
  showNotice(result.message);
}

void MainWindow::readFecundity() {
  const ReadFecundityRequest request = askReadFecundity(dialogs_);
  const ReadFecundityResult result =
      desktop_->run([&request](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
        return analysis.readFecundity(request, reader, files);
      });
  showChart(LifeChart::kFecundity);
  if (result.warning) {
    showNotice(*result.warning, MessageKind::kWarning);
  } else {
    showNotice(result.message);
  }
}

void MainWindow::bootstrap() {
  const auto request = askBootstrap(dialogs_, desktop_->analysis(), seedFromClock());
  if (!request) return;
  std::optional<std::string> barren;
  bootstrapBegan_ = fromStd(dialogs_.clock().dateTimeText);
  bootstrapEnded_.clear();
  runInBackground([this, &request, &barren](std::stop_token stop) {
    const ProgressReport progress = progressShownAs("Bootstrap");
    barren = desktop_
                 ->run([&](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
                   return analysis.bootstrap(*request, reader, files, progress, stop);
                 })
                 .barrenReplicates;
  });
  bootstrapEnded_ = fromStd(dialogs_.clock().dateTimeText);
  showBootstrapTimes();
  if (barren && desktop_->analysis().bootstrap()->barrenReplicates > 0) {
    statusBar()->showMessage(QString::fromStdString(*barren));
  }
  showResamplingResults();
  if (askNormalDensity(dialogs_)) {
    showNotice(desktop_
                   ->run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
                     return analysis.normalDensity(files);
                   })
                   .message);
  }
  if (askSamplesFile(dialogs_, desktop_->analysis())) {
    const SamplesFileResult result =
        desktop_->run([](Analysis& analysis, InputFileReader&, OutputFiles& files) {
          return analysis.samplesFile(files);
        });
    if (result.warning) showNotice(*result.warning, MessageKind::kWarning);
  }
}

void MainWindow::jackknife() {
  JackknifeResult result;
  runInBackground([this, &result](std::stop_token stop) {
    const ProgressReport progress = progressShownAs("Jackknife");
    result = desktop_->run([&](Analysis& analysis, InputFileReader&, OutputFiles& files) {
      return analysis.jackknife(files, progress, stop);
    });
  });
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
  // The warnings of the run gather on the worker's side and are shown once it has ended; its
  // results speak for themselves in the results pane.
  std::vector<std::string> warnings;
  runningWork_ = QStringLiteral("run");
  runInBackground([this, &request, &warnings](std::stop_token stop) {
    const RunListener listener{
        {},
        [&warnings](const std::string& text) { warnings.push_back(text); },
        [this](std::string_view step) { return progressShownAs(std::string(step)); }};
    desktop_->runWhole(*request, listener, stop);
  });
  const Analysis& analysis = desktop_->analysis();
  settingsPanel_->ranWith(*request, analysis.writtenPaths().size());
  if (analysis.bootstrap() || analysis.jackknife()) {
    showFrequencyChart();
  } else {
    showChart(analysis.lifeTable() ? LifeChart::kFecundity : LifeChart::kCij);
  }
  if (!warnings.empty()) {
    std::string joined;
    for (const std::string& warning : warnings) joined += warning + "\n";
    showNotice(Notice{"Run", joined}, MessageKind::kWarning);
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

void MainWindow::showPairedTest(const PairedTestRequest& request, const PairedTestResult& result) {
  if (!pairedTestWindow_) {
    pairedTestWindow_ = std::make_unique<PairedTestWindow>();
    connectReturn(*pairedTestWindow_);
  }
  const Analysis& analysis = desktop_->analysis();
  PairedTestShown shown;
  shown.firstStudy = QDir::toNativeSeparators(fromStd(analysis.study().dataFileName));
  shown.secondStudy = QDir::toNativeSeparators(fromStd(request.secondDataFile));
  shown.method = QStringLiteral("%1 replicates of each study; seeds %2 and %3")
                     .arg(result.replicates)
                     .arg(analysis.bootstrap()->seed)
                     .arg(result.secondSeed);
  shown.confidence = analysis.confidence();
  shown.test = result.test;
  pairedTestWindow_->present(shown);
  openWindow(*pairedTestWindow_);
}

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
    resultsPane_->showResults(desktop_->analysis().summary(), desktop_->analysis().confidence());
    if (!settingsTookStudy_) {
      const Study& study = desktop_->analysis().study();
      settingsPanel_->showStudy(study.dataFileName, study.timeUnit);
      settingsTookStudy_ = true;
    }
  } else {
    resultsPane_->showResults({}, kDefaultConfidence);
  }
  if (!desktop_->isOpen()) {
    settings_.setStudyFolder({});
    setWindowTitle(QStringLiteral("Pellmar"));
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
  setWindowTitle(name + QStringLiteral(" - Pellmar"));
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

void MainWindow::startNewAnalysis() {
  destroyScreens();
  // The analysis before goes, and with it whatever it holds on its files.
  desktop_ = std::make_unique<DesktopAnalysis>();
  bootstrapBegan_.clear();
  bootstrapEnded_.clear();
  lastFocus_.reset();
  settingsTookStudy_ = false;
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
  resultsWindow_.reset();
  stageMeansWindow_.reset();
  resamplingResultsWindow_.reset();
  pairedTestWindow_.reset();
  // Its Run button may be what started the command now ending: it goes once that is done.
  if (experimentWindow_) experimentWindow_.release()->deleteLater();
  dataFormatWindow_.reset();
  outputFilesWindow_.reset();
  largeGraphWindow_.reset();
  quizScreen_.reset();
  for (auto& screen : helpScreens_) screen.reset();
}

void MainWindow::openDataFile(const QString& path) {
  whenIdle(QStringLiteral("Open data file"), [this, path] {
    perform([this, &path] {
      const auto request =
          path.isEmpty() ? askOpen(dialogs_)
                         : askOpenNamed(dialogs_, QDir::toNativeSeparators(path).toStdString());
      // Cancelling the dialogs leaves the study open as it was; a file chosen while one is
      // open starts a new analysis with it.
      if (!request) return;
      if (desktop_->isOpen()) startNewAnalysis();
      const QString chosen = QString::fromStdString(request->dataFile);
      settings_.addRecentFile(chosen);
      settings_.rememberFolder(FileKind::kDataFile, chosen);
      fillRecentMenu();
      const std::optional<std::string> outputFolder = outputFolderFor(request->dataFile);
      if (!outputFolder) return;
      try {
        desktop_->open(*request, outputFolder->empty() ? std::nullopt : outputFolder);
      } catch (const UserError& error) {
        // A fault in the data ends the analysis, not the program: a fresh window takes its
        // place, as a restarted program would show it.
        if (error.fatal()) startNewAnalysis();
        throw;
      }
      // What the data file holds that is worth a word but no refusal (a span of an unknown stage).
      for (const std::string& warning : desktop_->analysis().study().warnings) {
        statusBar()->showMessage(fromStd(warning));
      }
    });
  });
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
  whenIdle(QStringLiteral("New analysis"), [this] { startNewAnalysis(); });
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

void MainWindow::stopWork() {
  backgroundTask_.requestStop();
  stopButton_->setEnabled(false);
}

void MainWindow::runInBackground(const std::function<void(std::stop_token)>& work) {
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
  progressText_->setText(fromStd(label) + QStringLiteral(": ") + update.text);
  if (experimentWindow_ && label == kExperimentTitle) {
    experimentWindow_->showProgress(update.percent, update.text);
  }
  runningWork_ = QStringLiteral("The ") + fromStd(label).toLower();
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

void MainWindow::showChart(LifeChart kind) {
  drawLifeChart(*lifeChart_->chart(), kind, desktop_->analysis(), ChartPlace::kMainWindow);
  chartArea_->setCurrentWidget(lifeChart_);
  saveChartButton_->setEnabled(true);
  shownChart_ = [this, kind](QChart& chart) {
    drawLifeChart(chart, kind, desktop_->analysis(), ChartPlace::kMainWindow);
  };
  shownChartName_ = QString::fromLatin1(lifeChartName(kind));
  exportChartButton_->setEnabled(true);
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
                           QDir::toNativeSeparators(fromStd(file)));
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
  resamplingResultsWindow_->present(fromStd(analysis.study().projectTitle), shown);
  openWindow(*resamplingResultsWindow_);
}

void MainWindow::showResamplingResults() {
  showFrequencyChart();
  openResamplingResults();
}

void MainWindow::showFrequencyChart() {
  const Analysis& analysis = desktop_->analysis();
  const bool bootstrap = analysis.bootstrap().has_value();
  const FrequencyChartData frequencies = bootstrap ? bootstrapFrequencyChart(*analysis.bootstrap())
                                                   : jackknifeFrequencyChart(*analysis.jackknife());
  const QString horizontalTitle = bootstrap
                                      ? QStringLiteral("Net consumption rate C0 (class centre)")
                                      : QStringLiteral("Pseudo-value of C0 (class centre)");
  drawFrequencyChart(*frequencyChart_->chart(), frequencies, horizontalTitle);
  chartArea_->setCurrentWidget(frequencyChart_);
  saveChartButton_->setEnabled(true);
  shownChart_ = [frequencies, horizontalTitle](QChart& chart) {
    drawFrequencyChart(chart, frequencies, horizontalTitle);
  };
  shownChartName_ = bootstrap ? QStringLiteral("bootstrap_C0") : QStringLiteral("jackknife_C0");
  exportChartButton_->setEnabled(true);
}

void MainWindow::leaveResamplingResults() {
  desktop_->leaveResamplingResults();
  instructions_->show();
  instructions_->setText(closingInstructionText());
  setBold(*instructions_, kClosingTextPointSize);
  applyCommandStates();
}

void MainWindow::exportShownChart() {
  if (!shownChart_) return;
  const QString base = QFileInfo(fromStd(desktop_->analysis().study().outputBaseName)).fileName();
  exportChartWithDialog(shownChart_, base + QLatin1Char('_') + shownChartName_, dialogs_,
                        settings_);
}

void MainWindow::printThisWindow() { dialogs_.printWindow(objectName().toStdString()); }

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  backgroundTask_.requestStop();
  if (isHidden() && !placeWhileHidden_.isEmpty()) restoreGeometry(placeWhileHidden_);
  settings_.saveMainWindow(saveGeometry(), saveState());
  for (QWidget* window : std::initializer_list<QWidget*>{
           titleScreen_.get(), resultsWindow_.get(), stageMeansWindow_.get(),
           resamplingResultsWindow_.get(), pairedTestWindow_.get(), dataFormatWindow_.get(),
           outputFilesWindow_.get(), largeGraphWindow_.get(), quizScreen_.get()}) {
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

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* open = addAction(*file, "openDataFileAction", QStringLiteral("&Open data file\u2026"),
                            QKeySequence::Open);
  connect(open, &QAction::triggered, this, [this] { openDataFile(); });
  recentMenu_ = file->addMenu(QStringLiteral("Open &recent"));
  recentMenu_->setObjectName(QStringLiteral("openRecentMenu"));
  fillRecentMenu();
  QAction* fresh =
      addAction(*file, "newAnalysisAction", QStringLiteral("&New analysis"), QKeySequence::New);
  connect(fresh, &QAction::triggered, this, [this] { newAnalysis(); });
  file->addSeparator();
  QAction* openProjectAction =
      addAction(*file, "openProjectAction", QStringLiteral("Open pro&ject\u2026"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  connect(openProjectAction, &QAction::triggered, this, [this] { openProject(); });
  QAction* newProjectAction =
      addAction(*file, "newProjectAction", QStringLiteral("New projec&t from data files\u2026"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
  connect(newProjectAction, &QAction::triggered, this, [this] { newProject(); });
  file->addSeparator();
  addControlAction(*file, "saveChartButton", QStringLiteral("&Save chart\u2026"),
                   QKeySequence::Save);
  addControlAction(*file, "exportChartButton", QStringLiteral("&Export chart\u2026"),
                   QKeySequence(Qt::CTRL | Qt::Key_E));
  addControlAction(*file, "printPageButton", QStringLiteral("&Print page\u2026"),
                   QKeySequence::Print);
  file->addSeparator();
  QAction* quitAction =
      addAction(*file, "quitAction", QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  quitAction->setMenuRole(QAction::QuitRole);
  connect(quitAction, &QAction::triggered, this, [this] { quit(); });

  QMenu* analysis = menuBar()->addMenu(QStringLiteral("&Analysis"));
  addControlAction(*analysis, "checkDataFileStep", QStringLiteral("&Check data file"));
  analysis->addSeparator();
  addControlAction(*analysis, "basicRunButton", QStringLiteral("&Basic Run"));
  addControlAction(*analysis, "readSasdButton", QStringLiteral("Read &SASD"));
  addControlAction(*analysis, "readFecundityButton", QStringLiteral("Read &fecundity"));
  addControlAction(*analysis, "bootstrapButton", QStringLiteral("B&ootstrap\u2026"));
  addControlAction(*analysis, "jackknifeButton", QStringLiteral("&Jackknife"));
  analysis->addSeparator();
  addControlAction(*analysis, "compareBootstrapsButton",
                   QStringLiteral("Co&mpare two bootstraps\u2026"));
  addControlAction(*analysis, "pairedBootstrapTestButton",
                   QStringLiteral("&Paired bootstrap test\u2026"));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  addControlAction(*view, "resultsButton", QStringLiteral("&Results"));
  addControlAction(*view, "stageMeansButton", QStringLiteral("&Means"));
  addControlAction(*view, "resamplingResultsButton", QStringLiteral("&B or J results"));
  addControlAction(*view, "outputFilesButton", QStringLiteral("&Output files"));
  addControlAction(*view, "largeGraphButton", QStringLiteral("&Large graph"));
  view->addSeparator();
  const std::array<std::pair<const char*, const char*>, 8> figures = {{
      {"showSxjButton", "Survival rate s(x,j)"},
      {"showGxjButton", "Growth probability g(x,j)"},
      {"showDxjButton", "Development probability d(x,j)"},
      {"showCxjButton", "Consumption rate c(x,j)"},
      {"showLxButton", "Survival rate l(x)"},
      {"showCxButton", "Consumption rate c(x)"},
      {"showLxCxButton", "Net consumption l(x)c(x)"},
      {"showFecundityButton", "Fecundity l(x), f(x), m(x), l(x)m(x)"},
  }};
  int key = Qt::Key_1;
  for (const auto& [control, text] : figures) {
    addControlAction(*view, control, QString::fromLatin1(text),
                     QKeySequence(Qt::CTRL | static_cast<Qt::Key>(key++)));
  }

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  QAction* introduction = addAction(*help, "introductionAction", QStringLiteral("&Introduction"),
                                    QKeySequence::HelpContents);
  connect(introduction, &QAction::triggered, this, [this] { showHelp(Help::kIntroduction); });
  addControlAction(*help, "dataFormatButton", QStringLiteral("&Data format"));
  addControlAction(*help, "notesButton", QStringLiteral("&Note well"));
  addControlAction(*help, "referencesButton", QStringLiteral("&References"));
  QAction* hints = addAction(*help, "printingHintsAction",
                             QStringLiteral("&What you should know about these files"));
  connect(hints, &QAction::triggered, this, [this] { showHelp(Help::kPrintingHints); });
  addControlAction(*help, "quizButton", QStringLiteral("&Quiz"));
  QAction* saying = addAction(*help, "quotationAction", QStringLiteral("A &saying"));
  connect(saying, &QAction::triggered, this, [this] {
    const QuotationChoice choice = chooseQuotations(dialogs_.clock().second);
    showNotice(Notice{"A saying", quotationText(choice.belowInstructions)});
  });
  help->addSeparator();
  QAction* about = addAction(*help, "aboutAction", QStringLiteral("&About Pellmar"));
  about->setMenuRole(QAction::AboutRole);
  connect(about, &QAction::triggered, this, [this] { showAbout(); });
}

QAction* MainWindow::addAction(QMenu& menu, const char* name, const QString& text,
                               const QKeySequence& shortcut) {
  QAction* action = menu.addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  return action;
}

QAction* MainWindow::addControlAction(QMenu& menu, const char* control, const QString& text,
                                      const QKeySequence& shortcut) {
  QString name = QString::fromLatin1(control);
  name.replace(QRegularExpression(QStringLiteral("(Button|Step)$")), QStringLiteral("Action"));
  QAction* action = addAction(menu, name.toLatin1().constData(), text, shortcut);
  bindings_.push_back(ActionBinding{action, control, nullptr});
  connect(action, &QAction::triggered, this, [this, action] {
    for (const ActionBinding& binding : bindings_) {
      if (binding.action != action || !binding.bound || !binding.bound->isEnabled()) continue;
      if (auto* button = qobject_cast<QAbstractButton*>(binding.bound)) {
        button->click();
      } else if (auto* label = qobject_cast<ClickableLabel*>(binding.bound)) {
        label->click();
      }
    }
  });
  return action;
}

void MainWindow::buildToolBar() {
  QToolBar* tools = addToolBar(QStringLiteral("Steps"));
  tools->setObjectName(QStringLiteral("stepsToolBar"));
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tools->setMovable(false);
  tools->setIconSize(QSize(16, 16));
  const auto take = [this, tools](const char* name, std::optional<QStyle::StandardPixmap> icon) {
    auto* action = findChild<QAction*>(QString::fromLatin1(name));
    if (icon) action->setIcon(style()->standardIcon(*icon));
    tools->addAction(action);
  };
  take("openDataFileAction", QStyle::SP_DialogOpenButton);
  take("newAnalysisAction", QStyle::SP_FileIcon);
  tools->addSeparator();
  take("basicRunAction", std::nullopt);
  take("readSasdAction", std::nullopt);
  take("readFecundityAction", std::nullopt);
  take("bootstrapAction", std::nullopt);
  take("jackknifeAction", std::nullopt);
  tools->addSeparator();
  take("saveChartAction", QStyle::SP_DialogSaveButton);
  take("exportChartAction", std::nullopt);
  take("printPageAction", std::nullopt);
}

void MainWindow::buildStatusBar() {
  studyStatus_ = new QLabel(this);
  studyStatus_->setObjectName(QStringLiteral("studyStatus"));
  timeUnitStatus_ = new QLabel(this);
  timeUnitStatus_->setObjectName(QStringLiteral("timeUnitStatus"));
  lastStepStatus_ = new QLabel(this);
  lastStepStatus_->setObjectName(QStringLiteral("lastStepStatus"));
  for (QLabel* label : {studyStatus_, timeUnitStatus_, lastStepStatus_}) {
    label->setContentsMargins(6, 0, 6, 0);
    statusBar()->addWidget(label);
  }
}

void MainWindow::bindActionsToPage() {
  for (ActionBinding& binding : bindings_) {
    if (binding.bound) binding.bound->removeEventFilter(this);
    binding.bound = centralWidget()->findChild<QWidget*>(QString::fromLatin1(binding.control));
    if (binding.bound) binding.bound->installEventFilter(this);
    updateAction(binding);
  }
}

void MainWindow::updateAction(const ActionBinding& binding) {
  binding.action->setEnabled(binding.bound && binding.bound->isEnabled() &&
                             !binding.bound->isHidden());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::EnabledChange || type == QEvent::ShowToParent ||
      type == QEvent::HideToParent) {
    for (const ActionBinding& binding : bindings_) {
      if (binding.bound == watched) updateAction(binding);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList files = settings_.recentFiles();
  for (int i = 0; i < files.size(); ++i) {
    const QString& path = files[i];
    // The first nine are chosen by their digit.
    const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("1&0 ");
    QAction* action = recentMenu_->addAction(number + QFileInfo(path).fileName());
    action->setToolTip(path);
    action->setStatusTip(path);
    connect(action, &QAction::triggered, this, [this, path] {
      if (!QFileInfo(path).isFile()) {
        dialogs_.messageBox(QStringLiteral("The data file %1 no longer exists; it is taken off the "
                                           "recent files.")
                                .arg(path)
                                .toStdString(),
                            MessageButtons::kOk, "Open recent", MessageKind::kWarning);
        settings_.removeRecentFile(path);
        fillRecentMenu();
        return;
      }
      openDataFile(path);
    });
  }
  if (files.isEmpty()) {
    recentMenu_->addAction(QStringLiteral("No recent files"))->setEnabled(false);
    return;
  }
  recentMenu_->addSeparator();
  connect(recentMenu_->addAction(QStringLiteral("&Clear the list")), &QAction::triggered, this,
          [this] {
            settings_.clearRecentFiles();
            fillRecentMenu();
          });
}

void MainWindow::showAbout() {
  QMessageBox::about(
      this, QStringLiteral("About Pellmar"),
      QStringLiteral(
          "<h3>Pellmar %1</h3>"
          "<p>Consumption and predation rates from the age-stage, two-sex life table.</p>"
          "<p>Comments and suggestions: pellmar-feedback@example.org</p>"
          "<p>Pellmar is free software: you can redistribute it and modify it under the terms of "
          "the GNU General Public License as published by the Free Software Foundation, either "
          "version 3 of the License or (at your option) any later version "
          "(GPL-3.0-or-later). It comes with no warranty.</p>"
          "<p>Built with Qt %2.</p>")
          .arg(QStringLiteral(PELLMAR_VERSION), QString::fromLatin1(qVersion())));
}

}  // namespace pellmar
