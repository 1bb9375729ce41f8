#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

#include "app/analysis.h"
#include "app/paired_test_command.h"
#include "ui/charts/chart_picture.h"
#include "ui/charts/life_charts.h"
#include "ui/shell/background_task.h"
#include "ui/shell/command_states.h"
#include "ui/shell/desktop_analysis.h"
#include "ui/shell/progress_tracker.h"

class QAction;
class QChartView;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace pellmar {

class ClickableLabel;
class DataFormatWindow;
class DesktopSettings;
class ExperimentView;
class ProjectionView;
class ReportViewer;
class TreatmentsPanel;
class HelpScreen;
class LargeGraphWindow;
class OutputFilesWindow;
class PairedTestWindow;
class QuizScreen;
class ResamplingResultsWindow;
class DataView;
class ResultsPane;
class SettingsPanel;
class ResultsWindow;
class ReturnWindow;
class StageMeansWindow;
class TitleScreen;

// The main window: the numbered steps of an analysis beside the settings of a whole run, the
// chart area, the main results, the result and help commands, with a menu bar, a toolbar and a
// status bar around them. A command asks the user for its request on the UI thread, runs it
// (the bootstrap and the jackknife on a worker thread) and shows its result; after every
// command each control takes the enabled, visible and focus state the command state holds, and
// each menu item and toolbar button the state of the control that does the same. The window
// hides itself while a screen it opened is shown.
//
// One analysis is one DesktopAnalysis. New analysis, or opening a data file while one is open,
// replaces it, the window's page and every screen, so that nothing of the study before remains.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The help and information screens.
  enum class Help { kIntroduction, kNotes, kReferences, kPrintingHints };

  // `dialogs` answers every question of the commands (QtDialogs on the desktop); `settings`
  // keeps what the window remembers between program runs.
  MainWindow(Dialogs& dialogs, DesktopSettings& settings);
  ~MainWindow() override;

  // Shows the title screen; a click on it leads through the introduction to this window.
  void start();
  // Starts on a file named on the command line: no title or introduction screen; this window
  // comes up and opens the file as "Open data file" does, or a project file ("NAME.pellmar")
  // as "Open project" does.
  void startWithFile(const std::string& path);

  // "Open data file": the file dialog, or `path` without the dialog (a dropped or recent
  // file), read with the time unit remembered for it (1 day at first). While a study is open
  // it starts a new analysis with the file. The file alone is a project of one treatment.
  void openDataFile(const QString& path = {});
  // "Open project": the project file of an experiment, from the file dialog or `path`: its
  // treatments in the treatments panel, its settings in the settings panel, its first treatment
  // open.
  void openProject(const QString& path = {});
  // "Save project": the project of the treatments panel with the settings as they stand, into
  // its file, or a file chosen now when it has none.
  void saveProjectFile();
  // A project file ("NAME.pellmar") as "Open project" opens it, any other as "Open data file".
  void openDataOrProject(const QString& path);
  // "New project": data files chosen together become the treatments of a new project file.
  void newProject();
  // "New analysis": a fresh analysis with nothing of the one before, no project, the title
  // screens skipped.
  void newAnalysis();
  // "Quit": the closing screens, then the end of the program.
  void quit();

  [[nodiscard]] const DesktopAnalysis& desktop() const { return *desktop_; }
  [[nodiscard]] BackgroundTask& backgroundTask() { return backgroundTask_; }
  // The control of a command whose state changes over a run.
  [[nodiscard]] QWidget* commandWidget(Command command) const;
  // The chart of the Basic Run results and the chart of the resampling frequencies.
  [[nodiscard]] QChartView* lifeChartView() const { return lifeChart_; }
  [[nodiscard]] QChartView* frequencyChartView() const { return frequencyChart_; }

  // Draws a chart of the Basic Run in the chart area, as its button does.
  void showChart(LifeChart kind);

 signals:
  // The program has ended: by a fatal error, by closing this window or by the last closing
  // screen. Every window of the program is hidden by then.
  void programEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A menu item or toolbar button that does what a control of the page does.
  struct ActionBinding {
    QAction* action;
    const char* control;  // the control's object name
    QPointer<QWidget> bound;
  };

  void buildMenus();
  void buildToolBar();
  void buildStatusBar();
  QAction* addAction(QMenu& menu, const char* name, const QString& text,
                     const QKeySequence& shortcut = {});
  QAction* addControlAction(QMenu& menu, const char* control, const QString& text,
                            const QKeySequence& shortcut = {});
  void bindActionsToPage();
  void updateAction(const ActionBinding& binding);
  void fillRecentMenu();

