#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/program.h"
#include "ui/greeting.h"
#include "ui/life_charts.h"
#include "ui/long_work.h"
#include "ui/progress_tracker.h"
#include "ui/ui_thread_dialogs.h"

class QChartView;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace pellmar {

class ClickableLabel;
class DataFormatForm;
class DoneForm;
class GraphForm;
class HelpScreen;
class JackBootForm;
class QuizScreen;
class ResultForm;
class ReturnWindow;
class StageMeanForm;
class TitleScreen;

// The main window: the numbered steps of a program run, the chart area, the result and help
// commands, the greeting and quotation lines and the clock. It runs the commands of Program
// and shows their state: after every command each control takes the enabled, visible and focus
// state the command state holds. The window hides itself while a screen it opened is shown.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  // The help and information screens.
  enum class Help { kIntroduction, kNotes, kReferences, kPrintingHints, kFarewell, kGoodbye };

  // `dialogs` answers every question of the commands (QtDialogs on the desktop).
  explicit Form1(Dialogs& dialogs);
  ~Form1() override;

  // Shows the title screen; a click on it leads through the introduction to this window.
  void start();

  [[nodiscard]] Program& program() { return program_; }
  [[nodiscard]] LongWork& longWork() { return longWork_; }
  // The control of a command whose state changes over a run.
  [[nodiscard]] QWidget* commandWidget(Command command) const;
  // MSChart1, the charts of the Basic Run, and MSChart2, the resampling frequencies.
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

  // After every command: the command states, and the end of the program after a fatal error.
  void afterCommand();
  void applyCommandStates();
  // Runs long work off the UI thread with the progress bar shown and the commands locked.
  void runLongWork(const std::function<void(std::stop_token)>& work);
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
  void openJackBootForm();
  void showResamplingResults();
  void leaveResamplingResults();
  void beginClosing();
  void endProgram();
  void returnToMain();
  void printThisWindow();

  UiThreadDialogs dialogs_;
  Program program_;
  LongWork longWork_;
  Greeting greeting_;
  QTimer greetingTimer_;
  std::optional<ProgressTracker> progressTracker_;
  std::optional<Command> lastFocus_;
  bool ended_ = false;
  // The parts of the window that would touch the session while long work runs on it.
  std::vector<QWidget*> lockedDuringWork_;

  std::array<QWidget*, static_cast<std::size_t>(Command::kCount)> commandWidgets_{};
  QWidget* commandsArea_ = nullptr;
  QLabel* title_ = nullptr;         // Label12
  QLabel* greetingLine_ = nullptr;  // Label13
  QLabel* instructions_ = nullptr;  // Label14
  QLabel* notice_ = nullptr;        // Label1
  QLabel* quotation_ = nullptr;     // Label3
  QLabel* clockLine_ = nullptr;     // Label6
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
  std::unique_ptr<ResultForm> resultForm_;
  std::unique_ptr<StageMeanForm> stageMeanForm_;
  std::unique_ptr<JackBootForm> jackBootForm_;
  std::unique_ptr<DataFormatForm> dataFormatForm_;
  std::unique_ptr<DoneForm> doneForm_;
  std::unique_ptr<GraphForm> graphForm_;
  std::unique_ptr<QuizScreen> quizScreen_;
  std::array<std::unique_ptr<HelpScreen>, 6> helpScreens_;
};

}  // namespace pellmar
