#include "app/bootstrap_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include "app/analysis.h"
#include "app/numeric_prefix.h"
#include "core/data/field_reader.h"
#include "core/data/input_file.h"
#include "core/exports/replicates_file.h"
#include "core/report/number_format.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/bootstrap_frequency.h"
#include "core/resampling/bootstrap_summary.h"
#include "core/resampling/own_samples_file.h"
#include "core/resampling/samples_file.h"
#include "core/user_error.h"

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
const char* sameSamplesRefusal(const Analysis& analysis) {
  if (analysis.lifeTable()) return kSameSamplesAfterFecundity;
  if (!analysis.predation()) return kSameSamplesNeedSasd;
  return nullptr;
}

// Own samples of a study whose females laid eggs compute their own life tables.
bool ownLifeTable(const Analysis& analysis) {
  return analysis.lifeTable() && analysis.lifeTable()->growth;
}

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

std::optional<BootstrapRequest> askBootstrap(Dialogs& dialogs, const Analysis& analysis,
                                             std::uint64_t clockSeed) {
  // Cancel on any prompt cancels the bootstrap. The answer offered is one that can run: the
  // same samples only where the analysis has what they need.
  const char* refusal = sameSamplesRefusal(analysis);
  std::optional<double> mode;
  while (!mode) {
    const std::optional<std::string> answer =
        dialogs.inputPrompt("Do you want to use the same bootstrap samples (1=Yes, 2=No)",
                            "Same bootstrap samples =?", refusal == nullptr ? "1" : "2");
    if (!answer) return std::nullopt;
    const double number = numericPrefix(*answer);
    if (number == 1 || number == 2) {
      mode = number;
    } else {
      dialogs.messageBox(
          "Please answer 1 (Yes) or 2 (No); \"" + echoedField(*answer) + "\" is neither.",
          MessageButtons::kOk, kSameSamplesTitle, MessageKind::kWarning);
    }
  }
  BootstrapRequest request;
  if (*mode == 1) {
    if (refusal != nullptr) {
      dialogs.messageBox(refusal, MessageButtons::kOk, kSameSamplesTitle, MessageKind::kWarning);
      return std::nullopt;
    }
    request.source = SampleSource::kSameSamples;
    request.samplesFile = dialogs.openFileDialog(FileKind::kBootstrapSamples);
    if (request.samplesFile.empty()) return std::nullopt;
    return request;
  }
  // The prompts name the limits of the data model, which the request is checked against.
  const std::optional<std::string> replicates =
      dialogs.inputPrompt("Enter the number of bootstrap replicates B (1 to " +
                              formatInteger(kMaxBootstrapReplicates) + ")",
                          "Bootstrap", "10000");
  if (!replicates) return std::nullopt;
  request.replicates = wholeNumberAnswer(*replicates);
  const int cohort = std::min(analysis.study().individualCount, kMaxBootstrapSampleSize);
  const std::optional<std::string> sampleSize =
      dialogs.inputPrompt("Enter the sample size n of each replicate (1 to " +
                              formatInteger(kMaxBootstrapSampleSize) + ")",
                          "Sample size =?", formatInteger(cohort));
  if (!sampleSize) return std::nullopt;
  request.sampleSize = wholeNumberAnswer(*sampleSize);
  for (;;) {
    const std::optional<std::string> answer =
        dialogs.inputPrompt("Random seed (leave empty to take it from the clock)", "Bootstrap", "");
    if (!answer) return std::nullopt;
    if (answer->find_first_not_of(' ') == std::string::npos) {
      request.seed = clockSeed;
      break;
    }
    if (const auto seed = seedAnswer(*answer)) {
      request.seed = *seed;
      break;
    }
    dialogs.messageBox("The seed must be a whole number from 0 to 18446744073709551615; \"" +
                           echoedField(*answer) + "\" was given.",
                       MessageButtons::kOk, "Bootstrap", MessageKind::kWarning);
  }
  if (ownLifeTable(analysis)) {
    request.redrawBarren =
        dialogs.messageBox(kRedrawBarrenQuestion, MessageButtons::kYesNo, "Bootstrap",
                           MessageKind::kResult) == MessageAnswer::kYes;
  }
  return request;
}

bool offersSamplesFile(const Analysis& analysis) {
  if (!analysis.bootstrap()) return false;
  const BootstrapResults& boot = *analysis.bootstrap();
  return boot.ownLifeTable && boot.bootSampleSize == analysis.study().individualCount &&
         (boot.redrawBarren || boot.barrenReplicates == 0);
}

