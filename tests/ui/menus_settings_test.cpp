// The main window's menus, toolbar and status bar, the settings it keeps, and the analyses one
// program run holds one after another.
#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "main_window_fixture.h"
#include "ui/shell/qt_dialogs.h"

namespace pellmar {
namespace {

using test_support::exampleStudy;
using test_support::MainWindowTest;
using test_support::StudyFolder;
using test_support::TemporaryFolder;
using test_support::fs::path;
namespace fs = std::filesystem;

// Each menu item that does what a control of the page does, by the control's name.
const std::vector<std::pair<const char*, const char*>> kControlActions = {
    {"saveChartAction", "saveChartButton"},
    {"printPageAction", "printPageButton"},
    {"checkDataFileAction", "checkDataFileStep"},
    {"basicRunAction", "basicRunButton"},
    {"readSasdAction", "readSasdButton"},
    {"bootstrapAction", "bootstrapButton"},
    {"jackknifeAction", "jackknifeButton"},
    {"compareBootstrapsAction", "compareBootstrapsButton"},
    {"pairedBootstrapTestAction", "pairedBootstrapTestButton"},
    {"resultsAction", "resultsButton"},
    {"stageMeansAction", "stageMeansButton"},
    {"resamplingResultsAction", "resamplingResultsButton"},
    {"outputFilesAction", "outputFilesButton"},
    {"largeGraphAction", "largeGraphButton"},
    {"showSxjAction", "showSxjButton"},
    {"showGxjAction", "showGxjButton"},
    {"showDxjAction", "showDxjButton"},
    {"showCxjAction", "showCxjButton"},
    {"showLxAction", "showLxButton"},
    {"showCxAction", "showCxButton"},
    {"showLxCxAction", "showLxCxButton"},
    {"dataFormatAction", "dataFormatButton"},
    {"notesAction", "notesButton"},
    {"referencesAction", "referencesButton"},
};
// The items that stay enabled whatever the analysis does.
const std::vector<const char*> kAlwaysEnabled = {"openDataFileAction", "newAnalysisAction",
                                                 "quitAction",         "introductionAction",
                                                 "aboutAction",        "quizAction"};

class MenusTest : public MainWindowTest {
 protected:
  // Every item that does what a control does is enabled exactly when the control can be used.
  void expectItemsFollowTheControls(const std::string& when) {
    for (const auto& [name, control] : kControlActions) {
      const QAction* item = action(name);
      ASSERT_NE(item, nullptr) << name;
      const auto* widget = page().findChild<QWidget*>(QString::fromLatin1(control));
      ASSERT_NE(widget, nullptr) << control;
      EXPECT_EQ(item->isEnabled(), widget->isEnabled() && !widget->isHidden())
          << name << " " << when;
    }
    for (const char* name : kAlwaysEnabled) EXPECT_TRUE(action(name)->isEnabled()) << name;
  }
  void drop(const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window_, &enter);
    ASSERT_TRUE(enter.isAccepted()) << file.toStdString();
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window_, &dropped);
    QApplication::processEvents();
  }
  QString status(const char* name) const {
    const auto* shown = window_.statusBar()->findChild<QLabel*>(QString::fromLatin1(name));
    return shown != nullptr && !shown->isHidden() ? shown->text() : QString();
  }
  // Leaves the events queued by the window (deferred work, deleted pages) done.
  static void settle() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(MenusTest, ItemsFollowTheCommandStatesThroughARun) {
  expectItemsFollowTheControls("at start");
  EXPECT_FALSE(action("basicRunAction")->isEnabled());
  openExample();
  expectItemsFollowTheControls("after opening");
  EXPECT_TRUE(action("basicRunAction")->isEnabled());
  // Another data file can be opened at any time.
  EXPECT_TRUE(window_.commandWidget(Command::kOpenDataFile)->isEnabled());

  action("basicRunAction")->trigger();
  ASSERT_TRUE(window_.desktop().analysis().basic().has_value());
  expectItemsFollowTheControls("after the Basic Run");
  EXPECT_TRUE(action("showGxjAction")->isEnabled());
  action("showGxjAction")->trigger();
  EXPECT_EQ(window_.lifeChartView()->chart()->title(),
            QStringLiteral("Age-stage specific growth probability"));

  // While the jackknife runs, only what cannot touch the study stays enabled. The timer can fire
  // only in the event loop that runs beside the jackknife.
  bool checkedWhileRunning = false;
  QTimer::singleShot(0, &window_, [&] {
    checkedWhileRunning = true;
    expectItemsFollowTheControls("while the jackknife runs");
    EXPECT_FALSE(action("resultsAction")->isEnabled());
    EXPECT_FALSE(action("basicRunAction")->isEnabled());
  });
  action("jackknifeAction")->trigger();
  EXPECT_TRUE(checkedWhileRunning);
  ASSERT_TRUE(window_.desktop().analysis().jackknife().has_value());
  expectItemsFollowTheControls("after the jackknife");
  EXPECT_TRUE(action("bootstrapAction")->isEnabled()) << "a bootstrap can follow";

  // The toolbar shows the same items.
  const auto* tools = window_.findChild<QToolBar*>(QStringLiteral("stepsToolBar"));
  ASSERT_NE(tools, nullptr);
  EXPECT_TRUE(tools->actions().contains(action("basicRunAction")));
  EXPECT_TRUE(tools->actions().contains(action("openDataFileAction")));
}

TEST_F(MenusTest, TitleAndStatusBarShowTheOpenStudy) {
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("Pellmar"));
  EXPECT_EQ(status("studyStatus"), QStringLiteral("No data file open"));
  EXPECT_TRUE(status("timeUnitStatus").isEmpty());

