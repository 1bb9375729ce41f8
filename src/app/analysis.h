#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/basic_run_command.h"
#include "app/bootstrap_command.h"
#include "app/comparison_command.h"
#include "app/jackknife_command.h"
#include "app/open_command.h"
#include "app/projection_command.h"
#include "app/read_fecundity_command.h"
#include "app/read_sasd_command.h"
#include "app/run_record_command.h"
#include "core/analysis/basic_run_results.h"
#include "core/data/fecundity_file.h"
#include "core/data/input_file.h"
#include "core/data/study.h"
#include "core/exports/results_summary.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/predation_rates.h"
#include "core/report/report_output.h"
#include "core/resampling/bootstrap_results.h"
#include "core/resampling/comparison_results.h"
#include "core/resampling/jackknife_results.h"
#include "core/resampling/projection_replicates.h"

namespace pellmar {

// How far long work has come: `done` of `total` steps.
using ProgressReport = std::function<void(long done, long total)>;

// The steps of an analysis after the data file is open.
enum class AnalysisStep {
  kBasicRun,
  kReadSasd,
  kReadFecundity,
  kBootstrap,
  kJackknife,
  kNormalDensity,  // the normal density curves of a bootstrap
  kSamplesFile,    // the samples file of an own-samples bootstrap with fecundity
  kCompare,        // "C2B": the t-test of the bootstrap against a second treatment's file
  kPairedTest,     // the paired bootstrap test against a second study
};

// Where the stable age-stage distribution of the analysis came from.
enum class DistributionSource { kNone, kSasdFile, kFecundity };

// One study's analysis: the study, read and checked once, the results of each step so far, and
// the page and table numbers that run on across its reports. Each step takes a request, checks
// it, reads its inputs through an InputFileReader, computes its results and saves its files into
// the OutputFiles it is given; commit() puts them in place. A refused or failed step leaves the
// results as they were.
class Analysis {
 public:
  // "Open data file": reads the data file through `reader` and checks every record. The data
  // file error when it cannot be read or holds a fault; the refusal of a time unit out of range.
  static Analysis open(const OpenRequest& request, const std::string& outputBaseName,
                       InputFileReader& reader);

  [[nodiscard]] const Study& study() const { return study_; }
  [[nodiscard]] const std::optional<BasicRunResults>& basic() const { return basic_; }
  [[nodiscard]] const std::optional<FecundityData>& fecundity() const { return fecundity_; }
  [[nodiscard]] const std::optional<FecundityLifeTable>& lifeTable() const { return lifeTable_; }
  [[nodiscard]] const std::optional<PredationRates>& predation() const { return predation_; }
  [[nodiscard]] DistributionSource distributionSource() const { return distributionSource_; }
  [[nodiscard]] const std::optional<BootstrapResults>& bootstrap() const { return bootstrap_; }
  [[nodiscard]] const std::optional<JackknifeResults>& jackknife() const { return jackknife_; }
  [[nodiscard]] const std::optional<ComparisonResults>& comparison() const { return comparison_; }
  // Every result so far, for the summary and the screens.
  [[nodiscard]] StudyResults results() const;

  // True when `step` can run now; reason() says why not.
  [[nodiscard]] bool canRun(AnalysisStep step) const { return reason(step).empty(); }
  [[nodiscard]] std::string reason(AnalysisStep step) const;

