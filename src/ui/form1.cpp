#include "ui/form1.h"

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

#include "ui/chart_export.h"
#include "ui/clickable_label.h"
#include "ui/data_format_form.h"
#include "ui/done_form.h"
#include "ui/frequency_chart.h"
#include "ui/graph_form.h"
#include "ui/help_screen.h"
#include "ui/help_texts.h"
#include "ui/jack_boot_form.h"
#include "ui/logo.h"
#include "ui/quiz_screen.h"
#include "ui/quotations.h"
#include "ui/result_form.h"
#include "ui/stage_mean_form.h"
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

Form1::Form1(Dialogs& dialogs) : dialogs_(dialogs), program_(dialogs_) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Pellmar"));
  buildWindow();
  loadTexts();
  dialogs_.onProgress([this](const std::string& label, long done, long total) {
    showProgress(label, done, total);
  });
  program_.onShowConsumptionChart([this] { showChart(LifeChart::kCij); });
  // The resampling commands run on a worker thread; their results are shown on this one.
  program_.onResamplingFinished([this] { runOnUiThread([this] { showResamplingResults(); }); });
  greetingTimer_.setInterval(kGreetingIntervalMs);
  connect(&greetingTimer_, &QTimer::timeout, this, &Form1::greetingTick);
  greetingTimer_.start();
  applyCommandStates();
}

Form1::~Form1() = default;

QPushButton* Form1::addButton(const char* name, const QString& caption, const QString& toolTip,
                              QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  if (!toolTip.isEmpty()) button->setToolTip(toolTip);
  return button;
}