  settings_.rememberTimeUnit(QString::fromStdString(folder_.data().string()), 0.5);
  dialogs_.chooseFile(folder_.data().string());
  action("openDataFileAction")->trigger();
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("lady_beetle.txt - Pellmar"));
  EXPECT_EQ(status("studyStatus"), QStringLiteral("Study: lady_beetle.txt"));
  EXPECT_EQ(status("timeUnitStatus"), QStringLiteral("Time unit: 0.5 days"));
  EXPECT_EQ(status("lastStepStatus"), QStringLiteral("Last step: Open data file"));
  action("basicRunAction")->trigger();
  EXPECT_EQ(status("lastStepStatus"), QStringLiteral("Last step: Basic Run"));
}

// A span of a stage the study does not have is worth a word when the study opens, no more.
TEST_F(MenusTest, TheStatusBarWarnsOfASpanOfAnUnknownStage) {
  std::string study = test_support::readFile(folder_.data());
  study.replace(study.find("\nL1,L4\n"), 7, "\nBanana,L4\n");
  std::ofstream(folder_.data(), std::ios::binary | std::ios::trunc) << study;
  openExample();
  ASSERT_TRUE(window_.desktop().isOpen());
  EXPECT_TRUE(window_.statusBar()->currentMessage().contains(
      QStringLiteral("the span line names Banana, which is not a stage")));
}

TEST_F(MenusTest, NewAnalysisLeavesNothingOfTheStudyBefore) {
  window_.show();
  openExample();
  click("basicRunButton");
  click("showGxjButton");
  click("resultsButton");
  EXPECT_TRUE(viewShown("resultsWindow"));
  const DesktopAnalysis* before = &window_.desktop();
  const QWidget* pageBefore = &page();

  action("newAnalysisAction")->trigger();
  settle();
  EXPECT_NE(&window_.desktop(), before);
  EXPECT_NE(&page(), pageBefore);
  EXPECT_FALSE(window_.desktop().isOpen());
  // No screen of the study before is left, and the title screens are not shown again.
  for (QWidget* top : QApplication::topLevelWidgets()) {
    EXPECT_NE(top->objectName(), QStringLiteral("resultsWindow"));
    EXPECT_NE(top->objectName(), QStringLiteral("titleScreen"));
  }
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("Pellmar"));
  EXPECT_TRUE(window_.commandWidget(Command::kOpenDataFile)->isEnabled());
  EXPECT_FALSE(window_.commandWidget(Command::kBasicRun)->isEnabled());
  EXPECT_FALSE(window_.lifeChartView()->isVisibleTo(&window_));
  EXPECT_TRUE(label("instructionsLabel")->isVisibleTo(&window_));
  EXPECT_FALSE(action("resultsAction")->isEnabled());

  // The fresh analysis runs as the first did, and writes what the command line writes.
  openExample();
  click("basicRunButton");
  ASSERT_TRUE(window_.desktop().analysis().basic().has_value());
  expectSameFilesAsCli(CliOptions{}, {});
}