  // The page of an analysis: the steps, the charts, the commands and the texts around them.
  QWidget* buildPage();
  QWidget* buildStepsArea();
  // The views beside the steps, as tabs, with the chart and progress controls below them.
  enum class View {
    kData,
    kCharts,
    kLifeTable,
    kResampling,
    kProjection,
    kComparison,
    kReports,
    kFiles
  };
  QWidget* buildViews();
  void showView(View view);
  // Fills `view` from the analysis as it stands.
  void refreshView(View view);
  // The chart of the view shown, when it shows one that has been drawn.
  [[nodiscard]] QChartView* shownChartView() const;
  void updateChartButtons();
  void buildTreatmentsDock();
  QGroupBox* buildFigureFrame();
  QGroupBox* buildGraphFrame();
  QPushButton* addButton(const char* name, const QString& caption, const QString& toolTip,
                         QWidget* parent);
  void loadTexts();
  void applyColours();

  // Replaces the analysis by a fresh one: the screens of the study before are closed and
  // destroyed, and the page is built anew.
  void startNewAnalysis();
  // Where the results of `dataFile` go: "" beside it; the folder remembered for it, or chosen
  // now when its own folder cannot be written; nullopt when the user chooses none.
  std::optional<std::string> outputFolderFor(const std::string& dataFile);
  void destroyScreens();
  // Runs `action` at once, or, while a bootstrap or jackknife runs, asks whether to stop it and
  // runs `action` once it has stopped; nothing happens when the user keeps it running.
  void whenIdle(const QString& title, std::function<void()> action);

  // Runs a command: a failure is shown in a message box; then the command states, the title
  // and the status bar are brought up to date, and a fatal error ends the program.
  void perform(const std::function<void()>& command);
  void afterCommand();
  void applyCommandStates();
  void showStudy();
  // "Step 1.": the study was checked when it was opened.
  void checkDataFile();
  void basicRun();
  void readSasd();
  void readFecundity();
  void bootstrap();
  void jackknife();
  void runWithSettings();
  // The steps a guided step may follow: those setting the stable distribution, the resampling.
  enum class Step { kStableDistribution, kResampling };
  // Whether `step`, or a step after it, has run: it then runs again as a whole run.
  [[nodiscard]] bool hasRunFrom(Step step) const;
  void runAgain(const RunRequest& request, const QString& step);
  // After a step ran again: the charts of steps the new analysis has not run go, and the chart
  // in view is drawn again from it.
  void forgetChartsOfTheRunBefore();
  // Runs `request` as a whole run off the UI thread; its warnings are shown under `title`, and
  // with `tellResults` what its steps say of their results too.
  void runWholeInBackground(const RunRequest& request, const QString& title, bool tellResults);
  void showFrequencyChart();
  // "Draw" of the projection view: the open study projected as the view asks, with the band
  // of its bootstrap computed off the UI thread.
  void drawProjection();
  void compareBootstraps();
  // "Paired bootstrap test": the second study runs off the UI thread, as the bootstrap does.
  void pairedBootstrapTest();
  void showPairedTest(const PairedTestRequest& request, const PairedTestResult& result);
  void showNotice(const Notice& notice, MessageKind kind = MessageKind::kResult);
  // Opens a data file, `timeUnit` as its time unit, as the analysis of the main window.
  void openStudy(const std::string& dataFile, double timeUnit);
  // The treatment selected in the treatments panel: its study opened, its files in the
  // settings.
  void openTreatment(std::size_t treatment);
  void addTreatment();
  void renameTreatment();
  // Every treatment of the project analysed and every pair tested off the UI thread, with
  // progress and Stop, into the project's results folder; the project saved first.
  void runEveryTreatment();
  // The results of the selected treatment from the last run of every treatment, if it has any.
  [[nodiscard]] const std::vector<SummaryRow>* experimentSummaryShown() const;
  void showTitle();
  // Runs long work off the UI thread with the progress bar shown and the commands locked.
  void runInBackground(const std::function<void(std::stop_token)>& work);
  void stopWork();
  // Progress reports of long work labelled `label`, from any thread, shown on the UI thread.
  ProgressReport progressShownAs(const std::string& label);
  void showProgress(const std::string& label, long done, long total);
  void showBootstrapTimes();

