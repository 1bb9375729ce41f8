#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLegend>
#include <QLegendMarker>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <algorithm>

#include "main_window_fixture.h"
#include "ui/classic/quotations.h"
#include "ui/views/resampling_results_window.h"
#include "ui/views/table_takeaway.h"
#include "ui/widgets/clickable_label.h"
#include "ui/widgets/display_number.h"

namespace pellmar {
namespace {

using test_support::exampleStudy;
using test_support::MainWindowTest;
using test_support::Seen;
using test_support::shown;
using test_support::StudyFolder;
using test_support::fs::path;

constexpr Seen E = Seen::kEnabled;
constexpr Seen D = Seen::kDisabled;
constexpr Seen H = Seen::kHidden;

TEST_F(MainWindowTest, CommandStatesOverARun) {
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("Pellmar"));
  expectStates({{Command::kOpenDataFile, E},
                {Command::kCheckDataFile, E},
                {Command::kBasicRun, D},
                {Command::kJackknife, D},
                {Command::kBootstrap, D},
                {Command::kCompare, H},
                {Command::kReadSasd, D},
                {Command::kOutputFiles, D},
                {Command::kResults, D},
                {Command::kMeans, D},
                {Command::kLarge, D},
                {Command::kFigureFrame, D},
                {Command::kActionFrame, D}});
  for (const char* always : {"resamplingResultsButton", "dataFormatButton", "referencesButton",
                             "notesButton", "printPageButton", "quitButton"}) {
    EXPECT_TRUE(page().findChild<QWidget*>(always)->isEnabled()) << always;
  }

  openExample();
  expectStates({{Command::kOpenDataFile, E},
                {Command::kCheckDataFile, E},
                {Command::kBasicRun, E},
                {Command::kJackknife, D},
                {Command::kBootstrap, D},
                {Command::kCompare, H},
                {Command::kReadSasd, D},
                {Command::kLarge, D},
                {Command::kFigureFrame, D}});
  EXPECT_EQ(window_.focusWidget(), window_.commandWidget(Command::kBasicRun));