void Form1::buildWindow() {
  auto* title = new ClickableLabel(QStringLiteral("Label12"), this, true);
  connect(title, &ClickableLabel::clicked, this, [this] { showHelp(Help::kIntroduction); });
  connect(title, &ClickableLabel::doubleClicked, this, [this] { showHelp(Help::kNotes); });
  title_ = title;

  auto* greeting = new ClickableLabel(QStringLiteral("Label13"), this);
  setBold(*greeting, 14);
  greeting->setStyleSheet(QStringLiteral("color: #2e6b2e;"));
  auto* instructions = new ClickableLabel(QStringLiteral("Label14"), this);
  instructions->setWordWrap(true);
  for (ClickableLabel* label : {greeting, instructions}) {
    connect(label, &ClickableLabel::clicked, this, [this] { showHelp(Help::kNotes); });
    connect(label, &ClickableLabel::doubleClicked, this, [this] { showHelp(Help::kNotes); });
  }
  greetingLine_ = greeting;
  instructions_ = instructions;

  auto* notice = new ClickableLabel(QStringLiteral("Label1"), this);
  notice->setStyleSheet(QStringLiteral("color: red;"));
  connect(notice, &ClickableLabel::clicked, this, [this] {
    program_.checkDataFile();
    afterCommand();
  });
  notice_ = notice;

  quotation_ = new QLabel(this);
  quotation_->setObjectName(QStringLiteral("Label3"));
  quotation_->setWordWrap(true);
  quotation_->setStyleSheet(QStringLiteral("font-style: italic; color: #444;"));

  auto* clock = new ClickableLabel(QStringLiteral("Label6"), this);
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

QWidget* Form1::buildStepsArea() {
  auto* area = new QWidget(this);
  area->setObjectName(QStringLiteral("stepsArea"));
  auto* grid = new QGridLayout;

  auto* step1 = stepLabel("Label2", QStringLiteral("Step 1."), area);
  step1->setToolTip(QStringLiteral("Chech datafile"));
  step1->setCursor(Qt::PointingHandCursor);
  connect(step1, &ClickableLabel::clicked, this, [this] {
    program_.checkDataFile();
    afterCommand();
  });
  QPushButton* open = addButton("cmdOpenDataFile", QStringLiteral("Open data file"),
                                QStringLiteral("Open data file"), area);
  connect(open, &QPushButton::clicked, this, [this] {
    program_.openDataFile();
    afterCommand();
  });
  QPushButton* basicRun = addButton("cmdBasicRun", QStringLiteral("Basic Run"),
                                    QStringLiteral("Run life table analysis"), area);
  connect(basicRun, &QPushButton::clicked, this, [this] {
    program_.basicRun();
    afterCommand();
  });
  auto* readSasd = new WrapButton(
      QStringLiteral(
          "Read SASD (in your life table folder) to calculate the finite predation rate"),
      area);
  readSasd->setObjectName(QStringLiteral("Command6"));
  readSasd->setToolTip(
      QStringLiteral("Read SASD file from life table folder (_10_SASD and Oviposition "
                     "age_for_PELLMAR_program_in_column.txt)"));
  connect(readSasd, &QPushButton::clicked, this, [this] {
    program_.readSasd();
    afterCommand();
  });
  QPushButton* bootstrap =
      addButton("cmdBootstrap", QStringLiteral("Bootstrap"),
                QStringLiteral("If you want to use the same bootstrap samples, please select "
                               "file no. 11 in your life table folder."),
                area);
  connect(bootstrap, &QPushButton::clicked, this, [this] {
    runLongWork([this](std::stop_token stop) { program_.bootstrap(stop); });
    showBootstrapTimes();
    afterCommand();
  });
  QPushButton* jackknife = addButton("cmdJackknife", QStringLiteral("Jackknife"), {}, area);
  connect(jackknife, &QPushButton::clicked, this, [this] {
    runLongWork([this](std::stop_token stop) { program_.jackknife(stop); });
    afterCommand();
  });
  QPushButton* compare = addButton("cmdCompare2boots", QStringLiteral("C2B"), {}, area);
  connect(compare, &QPushButton::clicked, this, [this] {
    program_.compareBootstraps();
    afterCommand();
  });
  auto* resampling = new QHBoxLayout;
  resampling->addWidget(bootstrap);
  resampling->addWidget(jackknife);
  resampling->addWidget(compare);

  grid->addWidget(step1, 0, 0);
  grid->addWidget(open, 0, 1);
  grid->addWidget(stepLabel("Label4", QStringLiteral("Step 2."), area), 1, 0);
  grid->addWidget(basicRun, 1, 1);
  grid->addWidget(stepLabel("Label5", QStringLiteral("Step 3."), area), 2, 0);
  grid->addWidget(readSasd, 2, 1);
  grid->addWidget(stepLabel("Label8", QStringLiteral("Step 4."), area), 3, 0);
  grid->addLayout(resampling, 3, 1);

  bootBegin_ = new QLabel(area);
  bootBegin_->setObjectName(QStringLiteral("lblBootBegin"));
  bootEnd_ = new QLabel(area);
  bootEnd_->setObjectName(QStringLiteral("lblBootEnd"));
  bootBegin_->hide();
  bootEnd_->hide();

  auto* action = new QGroupBox(QStringLiteral("Action"), area);
  action->setObjectName(QStringLiteral("Frame4"));
  auto* actionLayout = new QVBoxLayout(action);
  QPushButton* paired =
      addButton("Command12", QStringLiteral("Paired bootstrap test (in CORVANE)"),
                QStringLiteral("Please use the Paired Bootstrap Test in CORVANE"), action);
  connect(paired, &QPushButton::clicked, this, [this] {
    program_.pairedBootstrapTest();
    afterCommand();
  });
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
  commandWidgets_[static_cast<std::size_t>(Command::kBootstrap)] = bootstrap;
  commandWidgets_[static_cast<std::size_t>(Command::kJackknife)] = jackknife;
  commandWidgets_[static_cast<std::size_t>(Command::kCompare)] = compare;
  commandWidgets_[static_cast<std::size_t>(Command::kActionFrame)] = action;
  lockedDuringWork_.push_back(area);
  return area;
}

QWidget* Form1::buildChartArea() {
  auto* area = new QWidget(this);
  chartArea_ = new QStackedWidget(area);
  auto* placeholder = new QLabel(
      QStringLiteral("The figures of the analysis appear here after the Basic Run."), chartArea_);
  placeholder->setAlignment(Qt::AlignCenter);
  placeholder->setStyleSheet(QStringLiteral("color: #777; border: 1px solid #bbb;"));
  lifeChart_ = new QChartView(chartArea_);
  lifeChart_->setObjectName(QStringLiteral("MSChart1"));
  frequencyChart_ = new QChartView(chartArea_);
  frequencyChart_->setObjectName(QStringLiteral("MSChart2"));
  for (QChartView* view : {lifeChart_, frequencyChart_}) {
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(520, 380);
  }
  chartArea_->addWidget(placeholder);
  chartArea_->addWidget(lifeChart_);
  chartArea_->addWidget(frequencyChart_);

  saveChartButton_ = addButton(
      "cmdSaveChart", QStringLiteral("Save chart"),
      QStringLiteral("Save the chart shown as a PNG picture (300 dpi) or an SVG drawing"), area);
  saveChartButton_->setEnabled(false);
  connect(saveChartButton_, &QPushButton::clicked, this, [this] {
    saveChartWithDialog(chartArea_->currentWidget() == frequencyChart_ ? *frequencyChart_
                                                                       : *lifeChart_);
  });

  progressText_ = new QLabel(area);
  progressText_->setObjectName(QStringLiteral("lblProgress"));
  progressBar_ = new QProgressBar(area);
  progressBar_->setObjectName(QStringLiteral("progressBar"));
  progressBar_->setRange(0, 100);
  stopButton_ = addButton("cmdStop", QStringLiteral("Stop"),
                          QStringLiteral("Stop the bootstrap after the replicate under way"), area);
  connect(stopButton_, &QPushButton::clicked, this, [this] {
    longWork_.requestStop();
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

QGroupBox* Form1::buildFigureFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Select a figure to display"), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(frame);
  struct ChartButton {
    const char* name;
    const char* caption;
    const char* toolTip;
    Command command;
    LifeChart kind;
  };
  const std::array<ChartButton, 7> buttons = {{
      {"Command16", "s(x,j)", "Surivival rate to each age-stage unit (i,j)", Command::kShowSxj,
       LifeChart::kSxj},
      {"Command13", "g(x,j)", "Transition probability from n(i,j) to n(i+1,j)", Command::kShowGij,
       LifeChart::kGij},
      {"Command14", "d(x,j)", "Transition probability from n(i,j) to n(i+1,j+1)", Command::kShowDij,
       LifeChart::kDij},
      {"Command15", "c(x,j)", "Consumption rate of n(i,j)", Command::kShowCij, LifeChart::kCij},
      {"Command3", "l(x)", "Age-specific survival rate", Command::kShowLx, LifeChart::kLx},
      {"Command5", "c(x)", "Age-specific consumption rate", Command::kShowCx, LifeChart::kCx},
      {"Command7", "l(x)c(x)", "Age-specific maternity", Command::kShowLxCx, LifeChart::kLxCx},
  }};
  int position = 0;
  for (const ChartButton& b : buttons) {
    QPushButton* button =
        addButton(b.name, QString::fromLatin1(b.caption), QString::fromLatin1(b.toolTip), frame);
    const LifeChart kind = b.kind;
    connect(button, &QPushButton::clicked, this, [this, kind] { showChart(kind); });
    grid->addWidget(button, position / 2, position % 2);
    ++position;
    commandWidgets_[static_cast<std::size_t>(b.command)] = button;
  }
  commandWidgets_[static_cast<std::size_t>(Command::kFigureFrame)] = frame;
  lockedDuringWork_.push_back(frame);
  return frame;
}

QGroupBox* Form1::buildGraphFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Graph"), this);
  frame->setObjectName(QStringLiteral("Frame2"));
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
  command("Command2", "B or J results", "Bootstrap or Jackknife results",
          [this] { openJackBootForm(); });
  QPushButton* large =
      command("Command4", "Large", "Show large graph", [this] { showLargeGraph(); });
  QPushButton* results = command("Command27", "Results", "Show analytical results in tables",
                                 [this] { showResults(); });
  QPushButton* means =
      command("Command23", "Means", "Table of means for each stage", [this] { showStageMeans(); });
  QPushButton* outputFiles = command("Command28", "Output files", "Show list of output files",
                                     [this] { showOutputFiles(); });
  command("Command24", "Data format", "Format of data file", [this] { showDataFormat(); });
  command("Command25", "References", "Show references", [this] { showHelp(Help::kReferences); });
  command("Command9", "Note well", "Special note", [this] { showHelp(Help::kNotes); });
  command("Command11", "Print page", "Print this form", [this] { printThisWindow(); });
  command("Command1", "Quit", "Quit this program", [this] { beginClosing(); });
  place(addButton("Command8", QStringLiteral("Q"), {}, frame));
  place(addButton("Command10", QStringLiteral("W"), {}, frame));

  commandWidgets_[static_cast<std::size_t>(Command::kLarge)] = large;
  commandWidgets_[static_cast<std::size_t>(Command::kResults)] = results;
  commandWidgets_[static_cast<std::size_t>(Command::kMeans)] = means;
  commandWidgets_[static_cast<std::size_t>(Command::kOutputFiles)] = outputFiles;
  lockedDuringWork_.push_back(frame);
  return frame;
}

QGroupBox* Form1::buildAuthorFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Author"), this);
  frame->setObjectName(QStringLiteral("Frame3"));
  auto* contact = new ClickableLabel(QStringLiteral("Label10"), frame);
  contact->setToolTip(QStringLiteral("Introduction"));
  contact->setText(QStringLiteral("Pellmar %1\nLife table analysis of consumption\n"
                                  "and predation rates\n\nComments and suggestions:\n"
                                  "pellmar-feedback@example.org")
                       .arg(QStringLiteral(PELLMAR_VERSION)));
  connect(contact, &ClickableLabel::clicked, this, [this] { showHelp(Help::kIntroduction); });

  auto* quiz = addButton("Command26", {}, {}, frame);
  quiz->setIcon(quizIcon());
  quiz->setIconSize(QSize(40, 40));
  quiz->setFlat(true);
  quiz->setAccessibleName(QStringLiteral("Quiz"));
  connect(quiz, &QPushButton::clicked, this, [this] { showQuiz(); });

  auto* image = new ClickableLabel(QStringLiteral("Image1"), frame);
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

void Form1::loadTexts() {
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

QWidget* Form1::commandWidget(Command command) const {
  return commandWidgets_.at(static_cast<std::size_t>(command));
}

void Form1::afterCommand() {
  applyCommandStates();
  if (program_.ended()) endProgram();
}

void Form1::applyCommandStates() {
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

void Form1::runLongWork(const std::function<void(std::stop_token)>& work) {
  for (QWidget* widget : lockedDuringWork_) widget->setEnabled(false);
  progressTracker_.emplace(ProgressTracker::Clock::now());
  progressBar_->setValue(0);
  progressText_->clear();
  stopButton_->setEnabled(true);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{progressText_, progressBar_, stopButton_}) {
    widget->show();
  }
  longWork_.run(work);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{progressText_, progressBar_, stopButton_}) {
    widget->hide();
  }
  progressTracker_.reset();
  for (QWidget* widget : lockedDuringWork_) widget->setEnabled(true);
}

void Form1::showProgress(const std::string& label, long done, long total) {
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

void Form1::showBootstrapTimes() {
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

void Form1::greetingTick() {
  const ClockReading now = dialogs_.clock();
  clockLine_->setText(fromStd(now.dateTimeText));
  greetingLine_->setText(fromStd(greeting_.tick(now.hour)));
}

void Form1::showChart(LifeChart kind) {
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
      break;
  }
}

void Form1::connectReturn(ReturnWindow& window) {
  connect(&window, &ReturnWindow::returned, this, &Form1::returnToMain);
}

void Form1::openWindow(ReturnWindow& window) {
  hide();
  window.bringUp();
}

void Form1::returnToMain() {
  if (ended_) return;
  show();
  raise();
  activateWindow();
}

void Form1::showHelp(Help help) {
  std::unique_ptr<HelpScreen>& screen = helpScreens_.at(static_cast<std::size_t>(help));
  if (!screen) {
    switch (help) {
      case Help::kIntroduction:
        screen = std::make_unique<HelpScreen>(QStringLiteral("introform"),
                                              QStringLiteral("Introduction"), introductionText(),
                                              QStringLiteral("Continue"));
        break;
      case Help::kNotes:
        screen =
            std::make_unique<HelpScreen>(QStringLiteral("noteform"), QStringLiteral("Note well"),
                                         notesText(), QStringLiteral("Back to the main form"));
        break;
      case Help::kReferences:
        screen =
            std::make_unique<HelpScreen>(QStringLiteral("referform"), QStringLiteral("References"),
                                         referencesText(), QStringLiteral("Back to the main form"));
        break;
      case Help::kPrintingHints:
        screen = std::make_unique<HelpScreen>(
            QStringLiteral("printhintform"),
            QStringLiteral("What you should know about these files"), printingHintsText(),
            QStringLiteral("Back to the main form"));
        break;
      case Help::kFarewell:
        screen =
            std::make_unique<HelpScreen>(QStringLiteral("closeform1"), QStringLiteral("Thank you"),
                                         farewellText(), QStringLiteral("Next"));
        // "Next" leads on to the last closing screen instead of back to the main window.
        screen->button()->disconnect();
        connect(screen->button(), &QPushButton::clicked, this, [this] {
          helpScreens_[static_cast<std::size_t>(Help::kFarewell)]->hide();
          showHelp(Help::kGoodbye);
        });
        break;
      case Help::kGoodbye:
        screen = std::make_unique<HelpScreen>(QStringLiteral("closeform2"),
                                              QStringLiteral("Auf Wiedersehen"), goodbyeText(),
                                              QStringLiteral("End Pellmar"));
        break;
    }
    if (help == Help::kGoodbye) {
      connect(screen.get(), &ReturnWindow::returned, this, &Form1::endProgram);
    } else {
      connectReturn(*screen);
    }
  }
  openWindow(*screen);
}

void Form1::showResults() {
  if (!resultForm_) {
    resultForm_ = std::make_unique<ResultForm>();
    connectReturn(*resultForm_);
  }
  resultForm_->load(program_.session());
  openWindow(*resultForm_);
}

void Form1::showStageMeans() {
  if (!stageMeanForm_) {
    stageMeanForm_ = std::make_unique<StageMeanForm>(dialogs_);
    connectReturn(*stageMeanForm_);
  }
  stageMeanForm_->load(program_.session());
  openWindow(*stageMeanForm_);
}

void Form1::showOutputFiles() {
  if (!doneForm_) {
    doneForm_ = std::make_unique<DoneForm>(dialogs_);
    connectReturn(*doneForm_);
    connect(doneForm_.get(), &DoneForm::hintsRequested, this, [this] {
      doneForm_->hide();
      showHelp(Help::kPrintingHints);
    });
  }
  doneForm_->load(program_.session());
  openWindow(*doneForm_);
}

void Form1::showDataFormat() {
  if (!dataFormatForm_) {
    dataFormatForm_ = std::make_unique<DataFormatForm>(dialogs_);
    connectReturn(*dataFormatForm_);
  }
  openWindow(*dataFormatForm_);
}

void Form1::showLargeGraph() {
  if (!graphForm_) {
    graphForm_ = std::make_unique<GraphForm>(program_.session(), dialogs_);
    connectReturn(*graphForm_);
    connect(graphForm_.get(), &GraphForm::quitRequested, this, [this] { beginClosing(); });
  }
  hide();
  graphForm_->open();
}

void Form1::showQuiz() {
  if (!quizScreen_) {
    quizScreen_ = std::make_unique<QuizScreen>();
    connectReturn(*quizScreen_);
  }
  openWindow(*quizScreen_);
}

void Form1::openJackBootForm() {
  if (!jackBootForm_) {
    jackBootForm_ = std::make_unique<JackBootForm>(dialogs_);
    connectReturn(*jackBootForm_);
    connect(jackBootForm_.get(), &JackBootForm::wentBack, this, &Form1::leaveResamplingResults);
  }
  const Session& session = program_.session();
  std::optional<ResamplingEstimate> estimate;
  if (session.shownResampling == ResamplingKind::kBootstrap && session.bootstrap.done) {
    estimate = ResamplingEstimate{session.bootstrap.c0.mean, session.bootstrap.c0.se};
  } else if (session.shownResampling == ResamplingKind::kJackknife && session.jackknife.done) {
    estimate = ResamplingEstimate{session.jackknife.jackMean, session.jackknife.jackSE};
  }
  jackBootForm_->present(fromStd(session.study.projectTitle), estimate);
  openWindow(*jackBootForm_);
}

void Form1::showResamplingResults() {
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
  openJackBootForm();
}

void Form1::leaveResamplingResults() {
  program_.leaveResamplingResults();
  greetingLine_->show();
  instructions_->show();
  instructions_->setText(closingInstructionText());
  setBold(*instructions_, kClosingTextPointSize);
  applyCommandStates();
}

void Form1::printThisWindow() { dialogs_.printWindow(objectName().toStdString()); }

void Form1::beginClosing() {
  hide();
  showHelp(Help::kFarewell);
}

void Form1::endProgram() {
  if (ended_) return;
  ended_ = true;
  longWork_.requestStop();
  greetingTimer_.stop();
  for (QWidget* window : std::initializer_list<QWidget*>{
           titleScreen_.get(), resultForm_.get(), stageMeanForm_.get(), jackBootForm_.get(),
           dataFormatForm_.get(), doneForm_.get(), graphForm_.get(), quizScreen_.get()}) {
    if (window != nullptr) window->hide();
  }
  for (const auto& screen : helpScreens_) {
    if (screen) screen->hide();
  }
  hide();
  emit programEnded();
}

void Form1::start() {
  titleScreen_ = std::make_unique<TitleScreen>();
  connect(titleScreen_.get(), &TitleScreen::dismissed, this,
          [this] { showHelp(Help::kIntroduction); });
  titleScreen_->show();
}

void Form1::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  endProgram();
}

}  // namespace pellmar