  void openWindow(ReturnWindow& window);
  void hideKeepingPlace();
  void connectReturn(ReturnWindow& window);
  void showHelp(Help help);
  void showResults();
  // "Save workbook" of the results window: <base>.xlsx, as pellmar-cli run --xlsx writes it.
  void saveWorkbook();
  void showStageMeans();
  void showOutputFiles();
  void showDataFormat();
  void showLargeGraph();
  void showQuiz();
  void showAbout();
  void openResamplingResults();
  void showResamplingResults();
  void endProgram();
  void returnToMain();
  void printThisWindow();
  void exportShownChart();

  Dialogs& dialogs_;
  DesktopSettings& settings_;
  std::unique_ptr<DesktopAnalysis> desktop_;
  // The main results beside the heading, kept up to date.
  ResultsPane* resultsPane_ = nullptr;
  // The settings of Run beside the guided steps: one panel for the program run, so that what
  // was set stays when another study opens.
  SettingsPanel* settingsPanel_ = nullptr;
  // When the bootstrap began and ended, as the status lines show them.
  QString bootstrapBegan_;
  QString bootstrapEnded_;
  // Receives the progress reports of the worker thread on the UI thread.
  QObject progressReceiver_;
  BackgroundTask backgroundTask_;
  std::optional<ProgressTracker> progressTracker_;
  std::optional<Command> lastFocus_;
  bool ended_ = false;
  // The parts of the page that would touch the session while long work runs on it.
  std::vector<QWidget*> lockedDuringWork_;
  // The long work running ("bootstrap", "jackknife"), and what to do once it has stopped.
  QString runningWork_;
  std::function<void()> afterWork_;
  // Where the window was when a screen it opened hid it.
  QByteArray placeWhileHidden_;

  std::vector<ActionBinding> bindings_;
  QMenu* recentMenu_ = nullptr;
  QLabel* studyStatus_ = nullptr;
  QLabel* timeUnitStatus_ = nullptr;
  QLabel* lastStepStatus_ = nullptr;

  std::array<QWidget*, static_cast<std::size_t>(Command::kCount)> commandWidgets_{};
  QLabel* title_ = nullptr;
  QLabel* instructions_ = nullptr;
  QLabel* notice_ = nullptr;  // asks for the data file check; a click runs it
  QLabel* bootBegin_ = nullptr;
  QLabel* bootEnd_ = nullptr;
  QList<QLabel*> stepLabels_;
  QProgressBar* progressBar_ = nullptr;
  QLabel* progressText_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QPushButton* saveChartButton_ = nullptr;
  QPushButton* exportChartButton_ = nullptr;
  // Draw the charts of the charts, resampling and projection views again, for Export chart…,
  // and name their files.
  ChartDrawing lifeDrawing_;
  QString lifeChartName_;
  ChartDrawing frequencyDrawing_;
  QString frequencyChartName_;
  ChartDrawing projectionDrawing_;
  QStackedWidget* chartArea_ = nullptr;
  QTabWidget* views_ = nullptr;
  DataView* dataView_ = nullptr;
  ResultsWindow* resultsWindow_ = nullptr;
  StageMeansWindow* stageMeansWindow_ = nullptr;
  ResamplingResultsWindow* resamplingResultsWindow_ = nullptr;
  ExperimentView* experimentView_ = nullptr;
  ProjectionView* projectionView_ = nullptr;
  PairedTestWindow* pairedTestWindow_ = nullptr;
  ReportViewer* reportViewer_ = nullptr;
  OutputFilesWindow* outputFilesWindow_ = nullptr;
  // The project's treatments, beside every analysis; the results of each from the last run of
  // them all.
  TreatmentsPanel* treatments_ = nullptr;
  std::vector<std::vector<SummaryRow>> experimentSummaries_;
  double experimentConfidence_ = kDefaultConfidence;
  QChartView* lifeChart_ = nullptr;
  QChartView* frequencyChart_ = nullptr;

  std::unique_ptr<TitleScreen> titleScreen_;
  std::unique_ptr<DataFormatWindow> dataFormatWindow_;
  std::unique_ptr<LargeGraphWindow> largeGraphWindow_;
  std::unique_ptr<QuizScreen> quizScreen_;
  std::array<std::unique_ptr<HelpScreen>, 4> helpScreens_;
};

}  // namespace pellmar