  click("basicRunButton");
  expectStates({{Command::kOpenDataFile, E},
                {Command::kBasicRun, E},
                {Command::kJackknife, E},
                {Command::kBootstrap, E},
                {Command::kCompare, D},
                {Command::kReadSasd, E},
                {Command::kOutputFiles, E},
                {Command::kResults, E},
                {Command::kMeans, E},
                {Command::kLarge, E},
                {Command::kFigureFrame, E},
                {Command::kActionFrame, D}});
  for (const Command chart : kChartCommands) EXPECT_EQ(seen(chart), E);
  EXPECT_EQ(window_.focusWidget(), window_.commandWidget(Command::kShowSxj));
  // The run ends by drawing the age-stage consumption rate.
  EXPECT_TRUE(window_.lifeChartView()->isVisibleTo(&window_));
  EXPECT_EQ(window_.lifeChartView()->chart()->title(),
            QStringLiteral("Age-stage specific consumption rate"));
  EXPECT_FALSE(window_.frequencyChartView()->isVisibleTo(&window_));
}

TEST_F(MainWindowTest, WritesTheSameFilesAsTheCommandLine) {
  openExample();
  click("basicRunButton");
  ASSERT_TRUE(dialogs_.messages().empty());
  ASSERT_GT(window_.desktop().analysis().writtenPaths().size(), 10U);
  EXPECT_EQ(path(window_.desktop().analysis().writtenPaths().front()).filename(),
            "lady_beetle_0_Basic_Output.txt");
  expectSameFilesAsCli(CliOptions{}, {});
}

TEST_F(MainWindowTest, BootstrapRunsOffTheUiThreadAndMatchesTheCommandLine) {
  constexpr std::uint64_t kSeed = 20260504;
  openExample();
  click("basicRunButton");
  dialogs_.chooseFile(besideStudy("lady_beetle_10_SASD.txt"));
  click("readSasdButton");
  ASSERT_EQ(messageTitles(), std::vector<std::string>{"Finite predation rate"});
  expectStates({{Command::kReadSasd, E}, {Command::kBootstrap, E}, {Command::kJackknife, E}});

  // The seed typed reproduces the command line's run with --seed.
  dialogs_.answerPrompt("2").answerPrompt("1001").answerPrompt("100");
  dialogs_.answerPrompt(std::to_string(kSeed)).answerYesNo(false);
  click("bootstrapButton");
  EXPECT_EQ(messageTitles(),
            (std::vector<std::string>{"Finite predation rate", "Normal density curve."}));
  EXPECT_TRUE(dialogs_.scriptUsedUp());

  // Every step can run again; the life table's charts stay at hand beside the frequencies.
  expectStates({{Command::kOpenDataFile, E},
                {Command::kCheckDataFile, E},
                {Command::kBasicRun, E},
                {Command::kJackknife, E},
                {Command::kBootstrap, E},
                {Command::kReadSasd, E},
                {Command::kLarge, E},
                {Command::kFigureFrame, E}});
  for (const Command chart : kChartCommands) {
    EXPECT_TRUE(window_.commandWidget(chart)->isEnabled());
  }
  EXPECT_FALSE(window_.lifeChartView()->isVisibleTo(&window_));
  EXPECT_TRUE(window_.frequencyChartView()->isVisibleTo(&window_));
  EXPECT_EQ(window_.frequencyChartView()->chart()->legend()->markers().front()->label(),
            QStringLiteral("B = 1001"));
  ASSERT_TRUE(viewShown("resamplingResultsWindow"));
  QWidget* results = view("resamplingResultsWindow");
  EXPECT_EQ(results->findChild<QLabel*>("seedLabel")->text(), QString::number(kSeed));
  // Every quantity of the summary, with its replicates where the bootstrap computed it.
  const auto* grid = results->findChild<QTableWidget*>("estimateGrid");
  const std::vector<SummaryRow> summary = window_.desktop().analysis().summary();
  ASSERT_EQ(grid->rowCount(), static_cast<int>(summary.size()) + 1);
  EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("Net consumption rate (C0)"));
  EXPECT_EQ(grid->item(1, 8)->text(), QStringLiteral("1001"));
  EXPECT_EQ(grid->item(1, 5)->text(), QString::number(*summary[0].resampled->se, 'g', 6));
  EXPECT_EQ(grid->item(2, 0)->text(), QStringLiteral("Stage duration"));
  EXPECT_FALSE(grid->item(2, 6)->text().isEmpty());
  EXPECT_TRUE(
      label("bootstrapBeganLabel")->text().startsWith(QStringLiteral("Bootstrap begins at:\n")));
  EXPECT_TRUE(label("bootstrapEndedLabel")->isVisibleTo(&window_));
  EXPECT_FALSE(page().findChild<QWidget*>(QStringLiteral("progressBar"))->isVisibleTo(&window_));

  CliOptions options;
  options.sasdFile = "lady_beetle_10_SASD.txt";
  options.bootstrapReplicates = 1001;
  options.sampleSize = 100;
  options.seed = kSeed;
  expectSameFilesAsCli(options, {"lady_beetle_10_SASD.txt"});

  // Any step runs again without a new analysis: the jackknife after the bootstrap writes what
  // one run of the steps before it and the jackknife writes, and so does a bootstrap after it.
  click("jackknifeButton");
  // It tells what the run of its steps says, as the steps do.
  ASSERT_EQ(messageTitles().size(), 3U) << messageTitles().back();
  EXPECT_EQ(messageTitles().back(), "Jackknife");
  EXPECT_EQ(dialogs_.messages().back().kind, MessageKind::kResult);
  EXPECT_TRUE(window_.desktop().analysis().jackknife().has_value());
  EXPECT_FALSE(window_.desktop().analysis().bootstrap().has_value());
  EXPECT_FALSE(label("bootstrapEndedLabel")->isVisibleTo(&window_));
  CliOptions jackknife;
  jackknife.sasdFile = "lady_beetle_10_SASD.txt";
  jackknife.jackknife = true;
  expectSameFilesAsCli(jackknife, {"lady_beetle_10_SASD.txt"});

