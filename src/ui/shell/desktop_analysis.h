#pragma once

#include <optional>
#include <string>

#include "app/analysis.h"
#include "app/paired_test_command.h"
#include "app/run_command.h"
#include "core/platform/platform.h"

namespace pellmar {

// One analysis as the desktop runs it: the lock on the study's results from the moment the data
// file is opened, the Analysis with its results, and the input files read for it. Each step puts
// its files in place as one commit, with the summary and the run record again. A step that has
// run, or whose later steps have, runs again as a whole run of the steps before it and itself,
// so that its files are those of `pellmar-cli run` with the same settings.
class DesktopAnalysis {
 public:
  // "Open data file": takes the lock, reads and checks the study and creates the empty basic
  // report beside it. Nothing is kept when it fails.
  void open(const OpenRequest& request, const std::optional<std::string>& outputFolder = {});
  [[nodiscard]] bool isOpen() const { return analysis_.has_value(); }
  [[nodiscard]] const Analysis& analysis() const { return *analysis_; }

  // Runs one step, `step(analysis, reader, files)`, whose files go to a new commit together
  // with the summary and the run record; they are in place when it returns.
  template <typename Step>
  auto run(Step&& step) {
    OutputFiles files(analysis_->study().outputBaseName);
    auto result = step(*analysis_, reader_, files);
    commit(files);
    return result;
  }
  // "Run": the whole analysis `request` asks for, on the study read again with its time unit,
  // as `pellmar-cli run` makes it; every file in one commit, which then replaces the analysis
  // before. Its words go to `listener`. A failure or a stop keeps the analysis before.
  void runWhole(const RunRequest& request, const RunListener& listener, std::stop_token stop);
  // The paired bootstrap test, whose second study writes its own files and takes its own lock.
  PairedTestResult pairedTest(const PairedTestRequest& request, const ProgressReport& progress,
                              std::stop_token stop);

  // The steps the analysis has run so far, as one run would ask for them. Each guided step
  // records itself here, so that a step run again can start from the steps before it.
  [[nodiscard]] const RunRequest& stepsSoFar() const { return steps_; }
  void recordSteps(const RunRequest& steps) { steps_ = steps; }
  // The steps so far up to, not including, the step that sets the stable distribution (Read
  // SASD or Read fecundity) or the resampling: what a run of that step again is made from.
  [[nodiscard]] RunRequest stepsBeforeStableDistribution() const;
  [[nodiscard]] RunRequest stepsBeforeResampling() const;

 private:
  void commit(OutputFiles& files);

  platform::FileLock lock_;
  InputFileReader reader_;
  std::optional<Analysis> analysis_;
  RunRequest steps_;
};

}  // namespace pellmar
