#include "cli/cli_runner.h"

#include <functional>
#include <optional>
#include <string>

#include "app/program.h"
#include "app/system_clock.h"
#include "cli/cli_results.h"

namespace pellmar {
namespace {

// Everything one command line asks for, in the order it runs.
struct CliRequests {
  OpenRequest open;
  bool checkOnly = false;
  std::optional<ReadSasdRequest> readSasd;
  std::optional<ReadFecundityRequest> readFecundity;
  std::optional<BootstrapRequest> bootstrap;
  bool normalDensity = false;
  bool writeSamples = false;
  std::optional<ComparisonRequest> comparison;
  bool jackknife = false;
  // compare: the second study and the paired test.
  std::optional<PairedTestRequest> pairedTest;
};

CliRequests requestsFrom(const CliOptions& options) {
  CliRequests requests;
  requests.open = OpenRequest{options.dataFile, options.timeUnit};
  requests.checkOnly = options.action == CliOptions::Action::kCheck;
  if (options.sasdFile) requests.readSasd = ReadSasdRequest{*options.sasdFile};
  if (options.fecundityFile) requests.readFecundity = ReadFecundityRequest{*options.fecundityFile};
  if (options.sameSamplesFile) {
    BootstrapRequest bootstrap;
    bootstrap.source = SampleSource::kSameSamples;
    bootstrap.samplesFile = *options.sameSamplesFile;
    requests.bootstrap = bootstrap;
  } else if (options.bootstrapReplicates) {
    BootstrapRequest bootstrap;
    bootstrap.replicates = *options.bootstrapReplicates;
    bootstrap.sampleSize = options.sampleSize;
    bootstrap.seed = options.seed ? *options.seed : seedFromClock();
    bootstrap.redrawBarren = options.redrawBarren;
    requests.bootstrap = bootstrap;
  }
  requests.normalDensity = options.normalDensity;
  requests.writeSamples = options.writeSamples;
  if (options.compareFile) requests.comparison = ComparisonRequest{*options.compareFile};
  requests.jackknife = options.jackknife;
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

void validateAll(const CliRequests& requests) {
  validate(requests.open);
  if (requests.readSasd) validate(*requests.readSasd);
  if (requests.bootstrap) validate(*requests.bootstrap);
  if (requests.comparison) validate(*requests.comparison);
  if (requests.pairedTest) validate(*requests.pairedTest, requests.open.dataFile);
  // Last: it reads the data and the fecundity file through.
  if (requests.readFecundity) validate(*requests.readFecundity, requests.open);
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

// Runs the requests after the open step; `out` takes the messages, `err` the warnings and
// `progress` the progress lines. Returns the exit status.
int runAnalysis(Program& program, const CliRequests& requests, std::ostream& out, std::ostream& err,
                std::ostream& progressOut) {
  const BasicRunResult basicRun = program.run(BasicRunRequest{});
  if (basicRun.warning) {
    // The analysis went wrong: nothing later would be worth having.
    err << basicRun.warning->title << '\n' << basicRun.warning->text << '\n';
    return 1;
  }
  if (requests.readSasd) {
    out << program.run(*requests.readSasd).message.text << '\n';
  }
  if (requests.readFecundity) {
    const ReadFecundityResult lifeTable = program.run(*requests.readFecundity);
    if (lifeTable.warning)
      err << lifeTable.warning->title << '\n' << lifeTable.warning->text << '\n';
    out << lifeTable.message.text << '\n';
  }
  if (requests.bootstrap) {
    if (requests.bootstrap->source == SampleSource::kOwnSamples) {
      out << "Bootstrap seed: " << requests.bootstrap->seed << '\n';
    }
    ProgressLines progress(progressOut, "Bootstrap");
    const BootstrapResult bootstrap = program.run(*requests.bootstrap, std::ref(progress));
    if (bootstrap.barrenReplicates) out << *bootstrap.barrenReplicates << '\n';
    out << kNormalDensityQuestion << '\n';
    if (requests.normalDensity) {
      out << program.run(NormalDensityRequest{}).message.text << '\n';
    }
    if (offersSamplesFile(program.session())) out << kSamplesFileQuestion << '\n';
    if (requests.writeSamples) {
      const SamplesFileResult samples = program.run(SamplesFileRequest{});
      if (samples.warning) err << samples.warning->title << '\n' << samples.warning->text << '\n';
    }
    if (requests.comparison) {
      out << program.run(*requests.comparison).message.text << '\n';
    }
  }
  if (requests.jackknife) {
    ProgressLines progress(progressOut, "Jackknife");
    const JackknifeResult jackknife = program.run(JackknifeRequest{}, std::ref(progress));
    if (jackknife.note) out << *jackknife.note << '\n';
  }
  return 0;
}

// compare: the first study as run runs it, its messages unprinted; then the second study and
// the paired test, with the seeds, the test of C0 and every file written.
int runComparison(Program& program, const CliRequests& requests, std::ostream& out,
                  std::ostream& err, std::ostream& progressOut,
                  std::vector<std::string>& secondFiles) {
  std::ostream silent(nullptr);
  const int status = runAnalysis(program, requests, silent, err, progressOut);
  if (status != 0) return status;
  out << "Bootstrap seeds: " << requests.bootstrap->seed << " (first study), "
      << requests.bootstrap->seed + 1 << " (second study)\n";
  ProgressLines progress(progressOut, "Bootstrap of the second study");
  const PairedTestResult result = program.run(*requests.pairedTest, std::ref(progress));
  secondFiles = result.secondFilesWritten;
  printPairedTest(out, result.test, program.confidence());
  return 0;
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

int runCommand(const CliOptions& options, std::ostream& out, std::ostream& err) {
  if (options.action == CliOptions::Action::kHelp) {
    out << cliUsage();
    return 0;
  }
  if (options.action == CliOptions::Action::kVersion) {
    out << "Pellmar " PELLMAR_VERSION "\n";
    return 0;
  }
  const auto fail = [&](const UserError& error) {
    err << error.title() << '\n' << error.text() << '\n';
    return exitStatusFor(error);
  };
  const CliRequests requests = requestsFrom(options);
  try {
    validateAll(requests);
  } catch (const UserError& error) {
    return fail(error);
  }

  // With --quiet only errors are printed; with --json standard output holds the JSON alone.
  std::ostream silent(nullptr);
  std::ostream& said = options.quiet || options.json ? silent : out;
  std::ostream& progressOut = options.quiet ? silent : err;

  Program program(readSystemClock);
  if (options.confidence) program.setConfidence(*options.confidence);
  try {
    program.run(requests.open);
    if (requests.checkOnly) {
      said << program.run(CheckRequest{}).message.text << '\n';
      return 0;
    }
  } catch (const UserError& error) {
    return fail(error);
  }
  int status = 0;
  std::vector<std::string> secondFiles;
  try {
    status = requests.pairedTest
                 ? runComparison(program, requests, said, err, progressOut, secondFiles)
                 : runAnalysis(program, requests, said, err, progressOut);
  } catch (const UserError& error) {
    status = fail(error);
  }
  const Session& session = program.session();
  const std::vector<SummaryRow> summary = program.summary();
  const ResampledBy resampling = session.bootstrap.done   ? ResampledBy::kBootstrap
                                 : session.jackknife.done ? ResampledBy::kJackknife
                                                          : ResampledBy::kNothing;
  if (!requests.pairedTest) {
    printMainResults(said, summary, resampling, program.confidence(), session.study.timeUnit);
  }
  // The run record comes last, after every other file, also when a later step failed.
  if (session.basic.basicRunDone) {
    try {
      program.run(RunRecordRequest{"cli", options.arguments});
    } catch (const UserError& error) {
      const int recordStatus = fail(error);
      if (status == 0) status = recordStatus;
    }
  }
  // Every file the run wrote: the basic report first.
  for (const std::string& path : session.writtenFiles) said << path << '\n';
  for (const std::string& path : secondFiles) said << path << '\n';
  if (options.json) {
    std::optional<std::uint64_t> seed;
    if (session.bootstrap.done && !session.bootstrap.sameSamples) seed = session.bootstrap.seed;
    out << resultsJson(summary, session.writtenFiles, seed);
  }
  return status;
}

}  // namespace

int runCli(const CliOptions& options, std::ostream& out, std::ostream& err) {
  return checkedStatus(runCommand(options, out, err), out, err);
}

}  // namespace pellmar