  dialogs_.answerPrompt("2").answerPrompt("40").answerPrompt("100").answerPrompt("3");
  dialogs_.answerYesNo(false);
  click("bootstrapButton");
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  ASSERT_TRUE(window_.desktop().analysis().bootstrap().has_value());
  EXPECT_EQ(window_.desktop().analysis().bootstrap()->bootCount, 40);
  options.bootstrapReplicates = 40;
  options.seed = 3;
  expectSameFilesAsCli(options, {"lady_beetle_10_SASD.txt"});

  // Read SASD again drops the bootstrap: its table and histogram go with it.
  dialogs_.chooseFile((folder_.folder() / "lady_beetle_10_SASD.txt").string());
  click("readSasdButton");
  EXPECT_FALSE(window_.desktop().analysis().bootstrap().has_value());
  EXPECT_EQ(view("resamplingResultsWindow")->findChild<QTableWidget*>("estimateGrid")->rowCount(),
            1);
  EXPECT_TRUE(window_.frequencyChartView()->chart()->series().isEmpty());
}

// Read fecundity at step 3: the life table's curves and values on screen, the SASD button closed,
// own samples only, and the files of `pellmar-cli run --fecundity`.
TEST_F(MainWindowTest, ReadFecundityShowsTheLifeTableAndMatchesTheCommandLine) {
  openExample();
  click("basicRunButton");
  expectStates(
      {{Command::kReadSasd, E}, {Command::kReadFecundity, E}, {Command::kShowFecundity, D}});
  const auto largeFecundityButton = [this] {
    click("largeGraphButton");
    return test_support::window("largeGraphWindow")
        ->findChild<QPushButton*>(QStringLiteral("showFecundityButton"));
  };
  EXPECT_FALSE(largeFecundityButton()->isEnabled());
  test_support::window("largeGraphWindow")->close();
  dialogs_.chooseFile(besideStudy("lady_beetle_fecundity.txt"));
  click("readFecundityButton");
  ASSERT_EQ(messageTitles(), std::vector<std::string>{"Finite predation rate"});
  EXPECT_EQ(dialogs_.messages()[0].text.rfind("R0 =", 0), 0U);
  // Read SASD stays at hand: it would run again from the Basic Run, in place of the fecundity.
  expectStates({{Command::kReadSasd, E},
                {Command::kReadFecundity, E},
                {Command::kShowFecundity, E},
                {Command::kBootstrap, E}});
  EXPECT_EQ(window_.lifeChartView()->chart()->title(),
            QStringLiteral("Age-specific survival rate and fecundity"));
  click("showSxjButton");
  click("showFecundityButton");
  EXPECT_EQ(window_.lifeChartView()->chart()->series().size(), 4);
  QPushButton* large = largeFecundityButton();
  ASSERT_TRUE(large->isEnabled());
  large->click();
  EXPECT_EQ(test_support::window("largeGraphWindow")
                ->findChild<QChartView*>(QStringLiteral("chartView"))
                ->chart()
                ->title(),
            QStringLiteral("Age-specific survival rate and fecundity"));
  test_support::window("largeGraphWindow")->close();

  click("resultsButton");
  ASSERT_TRUE(viewShown("resultsWindow"));
  auto* tabs = view("resultsWindow")->findChild<QTabWidget*>("resultTabs");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->tabText(tabs->count() - 3), QStringLiteral("Life table"));

  // The same samples are refused with the reason; own samples run.
  dialogs_.answerPrompt("1");
  click("bootstrapButton");
  EXPECT_EQ(messageTitles().back(), "Same bootstrap samples");
  EXPECT_FALSE(window_.desktop().analysis().bootstrap().has_value());
  // After the seed comes the question to draw again the replicates without eggs (No keeps
  // them); after the normal density question, the one for the samples file.
  dialogs_.answerPrompt("2").answerPrompt("20").answerPrompt("100").answerPrompt("5");
  dialogs_.answerYesNo(false).answerYesNo(false).answerYesNo(true);
  click("bootstrapButton");
  EXPECT_TRUE(window_.desktop().analysis().bootstrap().has_value());
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  EXPECT_EQ(dialogs_.messages().back().text, kSamplesFileQuestion);
  // The life table's charts stay at hand, and Read fecundity can run again.
  expectStates({{Command::kReadFecundity, E}, {Command::kShowFecundity, E}});

  CliOptions options;
  options.fecundityFile = "lady_beetle_fecundity.txt";
  options.bootstrapReplicates = 20;
  options.sampleSize = 100;
  options.seed = 5;
  options.writeSamples = true;
  expectSameFilesAsCli(options, {"lady_beetle_fecundity.txt"});
}

