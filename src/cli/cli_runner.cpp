#include "cli/cli_runner.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "app/analysis.h"
#include "app/paired_test_command.h"
#include "app/run_command.h"
#include "app/system_clock.h"
#include "cli/cli_experiment.h"
#include "cli/cli_results.h"
#include "core/platform/utf8_path.h"
#include "core/report/output_file.h"
#include "core/resampling/samples_file.h"
#include "core/resampling/treatment2_file.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

// Everything one command line asks for: the run, and for compare the second study and the paired
// test.
struct CliRequests {
  RunRequest run;
  std::optional<PairedTestRequest> pairedTest;
};

CliRequests requestsFrom(const CliOptions& options) {
  CliRequests requests;
  RunRequest& run = requests.run;
  run.open = OpenRequest{options.dataFile, options.timeUnit};
  if (options.sasdFile) run.readSasd = ReadSasdRequest{*options.sasdFile};
  if (options.fecundityFile) run.readFecundity = ReadFecundityRequest{*options.fecundityFile};
  if (options.projectionDays) {
    run.projection = ProjectionRequest{*options.projectionDays, options.projectionStart};
  }
  if (options.sameSamplesFile) {
    BootstrapRequest bootstrap;
    bootstrap.source = SampleSource::kSameSamples;
    bootstrap.samplesFile = *options.sameSamplesFile;
    run.bootstrap = bootstrap;
  } else if (options.bootstrapReplicates) {
    BootstrapRequest bootstrap;
    bootstrap.replicates = *options.bootstrapReplicates;
    bootstrap.sampleSize = options.sampleSize;
    bootstrap.seed = options.seed ? *options.seed : seedFromClock();
    bootstrap.redrawBarren = options.redrawBarren;
    run.bootstrap = bootstrap;
  }
  run.normalDensity = options.normalDensity;
  run.writeSamples = options.writeSamples;
  if (options.compareFile) run.comparison = ComparisonRequest{*options.compareFile};
  run.jackknife = options.jackknife;
  run.confidence = options.confidence;
  if (options.action == CliOptions::Action::kCompare) {
    PairedTestRequest pairedTest;
    pairedTest.secondDataFile = options.secondDataFile;
    pairedTest.secondSasdFile = options.secondSasdFile;
    pairedTest.secondFecundityFile = options.secondFecundityFile;
    // --sample-size is the size of both studies' replicates.
    pairedTest.secondSampleSize = options.sampleSize;
    pairedTest.secondRecord = RunRecordRequest{"cli", options.arguments};
    requests.pairedTest = pairedTest;
  }
  return requests;
}

// Thrown when a stop request ends the run before its commit.
struct RunStopped {};

// The end of a run stopped before its commit; its temporaries went with its OutputFiles.
int stopped(std::ostream& err, const CliHooks& hooks) {
  err << "Stopped: nothing was written\n";
  return hooks.stoppedStatus ? hooks.stoppedStatus() : 130;
}

int exitStatusFor(const UserError& error) {
  return error.kind() == ErrorKind::kInvalidRequest ? 2 : 1;
}

// Progress on standard error, one line per tenth of the work, which keeps a log readable.
class ProgressLines {
 public:
  ProgressLines(std::ostream& err, std::string label) : err_(err), label_(std::move(label)) {}

  void operator()(long done, long total) {
    const long tenth = total >= 10 ? total / 10 : 1;
    if (done != lastShown_ && (done / tenth != lastShown_ / tenth || done == total)) {
      err_ << label_ << ": " << done << " of " << total << '\n';
      lastShown_ = done;
    }
  }

 private:
  std::ostream& err_;
  std::string label_;
  long lastShown_ = -1;
};

// Where a run writes, as the streams the options leave for it.
struct Streams {
  std::ostream& said;      // messages, results, the files written
  std::ostream& err;       // faults and warnings
  std::ostream& progress;  // progress lines
};

