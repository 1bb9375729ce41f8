#include "app/bootstrap_command.h"

#include <charconv>
#include <cmath>
#include <memory>

#include "app/numeric_prefix.h"
#include "app/program.h"
#include "core/data/field_reader.h"
#include "core/data/input_file.h"
#include "core/data/study_reader.h"
#include "core/numeric/egg_contributions.h"
#include "core/predation/sasd_tables.h"
#include "core/report/number_format.h"
#include "core/resampling/bootstrap_engine.h"
#include "core/resampling/bootstrap_files.h"
#include "core/resampling/bootstrap_frequency.h"
#include "core/resampling/bootstrap_summary.h"
#include "core/resampling/own_samples_file.h"
#include "core/resampling/samples_file.h"

namespace pellmar {
namespace {

constexpr const char* kSameSamplesTitle = "Same bootstrap samples";
constexpr const char* kSameSamplesNeedSasd =
    "The same bootstrap samples give the stable and finite predation rate of every replicate, "
    "which needs the stable age-stage distribution.\nPlease read the SASD file (Step 3) first.";
constexpr const char* kSameSamplesAfterFecundity =
    "This run computed its own life table from the fecundity file, so the bootstrap draws its "
    "own samples: replicates from the life-table program's samples file would pair this run's "
    "consumption with the R0 and lambda of another analysis.\nPlease answer 2 (No) for own "
    "samples.";

// The same samples need a stable age-stage distribution read from the life-table program's
// file; the reason a request for them cannot run, or none.
const char* sameSamplesRefusal(const Session& session) {
  if (session.lifeTable) return kSameSamplesAfterFecundity;
  if (!session.predation.sasdDone) return kSameSamplesNeedSasd;
  return nullptr;
}

// Own samples of a study whose females laid eggs compute their own life tables.
bool ownLifeTable(const Session& session) { return session.lifeTable && session.lifeTable->growth; }

}  // namespace

int wholeNumberAnswer(std::string_view answer) {
  const double rounded = std::nearbyint(numericPrefix(answer));
  if (!(std::fabs(rounded) < 1e9)) return rounded < 0 ? -1000000000 : 1000000000;
  return static_cast<int>(rounded);
}

std::optional<std::uint64_t> seedAnswer(std::string_view answer) {
  const auto first = answer.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  answer = answer.substr(first, answer.find_last_not_of(' ') - first + 1);
  std::uint64_t seed = 0;
  const auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), seed);
  if (error != std::errc() || end != answer.data() + answer.size()) return std::nullopt;
  return seed;
}

std::optional<BootstrapRequest> askBootstrap(Dialogs& dialogs, const Session& session,
                                             std::uint64_t clockSeed) {
  // A cancelled prompt answers as an empty one: the numbers it stands for are 0, the seed
  // comes from the clock.
  const std::string mode =
      dialogs
          .inputPrompt("Do you want to use the same bootstrap samples (1=Yes, 2=No)",
                       "Same bootstrap samples =?", "1")
          .value_or("");
  BootstrapRequest request;
  if (numericPrefix(mode) == 1) {
    if (const char* refusal = sameSamplesRefusal(session)) {
      dialogs.messageBox(refusal, MessageButtons::kOk, kSameSamplesTitle, MessageKind::kWarning);
      return std::nullopt;
    }
    request.source = SampleSource::kSameSamples;
    request.samplesFile = dialogs.openFileDialog(FileKind::kBootstrapSamples);
    if (request.samplesFile.empty()) return std::nullopt;
    return request;
  }
  request.replicates = wholeNumberAnswer(
      dialogs.inputPrompt("Enter the number of bootstarp (B <= 40000) ", "Bootstrap", "40000")
          .value_or(""));
  request.sampleSize =
      wholeNumberAnswer(dialogs
                            .inputPrompt("Enter the sample size (n) of bootstrap", "Sample size =?",
                                         formatInteger(session.study.individualCount))
                            .value_or(""));
  for (;;) {
    const std::string answer =
        dialogs.inputPrompt("Random seed (leave empty to take it from the clock)", "Bootstrap", "")
            .value_or("");
    if (answer.find_first_not_of(' ') == std::string::npos) {
      request.seed = clockSeed;
      break;
    }
    if (const auto seed = seedAnswer(answer)) {
      request.seed = *seed;
      break;
    }
    dialogs.messageBox("The seed must be a whole number from 0 to 18446744073709551615; \"" +
                           echoedField(answer) + "\" was given.",
                       MessageButtons::kOk, "Bootstrap", MessageKind::kWarning);
  }
  if (ownLifeTable(session)) {
    request.redrawBarren =
        dialogs.messageBox(kRedrawBarrenQuestion, MessageButtons::kYesNo, "Bootstrap",
                           MessageKind::kResult) == MessageAnswer::kYes;
  }
  return request;
}