// The paired test takes the own-samples bootstrap as the first study, runs the second in the
// background from the menu item as from its button, and writes what `pellmar-cli compare` writes.
TEST_F(MainWindowTest, PairedBootstrapTestMatchesTheCommandLine) {
  openExample();
  click("basicRunButton");
  const std::string sasd = besideStudy("lady_beetle_10_SASD.txt");
  dialogs_.chooseFile(sasd);
  click("readSasdButton");
  QWidget* paired = window_.commandWidget(Command::kPairedTest);
  EXPECT_FALSE(paired->isEnabled());
  EXPECT_FALSE(action("pairedBootstrapTestAction")->isEnabled());
  EXPECT_EQ(qobject_cast<QPushButton*>(paired)->text(), QStringLiteral("Paired bootstrap test"));
  EXPECT_EQ(
      paired->toolTip(),
      QStringLiteral("Compare this bootstrap with a second study's by the paired bootstrap test"));
  // A sample size typed apart from the cohort's 100 is the second study's too.
  dialogs_.answerPrompt("2").answerPrompt("20").answerPrompt("60").answerPrompt("7");
  dialogs_.answerYesNo(false);
  click("bootstrapButton");
  ASSERT_TRUE(action("pairedBootstrapTestAction")->isEnabled());

  const path second = folder_.folder() / "copy.txt";
  test_support::fs::copy_file(folder_.data(), second);
  dialogs_.chooseFile(second.string()).chooseFile(sasd);
  action("pairedBootstrapTestAction")->trigger();
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  ASSERT_EQ(messageTitles(),
            (std::vector<std::string>{"Finite predation rate", "Normal density curve."}));
  ASSERT_TRUE(viewShown("pairedTestWindow"));
  QWidget* results = view("pairedTestWindow");
  const auto* grid = results->findChild<QTableWidget*>("pairedTestGrid");
  EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("Net consumption rate (C0)"));
  EXPECT_EQ(grid->item(1, 5)->text(), QStringLiteral("0"));
  EXPECT_EQ(grid->item(1, 10)->text(), QStringLiteral("20"));
  EXPECT_EQ(grid->item(0, 7)->text(), QStringLiteral("Lower 95%"));
  EXPECT_EQ(grid->item(1, 5)->data(kFullValueRole), QVariant(0.0)) << "the full value is kept";
  EXPECT_FALSE(results->findChild<QLabel*>("noteLabel")->isVisibleTo(results));
  EXPECT_TRUE(paired->isEnabled());

  StudyFolder cliFolder(exampleStudy(), "_cli");
  test_support::fs::copy_file(exampleStudy(), cliFolder.folder() / "copy.txt");
  test_support::fs::copy_file(sasd, cliFolder.folder() / "lady_beetle_10_SASD.txt");
  const std::string cliSasd = (cliFolder.folder() / "lady_beetle_10_SASD.txt").string();
  std::ostringstream out;
  std::ostringstream err;
  const auto options = parseCliOptions({"compare", cliFolder.data().string(),
                                        (cliFolder.folder() / "copy.txt").string(), "--sasd-first",
                                        cliSasd, "--sasd-second", cliSasd, "--bootstrap", "20",
                                        "--sample-size", "60", "--seed", "7"});
  ASSERT_EQ(runCli(*options, out, err), 0) << err.str();
  const auto filesIn = [](const path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : test_support::fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (!name.ends_with("_run.json") && !name.ends_with(".pellmar-lock")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> ours = filesIn(folder_.folder());
  ASSERT_EQ(ours, filesIn(cliFolder.folder()));
  EXPECT_NE(std::find(ours.begin(), ours.end(), "lady_beetle_vs_copy_paired_test.csv"), ours.end());
  EXPECT_NE(std::find(ours.begin(), ours.end(), "copy_summary.csv"), ours.end());
  for (const std::string& name : ours) {
    EXPECT_EQ(test_support::readFile(folder_.folder() / name),
              test_support::readFile(cliFolder.folder() / name))
        << name;
  }
}

TEST_F(MainWindowTest, JackknifeShowsItsEstimateAndFrequencies) {
  openExample();
  click("basicRunButton");
  click("jackknifeButton");
  ASSERT_TRUE(dialogs_.messages().empty());
  expectStates({{Command::kOpenDataFile, E},
                {Command::kBasicRun, E},
                {Command::kBootstrap, E},
                {Command::kReadSasd, E},
                {Command::kLarge, E},
                {Command::kFigureFrame, E}});
  EXPECT_EQ(window_.frequencyChartView()->chart()->legend()->markers().front()->label(),
            QStringLiteral("n = 100"));
  ASSERT_TRUE(viewShown("resamplingResultsWindow"));
  const auto* grid = view("resamplingResultsWindow")->findChild<QTableWidget*>("estimateGrid");
  EXPECT_EQ(grid->item(1, 4)->text(),
            QString::number(window_.desktop().analysis().jackknife()->jackMean, 'g', 6));
  EXPECT_FALSE(grid->item(1, 5)->text().isEmpty());
  EXPECT_EQ(grid->item(1, 8)->text(), QStringLiteral("100"));
  EXPECT_TRUE(grid->item(2, 4)->text().isEmpty()) << "the jackknife gives C0 alone";
  EXPECT_EQ(view("resamplingResultsWindow")->findChild<QLabel*>("seedLabel")->text(),
            QStringLiteral("-"));
  EXPECT_EQ(dialogs_.beeps(), 1);
}

TEST_F(MainWindowTest, ChartButtonsDrawAndStepTheFocusOn) {
  openExample();
  click("basicRunButton");
  click("showSxjButton");
  EXPECT_EQ(window_.lifeChartView()->chart()->title(),
            QStringLiteral("Survival rate to each age-stage group"));
  EXPECT_EQ(window_.focusWidget(), window_.commandWidget(Command::kShowGij));
  EXPECT_TRUE(label("instructionsLabel")->isVisibleTo(&window_));
  click("showGxjButton");
  EXPECT_EQ(window_.focusWidget(), window_.commandWidget(Command::kShowDij));
  EXPECT_FALSE(label("instructionsLabel")->isVisibleTo(&window_));
  click("showLxButton");
  EXPECT_EQ(window_.focusWidget(), window_.commandWidget(Command::kShowCx));
  click("showLxCxButton");
  EXPECT_EQ(window_.lifeChartView()->chart()->title(),
            QStringLiteral("Age-specific net consumption"));
  EXPECT_EQ(window_.focusWidget(), window_.commandWidget(Command::kShowCx));
}

// The results are views of the window, in tabs; help and the large graph are screens of their
// own, which hide the window until they return to it.
TEST_F(MainWindowTest, ResultsAreViewsAndScreensReturnToTheWindow) {
  openExample();
  click("basicRunButton");
  window_.show();
  for (const auto& [command, shown] : std::vector<std::pair<const char*, const char*>>{
           {"resultsButton", "resultsWindow"},
           {"stageMeansButton", "stageMeansWindow"},
           {"outputFilesButton", "outputFilesWindow"}}) {
    click(command);
    EXPECT_TRUE(window_.isVisible()) << command;
    EXPECT_TRUE(viewShown(shown)) << command;
    EXPECT_FALSE(
        view(shown)->findChild<QPushButton*>(QStringLiteral("backButton"))->isVisibleTo(&window_))
        << command;
  }
  for (const char* command :
       {"dataFormatButton", "referencesButton", "notesButton", "largeGraphButton", "quiz"}) {
    if (command == std::string_view("quiz")) {
      action("quizAction")->trigger();
    } else {
      click(command);
    }
    EXPECT_FALSE(window_.isVisible()) << command;
    QWidget* opened = QApplication::activeWindow();
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top != &window_ && top->isVisible()) opened = top;
    }
    ASSERT_NE(opened, nullptr) << command;
    opened->close();
    EXPECT_TRUE(window_.isVisible()) << command;
  }
  EXPECT_TRUE(shown("mainWindow"));
}

