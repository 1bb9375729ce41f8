// The desktop's experiments: a project made from data files, its settings edited and saved,
// and its run, whose results folder is the command line's.
#include "ui/views/experiment_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <clocale>

#include "app/project_file.h"
#include "main_window_fixture.h"
#include "support/command_line_run.h"

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

class ExperimentWindowTest : public MainWindowTest {
 protected:
  // Two treatments with their fecundity files beside the example study: the study itself and
  // a copy of it. Returns the project file the save dialog is to give.
  std::string chooseTwoTreatments() {
    const path folder = folder_.folder();
    test_support::fs::copy_file(folder_.data(), folder / "copy.txt");
    for (const char* name : {"lady_beetle_fecundity.txt", "copy_fecundity.txt"}) {
      test_support::fs::copy_file(path(EXAMPLES_DIR) / "lady_beetle_fecundity.txt", folder / name);
    }
    dialogs_.chooseFiles({folder_.data().string(), (folder / "copy.txt").string()});
    const std::string project = (folder / "beetles").string();
    dialogs_.chooseFile(project);
    return project + ".pellmar";
  }

  ExperimentWindow& experimentWindow() const {
    auto* found = qobject_cast<ExperimentWindow*>(test_support::window("experimentWindow"));
    EXPECT_NE(found, nullptr);
    return *found;
  }
};