  // "Basic Run": the age-stage analysis, the basic report and its figure and export files.
  // result.warning says when the individuals counted by sex do not add up.
  BasicRunResult basicRun(OutputFiles& files);
  // "Read SASD": the stable age-stage distribution of a file, checked against the study.
  ReadSasdResult readSasd(const ReadSasdRequest& request, InputFileReader& reader,
                          OutputFiles& files);
  // "Read fecundity": the life table with fecundity and, when eggs were laid, its stable
  // age-stage distribution, written as a SASD file and used as Read SASD uses one.
  ReadFecundityResult readFecundity(const ReadFecundityRequest& request, InputFileReader& reader,
                                    OutputFiles& files);
  // "Bootstrap": every replicate, the report and the result files. Long: `progress` hears how
  // far it has come, and `stop` ends it early with nothing kept.
  BootstrapResult bootstrap(const BootstrapRequest& request, InputFileReader& reader,
                            OutputFiles& files, const ProgressReport& progress = {},
                            std::stop_token stop = {});
  NormalDensityResult normalDensity(OutputFiles& files) const;
  SamplesFileResult samplesFile(OutputFiles& files) const;
  // "Jackknife": the study without each individual in turn.
  JackknifeResult jackknife(OutputFiles& files, const ProgressReport& progress = {},
                            std::stop_token stop = {});
  // "Projection", after Read fecundity: "<base>_projection.csv"; after an own-samples bootstrap
  // with the eggs, with its band, and "<base>_projection_lambda_ranks.csv". Long with a band:
  // `progress` hears how far it has come, and `stop` ends it early with nothing kept.
  ProjectionResult project(const ProjectionRequest& request, OutputFiles& files,
                           const ProgressReport& progress = {}, std::stop_token stop = {});
  [[nodiscard]] const std::optional<Projection>& projection() const { return projection_; }
  [[nodiscard]] const std::optional<ProjectionReplicates>& projectionReplicates() const {
    return projectionReplicates_;
  }
  // "C2B".
  ComparisonResult compare(const ComparisonRequest& request, InputFileReader& reader,
                           OutputFiles& files);

  // "<base>_summary.csv": every quantity computed so far.
  void writeSummary(OutputFiles& files) const;
  // "<base>.xlsx", the workbook of the results: the sheets Summary, Life table and, after a
  // bootstrap, Replicates. Nothing before the Basic Run.
  void writeWorkbook(OutputFiles& files) const;
  // "<base>_run.json", the last file of a commit: the inputs, the choices and every file the
  // analysis has written, those of `files` included, with their SHA-256.
  void writeRunRecord(const RunRecordRequest& request, OutputFiles& files) const;
  // Puts the files in place (OutputFiles::commit(), which `progress` follows) and keeps them
  // for the run record.
  void commit(OutputFiles& files, const std::function<void(std::size_t)>& progress = {});

  // The confidence of the summary's intervals, 0 < confidence < 1.
  void setConfidence(double confidence) { confidence_ = confidence; }
  [[nodiscard]] double confidence() const { return confidence_; }
  [[nodiscard]] std::vector<SummaryRow> summary() const;

  // Every input read, in the order first read, and every file committed, in the order written.
  struct Input {
    std::string path;
    std::uintmax_t bytes = 0;
    std::string sha256;
  };
  [[nodiscard]] const std::vector<Input>& inputs() const { return inputs_; }
  [[nodiscard]] const std::vector<OutputFiles::Saved>& filesWritten() const {
    return filesWritten_;
  }
  // The paths of the files written, in order; and where the basic report goes.
  [[nodiscard]] std::vector<std::string> writtenPaths() const;
  [[nodiscard]] std::string basicReportPath() const {
    return study_.outputBaseName + std::string(kBasicReportSuffix);
  }

 private:
  explicit Analysis(Study study) : study_(std::move(study)) {}
  void recordInput(const Input& input);
  void recordInput(const InputFile& file) {
    recordInput(Input{file.path, file.bytes.size(), file.sha256});
  }
  void requireStep(AnalysisStep step, std::string_view title) const;
  // "<base>_exj.csv" and, with `lifeTable` when it has a lambda, "<base>_vxj.csv", each with
  // the band of `boot` when there is one.
  void saveStageCurves(OutputFiles& files, bool expectancy, const FecundityData* fecundity,
                       const FecundityLifeTable* lifeTable, const BootstrapResults* boot) const;

  Study study_;
  std::optional<BasicRunResults> basic_;
  std::optional<FecundityData> fecundity_;
  std::optional<FecundityLifeTable> lifeTable_;
  std::optional<PredationRates> predation_;
  DistributionSource distributionSource_ = DistributionSource::kNone;
  std::optional<BootstrapResults> bootstrap_;
  std::optional<JackknifeResults> jackknife_;
  std::optional<ComparisonResults> comparison_;
  std::optional<Projection> projection_;
  std::optional<ProjectionReplicates> projectionReplicates_;
  ReportCounters counters_;
  double confidence_ = kDefaultConfidence;
  std::vector<Input> inputs_;
  std::vector<OutputFiles::Saved> filesWritten_;
};

}  // namespace pellmar
