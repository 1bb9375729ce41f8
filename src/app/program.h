#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

#include "app/command_state.h"
#include "app/dialogs.h"
#include "core/session.h"
#include "core/user_error.h"

namespace pellmar {

// One program run: the session state, the state of the commands, and the commands that both
// front ends run. Each command asks through Dialogs and then calls a function that takes plain
// values. A failure is shown as a message box; a fault in the data file ends the program.
class Program {
 public:
  explicit Program(Dialogs& dialogs) : dialogs_(dialogs) {}

  // "Open data file": time-unit prompt, file dialog, then openDataFileAt().
  void openDataFile();
  // The open step for a chosen path: output names, the empty basic report, the command states
  // and the opening read with every check.
  void openDataFileAt(const std::string& path);
  // "Step 1.": the light check of the data file with its confirmation.
  void checkDataFile();
  // "Basic Run": the full read and the whole analysis, once per program run; a later press
  // only enables reading the stable age-stage distribution.
  void basicRun();

  // "Read SASD": reads the stable age-stage distribution and computes the predation rates.
  void readSasd();
  // "Bootstrap": the mode question, the samples file or B and n, every replicate, the report
  // and the result files. Long: the desktop runs it off the UI thread; `stop` ends it early.
  void bootstrap(std::stop_token stop = {});
  // "Jackknife": C0 without each individual in turn, the pseudo-values and their files.
  void jackknife(std::stop_token stop = {});
  // "C2B": the t-test of this bootstrap's C0 against a second treatment's.
  void compareBootstraps();
  // "Paired bootstrap test": refers to the life-table program.
  void pairedBootstrapTest();
  // Going back from the resampling results to the main window: the run is over, so no other
  // data file can be opened.
  void leaveResamplingResults() { commands_.disable(Command::kOpenDataFile); }

  // The seed of the next own-samples bootstrap; without one the clock gives it.
  void setBootstrapSeed(std::uint64_t seed) { bootstrapSeed_ = seed; }

  // Draws the chart of the age-stage consumption rate when the Basic Run ends (the desktop).
  void onShowConsumptionChart(std::function<void()> show) {
    showConsumptionChart_ = std::move(show);
  }
  // Shows the resampling results (frequency chart, result window) when a bootstrap or a
  // jackknife has ended (the desktop).
  void onResamplingFinished(std::function<void()> show) { resamplingFinished_ = std::move(show); }

  [[nodiscard]] Session& session() { return session_; }
  [[nodiscard]] const Session& session() const { return session_; }
  [[nodiscard]] const CommandStates& commands() const { return commands_; }
  [[nodiscard]] Dialogs& dialogs() { return dialogs_; }

  // True once a fault has ended the program: the front end closes down.
  [[nodiscard]] bool ended() const { return ended_; }
  // The last failure shown, if any.
  [[nodiscard]] const std::optional<UserError>& lastError() const { return lastError_; }

 private:
  // Runs a command; a UserError is shown in a message box and, when fatal, ends the program.
  template <typename Action>
  void guarded(Action&& action);
  void fail(const UserError& error);
  void readStudyForBasicRun();
  void analyseStudy();
  void closeBasicReport();
  void disableChartCommands();
  void showResamplingResults();

  Dialogs& dialogs_;
  Session session_;
  CommandStates commands_;
  std::function<void()> showConsumptionChart_;
  std::function<void()> resamplingFinished_;
  std::optional<std::uint64_t> bootstrapSeed_;
  bool ended_ = false;
  std::optional<UserError> lastError_;
};

template <typename Action>
void Program::guarded(Action&& action) {
  if (ended_) return;
  try {
    action();
  } catch (const UserError& error) {
    fail(error);
  }
}

// A bootstrap seed taken from the clock, for runs not given one.
std::uint64_t seedFromClock();

// The output base name: the data file's path less its last four characters.
std::string outputBaseNameFor(const std::string& dataFileName);

}  // namespace pellmar