// A data file whose folder cannot be written has its results in the folder chosen for it, which
// the settings keep: the lock, the report and every later file go there, none beside the data.
TEST_F(MenusTest, ResultsGoToTheOutputFolderRememberedForTheDataFile) {
  const TemporaryFolder output("_output");
  settings_.rememberOutputFolder(QString::fromStdString(folder_.data().string()),
                                 QString::fromStdString(output.path().string()));
  openExample();
  click("basicRunButton");
  ASSERT_TRUE(window_.desktop().analysis().basic().has_value());
  EXPECT_EQ(window_.desktop().analysis().study().outputBaseName,
            (output.path() / "lady_beetle").string());
  EXPECT_TRUE(fs::exists(output.path() / "lady_beetle_0_Basic_Output.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.folder()), fs::directory_iterator()), 1);
}

TEST_F(MenusTest, OpeningWhileAStudyIsOpenStartsANewAnalysisOnlyWithAFile) {
  openExample();
  click("basicRunButton");
  const DesktopAnalysis* first = &window_.desktop();

  // Cancelling the file dialog keeps the study and its results.
  dialogs_.chooseFile("");
  action("openDataFileAction")->trigger();
  EXPECT_EQ(&window_.desktop(), first);
  EXPECT_TRUE(window_.desktop().analysis().basic().has_value());

  StudyFolder other(test_support::goldenStudy("three_stages"), "_other");
  dialogs_.chooseFile(other.data().string());
  action("openDataFileAction")->trigger();
  settle();
  EXPECT_NE(&window_.desktop(), first);
  EXPECT_EQ(window_.desktop().analysis().study().dataFileName, other.data().string());
  EXPECT_FALSE(window_.desktop().analysis().basic().has_value());
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("study.txt - Pellmar"));
  EXPECT_TRUE(window_.commandWidget(Command::kBasicRun)->isEnabled());
  EXPECT_TRUE(dialogs_.scriptUsedUp());
}

TEST_F(MenusTest, ADroppedFileOpensAsOpenDataFileWould) {
  // A folder is not taken.
  QMimeData folderData;
  folderData.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder_.folder().string()))});
  QDragEnterEvent folderDrag(QPoint(10, 10), Qt::CopyAction, &folderData, Qt::LeftButton,
                             Qt::NoModifier);
  QApplication::sendEvent(&window_, &folderDrag);
  EXPECT_FALSE(folderDrag.isAccepted());

  drop(QString::fromStdString(folder_.data().string()));
  EXPECT_EQ(window_.desktop().analysis().study().dataFileName, folder_.data().string());
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("lady_beetle.txt - Pellmar"));
  EXPECT_TRUE(dialogs_.prompts().empty());
  EXPECT_TRUE(dialogs_.scriptUsedUp());

  // Dropped on an analysed study, it starts a new analysis.
  click("basicRunButton");
  drop(QString::fromStdString(folder_.data().string()));
  settle();
  EXPECT_FALSE(window_.desktop().analysis().basic().has_value());
  EXPECT_TRUE(window_.commandWidget(Command::kBasicRun)->isEnabled());
}