TEST_F(MainWindowTest, PrintPageAndResamplingResultsView) {
  click("printPageButton");
  EXPECT_EQ(dialogs_.printedWindows(), (std::vector<std::string>{"mainWindow"}));

  openExample();
  click("resamplingResultsButton");
  ASSERT_TRUE(viewShown("resamplingResultsWindow"));
  EXPECT_EQ(dialogs_.beeps(), 1);
  view("resamplingResultsWindow")->findChild<QPushButton*>(QStringLiteral("printButton"))->click();
  EXPECT_EQ(dialogs_.printedWindows().back(), "mainWindow") << "the view prints with its window";
  // Esc leaves a view in place.
  QTest::keyClick(view("resamplingResultsWindow"), Qt::Key_Escape);
  EXPECT_TRUE(viewShown("resamplingResultsWindow"));
}

// The page shows the instructions and nothing that changes by itself: no greeting that turns
// over, no clock, no quotation line, no buttons that do nothing. A saying is in the Help menu.
TEST_F(MainWindowTest, NothingOnThePageMovesByItself) {
  EXPECT_EQ(label("instructionsLabel")->text(), QString::fromStdString(instructionText()));
  for (const char* gone : {"greetingLabel", "clockLabel", "quotationLabel"}) {
    EXPECT_EQ(label(gone), nullptr) << gone;
  }
  for (const char* gone : {"unusedQButton", "unusedWButton"}) {
    EXPECT_EQ(page().findChild<QPushButton*>(QString::fromLatin1(gone)), nullptr) << gone;
  }
  action("quotationAction")->trigger();
  ASSERT_EQ(messageTitles(), std::vector<std::string>{"A saying"});
  EXPECT_NE(dialogs_.messages()[0].text.find(" \xE2\x80\x94 "), std::string::npos)
      << "a saying with its author: " << dialogs_.messages()[0].text;
}

