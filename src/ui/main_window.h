#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

#include "app/program.h"
#include "ui/background_task.h"
#include "ui/greeting.h"
#include "ui/life_charts.h"
#include "ui/progress_tracker.h"

class QChartView;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace pellmar {

class ClickableLabel;
class DataFormatWindow;
class HelpScreen;
class LargeGraphWindow;
class OutputFilesWindow;
class QuizScreen;
class ResamplingResultsWindow;
class ResultsWindow;
class ReturnWindow;
class StageMeansWindow;
class TitleScreen;

// The main window: the numbered steps of a program run, the chart area, the result and help
// commands, the greeting and quotation lines and the clock. A command asks the user for its
// request on the UI thread, runs it (the bootstrap and the jackknife on a worker thread) and
// shows its result; after every command each control takes the enabled, visible and focus
// state the command state holds. The window hides itself while a screen it opened is shown.
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // The help and information screens.
  enum class Help { kIntroduction, kNotes, kReferences, kPrintingHints, kFarewell, kGoodbye };

  // `dialogs` answers every question of the commands (QtDialogs on the desktop).
  explicit MainWindow(Dialogs& dialogs);
  ~MainWindow() override;

  // Shows the title screen; a click on it leads through the introduction to this window.
  void start();
  // Starts on a data file named on the command line: no title or introduction screen; this
  // window comes up, asks the time unit and opens the file as "Open data file" does.
  void startWithDataFile(const std::string& path);

  [[nodiscard]] const Program& program() const { return program_; }
  [[nodiscard]] BackgroundTask& backgroundTask() { return backgroundTask_; }
  // The control of a command whose state changes over a run.
  [[nodiscard]] QWidget* commandWidget(Command command) const;
  // The chart of the Basic Run results and the chart of the resampling frequencies.
  [[nodiscard]] QChartView* lifeChartView() const { return lifeChart_; }
  [[nodiscard]] QChartView* frequencyChartView() const { return frequencyChart_; }

  // One tick of the greeting timer: the clock line and the greeting.
  void greetingTick();
  // Draws a chart of the Basic Run in the chart area, as its button does.
  void showChart(LifeChart kind);

 signals:
  // The program has ended: by a fatal error, by closing this window or by the last closing
  // screen. Every window of the program is hidden by then.
  void programEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildWindow();
  QWidget* buildStepsArea();
  QWidget* buildChartArea();
  QGroupBox* buildFigureFrame();
  QGroupBox* buildGraphFrame();
  QGroupBox* buildAuthorFrame();
  QPushButton* addButton(const char* name, const QString& caption, const QString& toolTip,
                         QWidget* parent);
  void loadTexts();

  // Runs a command: a failure is shown in a message box; then the command states are applied,
  // and a fatal error ends the program.
  void perform(const std::function<void()>& command);
  void afterCommand();
  void applyCommandStates();
  void openDataFile();
  void basicRun();
  void readSasd();
  void readFecundity();
  void bootstrap();
  void jackknife();
  // "<base>_run.json" again, after each step that adds results.
  void writeRunRecord();
  void compareBootstraps();
  void showNotice(const Notice& notice);
  // Runs long work off the UI thread with the progress bar shown and the commands locked.
  void runInBackground(const std::function<void(std::stop_token)>& work);
  // Progress reports of long work labelled `label`, from any thread, shown on the UI thread.
  ProgressReport progressShownAs(const std::string& label);
  void showProgress(const std::string& label, long done, long total);
  void showBootstrapTimes();

  void openWindow(ReturnWindow& window);
  void connectReturn(ReturnWindow& window);
  void showHelp(Help help);
  void showResults();
  void showStageMeans();
  void showOutputFiles();
  void showDataFormat();
  void showLargeGraph();
  void showQuiz();
  void openResamplingResults();
  void showResamplingResults();
  void leaveResamplingResults();
  void beginClosing();
  void endProgram();
  void returnToMain();
  void printThisWindow();

  Dialogs& dialogs_;
  Program program_;
  // Receives the progress reports of the worker thread on the UI thread.
  QObject progressReceiver_;
  BackgroundTask backgroundTask_;
  Greeting greeting_;
  QTimer greetingTimer_;
  std::optional<ProgressTracker> progressTracker_;
  std::optional<Command> lastFocus_;
  bool ended_ = false;
  // The parts of the window that would touch the session while long work runs on it.
  std::vector<QWidget*> lockedDuringWork_;

  std::array<QWidget*, static_cast<std::size_t>(Command::kCount)> commandWidgets_{};
  QWidget* commandsArea_ = nullptr;
  QLabel* title_ = nullptr;
  QLabel* greetingLine_ = nullptr;
  QLabel* instructions_ = nullptr;
  QLabel* notice_ = nullptr;  // asks for the data file check; a click runs it
  QLabel* quotation_ = nullptr;
  QLabel* clockLine_ = nullptr;
  QLabel* bootBegin_ = nullptr;
  QLabel* bootEnd_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* progressText_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QPushButton* saveChartButton_ = nullptr;
  QStackedWidget* chartArea_ = nullptr;
  QChartView* lifeChart_ = nullptr;
  QChartView* frequencyChart_ = nullptr;

  std::unique_ptr<TitleScreen> titleScreen_;
  std::unique_ptr<ResultsWindow> resultsWindow_;
  std::unique_ptr<StageMeansWindow> stageMeansWindow_;
  std::unique_ptr<ResamplingResultsWindow> resamplingResultsWindow_;
  std::unique_ptr<DataFormatWindow> dataFormatWindow_;
  std::unique_ptr<OutputFilesWindow> outputFilesWindow_;
  std::unique_ptr<LargeGraphWindow> largeGraphWindow_;
  std::unique_ptr<QuizScreen> quizScreen_;
  std::array<std::unique_ptr<HelpScreen>, 6> helpScreens_;
};

}  // namespace pellmar