TEST_F(MenusTest, RecentFilesOpenAgainAndForgetMissingOnes) {
  openExample();
  StudyFolder other(test_support::goldenStudy("three_stages"), "_other");
  dialogs_.chooseFile(other.data().string());
  action("openDataFileAction")->trigger();
  settle();
  const QStringList recent = settings_.recentFiles();
  ASSERT_EQ(recent.size(), 2);
  EXPECT_EQ(recent[0], QString::fromStdString(other.data().string()));

  auto* menu = window_.findChild<QMenu*>(QStringLiteral("openRecentMenu"));
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> items = menu->actions();
  ASSERT_GE(items.size(), 2);
  EXPECT_EQ(items[0]->text(), QStringLiteral("&1 study.txt"));
  EXPECT_EQ(items[1]->text(), QStringLiteral("&2 lady_beetle.txt"));
  items[1]->trigger();
  settle();
  EXPECT_EQ(window_.desktop().analysis().study().dataFileName, folder_.data().string());
  EXPECT_EQ(settings_.recentFiles().front(), QString::fromStdString(folder_.data().string()));

  // A file gone since is taken off the list with a word, and nothing else changes.
  test_support::fs::remove(other.data());
  const DesktopAnalysis* before = &window_.desktop();
  menu->actions()[1]->trigger();
  EXPECT_EQ(&window_.desktop(), before);
  ASSERT_FALSE(dialogs_.messages().empty());
  EXPECT_EQ(dialogs_.messages().back().title, "Open recent");
  EXPECT_EQ(settings_.recentFiles(), QStringList{QString::fromStdString(folder_.data().string())});
}

// New analysis asked for while a bootstrap runs: "No" lets it run to its end, "Yes" stops it as
// Stop does, without its files, and then starts the new analysis. The request is made by a timer
// that only the event loop running beside the bootstrap can fire.
TEST_F(MenusTest, NewAnalysisWhileTheBootstrapRunsAsksWhetherToStopIt) {
  openExample();
  click("basicRunButton");
  const std::vector<std::string> basicFiles = window_.desktop().analysis().writtenPaths();
  const DesktopAnalysis* first = &window_.desktop();

  dialogs_.answerYesNo(false);
  dialogs_.answerPrompt("2").answerPrompt("20").answerPrompt("100").answerPrompt("").answerYesNo(
      false);
  QTimer::singleShot(0, &window_, [this] { window_.newAnalysis(); });
  click("bootstrapButton");
  settle();
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  EXPECT_EQ(dialogs_.messages().front().title, "New analysis");
  EXPECT_EQ(dialogs_.messages().front().buttons, MessageButtons::kYesNo);
  EXPECT_EQ(&window_.desktop(), first);
  EXPECT_TRUE(first->analysis().bootstrap().has_value());

  window_.newAnalysis();
  settle();
  openExample();
  click("basicRunButton");
  const DesktopAnalysis* second = &window_.desktop();
  ASSERT_NE(second, first);
  dialogs_.answerYesNo(true);
  dialogs_.answerPrompt("2").answerPrompt("5000").answerPrompt("100").answerPrompt("");
  QTimer::singleShot(0, &window_, [this] { window_.newAnalysis(); });
  click("bootstrapButton");
  EXPECT_FALSE(second->analysis().bootstrap().has_value());
  EXPECT_EQ(second->analysis().writtenPaths(), basicFiles);
  EXPECT_EQ(dialogs_.messages().back().text,
            "The bootstrap was stopped before it ended; no file was written.");
  settle();
  EXPECT_TRUE(dialogs_.scriptUsedUp());
  EXPECT_NE(&window_.desktop(), second);
  EXPECT_FALSE(window_.desktop().isOpen());
}