bool offersSamplesFile(const Session& session) {
  const BootstrapState& boot = session.bootstrap;
  return boot.done && boot.ownLifeTable && boot.bootSampleSize == session.study.individualCount &&
         (boot.redrawBarren || boot.barrenReplicates == 0);
}

std::optional<SamplesFileRequest> askSamplesFile(Dialogs& dialogs, const Session& session) {
  if (!offersSamplesFile(session) ||
      dialogs.messageBox(kSamplesFileQuestion, MessageButtons::kYesNo, "Bootstrap",
                         MessageKind::kResult) != MessageAnswer::kYes) {
    return std::nullopt;
  }
  return SamplesFileRequest{};
}

std::optional<NormalDensityRequest> askNormalDensity(Dialogs& dialogs) {
  if (dialogs.messageBox(kNormalDensityQuestion, MessageButtons::kYesNo, "Normal density curve.",
                         MessageKind::kResult) != MessageAnswer::kYes) {
    return std::nullopt;
  }
  return NormalDensityRequest{};
}

void validate(const BootstrapRequest& request) {
  if (request.source == SampleSource::kSameSamples) {
    openInputFile(request.samplesFile, "Bootstrap samples");
    return;
  }
  if (request.replicates < 1 || request.replicates > kMaxBootstrapReplicates) {
    throw UserError("Bootstrap",
                    "The number of bootstraps must be from 1 to " +
                        formatInteger(kMaxBootstrapReplicates) + "; " +
                        formatInteger(request.replicates) + " was given.",
                    ErrorKind::kInvalidRequest);
  }
  if (request.sampleSize &&
      (*request.sampleSize < 1 || *request.sampleSize > kMaxBootstrapSampleSize)) {
    throw UserError("Bootstrap",
                    "The sample size must be from 1 to " + formatInteger(kMaxBootstrapSampleSize) +
                        "; " + formatInteger(*request.sampleSize) + " was given.",
                    ErrorKind::kInvalidRequest);
  }
}

