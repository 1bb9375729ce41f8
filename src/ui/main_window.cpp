#include "ui/main_window.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/system_clock.h"
#include "ui/chart_export.h"
#include "ui/clickable_label.h"
#include "ui/data_format_window.h"
#include "ui/frequency_chart.h"
#include "ui/help_screen.h"
#include "ui/help_texts.h"
#include "ui/large_graph_window.h"
#include "ui/logo.h"
#include "ui/output_files_window.h"
#include "ui/quiz_screen.h"
#include "ui/quotations.h"
#include "ui/resampling_results_window.h"
#include "ui/results_window.h"
#include "ui/stage_means_window.h"
#include "ui/title_screen.h"
#include "ui/wrap_button.h"

namespace pellmar {

namespace {

constexpr int kGreetingIntervalMs = 500;
constexpr int kClosingTextPointSize = 24;
const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 255, 0);

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

void setBold(QWidget& widget, int pointSize = 0) {
  QFont font = widget.font();
  font.setBold(true);
  if (pointSize > 0) font.setPointSize(pointSize);
  widget.setFont(font);
}

ClickableLabel* stepLabel(const char* name, const QString& caption, QWidget* parent) {
  auto* label = new ClickableLabel(QString::fromLatin1(name), parent);
  label->setText(caption);
  setBold(*label);
  label->setStyleSheet(QStringLiteral("color: #1f3f8f;"));
  return label;
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs)
    : dialogs_(dialogs), program_([&dialogs] { return dialogs.clock(); }) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QStringLiteral("Pellmar"));
  buildWindow();
  loadTexts();
  greetingTimer_.setInterval(kGreetingIntervalMs);
  connect(&greetingTimer_, &QTimer::timeout, this, &MainWindow::greetingTick);
  greetingTimer_.start();
  applyCommandStates();
}

MainWindow::~MainWindow() = default;

QPushButton* MainWindow::addButton(const char* name, const QString& caption, const QString& toolTip,
                                   QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  if (!toolTip.isEmpty()) button->setToolTip(toolTip);
  return button;
}

void MainWindow::buildWindow() {
  auto* title = new ClickableLabel(QStringLiteral("titleLabel"), this, true);
  connect(title, &ClickableLabel::clicked, this, [this] { showHelp(Help::kIntroduction); });
  connect(title, &ClickableLabel::doubleClicked, this, [this] { showHelp(Help::kNotes); });
  title_ = title;

  auto* greeting = new ClickableLabel(QStringLiteral("greetingLabel"), this);
  setBold(*greeting, 14);
  greeting->setStyleSheet(QStringLiteral("color: #2e6b2e;"));
  auto* instructions = new ClickableLabel(QStringLiteral("instructionsLabel"), this);
  instructions->setWordWrap(true);
  for (ClickableLabel* label : {greeting, instructions}) {
    connect(label, &ClickableLabel::clicked, this, [this] { showHelp(Help::kNotes); });
    connect(label, &ClickableLabel::doubleClicked, this, [this] { showHelp(Help::kNotes); });
  }
  greetingLine_ = greeting;
  instructions_ = instructions;

  auto* notice = new ClickableLabel(QStringLiteral("checkDataFileNotice"), this);
  notice->setStyleSheet(QStringLiteral("color: red;"));
  connect(notice, &ClickableLabel::clicked, this,
          [this] { perform([this] { showNotice(program_.run(CheckRequest{}).message); }); });
  notice_ = notice;

  quotation_ = new QLabel(this);
  quotation_->setObjectName(QStringLiteral("quotationLabel"));
  quotation_->setWordWrap(true);
  quotation_->setStyleSheet(QStringLiteral("font-style: italic; color: #444;"));

  auto* clock = new ClickableLabel(QStringLiteral("clockLabel"), this);
  clock->setToolTip(QStringLiteral("Introduction"));
  clock->setAutoFillBackground(true);
  clock->setMargin(3);
  connect(clock, &ClickableLabel::clicked, this, [this] { showHelp(Help::kIntroduction); });
  clockLine_ = clock;

  auto* heading = new QVBoxLayout;
  heading->addWidget(title_);
  heading->addWidget(greetingLine_);
  heading->addWidget(instructions_);
  auto* top = new QHBoxLayout;
  top->addLayout(heading, 1);
  top->addWidget(buildAuthorFrame());

  QWidget* steps = buildStepsArea();
  auto* side = new QVBoxLayout;
  side->addWidget(buildFigureFrame());
  side->addWidget(buildGraphFrame());
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(steps);
  middle->addWidget(buildChartArea(), 1);
  middle->addLayout(side);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(quotation_, 1);
  bottom->addWidget(clockLine_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(notice_);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);
  lockedDuringWork_.push_back(notice_);
  resize(1240, 800);
}