std::optional<SamplesFileRequest> askSamplesFile(Dialogs& dialogs, const Analysis& analysis) {
  if (!offersSamplesFile(analysis) ||
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
    if (request.samplesFile.empty()) {
      throw UserError(std::string(kSamplesFileTitle), "No bootstrap samples file was chosen.",
                      ErrorKind::kInvalidRequest);
    }
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

BootstrapResult Analysis::bootstrap(const BootstrapRequest& request, InputFileReader& reader,
                                    OutputFiles& files, const ProgressReport& progress,
                                    std::stop_token stop) {
  requireStep(AnalysisStep::kBootstrap, "Bootstrap");
  const bool sameSamples = request.source == SampleSource::kSameSamples;
  if (const char* refusal = sameSamples ? sameSamplesRefusal(*this) : nullptr) {
    throw UserError(kSameSamplesTitle, refusal, ErrorKind::kInvalidRequest);
  }
  validate(request);
  const ProgressAndStop work{progress, std::move(stop)};
  BootstrapResults boot;
  std::optional<Input> samplesInput;
  if (sameSamples) {
    InputFile file = reader.read(request.samplesFile, kSamplesFileTitle);
    samplesInput = Input{file.path, file.bytes.size(), file.sha256};
    SamplesFileReader samples(std::move(file.bytes), study_.individualCount, file.path);
    boot = sameSamplesBootstrap(study_, *basic_, samples, work, confidence_);
  } else {
    OwnSamplesOptions options;
    options.replicates = request.replicates;
    options.sampleSize = request.sampleSize.value_or(study_.individualCount);
    options.seed = request.seed;
    options.redrawBarren = request.redrawBarren;
    options.confidence = confidence_;
    const std::optional<StudyFecundity> fecundity =
        lifeTable_ ? std::optional(StudyFecundity{*fecundity_, *lifeTable_}) : std::nullopt;
    boot = ownSamplesBootstrap(study_, *basic_, options, fecundity ? &*fecundity : nullptr, work);
  }
  const std::size_t before = files.saved().size();
  ReportCounters counters = counters_;
  writeBootstrapFiles(BootstrapReport{study_, *basic_, predation_ ? &*predation_ : nullptr, boot},
                      counters, files);
  saveStageCurves(files, true, fecundity_ ? &*fecundity_ : nullptr,
                  lifeTable_ ? &*lifeTable_ : nullptr, &boot);
  writeReplicatesFile(
      bootstrapReplicates(StudyResults{study_, &*basic_, lifeTable_ ? &*lifeTable_ : nullptr,
                                       predation_ ? &*predation_ : nullptr, &boot, nullptr}),
      files);

  BootstrapResult result;
  result.source = request.source;
  result.replicates = boot.bootCount;
  result.sampleSize = boot.bootSampleSize;
  result.seed = boot.seed;
  result.c0 = boot.c0;
  result.qp = boot.qp;
  result.psi = boot.psi;
  result.fp = boot.fp;
  if (boot.ownLifeTable) result.barrenReplicates = barrenReplicatesLine(boot);
  result.filesWritten = files.pathsSince(before);
  if (samplesInput) recordInput(*samplesInput);
  counters_ = counters;
  bootstrap_ = std::move(boot);
  return result;
}

SamplesFileResult Analysis::samplesFile(OutputFiles& files) const {
  requireStep(AnalysisStep::kSamplesFile, "Bootstrap");
  const BootstrapResults& boot = *bootstrap_;
  SamplesFileResult result;
  if (!boot.redrawBarren && boot.barrenReplicates > 0) {
    result.warning = Notice{
        "Bootstrap", "The samples file was not written: " + barrenReplicatesLine(boot) +
                         ", and a samples file holds only replicates with eggs (their R0 and "
                         "lambda). Run the bootstrap with --redraw-barren (answer Yes to "
                         "drawing such replicates again) to write one."};
    return result;
  }
  if (boot.bootSampleSize != study_.individualCount) {
    result.warning =
        Notice{"Bootstrap", "The samples file was not written: its replicates would hold " +
                                formatInteger(boot.bootSampleSize) +
                                " individuals each, and a samples file is read " +
                                "only with samples of the cohort's size (" +
                                formatInteger(study_.individualCount) + ")."};
    return result;
  }
  const std::size_t before = files.saved().size();
  writeOwnSamplesFile(study_, boot, buildEggContributions(study_, *fecundity_), files);
  result.filesWritten = files.pathsSince(before);
  return result;
}

NormalDensityResult Analysis::normalDensity(OutputFiles& files) const {
  requireStep(AnalysisStep::kNormalDensity, "Normal density curve.");
  const std::size_t before = files.saved().size();
  writeNormalDensityCurves(
      BootstrapReport{study_, *basic_, predation_ ? &*predation_ : nullptr, *bootstrap_}, files);
  return NormalDensityResult{Notice{"Task completed", "Congratulations!"},
                             files.pathsSince(before)};
}

}  // namespace pellmar
