#include "ui/shell/desktop_analysis.h"

#include "app/paired_test_command.h"
#include "core/report/output_file.h"
#include "core/user_error.h"
#include "ui/shell/command_states.h"

namespace pellmar {

void DesktopAnalysis::open(const OpenRequest& request,
                           const std::optional<std::string>& outputFolder) {
  validate(request);
  const std::string base = outputBaseNameFor(request.dataFile, outputFolder);
  platform::FileLock lock = lockResultsOf(request.dataFile, base);
  removeLeftoverTemporaries(base);
  Analysis analysis = Analysis::open(request, base, reader_);
  createEmptyFileIfAbsent(analysis.basicReportPath());
  lock_ = std::move(lock);
  analysis_.emplace(std::move(analysis));
  steps_ = RunRequest{};
  steps_.open = request;
}

RunRequest DesktopAnalysis::stepsBeforeResampling() const {
  RunRequest steps = steps_;
  steps.bootstrap.reset();
  steps.normalDensity = false;
  steps.writeSamples = false;
  steps.comparison.reset();
  steps.jackknife = false;
  steps.projection.reset();
  return steps;
}

RunRequest DesktopAnalysis::stepsBeforeStableDistribution() const {
  RunRequest steps = stepsBeforeResampling();
  steps.readSasd.reset();
  steps.readFecundity.reset();
  return steps;
}

void DesktopAnalysis::commit(OutputFiles& files) {
  analysis_->writeSummary(files);
  analysis_->writeRunRecord(RunRecordRequest{"desktop", {}}, files);
  analysis_->commit(files);
}

void DesktopAnalysis::runWhole(const RunRequest& request, const RunListener& listener,
                               std::stop_token stop) {
  validate(request);
  InputFileReader reader;
  const std::string base = analysis_->study().outputBaseName;
  Analysis fresh = Analysis::open(request.open, base, reader);
  if (request.confidence) fresh.setConfidence(*request.confidence);
  openInputsAhead(request, reader);
  OutputFiles files(base);
  const bool basicRunFailed = runSteps(fresh, request, reader, files, listener, stop) != 0;
  fresh.writeSummary(files);
  fresh.writeRunRecord(RunRecordRequest{"desktop", runArguments(request)}, files);
  if (stop.stop_requested()) {
    throw UserError("Run", "The run was stopped before it ended; no file was written.",
                    ErrorKind::kCommandFailed);
  }
  fresh.commit(files);
  analysis_.emplace(std::move(fresh));
  reader_ = std::move(reader);
  steps_ = request;
  // A failed Basic Run ends the steps: those after it did not run.
  if (basicRunFailed) {
    steps_ = RunRequest{};
    steps_.open = request.open;
  }
}

PairedTestResult DesktopAnalysis::pairedTest(const PairedTestRequest& request,
                                             const ProgressReport& progress, std::stop_token stop) {
  if (!analysis_->canRun(AnalysisStep::kPairedTest)) {
    throw UserError(std::string(kPairedTestTitle), analysis_->reason(AnalysisStep::kPairedTest),
                    ErrorKind::kInvalidRequest);
  }
  const std::string secondBase = outputBaseNameFor(request.secondDataFile);
  validate(request, analysis_->study().outputBaseName, secondBase);
  const platform::FileLock secondLock = lockResultsOf(request.secondDataFile, secondBase);
  removeLeftoverTemporaries(secondBase);
  SecondStudy second = prepareSecondStudy(request, analysis_->study().timeUnit,
                                          analysis_->confidence(), secondBase, reader_);
  OutputFiles files(analysis_->study().outputBaseName);
  const PairedTestResult result = runPairedTest(*analysis_, request, second, files, progress, stop);
  second.analysis.commit(second.files);
  commit(files);
  return result;
}

CommandStates commandStatesFor(const DesktopAnalysis& desktop) {
  CommandStates states;
  for (const Command command :
       {Command::kBasicRun, Command::kReadSasd, Command::kReadFecundity, Command::kBootstrap,
        Command::kJackknife, Command::kCompare, Command::kActionFrame, Command::kPairedTest,
        Command::kOutputFiles, Command::kResults, Command::kMeans, Command::kLarge,
        Command::kFigureFrame, Command::kShowFecundity, Command::kShowVxj}) {
    states.disable(command);
  }
  if (!desktop.isOpen()) {
    states.show(Command::kCompare, false);
    return states;
  }
  const Analysis& analysis = desktop.analysis();
  if (!analysis.basic()) {
    states.enable(Command::kBasicRun);
    states.show(Command::kCompare, false);
    states.focus(Command::kBasicRun);
    return states;
  }
  for (const Command command : {Command::kBasicRun, Command::kLarge, Command::kMeans,
                                Command::kResults, Command::kOutputFiles, Command::kFigureFrame}) {
    states.enable(command);
  }
  states.focus(Command::kShowSxj);
  // Every step can run again: one that has run, or whose later steps have, runs again from the
  // steps before it.
  states.enable(Command::kReadSasd);
  states.enable(Command::kReadFecundity);
  states.enable(Command::kBootstrap);
  states.enable(Command::kJackknife);
  states.enable(Command::kShowFecundity, analysis.lifeTable().has_value());
  states.enable(Command::kShowVxj,
                analysis.lifeTable().has_value() && analysis.lifeTable()->growth.has_value());
  if (!analysis.bootstrap() && !analysis.jackknife()) return states;
  states.enable(Command::kCompare, analysis.bootstrap() && !analysis.comparison());
  states.enable(Command::kActionFrame, analysis.bootstrap().has_value());
  states.enable(Command::kPairedTest, analysis.canRun(AnalysisStep::kPairedTest));
  return states;
}

}  // namespace pellmar