QWidget* MainWindow::buildStepsArea() {
  auto* area = new QWidget(this);
  area->setObjectName(QStringLiteral("stepsArea"));
  auto* grid = new QGridLayout;

  auto* step1 = stepLabel("checkDataFileStep", QStringLiteral("Step 1."), area);
  step1->setToolTip(QStringLiteral("Chech datafile"));
  step1->setCursor(Qt::PointingHandCursor);
  connect(step1, &ClickableLabel::clicked, this,
          [this] { perform([this] { showNotice(program_.run(CheckRequest{}).message); }); });
  QPushButton* open = addButton("openDataFileButton", QStringLiteral("Open data file"),
                                QStringLiteral("Open data file"), area);
  connect(open, &QPushButton::clicked, this, [this] { perform([this] { openDataFile(); }); });
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

  grid->addWidget(step1, 0, 0);
  grid->addWidget(open, 0, 1);
  grid->addWidget(stepLabel("basicRunStep", QStringLiteral("Step 2."), area), 1, 0);
  grid->addWidget(basicRun, 1, 1);
  grid->addWidget(stepLabel("readSasdStep", QStringLiteral("Step 3."), area), 2, 0);
  grid->addLayout(stableDistribution, 2, 1);
  grid->addWidget(stepLabel("resamplingStep", QStringLiteral("Step 4."), area), 3, 0);
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
  QPushButton* paired =
      addButton("pairedBootstrapTestButton", QStringLiteral("Paired bootstrap test (in CORVANE)"),
                QStringLiteral("Please use the Paired Bootstrap Test in CORVANE"), action);
  connect(paired, &QPushButton::clicked, this, [this] { showNotice(pairedBootstrapTestNotice()); });
  actionLayout->addWidget(paired);

  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(grid);
  layout->addWidget(bootBegin_);
  layout->addWidget(bootEnd_);
  layout->addWidget(action);
  layout->addStretch();
  area->setFixedWidth(330);

  commandWidgets_[static_cast<std::size_t>(Command::kOpenDataFile)] = open;
  commandWidgets_[static_cast<std::size_t>(Command::kCheckDataFile)] = step1;
  commandWidgets_[static_cast<std::size_t>(Command::kBasicRun)] = basicRun;
  commandWidgets_[static_cast<std::size_t>(Command::kReadSasd)] = readSasd;
  commandWidgets_[static_cast<std::size_t>(Command::kReadFecundity)] = readFecundity;
  commandWidgets_[static_cast<std::size_t>(Command::kBootstrap)] = bootstrap;
  commandWidgets_[static_cast<std::size_t>(Command::kJackknife)] = jackknife;
  commandWidgets_[static_cast<std::size_t>(Command::kCompare)] = compare;
  commandWidgets_[static_cast<std::size_t>(Command::kActionFrame)] = action;
  lockedDuringWork_.push_back(area);
  return area;
}