TEST_F(ExperimentWindowTest, ANewProjectRunsAndWritesWhatTheCommandLineWrites) {
  const std::string project = chooseTwoTreatments();
  action("newProjectAction")->trigger();
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  EXPECT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;
  ASSERT_TRUE(test_support::fs::is_regular_file(project));
  EXPECT_EQ(dialogs_.saveProposals(),
            (std::vector<std::string>{(folder_.folder() / "experiment.pellmar").string()}));

  ASSERT_TRUE(test_support::shown("experimentWindow"));
  ExperimentWindow& window = experimentWindow();
  const QTableWidget& treatments = *window.treatmentsGrid();
  ASSERT_EQ(treatments.rowCount(), 3);
  EXPECT_EQ(treatments.item(0, 2)->text(), QStringLiteral("Fecundity file"));
  EXPECT_EQ(treatments.item(1, 0)->text(), QStringLiteral("lady_beetle"));
  EXPECT_EQ(treatments.item(2, 0)->text(), QStringLiteral("copy"));
  EXPECT_EQ(window.replicatesBox()->value(), 10000) << "the project file's default";
  EXPECT_TRUE(window.seedBox()->text().isEmpty()) << "a new project draws its seed at each run";

  window.replicatesBox()->setValue(30);
  window.seedBox()->setText(QStringLiteral("11"));
  window.runButton()->click();
  ASSERT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;
  EXPECT_TRUE(window.runButton()->isEnabled());
  EXPECT_TRUE(window.stopButton()->isHidden());

  // The paper's table: C0 first, each treatment's estimate ± SE and letters.
  const QTableWidget& table = *window.tableGrid();
  ASSERT_GT(table.rowCount(), 1);
  EXPECT_EQ(table.item(0, 3)->text(), QStringLiteral("lady_beetle"));
  EXPECT_EQ(table.item(0, 4)->text(), QStringLiteral("copy"));
  bool sawC0 = false;
  for (int row = 1; row < table.rowCount(); ++row) {
    if (table.item(row, 0)->text() != QStringLiteral("Net consumption rate (C0)")) continue;
    sawC0 = true;
    EXPECT_TRUE(table.item(row, 3)->text().contains(QStringLiteral(" ± ")));
    EXPECT_TRUE(table.item(row, 3)->text().endsWith(QStringLiteral(" a")));
  }
  EXPECT_TRUE(sawC0);
  const path results = folder_.folder() / "beetles_results";
  EXPECT_TRUE(window.outcomeLabel()->text().contains(
      QDir::toNativeSeparators(QString::fromStdString(results.string()))));
  // One pair at alpha 0.05 needs B > 2/0.05 - 1 before Holm can find it significant.
  EXPECT_TRUE(window.outcomeLabel()->text().contains(
      QStringLiteral("adjustment of 1 pair no pair can be significant at alpha = 0.05: use 40 "
                     "replicates or more.")));

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

TEST_F(ExperimentWindowTest, SettingsAreCheckedAsTypedAndSavedIntoTheProjectFile) {
  const std::string project = chooseTwoTreatments();
  action("newProjectAction")->trigger();
  ExperimentWindow& window = experimentWindow();

  for (const char* bad : {"12x", "-1", "18446744073709551616"}) {
    window.seedBox()->setText(QString::fromLatin1(bad));
    EXPECT_FALSE(window.runButton()->isEnabled()) << bad;
    EXPECT_FALSE(window.saveButton()->isEnabled()) << bad;
    EXPECT_FALSE(window.settingsFault().isEmpty()) << bad;
  }
  window.seedBox()->setText(QStringLiteral("18446744073709551615"));
  EXPECT_TRUE(window.runButton()->isEnabled());
  window.seedBox()->clear();
  EXPECT_TRUE(window.runButton()->isEnabled()) << "empty: a seed from the clock";

  window.replicatesBox()->setValue(2500);
  window.seedBox()->setText(QStringLiteral("42"));
  window.confidenceBox()->setValue(0.9);
  window.adjustBox()->setCurrentText(QStringLiteral("bh"));
  window.alphaBox()->setValue(0.1);
  window.redrawBarrenBox()->setChecked(true);
  window.saveButton()->click();
  ASSERT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;

  const Project saved = readProject(project);
  EXPECT_EQ(saved.bootstrap.replicates, 2500);
  EXPECT_EQ(saved.bootstrap.seed, std::optional<std::uint64_t>(42));
  EXPECT_DOUBLE_EQ(saved.bootstrap.confidence, 0.9);
  EXPECT_TRUE(saved.bootstrap.redrawBarren);
  EXPECT_EQ(saved.comparisons.adjust, PAdjustMethod::kBenjaminiHochberg);
  EXPECT_DOUBLE_EQ(saved.comparisons.alpha, 0.1);
  ASSERT_EQ(saved.treatments.size(), 2U);
  EXPECT_EQ(saved.treatments[1].fecundity,
            std::optional<std::string>((folder_.folder() / "copy_fecundity.txt").string()));

  // Opened again, as `pellmar beetles.pellmar` opens it, the window shows what was saved.
  window.close();
  window_.startWithFile(project);
  ExperimentWindow& again = experimentWindow();
  EXPECT_EQ(again.replicatesBox()->value(), 2500);
  EXPECT_EQ(again.seedBox()->text(), QStringLiteral("42"));
  EXPECT_EQ(again.adjustBox()->currentText(), QStringLiteral("bh"));
  EXPECT_TRUE(again.redrawBarrenBox()->isChecked());
}

TEST_F(ExperimentWindowTest, StopEndsTheRunWithNothingWritten) {
  chooseTwoTreatments();
  action("newProjectAction")->trigger();
  ExperimentWindow& window = experimentWindow();
  window.replicatesBox()->setValue(200000);
  // Stop is clicked while the run holds the UI thread in its event loop.
  QTimer::singleShot(20, &window, [&window] {
    EXPECT_FALSE(window.stopButton()->isHidden());
    EXPECT_FALSE(window.runButton()->isEnabled());
    EXPECT_FALSE(window.replicatesBox()->isEnabled());
    window.stopButton()->click();
  });
  window.runButton()->click();
  ASSERT_EQ(dialogs_.messages().size(), 1U);
  EXPECT_NE(dialogs_.messages()[0].text.find("stopped"), std::string::npos);
  EXPECT_NE(dialogs_.messages()[0].text.find("no file was written"), std::string::npos);
  EXPECT_FALSE(test_support::fs::exists(folder_.folder() / "beetles_results"));
  EXPECT_TRUE(window.runButton()->isEnabled());
  EXPECT_TRUE(window.replicatesBox()->isEnabled());
}

TEST_F(ExperimentWindowTest, BadProjectsAndTooFewDataFilesAreRefusedWithNothingWritten) {
  // One data file cannot be an experiment: refused before the save dialog.
  dialogs_.chooseFiles({folder_.data().string()});
  action("newProjectAction")->trigger();
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  ASSERT_EQ(dialogs_.messages().size(), 1U);
  EXPECT_NE(dialogs_.messages()[0].text.find("two data files or more"), std::string::npos);
  EXPECT_TRUE(dialogs_.saveProposals().empty());

  // A misspelt key is named, and no window opens.
  const path project = folder_.folder() / "typo.pellmar";
  std::ofstream(project) << R"({"pellmar_project": 1, "treatmnets": []})";
  dialogs_.chooseFile(project.string());
  action("openProjectAction")->trigger();
  ASSERT_EQ(dialogs_.messages().size(), 2U);
  EXPECT_EQ(dialogs_.messages()[1].kind, MessageKind::kFailure);
  EXPECT_NE(dialogs_.messages()[1].text.find("treatmnets"), std::string::npos);
  EXPECT_FALSE(test_support::shown("experimentWindow"));
  EXPECT_EQ(filesUnder(folder_.folder()),
            (std::vector<std::string>{"lady_beetle.txt", "typo.pellmar"}));
}

// The results window saves <base>.xlsx, byte for byte what pellmar-cli run --xlsx writes, even
// under a German locale, whose decimal comma would corrupt a number written through it.
TEST_F(MainWindowTest, ResultsSaveTheCommandLinesWorkbookWhateverTheLocale) {
  openExample();
  click("basicRunButton");
  dialogs_.chooseFile(besideStudy("lady_beetle_fecundity.txt"));
  click("readFecundityButton");
  click("resultsButton");
  QWidget* results = test_support::window("resultsWindow");
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