// What a run says, as the CLI prints it: messages on one stream, warnings on another, a line of
// progress per tenth of each long step.
class CliListener {
 public:
  explicit CliListener(const Streams& streams) : streams_(streams) {}
  [[nodiscard]] RunListener listener() {
    return {[this](const std::string& text) { streams_.said << text << '\n'; },
            [this](const std::string& text) { streams_.err << text << '\n'; },
            [this](std::string_view step) -> ProgressReport {
              lines_.emplace_back(streams_.progress, std::string(step));
              return std::ref(lines_.back());
            }};
  }

 private:
  const Streams& streams_;
  std::deque<ProgressLines> lines_;
};

// Takes the locks of the output bases in the order of their full paths, so that two runs that
// need the same two never wait for each other.
std::vector<platform::FileLock> lockInOrder(
    std::vector<std::pair<std::string, std::string>> studies) {
  std::sort(studies.begin(), studies.end(), [](const auto& a, const auto& b) {
    std::error_code ignored;
    return std::filesystem::absolute(pathFromUtf8(a.second), ignored) <
           std::filesystem::absolute(pathFromUtf8(b.second), ignored);
  });
  std::vector<platform::FileLock> locks;
  for (const auto& [dataFile, base] : studies) {
    locks.push_back(lockResultsOf(dataFile, base));
    removeLeftoverTemporaries(base);
  }
  return locks;
}

// What a run printed is lost when standard output cannot take it (a full disk): that is a
// failure of the run, whatever it did.
int checkedStatus(int status, std::ostream& out, std::ostream& err) {
  out.flush();
  if (out) return status;
  err << "pellmar-cli: standard output cannot be written (is the disk full?); what the run "
         "printed there is lost.\n";
  return status == 0 ? 1 : status;
}

// "check": the open step with every check of the data, and the empty basic report it creates.
int runCheck(const CliOptions& options, const Streams& streams) {
  const std::string base = outputBaseNameFor(options.dataFile, options.outputDir);
  const std::vector<platform::FileLock> locks = lockInOrder({{options.dataFile, base}});
  InputFileReader reader;
  Analysis::open(OpenRequest{options.dataFile, options.timeUnit}, base, reader);
  createEmptyFileIfAbsent(base + std::string(kBasicReportSuffix));
  streams.said << kStudyLooksOk << '\n';
  return 0;
}

