#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <memory>

#include "ui/views/data_format_window.h"
#include "ui/views/output_files_window.h"
#include "ui/views/resampling_results_window.h"
#include "ui/views/result_tables.h"
#include "ui/views/results_window.h"
#include "ui/views/stage_means_window.h"
#include "ui/widgets/display_number.h"
#include "ui_test_support.h"

namespace pellmar {
namespace {

TEST(DisplayNumber, RoundsHalvesToEvenWithoutTrailingZeros) {
  EXPECT_EQ(displayNumber(0.5, 4), QStringLiteral("0.5"));
  EXPECT_EQ(displayNumber(2.0, 2), QStringLiteral("2"));
  EXPECT_EQ(displayNumber(2.0 / 3.0, 4), QStringLiteral("0.6667"));
  EXPECT_EQ(displayNumber(0.125, 2), QStringLiteral("0.12"));
  EXPECT_EQ(displayNumber(0.375, 2), QStringLiteral("0.38"));
  EXPECT_EQ(displayNumber(-0.25, 4), QStringLiteral("-0.25"));
  EXPECT_EQ(displayNumber(-0.0001, 2), QStringLiteral("0"));
  EXPECT_EQ(displayNumber(123456.789, 2), QStringLiteral("123456.79"));
}

// Three individuals (egg, larva, adult): all are eggs at age 0 and larvae at age 1; at age 2
// two larvae and the male; the female and the male at ages 3 and 4.
class ResultScreens : public test_support::ThreeStagesSuite {};

TEST_F(ResultScreens, MatrixGridsShowADashOutsideEachStagesAges) {
  const std::vector<ResultTab> tabs = resultTabs(analysis());
  ASSERT_EQ(tabs.size(), 10U);
  const Grid& s = tabs[0].grid;
  ASSERT_EQ(s.rows(), 6);     // heading and ages 0..4
  ASSERT_EQ(s.columns(), 5);  // ages and stage columns 1..4
  EXPECT_EQ(s.cells[0], (std::vector<QString>{"Age", "Egg", "Larv", "Fema", "Male"}));
  EXPECT_EQ(s.at(1, 1), QStringLiteral("1"));
  EXPECT_EQ(s.at(2, 1), QStringLiteral("-"));       // no egg at age 1
  EXPECT_EQ(s.at(3, 2), QStringLiteral("0.6667"));  // two larvae of three at age 2
  EXPECT_EQ(s.at(3, 3), QStringLiteral("-"));       // the female is adult from age 3
  EXPECT_EQ(s.at(3, 4), QStringLiteral("0.3333"));
  EXPECT_EQ(s.at(6 - 1, 0), QStringLiteral("4"));

  const Grid& d = tabs[2].grid;
  EXPECT_EQ(d.cells[0], (std::vector<QString>{"Age", "Egg", "P->F", "P->M", "Male"}));
  EXPECT_EQ(d.at(1, 1), QStringLiteral("1"));    // every egg hatches after age 0
  EXPECT_EQ(d.at(3, 2), QStringLiteral("0.5"));  // one of two larvae becomes the female

  const Grid& c = tabs[3].grid;
  EXPECT_EQ(c.at(2, 2), QStringLiteral("4"));    // (4 + 5 + 3) / 3
  EXPECT_EQ(c.at(3, 2), QStringLiteral("4.5"));  // (6 + 3) / 2
  EXPECT_EQ(c.at(5, 3), QStringLiteral("12"));
}

TEST_F(ResultScreens, StatisticTabsAndCurves) {
  const std::vector<ResultTab> tabs = resultTabs(analysis());
  const Grid& consumption = tabs[4].grid;
  EXPECT_EQ(consumption.cells[0], (std::vector<QString>{"", "Egg", "Larv", "Fema", "Male"}));
  EXPECT_EQ(consumption.at(1, 0), QStringLiteral("N"));
  EXPECT_EQ(consumption.at(1, 2), QStringLiteral("2"));    // two larvae completed the stage
  EXPECT_EQ(consumption.at(2, 2), QStringLiteral("7.5"));  // (10 + 5) / 2
  EXPECT_EQ(consumption.at(4, 2), QStringLiteral("2.5"));  // SE = SD / sqrt(N)
  EXPECT_EQ(consumption.at(2, 3), QStringLiteral("22"));   // the female's adult consumption
  EXPECT_EQ(consumption.at(2, 4), QStringLiteral("24"));   // the male's

  const Grid& durations = tabs[5].grid;
  EXPECT_EQ(durations.cells[0], (std::vector<QString>{"", "Egg", "Larv", "Adult"}));
  EXPECT_EQ(durations.at(2, 3), QStringLiteral("2.5"));

  EXPECT_EQ(tabs[6].caption, QStringLiteral("&l(x): survival rate"));
  EXPECT_EQ(tabs[6].grid.at(4, 1), QStringLiteral("0.6667"));
  EXPECT_EQ(tabs[7].caption, QStringLiteral("&c(x): age-specific "));
  EXPECT_EQ(tabs[7].grid.at(4, 1), QStringLiteral("9"));  // (10 + 8) / 2 survivors
  EXPECT_EQ(tabs[8].grid.cells[0][1], QStringLiteral("k(x)"));
  EXPECT_EQ(tabs[8].grid.at(4, 1), QStringLiteral("6"));  // 18 eaten per 3 newborns
  EXPECT_EQ(tabs[9].caption, QStringLiteral(" Mean consumption"));
  EXPECT_EQ(tabs[9].grid.at(1, 0), QStringLiteral("Total consumption"));
  EXPECT_EQ(tabs[9].grid.at(1, 1), QStringLiteral("22.33"));  // (32 + 29 + 6) / 3
}

TEST_F(ResultScreens, ResultWindowHasTheTenTabsInOrder) {
  ResultsWindow form;
  form.load(analysis());
  ASSERT_EQ(form.tabs()->count(), 10);
  const QStringList captions = {"Matrix S", "Matrix G",    "Matrix D",
                                "Matrix C", "Consumption", "Stage mean"};
  for (int k = 0; k < captions.size(); ++k) EXPECT_EQ(form.tabs()->tabText(k), captions[k]);
  EXPECT_EQ(form.grid(0)->item(3, 3)->text(), QStringLiteral("-"));
  EXPECT_EQ(form.grid(0)->item(0, 2)->textAlignment(), Qt::AlignCenter);
  // Loading again shows the same state and keeps ten tabs.
  form.load(analysis());
  EXPECT_EQ(form.tabs()->count(), 10);
}

TEST_F(ResultScreens, StageMeansFillOneRowPerStageAndClearTheRest) {
  ScriptedDialogs dialogs;
  StageMeansWindow form(dialogs);
  form.load(analysis());
  EXPECT_EQ(form.heading()->text(), QStringLiteral("Three-stage cohort (detailed results see ") +
                                        QString::fromStdString(analysis().basicReportPath()) +
                                        QStringLiteral(")."));
  const QTableWidget& grid = *form.grid();
  ASSERT_EQ(grid.rowCount(), 10);
  EXPECT_EQ(grid.item(0, 0)->text(), QStringLiteral("Stage"));
  EXPECT_EQ(grid.item(2, 0)->text(), QStringLiteral("Larv"));
  EXPECT_EQ(grid.item(2, 1)->text(), QStringLiteral("1.5"));
  EXPECT_EQ(grid.item(2, 2)->text(), QStringLiteral("0.5"));
  EXPECT_EQ(grid.item(3, 0)->text(), QStringLiteral("Adult"));
  for (int row = 4; row < 10; ++row) EXPECT_TRUE(grid.item(row, 0)->text().isEmpty());
}

TEST(ResamplingResultsWindow, EstimateCellsAndTheBeep) {
  ScriptedDialogs dialogs;
  dialogs.fixClock(ClockReading{"2026-05-04 09:03:07", 9, 3, 7});
  ResamplingResultsWindow form(dialogs);
  form.present(QStringLiteral("Moth study"), std::nullopt);
  EXPECT_EQ(dialogs.beeps(), 1);
  EXPECT_EQ(form.grid()->rowCount(), 1);
  EXPECT_EQ(form.grid()->item(0, 6)->text(), QStringLiteral("Lower 95%"));
  EXPECT_EQ(form.grid()->item(0, 7)->text(), QStringLiteral("Upper 95%"));
  EXPECT_EQ(form.findChild<QLabel*>("dateLabel")->text(), QStringLiteral("2026-05-04"));
  EXPECT_EQ(form.findChild<QLabel*>("timeLabel")->text(), QStringLiteral("09:03:07"));

  ResamplingShown shown;
  shown.method = QStringLiteral("Bootstrap of 40 replicates of 12 individuals");
  shown.seed = 18446744073709551615U;
  shown.confidence = 0.9;
  shown.rows = {SummaryRow{"C0", "", "all", 61.234567, ResampledEstimate{60.5, 2.3451, 57, 64, 40}},
                SummaryRow{"stage_consumption", "Larva, late", "F", 7.5, std::nullopt},
                SummaryRow{"R0", "", "all", 12, ResampledEstimate{12, std::nullopt, 12, 12, 1}}};
  form.present(QStringLiteral("Moth study"), shown);
  const QTableWidget& grid = *form.grid();
  ASSERT_EQ(grid.rowCount(), 4);
  EXPECT_EQ(grid.item(0, 6)->text(), QStringLiteral("Lower 90%"));
  const QStringList c0{QStringLiteral("Net consumption rate (C0)"),
                       QString(),
                       QStringLiteral("all"),
                       QStringLiteral("61.2346"),
                       QStringLiteral("60.5"),
                       QStringLiteral("2.3451"),
                       QStringLiteral("57"),
                       QStringLiteral("64"),
                       QStringLiteral("40")};
  for (int column = 0; column < 9; ++column) EXPECT_EQ(grid.item(1, column)->text(), c0[column]);
  EXPECT_EQ(grid.item(2, 1)->text(), QStringLiteral("Larva, late"));
  EXPECT_TRUE(grid.item(2, 4)->text().isEmpty());
  EXPECT_TRUE(grid.item(3, 5)->text().isEmpty()) << "one replicate has no SE";
  EXPECT_EQ(form.findChild<QLabel*>("seedLabel")->text(), QStringLiteral("18446744073709551615"));
  EXPECT_EQ(dialogs.beeps(), 2);
}

TEST(OutputFilesWindow, ReportFirstThenEveryOtherFileWritten) {
  const std::vector<std::string> written = {"/s/moth_0_Basic_Output.txt", "/s/moth_1_Fig_Cxj.txt"};
  EXPECT_EQ(latestReport(written, "/s/moth_0_Basic_Output.txt"), "/s/moth_0_Basic_Output.txt");
  EXPECT_EQ(latestReport({}, "/s/moth_0_Basic_Output.txt"), "/s/moth_0_Basic_Output.txt");
  std::vector<std::string> afterBootstrap = written;
  afterBootstrap.emplace_back("/s/moth_0_Bootstrap_Output.txt");
  afterBootstrap.emplace_back("/s/moth_4_Bootstrap_C0_in column.txt");
  EXPECT_EQ(latestReport(afterBootstrap, "/s/moth_0_Basic_Output.txt"),
            "/s/moth_0_Bootstrap_Output.txt");

  EXPECT_EQ(describeOutputFile("moth_1_Fig_Cxj.txt"), QStringLiteral("Figure data"));
  EXPECT_EQ(describeOutputFile("moth_24_Bootstrap_Stage consume-1-in Row.txt"),
            QStringLiteral("Bootstrap results"));
  EXPECT_EQ(describeOutputFile("moth_5_Pseudo_Consumption_Rate_For_t-test.txt"),
            QStringLiteral("Jackknife results"));
  EXPECT_EQ(describeOutputFile("moth_W_L1_Female_consumption.txt"),
            QStringLiteral("Consumption of each individual, for statistics"));
}

TEST_F(ResultScreens, OutputFilesWindowListsWhatTheRunWrote) {
  ScriptedDialogs dialogs;
  OutputFilesWindow form(dialogs);
  form.load(analysis());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Output files"));
  EXPECT_TRUE(form.reportFile()->text().endsWith(QStringLiteral("study_0_Basic_Output.txt")));
  EXPECT_EQ(form.files()->rowCount(), static_cast<int>(analysis().writtenPaths().size()) - 1);
  EXPECT_EQ(form.files()->item(0, 1)->text(),
            QString::fromStdString(
                test_support::fs::path(analysis().writtenPaths()[1]).filename().string()));
}

TEST(DataFormatWindow, TheExampleIsAValidDataFile) {
  const test_support::TemporaryFolder folder;
  const test_support::fs::path data = folder.path() / "example.txt";
  {
    std::ofstream out(data, std::ios::binary);
    out << exampleDataFile().toStdString();
  }
  ScriptedDialogs dialogs;
  DataFormatWindow form(dialogs);
  EXPECT_EQ(form.example()->toPlainText(), exampleDataFile());
  EXPECT_TRUE(exampleDataFile().contains(QStringLiteral(" 5,N,2,-5,-1,4,3,3,2,2,-1\n")));
  EXPECT_TRUE(exampleDataFile().contains(QStringLiteral(" 6,N,3,2,-4,-1,3,5,-1,-1\n")));

  InputFileReader reader;
  EXPECT_EQ(Analysis::open(OpenRequest{data.string(), 1}, folder.file("example"), reader)
                .study()
                .individualCount,
            6);
}

}  // namespace
}  // namespace pellmar