QWidget* MainWindow::buildChartArea() {
  auto* area = new QWidget(this);
  chartArea_ = new QStackedWidget(area);
  auto* placeholder = new QLabel(
      QStringLiteral("The figures of the analysis appear here after the Basic Run."), chartArea_);
  placeholder->setAlignment(Qt::AlignCenter);
  placeholder->setStyleSheet(QStringLiteral("color: #777; border: 1px solid #bbb;"));
  lifeChart_ = new QChartView(chartArea_);
  lifeChart_->setObjectName(QStringLiteral("lifeChartView"));
  frequencyChart_ = new QChartView(chartArea_);
  frequencyChart_->setObjectName(QStringLiteral("frequencyChartView"));
  for (QChartView* view : {lifeChart_, frequencyChart_}) {
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(520, 380);
  }
  chartArea_->addWidget(placeholder);
  chartArea_->addWidget(lifeChart_);
  chartArea_->addWidget(frequencyChart_);

  saveChartButton_ = addButton(
      "saveChartButton", QStringLiteral("Save chart"),
      QStringLiteral("Save the chart shown as a PNG picture (300 dpi) or an SVG drawing"), area);
  saveChartButton_->setEnabled(false);
  connect(saveChartButton_, &QPushButton::clicked, this, [this] {
    saveChartWithDialog(chartArea_->currentWidget() == frequencyChart_ ? *frequencyChart_
                                                                       : *lifeChart_);
  });

  progressText_ = new QLabel(area);
  progressText_->setObjectName(QStringLiteral("progressLabel"));
  progressBar_ = new QProgressBar(area);
  progressBar_->setObjectName(QStringLiteral("progressBar"));
  progressBar_->setRange(0, 100);
  stopButton_ = addButton("stopButton", QStringLiteral("Stop"),
                          QStringLiteral("Stop the bootstrap after the replicate under way"), area);
  connect(stopButton_, &QPushButton::clicked, this, [this] {
    backgroundTask_.requestStop();
    stopButton_->setEnabled(false);
  });
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
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
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
  const std::array<ChartButton, 8> buttons = {{
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
      {"showFecundityButton", kFecundityChartCaption,
       "Survival rate, fecundity and maternity of the life table (after Read fecundity)",
       Command::kShowFecundity, LifeChart::kFecundity},
  }};
  int position = 0;
  for (const ChartButton& b : buttons) {
    QPushButton* button =
        addButton(b.name, QString::fromLatin1(b.caption), QString::fromLatin1(b.toolTip), frame);
    const LifeChart kind = b.kind;
    connect(button, &QPushButton::clicked, this, [this, kind] { showChart(kind); });
    // The fecundity chart's long caption takes a row of its own.
    const bool wide = b.kind == LifeChart::kFecundity;
    if (wide) {
      grid->addWidget(button, (position + 1) / 2, 0, 1, 2);
    } else {
      grid->addWidget(button, position / 2, position % 2);
    }
    ++position;
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
  int position = 0;
  const auto place = [&grid, &position](QPushButton* button) {
    grid->addWidget(button, position / 2, position % 2);
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
  command("quitButton", "Quit", "Quit this program", [this] { beginClosing(); });
  place(addButton("unusedQButton", QStringLiteral("Q"), {}, frame));
  place(addButton("unusedWButton", QStringLiteral("W"), {}, frame));

  commandWidgets_[static_cast<std::size_t>(Command::kLarge)] = large;
  commandWidgets_[static_cast<std::size_t>(Command::kResults)] = results;
  commandWidgets_[static_cast<std::size_t>(Command::kMeans)] = means;
  commandWidgets_[static_cast<std::size_t>(Command::kOutputFiles)] = outputFiles;
  lockedDuringWork_.push_back(frame);
  return frame;
}

QGroupBox* MainWindow::buildAuthorFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Author"), this);
  frame->setObjectName(QStringLiteral("authorFrame"));
  auto* contact = new ClickableLabel(QStringLiteral("contactLabel"), frame);
  contact->setToolTip(QStringLiteral("Introduction"));
  contact->setText(QStringLiteral("Pellmar %1\nLife table analysis of consumption\n"
                                  "and predation rates\n\nComments and suggestions:\n"
                                  "pellmar-feedback@example.org\n\nFree software under the\n"
                                  "GNU GPL, version 3 or later")
                       .arg(QStringLiteral(PELLMAR_VERSION)));
  connect(contact, &ClickableLabel::clicked, this, [this] { showHelp(Help::kIntroduction); });

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

  auto* layout = new QHBoxLayout(frame);
  layout->addWidget(contact);
  layout->addStretch();
  layout->addWidget(quiz, 0, Qt::AlignVCenter);
  layout->addWidget(image, 0, Qt::AlignVCenter);
  // The picture keeps a narrow margin to the frame's right edge.
  layout->setContentsMargins(layout->contentsMargins().left(), 0, 7, 0);
  lockedDuringWork_.push_back(quiz);
  return frame;
}

void MainWindow::loadTexts() {
  title_->setText(QStringLiteral(
      "<span style='font-size:26pt; font-weight:bold; color:#7a1f14;'>Pellmar</span><br>"
      "<span style='font-size:12pt;'>Consumption and predation rates from the age-stage, "
      "two-sex life table</span>"));
  greetingLine_->setText(QString::fromLatin1(Greeting::kInitial));
  notice_->setText(
      QStringLiteral("Check your data file before the analysis: click this line or \"Step 1.\""));

  const QuotationChoice choice = chooseQuotations(dialogs_.clock().second);
  instructions_->setText(fromStd(instructionText()) + QStringLiteral("\n\n") +
                         fromStd(quotationText(choice.belowInstructions)));
  quotation_->setText(fromStd(quotationText(choice.quotationLine)));
}

QWidget* MainWindow::commandWidget(Command command) const {
  return commandWidgets_.at(static_cast<std::size_t>(command));
}

void MainWindow::perform(const std::function<void()>& command) {
  try {
    command();
  } catch (const UserError& error) {
    dialogs_.messageBox(error.text(), MessageButtons::kOk, error.title());
  }
  afterCommand();
}

void MainWindow::showNotice(const Notice& notice) {
  dialogs_.messageBox(notice.text, MessageButtons::kOk, notice.title);
}

void MainWindow::openDataFile() {
  if (const auto request = askOpen(dialogs_)) program_.run(*request);
}

void MainWindow::basicRun() {
  const BasicRunResult result = program_.run(BasicRunRequest{});
  if (result.analysed) writeRunRecord();
  if (result.warning) showNotice(*result.warning);
  if (result.analysed) showChart(LifeChart::kCij);
}

void MainWindow::readSasd() {
  const ReadSasdResult result = program_.run(askReadSasd(dialogs_));
  writeRunRecord();
  showNotice(result.message);
}

void MainWindow::writeRunRecord() { program_.run(RunRecordRequest{"desktop", {}}); }

void MainWindow::readFecundity() {
  const ReadFecundityResult result = program_.run(askReadFecundity(dialogs_));
  writeRunRecord();
  showChart(LifeChart::kFecundity);
  showNotice(result.warning ? *result.warning : result.message);
}

void MainWindow::bootstrap() {
  program_.restartReportNumbers();
  const auto request = askBootstrap(dialogs_, program_.session(), seedFromClock());
  if (!request) return;
  runInBackground([this, &request](std::stop_token stop) {
    program_.run(*request, progressShownAs("Bootstrap"), stop);
  });
  showBootstrapTimes();
  showResamplingResults();
  if (const auto curves = askNormalDensity(dialogs_)) showNotice(program_.run(*curves).message);
  writeRunRecord();
}

void MainWindow::jackknife() {
  runInBackground([this](std::stop_token stop) {
    program_.run(JackknifeRequest{}, progressShownAs("Jackknife"), stop);
  });
  writeRunRecord();
  showResamplingResults();
}

void MainWindow::compareBootstraps() {
  if (const auto request = askComparison(dialogs_)) {
    showNotice(program_.run(*request).message);
  }
}

void MainWindow::afterCommand() {
  applyCommandStates();
  if (program_.ended()) endProgram();
}

void MainWindow::applyCommandStates() {
  const CommandStates& states = program_.commands();
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
    for (QWidget* widget : lockedDuringWork_) widget->setEnabled(true);
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
  const bool bootstrap = label == "Bootstrap";
  if (bootstrap && bootBegin_->isHidden()) showBootstrapTimes();
  if (bootstrap && update.colourFlips > 0) {
    clockLine_->setText(fromStd(dialogs_.clock().dateTimeText));
    QPalette colours = clockLine_->palette();
    for (int flip = 0; flip < update.colourFlips; ++flip) {
      const bool yellow = colours.color(QPalette::Window) == kYellow;
      colours.setColor(QPalette::Window, yellow ? kGreen : kYellow);
    }
    clockLine_->setPalette(colours);
  }
}

void MainWindow::showBootstrapTimes() {
  const BootstrapState& bootstrap = program_.session().bootstrap;
  if (!bootstrap.beganAt.empty()) {
    bootBegin_->setText(QStringLiteral("Bootstrap begins at:\n") + fromStd(bootstrap.beganAt));
    bootBegin_->show();
  }
  if (bootstrap.done && !bootstrap.endedAt.empty()) {
    bootEnd_->setText(QStringLiteral("Bootstrap ended at:\n") + fromStd(bootstrap.endedAt));
    bootEnd_->show();
  }
}

void MainWindow::greetingTick() {
  const ClockReading now = dialogs_.clock();
  clockLine_->setText(fromStd(now.dateTimeText));
  greetingLine_->setText(fromStd(greeting_.tick(now.hour)));
}

void MainWindow::showChart(LifeChart kind) {
  drawLifeChart(*lifeChart_->chart(), kind, program_.session(), ChartPlace::kMainWindow);
  chartArea_->setCurrentWidget(lifeChart_);
  saveChartButton_->setEnabled(true);
  // Enter steps on through the charts: each moves the focus to the button of the next.
  switch (kind) {
    case LifeChart::kSxj:
      commandWidget(Command::kShowGij)->setFocus();
      break;
    case LifeChart::kGij:
      commandWidget(Command::kShowDij)->setFocus();
      greetingLine_->hide();
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
      break;
  }
}

void MainWindow::connectReturn(ReturnWindow& window) {
  connect(&window, &ReturnWindow::returned, this, &MainWindow::returnToMain);
}

void MainWindow::openWindow(ReturnWindow& window) {
  hide();
  window.bringUp();
}

void MainWindow::returnToMain() {
  if (ended_) return;
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
                                         notesText(), QStringLiteral("Back to the main form"));
        break;
      case Help::kReferences:
        screen = std::make_unique<HelpScreen>(QStringLiteral("referencesScreen"),
                                              QStringLiteral("References"), referencesText(),
                                              QStringLiteral("Back to the main form"));
        break;
      case Help::kPrintingHints:
        screen = std::make_unique<HelpScreen>(
            QStringLiteral("printingHintsScreen"),
            QStringLiteral("What you should know about these files"), printingHintsText(),
            QStringLiteral("Back to the main form"));
        break;
      case Help::kFarewell:
        screen = std::make_unique<HelpScreen>(QStringLiteral("farewellScreen"),
                                              QStringLiteral("Thank you"), farewellText(),
                                              QStringLiteral("Next"));
        // "Next" leads on to the last closing screen instead of back to the main window.
        screen->button()->disconnect();
        connect(screen->button(), &QPushButton::clicked, this, [this] {
          helpScreens_[static_cast<std::size_t>(Help::kFarewell)]->hide();
          showHelp(Help::kGoodbye);
        });
        break;
      case Help::kGoodbye:
        screen = std::make_unique<HelpScreen>(QStringLiteral("goodbyeScreen"),
                                              QStringLiteral("Auf Wiedersehen"), goodbyeText(),
                                              QStringLiteral("End Pellmar"));
        break;
    }
    if (help == Help::kGoodbye) {
      connect(screen.get(), &ReturnWindow::returned, this, &MainWindow::endProgram);
    } else {
      connectReturn(*screen);
    }
  }
  openWindow(*screen);
}