BootstrapResult Program::run(const BootstrapRequest& request, const ProgressReport& progress,
                             std::stop_token stop) {
  return guarded([&] {
    Session& s = session_;
    const bool sameSamples = request.source == SampleSource::kSameSamples;
    if (const char* refusal = sameSamples ? sameSamplesRefusal(s) : nullptr) {
      throw UserError(kSameSamplesTitle, refusal, ErrorKind::kInvalidRequest);
    }
    validate(request);
    restartReportNumbers();
    const std::size_t filesBefore = s.writtenFiles.size();
    std::unique_ptr<SamplesFileReader> samples;
    if (sameSamples) {
      commands_.disable(Command::kJackknife);
      commands_.disable(Command::kOpenDataFile);
      commands_.enable(Command::kCheckDataFile);
      samples = std::make_unique<SamplesFileReader>(request.samplesFile, s.study.individualCount);
      s.recordInput(request.samplesFile);
    }

    // The master copy of the cohort, read again from the data file.
    const StudyData master =
        parseStudy(loadDataFile(s.study.dataFileName), StudyReadMode::kBootstrapRead, s.study);
    const CohortContributions cohort = buildCohortContributions(master);
    const int replicates = sameSamples ? samples->replicateCount() : request.replicates;
    const int sampleSize =
        sameSamples ? master.individualCount : request.sampleSize.value_or(master.individualCount);

    commands_.disable(Command::kReadSasd);
    commands_.disable(Command::kReadFecundity);
    commands_.disable(Command::kBasicRun);
    commands_.disable(Command::kJackknife);
    ReportWriter report;
    ReportPages pages{report, s.counters};
    writeStableDistributionTable(s, pages);
    if (s.predation.sasdDone) writeStablePredationTable(s, pages);
    commands_.enable(Command::kOpenDataFile);
    disableChartCommands();
    s.shownResampling = ResamplingKind::kBootstrap;

    BootstrapState& state = s.bootstrap;
    state = BootstrapState{};
    state.sameSamples = sameSamples;
    state.bootCount = replicates;
    state.bootSampleSize = sampleSize;
    state.seed = request.seed;
    state.redrawBarren = request.redrawBarren;
    state.beganAt = clock_().dateTimeText;
    sizeBootstrapTables(state, replicates, master.stageCount, master.sexCount);

    const ProgressAndStop work{progress, stop};
    if (sameSamples) {
      runSameSampleReplicates(cohort, state, *samples, work);
    } else if (ownLifeTable(s)) {
      const GrowthRates& growth = *s.lifeTable->growth;
      state.ownLifeTable = true;
      state.lifeTable.R0 = s.lifeTable->R0;
      state.lifeTable.lifeTableLambda = growth.lambda;
      const EggContributions eggs = buildEggContributions(master, s.fecundity);
      const OwnSampleFecundity fecundity{eggs, bracketAround(growth.r)};
      runOwnSampleReplicates(cohort, state, work, &fecundity);
    } else {
      runOwnSampleReplicates(cohort, state, work);
    }
    summarizeBootstrap(state, master.stageCount, s.basic.C0ByCell);
    writeBootstrapTable(s, pages);
    OutputFiles files = s.outputFiles();
    files.save("_0_Bootstrap_Output.txt", report);
    writeBootstrapResultFiles(s, files);
    commands_.disable(Command::kLarge);
    commands_.disable(Command::kFigureFrame);
    writeBootstrapFrequencyFile(s, files);
    state.done = true;
    commands_.disable(Command::kBootstrap);
    // A finished bootstrap can be compared with a second treatment's.
    commands_.enable(Command::kCompare);
    commands_.enable(Command::kActionFrame);
    // The paired test pairs replicates drawn here with a second study's drawn the same way.
    commands_.enable(Command::kPairedTest, !sameSamples);
    state.endedAt = clock_().dateTimeText;
    writeSummary();

    BootstrapResult result;
    result.source = request.source;
    result.replicates = replicates;
    result.sampleSize = sampleSize;
    result.seed = state.seed;
    result.c0 = state.c0;
    result.qp = state.qp;
    result.psi = state.psi;
    result.fp = state.fp;
    result.beganAt = state.beganAt;
    result.endedAt = state.endedAt;
    if (state.ownLifeTable) result.barrenReplicates = barrenReplicatesLine(state);
    result.filesWritten = filesWrittenSince(filesBefore);
    return result;
  });
}

SamplesFileResult Program::run(const SamplesFileRequest& /*request*/) {
  return guarded([&] {
    const Session& s = session_;
    const BootstrapState& boot = s.bootstrap;
    if (!boot.done || !boot.ownLifeTable) {
      throw UserError("Bootstrap",
                      "A samples file holds the replicates of an own-samples bootstrap with "
                      "fecundity; this run has none.",
                      ErrorKind::kInvalidRequest);
    }
    SamplesFileResult result;
    if (!boot.redrawBarren && boot.barrenReplicates > 0) {
      result.warning = Notice{
          "Bootstrap", "The samples file was not written: " + barrenReplicatesLine(boot) +
                           ", and a samples file holds only replicates with eggs (their R0 and "
                           "lambda). Run the bootstrap with --redraw-barren (answer Yes to "
                           "drawing such replicates again) to write one."};
      return result;
    }
    if (boot.bootSampleSize != s.study.individualCount) {
      result.warning =
          Notice{"Bootstrap", "The samples file was not written: its replicates would hold " +
                                  formatInteger(boot.bootSampleSize) +
                                  " individuals each, and a samples file is read " +
                                  "only with samples of the cohort's size (" +
                                  formatInteger(s.study.individualCount) + ")."};
      return result;
    }
    const std::size_t filesBefore = session_.writtenFiles.size();
    OutputFiles files = session_.outputFiles();
    writeOwnSamplesFile(s, buildEggContributions(s.study, s.fecundity), files);
    result.filesWritten = filesWrittenSince(filesBefore);
    return result;
  });
}

NormalDensityResult Program::run(const NormalDensityRequest& /*request*/) {
  return guarded([&] {
    if (!session_.bootstrap.done) {
      throw UserError("Normal density curve.", "The normal density curves need a bootstrap first.",
                      ErrorKind::kInvalidRequest);
    }
    const std::size_t filesBefore = session_.writtenFiles.size();
    OutputFiles files = session_.outputFiles();
    writeNormalDensityCurves(session_, files);
    return NormalDensityResult{Notice{"Task completed", "Congratulation!"},
                               filesWrittenSince(filesBefore)};
  });
}

}  // namespace pellmar
