// The desktop as a workbench: a project's treatments in their panel, edited and saved with the
// settings, every treatment run into the results folder the command line writes.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <clocale>

#include "app/project_file.h"
#include "main_window_fixture.h"
#include "support/command_line_run.h"
#include "ui/views/experiment_view.h"
#include "ui/views/settings_panel.h"
#include "ui/views/treatments_panel.h"

namespace pellmar {
namespace {

using test_support::MainWindowTest;
using test_support::fs::path;

// Every file under `folder`, as paths relative to it, in order.
std::vector<std::string> filesUnder(const path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : test_support::fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files.push_back(entry.path().lexically_relative(folder).generic_string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

class WorkbenchTest : public MainWindowTest {
 protected:
  // Three treatments with their fecundity files beside the example study: the study itself
  // and two copies of it. Returns the project file the save dialog is to give.
  std::string chooseThreeTreatments() {
    const path folder = folder_.folder();
    std::vector<std::string> dataFiles{folder_.data().string()};
    test_support::fs::copy_file(path(EXAMPLES_DIR) / "lady_beetle_fecundity.txt",
                                folder / "lady_beetle_fecundity.txt");
    for (const char* name : {"warm", "cold"}) {
      const path data = folder / (std::string(name) + ".txt");
      test_support::fs::copy_file(folder_.data(), data);
      test_support::fs::copy_file(path(EXAMPLES_DIR) / "lady_beetle_fecundity.txt",
                                  folder / (std::string(name) + "_fecundity.txt"));
      dataFiles.push_back(data.string());
    }
    dialogs_.chooseFiles(dataFiles);
    const std::string project = (folder / "beetles").string();
    dialogs_.chooseFile(project);
    return project + ".pellmar";
  }

  TreatmentsPanel& treatments() const { return *window_.findChild<TreatmentsPanel*>(); }
  SettingsPanel& settings() const { return *window_.findChild<SettingsPanel*>(); }
  ExperimentView& comparison() const { return *page().findChild<ExperimentView*>(); }
  QTabWidget& views() const { return *page().findChild<QTabWidget*>("viewTabs"); }
  std::string openDataFile() const { return window_.desktop().analysis().study().dataFileName; }
};

TEST_F(WorkbenchTest, AProjectRunsEveryTreatmentAsTheCommandLineDoes) {
  const std::string project = chooseThreeTreatments();
  action("newProjectAction")->trigger();
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  ASSERT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;
  ASSERT_TRUE(test_support::fs::is_regular_file(project));
  EXPECT_EQ(dialogs_.saveProposals(),
            (std::vector<std::string>{(folder_.folder() / "experiment.pellmar").string()}));

  // The treatments in the panel, the first one's study open, the project in the title.
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("beetles.pellmar - Pellmar"));
  const QListWidget& list = *treatments().list();
  ASSERT_EQ(list.count(), 3);
  EXPECT_TRUE(list.item(0)->text().startsWith(QStringLiteral("lady_beetle\n")));
  EXPECT_TRUE(list.item(0)->text().contains(QStringLiteral("lady_beetle_fecundity.txt")));
  EXPECT_TRUE(list.item(2)->text().endsWith(QStringLiteral("not analysed")));
  EXPECT_EQ(openDataFile(), folder_.data().string());
  treatments().select(1);
  EXPECT_EQ(path(openDataFile()).filename(), "warm.txt");
  EXPECT_EQ(settings().lifeTableFileBox()->text(),
            QDir::toNativeSeparators(
                QString::fromStdString((folder_.folder() / "warm_fecundity.txt").string())));

  EXPECT_TRUE(settings().runsEveryTreatment());
  EXPECT_EQ(settings().replicatesBox()->value(), 10000) << "the project file's default";
  EXPECT_TRUE(settings().seedBox()->text().isEmpty()) << "a new project draws its seed at each run";
  settings().replicatesBox()->setValue(30);
  settings().seedBox()->setText(QStringLiteral("11"));
  settings().runButton()->click();
  ASSERT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;
  EXPECT_TRUE(settings().runButton()->isEnabled());

  // The paper's table: C0 first, each treatment's estimate ± SE and letters; every pair tested.
  EXPECT_EQ(views().currentWidget(), &comparison());
  const QTableWidget& table = *comparison().tableGrid();
  ASSERT_GT(table.rowCount(), 1);
  EXPECT_EQ(table.item(0, 3)->text(), QStringLiteral("lady_beetle"));
  EXPECT_EQ(table.item(0, 5)->text(), QStringLiteral("cold"));
  bool sawC0 = false;
  for (int row = 1; row < table.rowCount(); ++row) {
    if (table.item(row, 0)->text() != QStringLiteral("Net consumption rate (C0)")) continue;
    sawC0 = true;
    EXPECT_TRUE(table.item(row, 3)->text().contains(QStringLiteral(" ± ")));
    EXPECT_TRUE(table.item(row, 3)->text().endsWith(QStringLiteral(" a")));
  }
  EXPECT_TRUE(sawC0);
  EXPECT_EQ(comparison().pairwiseGrid()->item(1, 0)->text(), QStringLiteral("lady_beetle – warm"));
  const path results = folder_.folder() / "beetles_results";
  EXPECT_TRUE(comparison().outcomeLabel()->text().contains(
      QDir::toNativeSeparators(QString::fromStdString(results.string()))));
  EXPECT_TRUE(comparison().outcomeLabel()->text().contains(QStringLiteral("use 120 replicates")));
  for (int row = 0; row < list.count(); ++row) {
    EXPECT_TRUE(list.item(row)->text().endsWith(QStringLiteral("\nanalysed"))) << row;
  }
  // The results pane shows the selected treatment's results from the run.
  const auto* pane = page().findChild<QTableWidget*>(QStringLiteral("resultsPaneTable"));
  ASSERT_NE(pane, nullptr);
  EXPECT_FALSE(pane->item(0, 2)->text().isEmpty()) << "the SE of C0";

  // The command line with the same settings writes the same files, byte for byte.
  const path cliResults = folder_.folder() / "cli_results";
  const auto cli =
      test_support::runCommandLine({"experiment", project, "--bootstrap", "30", "--seed", "11",
                                    "--output-dir", cliResults.string()});
  ASSERT_EQ(cli.status, 0) << cli.err;
  const std::vector<std::string> ours = filesUnder(results);
  ASSERT_EQ(ours, filesUnder(cliResults));
  for (const std::string& file : ours) {
    // The run records name their front end and times.
    if (file.ends_with("run.json")) continue;
    EXPECT_EQ(readFile(results / file), readFile(cliResults / file)) << file;
  }
}

TEST_F(WorkbenchTest, TreatmentsAndSettingsEditedAreSavedIntoTheProjectFile) {
  const std::string project = chooseThreeTreatments();
  action("newProjectAction")->trigger();
  ASSERT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;

  // Settings are checked as typed; a fault holds Run back.
  for (const char* bad : {"12x", "-1", "18446744073709551616"}) {
    settings().seedBox()->setText(QString::fromLatin1(bad));
    EXPECT_FALSE(settings().runButton()->isEnabled()) << bad;
    EXPECT_FALSE(settings().fault().isEmpty()) << bad;
  }
  settings().seedBox()->setText(QStringLiteral("18446744073709551615"));
  EXPECT_TRUE(settings().runButton()->isEnabled());
  settings().seedBox()->clear();
  EXPECT_TRUE(settings().runButton()->isEnabled()) << "empty: a seed from the clock";

  // Renamed, reordered and one removed; a name that cannot be a folder's is refused.
  treatments().select(2);
  dialogs_.answerPrompt("cold room");
  window_.findChild<QPushButton*>("renameTreatmentButton")->click();
  dialogs_.answerPrompt("a/b");
  window_.findChild<QPushButton*>("renameTreatmentButton")->click();
  ASSERT_EQ(dialogs_.messages().size(), 1U);
  EXPECT_EQ(dialogs_.messages()[0].title, "Treatments");
  window_.findChild<QPushButton*>("moveTreatmentUpButton")->click();
  EXPECT_EQ(treatments().selected(), std::optional<std::size_t>(1));
  treatments().select(2);
  window_.findChild<QPushButton*>("removeTreatmentButton")->click();
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("beetles.pellmar* - Pellmar"));

  settings().replicatesBox()->setValue(2500);
  settings().seedBox()->setText(QStringLiteral("42"));
  settings().confidenceBox()->setValue(0.9);
  settings().adjustBox()->setCurrentText(QStringLiteral("bh"));
  settings().alphaBox()->setValue(0.1);
  settings().redrawBarrenBox()->setChecked(true);
  action("saveProjectAction")->trigger();
  ASSERT_EQ(dialogs_.messages().size(), 1U) << dialogs_.messages().back().text;
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("beetles.pellmar - Pellmar"));