void MainWindow::showResults() {
  if (!resultsWindow_) {
    resultsWindow_ = std::make_unique<ResultsWindow>();
    connectReturn(*resultsWindow_);
  }
  resultsWindow_->load(program_.session());
  openWindow(*resultsWindow_);
}

void MainWindow::showStageMeans() {
  if (!stageMeansWindow_) {
    stageMeansWindow_ = std::make_unique<StageMeansWindow>(dialogs_);
    connectReturn(*stageMeansWindow_);
  }
  stageMeansWindow_->load(program_.session());
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
  outputFilesWindow_->load(program_.session());
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
    largeGraphWindow_ = std::make_unique<LargeGraphWindow>(program_.session(), dialogs_);
    connectReturn(*largeGraphWindow_);
    connect(largeGraphWindow_.get(), &LargeGraphWindow::quitRequested, this,
            [this] { beginClosing(); });
  }
  hide();
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
  const Session& session = program_.session();
  std::optional<ResamplingShown> shown;
  const BootstrapState& boot = session.bootstrap;
  if (session.shownResampling == ResamplingKind::kBootstrap && boot.done) {
    shown.emplace();
    shown->method =
        QStringLiteral("Bootstrap of %1 replicates of %2 individuals%3")
            .arg(boot.bootCount)
            .arg(boot.bootSampleSize)
            .arg(boot.sameSamples ? QStringLiteral(" (the life table's samples)") : QString());
    if (!boot.sameSamples) shown->seed = boot.seed;
  } else if (session.shownResampling == ResamplingKind::kJackknife && session.jackknife.done) {
    shown.emplace();
    shown->method = QStringLiteral("Jackknife of %1 individuals").arg(session.jackknife.fullCount);
  }
  if (shown) {
    shown->confidence = program_.confidence();
    shown->rows = program_.summary();
  }
  resamplingResultsWindow_->present(fromStd(session.study.projectTitle), shown);
  openWindow(*resamplingResultsWindow_);
}