TEST(DesktopSettings, RecentFilesAndFoldersRoundTrip) {
  TemporaryFolder folder;
  const QString file = QString::fromStdString((folder.path() / "pellmar.ini").string());
  const QString here = QString::fromStdString(folder.path().string());
  const QString sub = QString::fromStdString((folder.path() / "sasd").string());
  test_support::fs::create_directories(folder.path() / "sasd");
  {
    DesktopSettings settings(file);
    for (int i = 0; i < 12; ++i)
      settings.addRecentFile(here + QStringLiteral("/study%1.txt").arg(i));
    settings.addRecentFile(here + QStringLiteral("/study5.txt"));
    // A kind never used starts in the study's folder, then in the last data file's.
    EXPECT_EQ(settings.startFolder(FileKind::kSasd), QString());
    settings.rememberFolder(FileKind::kDataFile, here + QStringLiteral("/study5.txt"));
    EXPECT_EQ(settings.startFolder(FileKind::kSasd), here);
    settings.setStudyFolder(sub);
    EXPECT_EQ(settings.startFolder(FileKind::kSasd), sub);
    settings.rememberFolder(FileKind::kSasd, sub + QStringLiteral("/x_10_SASD.txt"));
    settings.setStudyFolder(here);
    EXPECT_EQ(settings.startFolder(FileKind::kSasd), sub);
    EXPECT_EQ(settings.startFolder(SavedFileKind::kChart), here);
  }
  DesktopSettings again(file);
  const QStringList recent = again.recentFiles();
  ASSERT_EQ(recent.size(), DesktopSettings::kRecentFileCount);
  EXPECT_TRUE(recent.front().endsWith(QStringLiteral("study5.txt")));
  EXPECT_TRUE(recent[1].endsWith(QStringLiteral("study11.txt")));
  EXPECT_EQ(recent.filter(QStringLiteral("study5.txt")).size(), 1);
  EXPECT_EQ(recent.filter(QStringLiteral("study0.txt")).size(), 0);
  EXPECT_EQ(again.startFolder(FileKind::kSasd), sub);
  // A remembered folder that has gone is passed over.
  test_support::fs::remove_all(folder.path() / "sasd");
  EXPECT_EQ(again.startFolder(FileKind::kSasd), here);
}

// Each kind of file dialog starts in the open study's folder the first time, then where a file
// of its kind was last chosen. The dialog is answered by a timer while it is shown.
TEST(QtFileDialogs, EachKindStartsWhereItsFileWasLastChosen) {
  TemporaryFolder folder;
  const auto at = [&folder](const char* name) {
    return QString::fromStdString((folder.path() / name).string());
  };
  for (const char* sub : {"study", "lifetable"})
    test_support::fs::create_directories(folder.path() / sub);
  std::ofstream(folder.path() / "lifetable" / "x_10_SASD.txt") << "1\n";
  DesktopSettings settings(at("pellmar.ini"));
  settings.setStudyFolder(at("study"));
  QtDialogs dialogs(settings);
  // Answers the next file dialog with `file` and notes the folder it showed.
  QString shownFolder;
  const auto answerWith = [&shownFolder](const QString& file) {
    QTimer::singleShot(0, [&shownFolder, file] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shownFolder = dialog->directory().absolutePath();
      dialog->selectFile(file);
      QMetaObject::invokeMethod(dialog, "accept");
    });
  };
  answerWith(at("lifetable/x_10_SASD.txt"));
  EXPECT_EQ(dialogs.openFileDialog(FileKind::kSasd),
            QDir::toNativeSeparators(at("lifetable/x_10_SASD.txt")).toStdString());
  EXPECT_EQ(shownFolder, at("study"));

  answerWith(at("lifetable/x_10_SASD.txt"));
  dialogs.openFileDialog(FileKind::kSasd);
  EXPECT_EQ(shownFolder, at("lifetable"));
  answerWith(at("lifetable/x_10_SASD.txt"));
  dialogs.openFileDialog(FileKind::kBootstrapSamples);
  EXPECT_EQ(shownFolder, at("study"));
  EXPECT_EQ(DesktopSettings(at("pellmar.ini")).startFolder(FileKind::kSasd), at("lifetable"));
}

TEST_F(MenusTest, TheWindowComesBackWhereItWasInTheNextProgramRun) {
  window_.resize(1100, 700);
  window_.move(40, 30);
  window_.show();
  const QRect where = window_.geometry();
  window_.close();
  DesktopSettings reread(settingsFile());
  ScriptedDialogs dialogs;
  MainWindow next(dialogs, reread);
  next.show();
  EXPECT_EQ(next.geometry(), where);
}

}  // namespace
}  // namespace pellmar