  const Project saved = readProject(project);
  EXPECT_EQ(saved.bootstrap.replicates, 2500);
  EXPECT_EQ(saved.bootstrap.seed, std::optional<std::uint64_t>(42));
  EXPECT_DOUBLE_EQ(saved.bootstrap.confidence, 0.9);
  EXPECT_TRUE(saved.bootstrap.redrawBarren);
  EXPECT_EQ(saved.comparisons.adjust, PAdjustMethod::kBenjaminiHochberg);
  EXPECT_DOUBLE_EQ(saved.comparisons.alpha, 0.1);
  ASSERT_EQ(saved.treatments.size(), 2U);
  EXPECT_EQ(saved.treatments[0].name, "lady_beetle");
  EXPECT_EQ(saved.treatments[1].name, "cold room");
  EXPECT_EQ(saved.treatments[1].fecundity,
            std::optional<std::string>((folder_.folder() / "cold_fecundity.txt").string()));

  // Opened again, as `pellmar beetles.pellmar` opens it, the window shows what was saved.
  window_.startWithFile(project);
  ASSERT_EQ(treatments().list()->count(), 2);
  EXPECT_EQ(settings().replicatesBox()->value(), 2500);
  EXPECT_EQ(settings().seedBox()->text(), QStringLiteral("42"));
  EXPECT_EQ(settings().adjustBox()->currentText(), QStringLiteral("bh"));
  EXPECT_TRUE(settings().redrawBarrenBox()->isChecked());

