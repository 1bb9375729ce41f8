#include "app/experiment_command.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "app/system_clock.h"
#include "core/data/limits.h"
#include "core/experiment/experiment_files.h"
#include "core/exports/projection_file.h"
#include "core/exports/results_workbook.h"
#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "core/report/number_format.h"
#include "core/report/output_file.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

const std::string kExperimentErrorTitle(kExperimentTitle);

[[noreturn]] void refuseOption(const std::string& text) {
  throw UserError(kExperimentErrorTitle, text, ErrorKind::kInvalidRequest);
}

// The arguments of the run that analyses one treatment as the experiment does.
std::vector<std::string> runArguments(const Project& project, const Treatment& treatment,
                                      std::uint64_t seed, const std::string& folder) {
  std::vector<std::string> arguments{"run", treatment.data};
  if (treatment.fecundity) arguments.insert(arguments.end(), {"--fecundity", *treatment.fecundity});
  if (treatment.sasd) arguments.insert(arguments.end(), {"--sasd", *treatment.sasd});
  if (project.timeUnit != 1.0) {
    arguments.insert(arguments.end(), {"--time-unit", formatShortest(project.timeUnit)});
  }
  arguments.insert(arguments.end(), {"--bootstrap", std::to_string(project.bootstrap.replicates),
                                     "--seed", std::to_string(seed)});
  if (project.bootstrap.confidence != kDefaultConfidence) {
    arguments.insert(arguments.end(),
                     {"--confidence", formatShortest(project.bootstrap.confidence)});
  }
  if (project.bootstrap.redrawBarren) arguments.emplace_back("--redraw-barren");
  if (project.projection) {
    arguments.insert(arguments.end(),
                     {"--projection-days", formatShortest(project.projection->days), "--initial",
                      project.projection->initial});
  }
  arguments.insert(arguments.end(), {"--output-dir", folder});
  return arguments;
}

// The results folder a run left half-swapped is put back, and the folders of runs that ended
// before their swap are removed. Only the holder of the results folder's lock may call it.
void recoverResultsFolder(const std::filesystem::path& results) {
  std::filesystem::path backup = results;
  backup += ".pellmar-backup";
  std::error_code error;
  if (std::filesystem::exists(backup, error)) {
    if (std::filesystem::exists(results, error)) {
      std::filesystem::remove_all(backup, error);
    } else {
      std::filesystem::rename(backup, results, error);
    }
  }
  const std::filesystem::path folder =
      results.has_parent_path() ? results.parent_path() : std::filesystem::path(".");
  const std::string name = utf8FromPath(results.filename());
  std::vector<std::filesystem::path> leftovers;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_directory(error) && isTemporaryOf(utf8FromPath(entry.path().filename()), name)) {
      leftovers.push_back(entry.path());
    }
  }
  for (const std::filesystem::path& leftover : leftovers) {
    std::filesystem::remove_all(leftover, error);
  }
}

// A new folder beside the results folder, which nobody else can have made.
std::filesystem::path makeStagingFolder(const std::string& results) {
  for (;;) {
    std::filesystem::path staging = newTemporaryPath(results);
    std::error_code error;
    if (std::filesystem::create_directory(staging, error)) return staging;
    if (error) throwWriteFailure(utf8FromPath(staging), error);
  }
}

// Puts the complete new folder in the results folder's place: the old one becomes a backup
// for the moment between the two renames, so that a run stopped there finds it again.
void swapInResults(const std::filesystem::path& staging, const std::filesystem::path& results) {
  std::filesystem::path backup = results;
  backup += ".pellmar-backup";
  std::error_code error;
  const bool hadResults = std::filesystem::exists(results, error);
  if (hadResults) {
    std::filesystem::rename(results, backup, error);
    if (error) throwWriteFailure(utf8FromPath(results), error);
  }
  std::filesystem::rename(staging, results, error);
  if (error) {
    std::error_code ignored;
    if (hadResults) std::filesystem::rename(backup, results, ignored);
    throwWriteFailure(utf8FromPath(results), error);
  }
  if (hadResults) std::filesystem::remove_all(backup, error);
}

