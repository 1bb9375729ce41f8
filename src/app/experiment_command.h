#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "app/project_file.h"
#include "core/experiment/treatment_comparisons.h"

namespace pellmar {

// "experiment": every treatment of a project analysed as a run of its own, then every pair of
// treatments tested, the p-values adjusted per quantity and each quantity's letters. The
// options given override the project file's.
struct ExperimentRequest {
  std::string projectFile;
  std::optional<int> replicates;
  std::optional<std::uint64_t> seed;
  std::optional<double> confidence;
  std::optional<PAdjustMethod> adjust;
  std::optional<double> alpha;
  // Given, it replaces the project's choice; the CLI's flag can only turn it on.
  std::optional<bool> redrawBarren;
  // The results folder; "<project>_results" beside the project file when not given.
  std::optional<std::string> outputFolder;
  std::string frontEnd = "cli";
  std::vector<std::string> arguments;
};

struct ExperimentTreatment {
  std::string name;
  std::uint64_t seed = 0;
  std::vector<SummaryRow> summary;        // its results, as the desktop shows them
  std::vector<std::string> filesWritten;  // where they stand once the folder is in place
};

struct ExperimentResult {
  Project project;  // as run: the options applied, the seed drawn
  std::string resultsFolder;
  std::vector<ExperimentTreatment> treatments;
  TreatmentComparisons comparisons;
  // Said when B is too small for Holm or Bonferroni to find any pair significant.
  std::optional<std::string> warning;
  std::vector<std::string> filesWritten;  // the experiment's own files
};

// The project with the request's options applied and checked, its seed drawn from the clock
// when neither gives one. Refusals as readProject() and of options out of range.
Project projectFor(const ExperimentRequest& request);

// The results folder of `project`: `outputFolder`, or "<project>_results" beside its file.
std::string resultsFolderOf(const Project& project, const std::optional<std::string>& outputFolder);

// Runs the experiment: reads and checks every treatment's inputs, then analyses treatment k
// (from 1) as `run DATA [--fecundity F | --sasd F] --bootstrap B --seed S+k-1 --output-dir
// <results>/<name>` would, into a new folder beside the results folder; tests every pair, and
// writes summary.csv, pairwise.csv, letters.csv, table.csv and run.json. The new folder takes the
// results folder's place only when it is complete: a failure or a stop leaves the old results
// as they were. `progress` hears how many replicates of all treatments are done.
ExperimentResult runExperiment(const ExperimentRequest& request,
                               const ProgressReport& progress = {},
                               const std::stop_token& stop = {});

}  // namespace pellmar