// A fault in the data ends the analysis with a failure box; a fresh window, without the title
// screens, takes its place, and the failed study's lock is gone.
TEST_F(MainWindowTest, AFaultInTheDataGivesAFreshWindow) {
  StudyFolder bad(test_support::goldenStudy("three_stages"), "_bad");
  std::string text = test_support::readFile(bad.data());
  text.replace(text.find("2,M,"), 4, "2,X,");
  std::ofstream(bad.data(), std::ios::binary) << text;

  QSignalSpy ended(&window_, &MainWindow::programEnded);
  window_.show();
  dialogs_.chooseFile(bad.data().string());
  click("openDataFileButton");
  EXPECT_EQ(ended.count(), 0);
  EXPECT_TRUE(window_.isVisible());
  ASSERT_FALSE(dialogs_.messages().empty());
  EXPECT_EQ(dialogs_.messages().back().title, "Error in data file");
  EXPECT_EQ(dialogs_.messages().back().kind, MessageKind::kFailure);
  EXPECT_FALSE(window_.desktop().isOpen());
  EXPECT_FALSE(test_support::fs::exists(bad.data().parent_path() /
                                        (bad.data().stem().string() + ".pellmar-lock")));
  EXPECT_EQ(seen(Command::kOpenDataFile), Seen::kEnabled);

  // The fresh window analyses the next study as a restarted program would.
  openExample();
  click("basicRunButton");
  EXPECT_TRUE(window_.desktop().analysis().basic().has_value());
}

