#include "app/analysis.h"

#include <algorithm>

#include "core/analysis/cohort_contributions.h"
#include "core/data/study_reader.h"
#include "core/exports/results_workbook.h"
#include "core/exports/stage_curve_files.h"
#include "core/predation/stage_curves.h"
#include "core/user_error.h"

namespace pellmar {

Analysis Analysis::open(const OpenRequest& request, const std::string& outputBaseName,
                        InputFileReader& reader) {
  validate(request);
  const InputFile file = readDataFile(reader, request.dataFile);
  Analysis analysis(readStudy(file, request.timeUnit, outputBaseName));
  analysis.recordInput(file);
  return analysis;
}

StudyResults Analysis::results() const {
  StudyResults results{study_};
  results.basic = basic_ ? &*basic_ : nullptr;
  results.lifeTable = lifeTable_ ? &*lifeTable_ : nullptr;
  results.predation = predation_ ? &*predation_ : nullptr;
  results.bootstrap = bootstrap_ ? &*bootstrap_ : nullptr;
  results.jackknife = jackknife_ ? &*jackknife_ : nullptr;
  results.projection = projection_ ? &*projection_ : nullptr;
  return results;
}

std::string Analysis::reason(AnalysisStep step) const {
  const bool resampled = bootstrap_ || jackknife_;
  switch (step) {
    case AnalysisStep::kBasicRun:
      return basic_ ? "The Basic Run of this analysis has run." : "";
    case AnalysisStep::kReadSasd:
    case AnalysisStep::kReadFecundity:
    case AnalysisStep::kBootstrap:
    case AnalysisStep::kJackknife:
      break;
    case AnalysisStep::kNormalDensity:
    case AnalysisStep::kCompare:
      return bootstrap_ ? "" : "This needs a bootstrap first.";
    case AnalysisStep::kSamplesFile:
      return bootstrap_ && bootstrap_->ownLifeTable
                 ? ""
                 : "A samples file holds the replicates of an own-samples bootstrap with "
                   "fecundity; this analysis has none.";
    case AnalysisStep::kPairedTest:
      return bootstrap_ && !bootstrap_->sameSamples
                 ? ""
                 : "The paired bootstrap test takes this study's bootstrap of its own samples as "
                   "the first study: run one first.";
  }
  if (!basic_) return "Please run the Basic Run (Step 2) first.";
  if (resampled) return "A bootstrap or the jackknife of this analysis has run.";
  if (step == AnalysisStep::kReadSasd && distributionSource_ == DistributionSource::kFecundity) {
    return "The stable age-stage distribution of this run comes from the fecundity life table. "
           "Read SASD and Read fecundity exclude each other in one run.";
  }
  if (step == AnalysisStep::kReadFecundity &&
      distributionSource_ == DistributionSource::kSasdFile) {
    return "The stable age-stage distribution of this run has been read from a SASD file. Read "
           "SASD and Read fecundity exclude each other in one run.";
  }
  return "";
}

void Analysis::requireStep(AnalysisStep step, std::string_view title) const {
  if (const std::string why = reason(step); !why.empty()) {
    throw UserError(std::string(title), why, ErrorKind::kInvalidRequest);
  }
}

void Analysis::saveStageCurves(OutputFiles& files, bool expectancy, const FecundityData* fecundity,
                               const FecundityLifeTable* lifeTable,
                               const BootstrapResults* boot) const {
  const bool withLambda = fecundity != nullptr && lifeTable != nullptr && lifeTable->growth;
  const std::optional<EggContributions> eggs =
      withLambda ? std::optional(buildEggContributions(study_, *fecundity)) : std::nullopt;
  const StageCurves curves =
      stageCurvesOf(buildCohortContributions(study_), eggs ? &*eggs : nullptr,
                    withLambda ? lifeTable->growth->lambda : 0.0);
  if (expectancy) {
    writeStageCurveFile(study_, kExpectancySuffix, curves.cells, curves.expectancy,
                        boot != nullptr && boot->expectancyBand ? &*boot->expectancyBand : nullptr,
                        files);
  }
  if (withLambda) {
    writeStageCurveFile(
        study_, kReproductiveValueSuffix, curves.cells, curves.reproductiveValue,
        boot != nullptr && boot->reproductiveValueBand ? &*boot->reproductiveValueBand : nullptr,
        files);
  }
}

void Analysis::recordInput(const Input& input) {
  const auto known = std::find_if(inputs_.begin(), inputs_.end(),
                                  [&](const Input& other) { return other.path == input.path; });
  if (known == inputs_.end()) inputs_.push_back(input);
}

std::vector<std::string> Analysis::writtenPaths() const {
  std::vector<std::string> paths;
  for (const OutputFiles::Saved& file : filesWritten_) paths.push_back(file.path);
  return paths;
}

std::vector<SummaryRow> Analysis::summary() const {
  return summarizeResults(results(), confidence_);
}

void Analysis::writeSummary(OutputFiles& files) const {
  if (basic_) writeSummaryFile(summary(), files);
}

void Analysis::writeWorkbook(OutputFiles& files) const {
  if (!basic_) return;
  Workbook workbook;
  const StudyResults all = results();
  const std::optional<StudyReplicates> replicates =
      bootstrap_ ? std::optional(bootstrapReplicates(all)) : std::nullopt;
  addStudySheets(workbook, {}, summaryCsv(summary()), lifeTableSheet({}, all),
                 replicates ? &*replicates : nullptr);
  files.save(".xlsx", workbook.bytes());
}

void Analysis::commit(OutputFiles& files, const std::function<void(std::size_t)>& progress) {
  std::vector<OutputFiles::Saved> saved = files.saved();
  files.commit(progress);
  for (OutputFiles::Saved& file : saved) {
    file.temporary.clear();
    const auto earlier =
        std::find_if(filesWritten_.begin(), filesWritten_.end(),
                     [&](const OutputFiles::Saved& written) { return written.path == file.path; });
    if (earlier == filesWritten_.end()) {
      filesWritten_.push_back(std::move(file));
    } else {
      earlier->sha256 = file.sha256;
    }
  }
}

}  // namespace pellmar
