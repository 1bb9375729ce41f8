#include "cli/cli_experiment.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <string_view>

#include "app/experiment_command.h"
#include "core/experiment/experiment_files.h"
#include "core/platform/utf8_path.h"
#include "core/report/number_format.h"
#include "core/report/output_file.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

// The quantities of the short table, when the experiment has them.
constexpr std::array<std::string_view, 6> kMainQuantities = {"C0",     "R0",  "r",
                                                             "lambda", "psi", "omega"};

std::vector<const QuantityLetters*> mainQuantities(const ExperimentResult& result) {
  std::vector<const QuantityLetters*> main;
  for (const std::string_view name : kMainQuantities) {
    for (const QuantityLetters& quantity : result.comparisons.letters) {
      if (quantity.quantity == name && quantity.stage.empty()) main.push_back(&quantity);
    }
  }
  return main;
}

void printTable(std::ostream& said, const ExperimentResult& result) {
  const Project& project = result.project;
  const std::uint64_t seed = *project.bootstrap.seed;
  said << "Experiment: " << project.title << " (" << project.treatments.size() << " treatments, "
       << formatInteger(project.bootstrap.replicates) << " replicates each, seeds " << seed
       << " to " << seed + project.treatments.size() - 1 << ")\n";
  said << "p-values adjusted (" << pAdjustMethodName(project.comparisons.adjust)
       << ") within each quantity; treatments that share a letter do not differ at alpha = "
       << formatShortest(project.comparisons.alpha) << ".\n";
  std::size_t width = 0;
  for (const ExperimentTreatment& treatment : result.treatments) {
    width = std::max(width, treatment.name.size());
  }
  for (const QuantityLetters* quantity : mainQuantities(result)) {
    said << '\n' << quantity->quantity << " (" << summaryUnit(quantity->quantity) << ")\n";
    for (std::size_t t = 0; t < result.treatments.size(); ++t) {
      said << "  " << std::left << std::setw(static_cast<int>(width)) << result.treatments[t].name
           << "  ";
      if (quantity->estimate[t]) {
        said << estimateWithSe(*quantity->estimate[t], quantity->se[t]) << "  "
             << quantity->letters[t];
      } else {
        said << "none";
      }
      said << '\n';
    }
  }
  if (result.warning) said << '\n' << *result.warning << '\n';
  // Each treatment's files are those of a run, in a folder of its own.
  said << "\nResults in " << result.resultsFolder << ":\n";
  for (const ExperimentTreatment& treatment : result.treatments) {
    said << utf8FromPath(pathFromUtf8(result.resultsFolder) / pathFromUtf8(treatment.name)) << " ("
         << treatment.filesWritten.size() << " files, seed " << treatment.seed << ")\n";
  }
  for (const std::string& path : result.filesWritten) said << path << '\n';
}

std::string resultJson(const ExperimentResult& result) {
  nlohmann::ordered_json json;
  json["title"] = result.project.title;
  json["results_folder"] = result.resultsFolder;
  json["adjust"] = std::string(pAdjustMethodName(result.project.comparisons.adjust));
  json["alpha"] = result.project.comparisons.alpha;
  json["replicates"] = result.project.bootstrap.replicates;
  json["treatments"] = nlohmann::ordered_json::array();
  for (const ExperimentTreatment& treatment : result.treatments) {
    json["treatments"].push_back(
        {{"name", treatment.name}, {"seed", std::to_string(treatment.seed)}});
  }
  json["main_results"] = nlohmann::ordered_json::array();
  for (const QuantityLetters* quantity : mainQuantities(result)) {
    nlohmann::ordered_json entry;
    entry["quantity"] = quantity->quantity;
    entry["unit"] = std::string(summaryUnit(quantity->quantity));
    entry["treatments"] = nlohmann::ordered_json::array();
    for (std::size_t t = 0; t < result.treatments.size(); ++t) {
      const auto number = [](const std::optional<double>& value) {
        return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
      };
      entry["treatments"].push_back({{"name", result.treatments[t].name},
                                     {"estimate", number(quantity->estimate[t])},
                                     {"se", number(quantity->se[t])},
                                     {"letters", quantity->letters[t]}});
    }
    json["main_results"].push_back(entry);
  }
  json["warning"] = result.warning ? nlohmann::ordered_json(*result.warning) : nullptr;
  json["files_written"] = nlohmann::ordered_json::array();
  for (const ExperimentTreatment& treatment : result.treatments) {
    for (const std::string& path : treatment.filesWritten) json["files_written"].push_back(path);
  }
  for (const std::string& path : result.filesWritten) json["files_written"].push_back(path);
  return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

int runExperimentCommand(const CliOptions& options, std::ostream& said, std::ostream& out,
                         std::ostream& progress, const std::stop_token& stop) {
  ExperimentRequest request;
  request.projectFile = options.projectFile;
  request.replicates = options.bootstrapReplicates;
  request.seed = options.seed;
  request.confidence = options.confidence;
  if (options.adjust) request.adjust = pAdjustMethodNamed(*options.adjust);
  request.alpha = options.alpha;
  if (options.redrawBarren) request.redrawBarren = true;
  request.outputFolder = options.outputDir;
  request.arguments = options.arguments;
  long shown = -1;
  const ExperimentResult result = runExperiment(
      request,
      [&](long done, long total) {
        const long tenth = std::max(total / 10, 1L);
        if (done / tenth != shown / tenth || done == total) {
          progress << "Experiment: " << done << " of " << total << " replicates\n";
          shown = done;
        }
      },
      stop);
  if (options.json) {
    out << resultJson(result);
  } else {
    printTable(said, result);
  }
  return 0;
}

int runNewProjectCommand(const CliOptions& options, std::ostream& said) {
  writeNewProject(options.projectFile, options.dataFiles, ExistingProject::kRefuse);
  said << options.projectFile << '\n';
  return 0;
}

}  // namespace pellmar