void MainWindow::showResamplingResults() {
  const Session& session = program_.session();
  if (session.shownResampling == ResamplingKind::kBootstrap) {
    drawFrequencyChart(*frequencyChart_->chart(), bootstrapFrequencyChart(session),
                       QStringLiteral("Net consumption rate C0 (class centre)"));
  } else {
    drawFrequencyChart(*frequencyChart_->chart(), jackknifeFrequencyChart(session),
                       QStringLiteral("Pseudo-value of C0 (class centre)"));
  }
  chartArea_->setCurrentWidget(frequencyChart_);
  saveChartButton_->setEnabled(true);
  openResamplingResults();
}

void MainWindow::leaveResamplingResults() {
  program_.leaveResamplingResults();
  greetingLine_->show();
  instructions_->show();
  instructions_->setText(closingInstructionText());
  setBold(*instructions_, kClosingTextPointSize);
  applyCommandStates();
}

void MainWindow::printThisWindow() { dialogs_.printWindow(objectName().toStdString()); }

void MainWindow::beginClosing() {
  hide();
  showHelp(Help::kFarewell);
}

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  backgroundTask_.requestStop();
  greetingTimer_.stop();
  for (QWidget* window : std::initializer_list<QWidget*>{
           titleScreen_.get(), resultsWindow_.get(), stageMeansWindow_.get(),
           resamplingResultsWindow_.get(), dataFormatWindow_.get(), outputFilesWindow_.get(),
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
  titleScreen_ = std::make_unique<TitleScreen>();
  connect(titleScreen_.get(), &TitleScreen::dismissed, this,
          [this] { showHelp(Help::kIntroduction); });
  titleScreen_->show();
}

void MainWindow::startWithDataFile(const std::string& path) {
  returnToMain();
  perform([&] {
    if (const auto request = askOpenNamed(dialogs_, path)) program_.run(*request);
  });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  endProgram();
}

}  // namespace pellmar