// One treatment, read and checked, waiting for its analysis.
struct OpenTreatment {
  std::unique_ptr<InputFileReader> reader;
  std::optional<Analysis> analysis;
  std::string base;        // as its files are named: in the results folder
  std::string stagedBase;  // where they are written until the folder is in place
};

std::string experimentRecord(const ExperimentResult& result,
                             const std::vector<Analysis::Input>& inputs,
                             const std::vector<OutputFiles::Saved>& files,
                             const ExperimentRequest& request) {
  nlohmann::ordered_json record;
  record["pellmar_version"] = PELLMAR_VERSION;
  record["front_end"] = request.frontEnd;
  if (request.frontEnd == "cli") record["arguments"] = request.arguments;
  record["project"] = nlohmann::ordered_json::parse(projectJson(result.project));
  nlohmann::ordered_json seeds = nlohmann::ordered_json::object();
  for (const ExperimentTreatment& treatment : result.treatments) {
    seeds[treatment.name] = std::to_string(treatment.seed);
  }
  record["seeds"] = seeds;
  record["inputs"] = nlohmann::ordered_json::array();
  for (const Analysis::Input& input : inputs) {
    record["inputs"].push_back(
        {{"path", input.path}, {"bytes", input.bytes}, {"sha256", input.sha256}});
  }
  record["files_written"] = nlohmann::ordered_json::array();
  for (const OutputFiles::Saved& file : files) {
    record["files_written"].push_back({{"path", file.path}, {"sha256", file.sha256}});
  }
  return record.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

Project projectFor(const ExperimentRequest& request) {
  Project project = readProject(request.projectFile);
  Project::Bootstrap& bootstrap = project.bootstrap;
  if (request.replicates) {
    if (*request.replicates < 1 || *request.replicates > kMaxBootstrapReplicates) {
      refuseOption("--bootstrap must be from 1 to " + formatInteger(kMaxBootstrapReplicates) + ".");
    }
    bootstrap.replicates = *request.replicates;
  }
  if (request.confidence) {
    if (!(*request.confidence > 0 && *request.confidence < 1)) {
      refuseOption("--confidence must lie between 0 and 1.");
    }
    bootstrap.confidence = *request.confidence;
  }
  if (request.alpha) {
    if (!(*request.alpha > 0 && *request.alpha < 1))
      refuseOption("--alpha must lie between 0 and 1.");
    project.comparisons.alpha = *request.alpha;
  }
  if (request.adjust) project.comparisons.adjust = *request.adjust;
  if (request.seed) bootstrap.seed = *request.seed;
  if (!bootstrap.seed) bootstrap.seed = seedFromClock();
  if (request.redrawBarren) bootstrap.redrawBarren = *request.redrawBarren;
  return project;
}

std::string resultsFolderOf(const Project& project,
                            const std::optional<std::string>& outputFolder) {
  if (outputFolder) return *outputFolder;
  std::filesystem::path results = pathFromUtf8(project.file);
  const std::string stem = utf8FromPath(results.filename().replace_extension());
  results.replace_filename(pathFromUtf8(stem + "_results"));
  return utf8FromPath(results);
}

ExperimentResult runExperiment(const ExperimentRequest& request, const ProgressReport& progress,
                               const std::stop_token& stop) {
  ExperimentResult result;
  result.project = projectFor(request);
  const Project& project = result.project;
  result.resultsFolder = resultsFolderOf(project, request.outputFolder);
  const std::filesystem::path results = pathFromUtf8(result.resultsFolder);
  const platform::FileLock lock = lockResultsOf(project.file, result.resultsFolder);
  recoverResultsFolder(results);

  // Every treatment's inputs are read and checked before anything is written.
  std::vector<OpenTreatment> open;
  for (const Treatment& treatment : project.treatments) {
    OpenTreatment t;
    t.reader = std::make_unique<InputFileReader>();
    const std::string folder = utf8FromPath(results / pathFromUtf8(treatment.name));
    t.base = outputBaseNameFor(treatment.data, folder);
    const OpenRequest openRequest{treatment.data, project.timeUnit};
    validate(openRequest);
    t.analysis.emplace(Analysis::open(openRequest, t.base, *t.reader));
    t.analysis->setConfidence(project.bootstrap.confidence);
    if (treatment.fecundity) t.reader->openAhead(*treatment.fecundity, kExperimentErrorTitle);
    if (treatment.sasd) t.reader->openAhead(*treatment.sasd, kExperimentErrorTitle);
    open.push_back(std::move(t));
  }

  const std::filesystem::path stagedFolder = makeStagingFolder(result.resultsFolder);
  // A failure or a stop from here on leaves the results folder as it was.
  struct RemoveUnlessKept {
    std::filesystem::path folder;
    ~RemoveUnlessKept() {
      std::error_code ignored;
      if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
  } cleanup{stagedFolder};

  // A treatment's projection, when there is one, counts as much work as its bootstrap.
  const long perTreatment =
      static_cast<long>(project.bootstrap.replicates) * (project.projection ? 2 : 1);
  const long total = static_cast<long>(project.treatments.size()) * perTreatment;
  ReportWriter projections;
  if (project.projection) projections.text("treatment,").text(kProjectionHeading).endLine();
  std::vector<Analysis::Input> inputs;
  std::vector<TreatmentReplicates> treatments;
  std::vector<WorkbookSheet> lifeTables;
  std::vector<OutputFiles::Saved> recorded;  // every file, for the experiment's record
  for (std::size_t k = 0; k < project.treatments.size(); ++k) {
    const Treatment& treatment = project.treatments[k];
    OpenTreatment& t = open[k];
    Analysis& analysis = *t.analysis;
    const std::filesystem::path folder = stagedFolder / pathFromUtf8(treatment.name);
    std::error_code error;
    std::filesystem::create_directory(folder, error);
    if (error) throwWriteFailure(utf8FromPath(folder), error);
    OutputFiles files(t.base, outputBaseNameFor(treatment.data, utf8FromPath(folder)));
    const BasicRunResult basic = analysis.basicRun(files);
    if (basic.warning) {
      throw UserError(kExperimentErrorTitle,
                      "Treatment " + treatment.name + ": " + basic.warning->text,
                      ErrorKind::kCommandFailed);
    }
    if (treatment.fecundity) analysis.readFecundity({*treatment.fecundity}, *t.reader, files);
    if (treatment.sasd) analysis.readSasd({*treatment.sasd}, *t.reader, files);
    // Treatment k draws with the seed after treatment k - 1's, as a run of its own would.
    const std::uint64_t seed = *project.bootstrap.seed + k;
    BootstrapRequest bootstrap;
    bootstrap.replicates = project.bootstrap.replicates;
    bootstrap.seed = seed;
    bootstrap.redrawBarren = project.bootstrap.redrawBarren;
    validate(bootstrap);
    const long before = static_cast<long>(k) * perTreatment;
    analysis.bootstrap(
        bootstrap, *t.reader, files,
        [&](long done, long) {
          if (progress) progress(before + done, total);
        },
        stop);
    if (project.projection) {
      const long replicates = project.bootstrap.replicates;
      try {
        analysis.project(
            ProjectionRequest{project.projection->days, project.projection->start}, files,
            [&](long done, long all) {
              if (progress && all > 0) {
                progress(before + replicates + replicates * done / all, total);
              }
            },
            stop);
      } catch (const UserError& refusal) {
        throw UserError(kExperimentErrorTitle,
                        "Treatment " + treatment.name + ": " + refusal.text(), refusal.kind());
      }
      const auto& band = analysis.projectionReplicates();
      writeTreatmentProjection(projections, treatment.name, analysis.study(),
                               *analysis.projection(), band ? &band->band : nullptr);
    }
    analysis.writeSummary(files);
    const std::string runFolder = utf8FromPath(results / pathFromUtf8(treatment.name));
    analysis.writeRunRecord(
        RunRecordRequest{request.frontEnd, runArguments(project, treatment, seed, runFolder)},
        files);
    analysis.commit(files);
    treatments.push_back(
        {treatment.name, analysis.summary(), bootstrapReplicates(analysis.results())});
    lifeTables.push_back(lifeTableSheet({}, analysis.results()));
    ExperimentTreatment done;
    done.name = treatment.name;
    done.seed = seed;
    done.summary = analysis.summary();
    done.filesWritten = analysis.writtenPaths();
    recorded.insert(recorded.end(), analysis.filesWritten().begin(), analysis.filesWritten().end());
    inputs.insert(inputs.end(), analysis.inputs().begin(), analysis.inputs().end());
    result.treatments.push_back(std::move(done));
    // Its replicates are kept in the comparisons' form; the rest of its analysis goes.
    t.analysis.reset();
  }

  result.comparisons = compareTreatments(treatments, project.bootstrap.confidence,
                                         project.comparisons.adjust, project.comparisons.alpha);
  const PAdjustMethod adjust = project.comparisons.adjust;
  const long needed =
      smallestUsefulReplicates(result.comparisons.largestFamily, project.comparisons.alpha);
  if ((adjust == PAdjustMethod::kHolm || adjust == PAdjustMethod::kBonferroni) &&
      project.bootstrap.replicates < needed) {
    const std::size_t pairs = result.comparisons.largestFamily;
    result.warning =
        "Warning: with " + formatInteger(project.bootstrap.replicates) +
        " replicates no p-value is below 2/(B+1), so after the " +
        std::string(pAdjustMethodName(adjust)) + " adjustment of " +
        formatInteger(static_cast<long long>(pairs)) + (pairs == 1 ? " pair" : " pairs") +
        " no pair can be significant at alpha = " + formatShortest(project.comparisons.alpha) +
        ": use " + formatInteger(needed) + " replicates or more.";
  }

  const std::string base = result.resultsFolder + "/";
  OutputFiles files(base, utf8FromPath(stagedFolder) + "/");
  // Every file of the experiment is also a sheet of its workbook, followed by each
  // treatment's summary, life table and replicates.
  Workbook workbook;
  const auto saveWithSheet = [&files, &workbook](const char* file, const char* sheet,
                                                 const ReportWriter& text) {
    files.save(file, text);
    workbook.addCsv(sheet, text.contents());
  };
  saveWithSheet("summary.csv", "Summary", experimentSummaryText(treatments));
  saveWithSheet("pairwise.csv", "Pairwise", pairwiseText(treatments, result.comparisons));
  saveWithSheet("letters.csv", "Letters", lettersText(treatments, result.comparisons));
  saveWithSheet("table.csv", "Table", paperTableText(treatments, result.comparisons));
  if (project.projection) saveWithSheet("projection.csv", "Projection", projections);
  for (std::size_t k = 0; k < treatments.size(); ++k) {
    addStudySheets(workbook, treatments[k].name, summaryCsv(treatments[k].summary),
                   std::move(lifeTables[k]), &treatments[k].replicates);
  }
  files.save("experiment.xlsx", workbook.bytes());
  recorded.insert(recorded.end(), files.saved().begin(), files.saved().end());
  files.save("run.json", experimentRecord(result, inputs, recorded, request));
  result.filesWritten = files.paths();
  if (stop.stop_requested()) {
    throw UserError(kExperimentErrorTitle, "The experiment was stopped; nothing was written.",
                    ErrorKind::kCommandFailed);
  }
  files.commit();
  swapInResults(stagedFolder, results);
  cleanup.folder.clear();
  return result;
}

}  // namespace pellmar
