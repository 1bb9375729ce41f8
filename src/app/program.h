#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "app/basic_run_command.h"
#include "app/bootstrap_command.h"
#include "app/command_state.h"
#include "app/comparison_command.h"
#include "app/dialogs.h"
#include "app/jackknife_command.h"
#include "app/open_command.h"
#include "app/paired_test_command.h"
#include "app/read_fecundity_command.h"
#include "app/read_sasd_command.h"
#include "app/run_record_command.h"
#include "core/exports/results_summary.h"
#include "core/platform/platform.h"
#include "core/session.h"
#include "core/user_error.h"

namespace pellmar {

// How far long work has come: `done` of `total` steps.
using ProgressReport = std::function<void(long done, long total)>;

// One program run: the session, the state of the commands, and the commands that both front
// ends run. Each command takes a request (what the user chose), checks it before it touches any
// file, and returns what the screens and the command line show. A failure is a UserError thrown
// to the caller; a fatal one also ends the run, after which every command refuses to run.
class Program {
 public:
  // `clock` gives the times the Basic Run and the bootstrap record.
  explicit Program(std::function<ClockReading()> clock);

  // "Open data file": output names, the empty basic report, the command states and the opening
  // read with every check.
  OpenResult run(const OpenRequest& request);
  // "Step 1.": the light check of the data file.
  CheckResult run(const CheckRequest& request);
  // "Basic Run": the full read and the whole analysis, once per program run; a later run only
  // enables reading the stable age-stage distribution again.
  BasicRunResult run(const BasicRunRequest& request);
  // "Read SASD": the stable age-stage distribution and the predation rates.
  ReadSasdResult run(const ReadSasdRequest& request);
  // "Read fecundity": the two-sex life table with fecundity and, when eggs were laid, the stable
  // age-stage distribution it gives, used as "Read SASD" uses one read from a file. The two
  // exclude each other in one run.
  ReadFecundityResult run(const ReadFecundityRequest& request);
  // "Bootstrap": every replicate, the report and the result files. Long: the desktop runs it off
  // the UI thread; `progress` hears how far it has come and `stop` ends it early.
  BootstrapResult run(const BootstrapRequest& request, const ProgressReport& progress = {},
                      std::stop_token stop = {});
  // The normal density curves of the bootstrap.
  NormalDensityResult run(const NormalDensityRequest& request);
  // The samples file of an own-samples bootstrap with fecundity.
  SamplesFileResult run(const SamplesFileRequest& request);
  // "Jackknife": C0 without each individual in turn, the pseudo-values and their files.
  JackknifeResult run(const JackknifeRequest& request, const ProgressReport& progress = {},
                      std::stop_token stop = {});
  // "C2B": the t-test against a second treatment.
  ComparisonResult run(const ComparisonRequest& request);
  // "Paired bootstrap test": after an own-samples bootstrap, a second study run in a program run
  // of its own and paired with this one replicate by replicate. Long, as the bootstrap: the
  // progress and the stop are those of the second study's bootstrap.
  PairedTestResult run(const PairedTestRequest& request, const ProgressReport& progress = {},
                       std::stop_token stop = {});
  // "<base>_run.json": the version, the front end, the time, every input file with its size and
  // SHA-256, the analysis chosen and every file written so far. The CLI writes it once, after
  // every other file; the desktop after each step that adds results.
  RunRecordResult run(const RunRecordRequest& request);

  // Pressing "Bootstrap" numbers the pages and tables of the reports from 1 again, even when
  // the user then cancels.
  void restartReportNumbers() { session_.counters = ReportCounters{}; }
  // Going back from the resampling results to the main window: the run is over, so no other
  // data file can be opened.
  void leaveResamplingResults() { commands_.disable(Command::kOpenDataFile); }

  // The confidence of the summary's intervals, 0 < confidence < 1.
  void setConfidence(double confidence) { confidence_ = confidence; }
  [[nodiscard]] double confidence() const { return confidence_; }
  // Every quantity computed so far, with its resampled mean, SE and interval.
  [[nodiscard]] std::vector<SummaryRow> summary() const {
    return summarizeResults(session_, confidence_);
  }

  [[nodiscard]] const Session& session() const { return session_; }
  [[nodiscard]] const CommandStates& commands() const { return commands_; }
  // True once a fatal error has ended the run: the front end closes down.
  [[nodiscard]] bool ended() const { return ended_; }

 private:
  // Runs a command body; a fatal UserError ends the run on its way to the caller.
  template <typename Body>
  auto guarded(Body&& body) -> decltype(body());
  void end();
  // The lock on the results of `dataFile`: the one it already holds when it is the same, else a
  // new one (lockResultsOf).
  [[nodiscard]] platform::FileLock lockResults(const std::string& dataFile,
                                               const std::string& baseName);
  void analyseStudy(BasicRunResult& result);
  void closeBasicReport();
  void disableChartCommands();
  // Writes the summary of every result so far; each step that adds results ends with it.
  void writeSummary();
  // The files written since the list held `before` entries.
  [[nodiscard]] std::vector<std::string> filesWrittenSince(std::size_t before) const;

  std::function<ClockReading()> clock_;
  Session session_;
  CommandStates commands_;
  // Held from the open step to the end of the run; its file is deleted when it is released.
  platform::FileLock resultsLock_;
  bool ended_ = false;
  double confidence_ = kDefaultConfidence;
};

// Takes the lock that keeps other runs from writing the results of `dataFile` (named after
// `baseName`) while this one does. A refusal when another run holds it.
[[nodiscard]] platform::FileLock lockResultsOf(const std::string& dataFile,
                                               const std::string& baseName);

template <typename Body>
auto Program::guarded(Body&& body) -> decltype(body()) {
  if (ended_) {
    throw UserError("Pellmar", "The program has ended after an error in the data.",
                    ErrorKind::kProgramEnds);
  }
  // A command that fails leaves every command as it was before it started.
  const CommandStates before = commands_;
  try {
    return body();
  } catch (const UserError& error) {
    if (error.fatal()) {
      end();
    } else {
      commands_ = before;
    }
    throw;
  }
}

}  // namespace pellmar
