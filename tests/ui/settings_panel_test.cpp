// Run with the settings: checked as typed, the files of `pellmar-cli run` with the same
// settings, and any analysis run again over the results of the last without New analysis.
#include "ui/views/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "main_window_fixture.h"

namespace pellmar {
namespace {

using test_support::MainWindowTest;

class SettingsRunTest : public MainWindowTest {
 protected:
  SettingsPanel& panel() const {
    auto* found = page().findChild<SettingsPanel*>(QStringLiteral("settingsPanel"));
    EXPECT_NE(found, nullptr);
    return *found;
  }
};

TEST_F(SettingsRunTest, SettingsAreCheckedAsTypedAndRunNeedsAStudy) {
  EXPECT_FALSE(panel().runButton()->isEnabled()) << "no data file open";
  besideStudy("lady_beetle_fecundity.txt");
  openExample();
  SettingsPanel& settings = panel();
  // The fecundity file beside the data is proposed.
  EXPECT_EQ(settings.lifeTableBox()->currentText(), QStringLiteral("Fecundity file"));
  EXPECT_TRUE(
      settings.lifeTableFileBox()->text().endsWith(QStringLiteral("lady_beetle_fecundity.txt")));
  EXPECT_TRUE(settings.runButton()->isEnabled());

  settings.resamplingBox()->setCurrentText(QStringLiteral("Bootstrap"));
  for (const char* bad : {"12x", "-1", "18446744073709551616"}) {
    settings.seedBox()->setText(QString::fromLatin1(bad));
    EXPECT_FALSE(settings.runButton()->isEnabled()) << bad;
    EXPECT_TRUE(settings.fault().startsWith(QStringLiteral("The seed must be"))) << bad;
    EXPECT_FALSE(settings.seedBox()->styleSheet().isEmpty()) << "framed in red";
  }
  settings.seedBox()->setText(QStringLiteral("18446744073709551615"));
  EXPECT_TRUE(settings.runButton()->isEnabled());
  EXPECT_TRUE(settings.seedBox()->styleSheet().isEmpty());

  settings.lifeTableBox()->setCurrentText(QStringLiteral("SASD file"));
  settings.lifeTableFileBox()->setText(QStringLiteral("no such file.txt"));
  EXPECT_EQ(settings.fault(), QStringLiteral("The SASD file no such file.txt is not there."));
  EXPECT_FALSE(settings.runButton()->isEnabled());
  settings.lifeTableFileBox()->clear();
  EXPECT_EQ(settings.fault(), QStringLiteral("Choose the SASD file, or No file."));
  settings.lifeTableBox()->setCurrentText(QStringLiteral("No file"));
  EXPECT_TRUE(settings.runButton()->isEnabled());
  // The bootstrap's own settings wait while the jackknife is chosen.
  settings.resamplingBox()->setCurrentText(QStringLiteral("Jackknife"));
  EXPECT_FALSE(settings.replicatesBox()->isEnabled());
  EXPECT_FALSE(settings.seedBox()->isEnabled());
  EXPECT_TRUE(settings.fault().isEmpty()) << "a seed the jackknife does not use is no fault";
}

// A run of the settings writes what `pellmar-cli run` writes; then the jackknife runs over the
// bootstrap's results, without New analysis, and writes what that command line writes.
TEST_F(SettingsRunTest, RunWritesTheCliFilesAndRunsAgainOverItsResults) {
  besideStudy("lady_beetle_fecundity.txt");
  openExample();
  SettingsPanel& settings = panel();
  settings.resamplingBox()->setCurrentText(QStringLiteral("Bootstrap"));
  settings.replicatesBox()->setValue(30);
  settings.sampleSizeBox()->setValue(100);
  settings.seedBox()->setText(QStringLiteral("7"));
  settings.runButton()->click();
  ASSERT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;
  const Analysis& analysis = window_.desktop().analysis();
  ASSERT_TRUE(analysis.bootstrap());
  ASSERT_TRUE(analysis.lifeTable());
  EXPECT_TRUE(window_.frequencyChartView()->isVisibleTo(&window_));
  EXPECT_TRUE(window_.commandWidget(Command::kShowSxj)->isEnabled());
  EXPECT_TRUE(settings.statusLabel()->text().startsWith(QStringLiteral("The results are those")));
  CliOptions bootstrap;
  bootstrap.fecundityFile = "lady_beetle_fecundity.txt";
  bootstrap.bootstrapReplicates = 30;
  bootstrap.sampleSize = 100;
  bootstrap.seed = 7;
  expectSameFilesAsCli(bootstrap, {"lady_beetle_fecundity.txt"});

  settings.resamplingBox()->setCurrentText(QStringLiteral("Jackknife"));
  EXPECT_TRUE(settings.statusLabel()->text().startsWith(QStringLiteral("The settings changed")));
  panel().runButton()->click();
  ASSERT_TRUE(dialogs_.messages().empty()) << dialogs_.messages().front().text;
  EXPECT_FALSE(window_.desktop().analysis().bootstrap());
  EXPECT_TRUE(window_.desktop().analysis().jackknife());
  EXPECT_TRUE(settings.statusLabel()->text().contains(QStringLiteral(" files written.")));
  CliOptions jackknife;
  jackknife.fecundityFile = "lady_beetle_fecundity.txt";
  jackknife.jackknife = true;
  expectSameFilesAsCli(jackknife, {"lady_beetle_fecundity.txt"});
}

}  // namespace
}  // namespace pellmar