int runAnalysis(const CliOptions& options, const CliRequests& requests, const Streams& streams,
                std::ostream& out, const CliHooks& hooks) {
  const std::string base = outputBaseNameFor(options.dataFile, options.outputDir);
  std::vector<std::pair<std::string, std::string>> studies{{options.dataFile, base}};
  std::string secondBase;
  if (requests.pairedTest) {
    secondBase = outputBaseNameFor(options.secondDataFile, options.outputDir);
    validate(*requests.pairedTest, base, secondBase);
    studies.emplace_back(options.secondDataFile, secondBase);
  }
  const std::vector<platform::FileLock> locks = lockInOrder(studies);

  // Every input of both studies is read and checked before the long work starts.
  InputFileReader reader;
  Analysis analysis = Analysis::open(requests.run.open, base, reader);
  if (requests.run.confidence) analysis.setConfidence(*requests.run.confidence);
  openInputsAhead(requests.run, reader);
  std::optional<SecondStudy> second;
  if (requests.pairedTest) {
    second.emplace(prepareSecondStudy(*requests.pairedTest, requests.run.open.timeUnit,
                                      analysis.confidence(), secondBase, reader));
  }

  // What the run says goes out once its files are in place: a run that fails says only why.
  std::ostringstream said;
  const Streams buffered{said, streams.err, streams.progress};
  OutputFiles files(base);
  std::ostream silent(nullptr);
  // A Basic Run that went wrong keeps its files, and nothing after it runs.
  int status = 0;
  if (second) {
    const Streams quiet{silent, streams.err, streams.progress};
    CliListener listener(quiet);
    status = runSteps(analysis, requests.run, reader, files, listener.listener(), hooks.stop);
    if (status != 0) second.reset();
  } else {
    CliListener listener(buffered);
    status = runSteps(analysis, requests.run, reader, files, listener.listener(), hooks.stop);
  }
  if (second) {
    said << "Bootstrap seeds: " << requests.run.bootstrap->seed << " (first study), "
         << requests.run.bootstrap->seed + 1 << " (second study)\n";
    ProgressLines progress(streams.progress, "Bootstrap of the second study");
    const PairedTestResult result = runPairedTest(analysis, *requests.pairedTest, *second, files,
                                                  std::ref(progress), hooks.stop);
    printPairedTest(said, result.test, analysis.confidence());
  } else if (!requests.pairedTest) {
    printMainResults(said, analysis.summary(),
                     analysis.bootstrap()   ? ResampledBy::kBootstrap
                     : analysis.jackknife() ? ResampledBy::kJackknife
                                            : ResampledBy::kNothing,
                     analysis.confidence(), analysis.study().timeUnit);
  }
  analysis.writeSummary(files);
  if (options.xlsx) analysis.writeWorkbook(files);
  analysis.writeRunRecord(RunRecordRequest{"cli", options.arguments}, files);
  // Every file of the run is complete: now they go in place, the run record last. A stop
  // request from here on comes too late: the renames take moments, and half of them would mix
  // the runs.
  if (hooks.stop.stop_requested()) throw RunStopped{};
  const std::vector<std::string> written = files.paths();
  analysis.commit(files, hooks.duringCommit);
  std::vector<std::string> secondWritten;
  if (second) {
    secondWritten = second->files.paths();
    second->analysis.commit(second->files, hooks.duringCommit);
  }
  streams.said << said.str();
  for (const std::string& path : written) streams.said << path << '\n';
  for (const std::string& path : secondWritten) streams.said << path << '\n';
  if (options.json) {
    std::optional<std::uint64_t> seed;
    if (analysis.bootstrap() && !analysis.bootstrap()->sameSamples) {
      seed = analysis.bootstrap()->seed;
    }
    out << resultsJson(analysis.summary(), written, seed);
  }
  return status;
}

int runCommand(const CliOptions& options, std::ostream& out, std::ostream& err,
               const CliHooks& hooks) {
  if (options.action == CliOptions::Action::kHelp) {
    out << options.helpText;
    return 0;
  }
  if (options.action == CliOptions::Action::kVersion) {
    out << "Pellmar " PELLMAR_VERSION "\n";
    return 0;
  }
  // With --quiet only errors are printed; with --json standard output holds the JSON alone.
  std::ostream silent(nullptr);
  const Streams streams{options.quiet || options.json ? silent : out, err,
                        options.quiet ? silent : err};
  try {
    if (options.action == CliOptions::Action::kExperiment) {
      return runExperimentCommand(options, streams.said, out, streams.progress, hooks.stop);
    }
    if (options.action == CliOptions::Action::kNewProject) {
      return runNewProjectCommand(options, streams.said);
    }
    const CliRequests requests = requestsFrom(options);
    if (options.action == CliOptions::Action::kCheck) return runCheck(options, streams);
    validate(requests.run);
    return runAnalysis(options, requests, streams, out, hooks);
  } catch (const UserError& error) {
    if (hooks.stop.stop_requested()) return stopped(err, hooks);
    err << error.title() << '\n' << error.text() << '\n';
    return exitStatusFor(error);
  } catch (const RunStopped&) {
    return stopped(err, hooks);
  }
}

}  // namespace

std::function<void(std::size_t renamed)> killAfterRenamesForTests() {
  const char* setting = std::getenv("PELLMAR_TEST_STOP_AFTER_RENAMES");
  if (setting == nullptr) return {};
  const std::size_t after = std::strtoull(setting, nullptr, 10);
  return [after](std::size_t renamed) {
    if (renamed == after) std::_Exit(137);
  };
}

int runCli(const CliOptions& options, std::ostream& out, std::ostream& err, const CliHooks& hooks) {
  return checkedStatus(runCommand(options, out, err, hooks), out, err);
}

}  // namespace pellmar