// Results show the information icon, refused answers the warning icon.
TEST_F(MainWindowTest, MessagesShowTheIconOfWhatTheyTell) {
  click("runSettingsButton");
  EXPECT_TRUE(dialogs_.messages().empty()) << "Run waits for a study";
  window_.findChild<ClickableLabel*>(QStringLiteral("checkDataFileStep"))->click();
  ASSERT_EQ(dialogs_.messages().size(), 1U);
  EXPECT_EQ(dialogs_.messages().back().text, "Please open a data file first.");
  EXPECT_EQ(dialogs_.messages().back().kind, MessageKind::kFailure);
  openExample();
  action("checkDataFileAction")->trigger();
  EXPECT_EQ(dialogs_.messages().back().text, "It looks OK.");
  EXPECT_EQ(dialogs_.messages().back().kind, MessageKind::kResult);
}

// Quit ends the program at once when nothing runs: no closing screens.
TEST_F(MainWindowTest, QuitEndsAtOnceWhenNothingRuns) {
  QSignalSpy ended(&window_, &MainWindow::programEnded);
  window_.show();
  click("quitButton");
  EXPECT_EQ(ended.count(), 1);
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(dialogs_.messages().empty()) << "no question when nothing is running";
}

// Opening a data file asks nothing: its time unit is a setting, remembered for the file.
TEST_F(MainWindowTest, AFileGivenAtStartOpensWithItsTimeUnitWithoutTheOpeningScreens) {
  settings_.rememberTimeUnit(QString::fromStdString(folder_.data().string()), 0.5);
  window_.startWithFile(folder_.data().string());
  EXPECT_FALSE(shown("titleScreen"));
  EXPECT_FALSE(shown("introductionScreen"));
  EXPECT_TRUE(window_.isVisible());
  EXPECT_TRUE(dialogs_.prompts().empty());
  const Study& study = window_.desktop().analysis().study();
  EXPECT_EQ(study.timeUnit, 0.5);
  EXPECT_EQ(study.dataFileName, folder_.data().string());
  expectStates({{Command::kOpenDataFile, E}, {Command::kBasicRun, E}});

  // Set in the settings before any step, the study is read again with it, and it is kept.
  auto* unit = window_.findChild<QDoubleSpinBox*>(QStringLiteral("timeUnitBox"));
  EXPECT_EQ(unit->value(), 0.5);
  unit->setValue(2);
  emit unit->editingFinished();
  EXPECT_EQ(window_.desktop().analysis().study().timeUnit, 2.0);
  EXPECT_EQ(settings_.timeUnitFor(QString::fromStdString(folder_.data().string())), 2.0);
  EXPECT_TRUE(dialogs_.messages().empty());
}

// The first start only: the title screen leads through the introduction to the window, and the
// next start opens the window at once.
TEST_F(MainWindowTest, TitleScreenLeadsThroughTheIntroductionToTheWindowOnTheFirstStart) {
  window_.start();
  ASSERT_TRUE(shown("titleScreen"));
  EXPECT_FALSE(window_.isVisible());
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
  QApplication::sendEvent(test_support::window("titleScreen"), &key);
  EXPECT_FALSE(shown("titleScreen"));
  ASSERT_TRUE(shown("introductionScreen"));
  test_support::window("introductionScreen")->close();
  EXPECT_TRUE(window_.isVisible());

  EXPECT_TRUE(settings_.introductionShown()) << "recorded as soon as shown, not at exit";
  DesktopSettings again(settingsFile());
  MainWindow next(dialogs_, again);
  next.start();
  EXPECT_TRUE(next.isVisible());
  EXPECT_FALSE(shown("titleScreen"));
}

}  // namespace
}  // namespace pellmar