  // A data file added brings its fecundity file, as the project's others do.
  dialogs_.chooseFile((folder_.folder() / "warm.txt").string());
  window_.findChild<QPushButton*>("addTreatmentButton")->click();
  ASSERT_EQ(treatments().project().treatments.size(), 3U);
  EXPECT_EQ(treatments().project().treatments[2].fecundity,
            std::optional<std::string>((folder_.folder() / "warm_fecundity.txt").string()));
  EXPECT_EQ(path(openDataFile()).filename(), "warm.txt");
}

TEST_F(WorkbenchTest, StopEndsTheRunWithNothingWritten) {
  chooseThreeTreatments();
  action("newProjectAction")->trigger();
  settings().replicatesBox()->setValue(200000);
  auto* stop = page().findChild<QPushButton*>(QStringLiteral("stopButton"));
  // Stop is clicked while the run holds the UI thread in its event loop.
  QTimer::singleShot(20, &window_, [this, stop] {
    EXPECT_FALSE(stop->isHidden());
    EXPECT_FALSE(settings().isEnabled());
    EXPECT_FALSE(treatments().isEnabled());
    EXPECT_FALSE(views().isEnabled()) << "the views read the analysis the work replaces";
    EXPECT_TRUE(stop->isEnabled());
    stop->click();
  });
  settings().runButton()->click();
  ASSERT_EQ(dialogs_.messages().size(), 1U);
  EXPECT_NE(dialogs_.messages()[0].text.find("stopped"), std::string::npos);
  EXPECT_NE(dialogs_.messages()[0].text.find("no file was written"), std::string::npos);
  EXPECT_FALSE(test_support::fs::exists(folder_.folder() / "beetles_results"));
  EXPECT_TRUE(settings().runButton()->isEnabled());
  EXPECT_TRUE(settings().isEnabled());
}

TEST_F(WorkbenchTest, BadProjectsAndTooFewDataFilesAreRefusedWithNothingWritten) {
  // One data file cannot be an experiment: refused before the save dialog.
  dialogs_.chooseFiles({folder_.data().string()});
  action("newProjectAction")->trigger();
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  ASSERT_EQ(dialogs_.messages().size(), 1U);
  EXPECT_NE(dialogs_.messages()[0].text.find("two data files or more"), std::string::npos);
  EXPECT_TRUE(dialogs_.saveProposals().empty());

  // A misspelt key is named, and nothing opens.
  const path project = folder_.folder() / "typo.pellmar";
  std::ofstream(project) << R"({"pellmar_project": 1, "treatmnets": []})";
  dialogs_.chooseFile(project.string());
  action("openProjectAction")->trigger();
  ASSERT_EQ(dialogs_.messages().size(), 2U);
  EXPECT_EQ(dialogs_.messages()[1].kind, MessageKind::kFailure);
  EXPECT_NE(dialogs_.messages()[1].text.find("treatmnets"), std::string::npos);
  EXPECT_FALSE(treatments().hasProject());
  EXPECT_EQ(filesUnder(folder_.folder()),
            (std::vector<std::string>{"lady_beetle.txt", "typo.pellmar"}));

  // A data file opened alone is a project of one: Run runs it alone.
  openExample();
  EXPECT_EQ(treatments().list()->count(), 1);
  EXPECT_FALSE(settings().runsEveryTreatment());
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("lady_beetle.txt - Pellmar"));
}

// The results window saves <base>.xlsx, byte for byte what pellmar-cli run --xlsx writes, even
// under a German locale, whose decimal comma would corrupt a number written through it.
TEST_F(MainWindowTest, ResultsSaveTheCommandLinesWorkbookWhateverTheLocale) {
  openExample();
  click("basicRunButton");
  dialogs_.chooseFile(besideStudy("lady_beetle_fecundity.txt"));
  click("readFecundityButton");
  click("resultsButton");
  QWidget* results = page().findChild<QWidget*>(QStringLiteral("resultsWindow"));
  ASSERT_NE(results, nullptr);

  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the locale de_DE.UTF-8 is missing: scripts/setup.sh generates it";
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  results->findChild<QPushButton*>("saveWorkbookButton")->click();
  QLocale::setDefault(before);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(dialogs_.messages().size(), 1U) << "only the life table's growth message";

  const path workbook = folder_.folder() / "lady_beetle.xlsx";
  ASSERT_TRUE(test_support::fs::is_regular_file(workbook));
  CliOptions options;
  options.fecundityFile = "lady_beetle_fecundity.txt";
  options.xlsx = true;
  expectSameFilesAsCli(options, {"lady_beetle_fecundity.txt"});
}

}  // namespace
}  // namespace pellmar
