#include "app/project_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/data/limits.h"
#include "core/platform/utf8_path.h"
#include "core/report/output_file.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// The refusal of a project file, naming it and the key.
[[noreturn]] void refuse(const Project& project, std::string_view key, std::string_view cause) {
  throw UserError(std::string(kExperimentTitle),
                  "The project file " + project.file + " cannot be run: " + std::string(key) + " " +
                      std::string(cause) + ". Nothing was written.",
                  ErrorKind::kCommandFailed);
}

void checkKeys(const Project& project, const json& object, std::string_view where,
               std::initializer_list<std::string_view> known) {
  for (const auto& [key, value] : object.items()) {
    if (std::find(known.begin(), known.end(), key) != known.end()) continue;
    const std::string name = where.empty() ? key : std::string(where) + "." + key;
    refuse(project, name, "is not a key of a project file (a misspelt key is not ignored)");
  }
}

const json& objectAt(const Project& project, const json& parent, std::string_view key,
                     std::string_view name) {
  const json& value = parent.at(std::string(key));
  if (!value.is_object()) refuse(project, name, "must be an object in braces");
  return value;
}

std::string textAt(const Project& project, const json& value, std::string_view name) {
  if (!value.is_string()) refuse(project, name, "must be text in quotes");
  return value.get<std::string>();
}

double numberAt(const Project& project, const json& value, std::string_view name, double low,
                double high, std::string_view range) {
  if (!value.is_number()) refuse(project, name, "must be a number");
  const auto number = value.get<double>();
  if (!(number > low && number <= high)) refuse(project, name, range);
  return number;
}

// A treatment's file: relative paths are taken from the project file's folder.
std::string fileAt(const Project& project, const json& value, std::string_view name) {
  const std::string given = textAt(project, value, name);
  if (given.empty()) refuse(project, name, "is empty");
  const std::filesystem::path folder = pathFromUtf8(project.file).parent_path();
  const std::filesystem::path path = folder / pathFromUtf8(given);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    refuse(project, name, "names " + utf8FromPath(path) + ", which is not there");
  }
  return utf8FromPath(path.lexically_normal());
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

void readTreatments(Project& project, const json& list) {
  if (!list.is_array() || list.size() < 2) {
    refuse(project, "treatments", "must be a list of at least two treatments");
  }
  std::vector<std::string> folders;
  for (std::size_t k = 0; k < list.size(); ++k) {
    const std::string where = "treatments[" + std::to_string(k + 1) + "]";
    const json& entry = list[k];
    if (!entry.is_object()) refuse(project, where, "must be an object in braces");
    checkKeys(project, entry, where, {"name", "data", "fecundity", "sasd"});
    for (const char* required : {"name", "data"}) {
      if (!entry.contains(required)) refuse(project, where + "." + required, "is missing");
    }
    Treatment treatment;
    treatment.name = textAt(project, entry["name"], where + ".name");
    const std::string fault = folderNameFault(treatment.name);
    if (!fault.empty()) refuse(project, where + ".name", fault);
    // Folders differ only in case on Windows and macOS.
    const std::string folder = lowerCase(treatment.name);
    if (std::find(folders.begin(), folders.end(), folder) != folders.end()) {
      refuse(project, where + ".name", "\"" + treatment.name + "\" names another treatment too");
    }
    folders.push_back(folder);
    treatment.data = fileAt(project, entry["data"], where + ".data");
    if (entry.contains("fecundity")) {
      treatment.fecundity = fileAt(project, entry["fecundity"], where + ".fecundity");
    }
    if (entry.contains("sasd")) treatment.sasd = fileAt(project, entry["sasd"], where + ".sasd");
    if (treatment.fecundity && treatment.sasd) {
      refuse(project, where, "has a fecundity file and a sasd file: give one of them");
    }
    const TreatmentKind kind = treatment.fecundity ? TreatmentKind::kFecundity
                               : treatment.sasd    ? TreatmentKind::kSasd
                                                   : TreatmentKind::kConsumption;
    if (k == 0) {
      project.kind = kind;
    } else if (kind != project.kind) {
      refuse(project, where,
             "is of another kind than treatments[1]: every treatment has a fecundity file, or "
             "every one a sasd file, or none has either");
    }
    project.treatments.push_back(std::move(treatment));
  }
}

void readBootstrap(Project& project, const json& bootstrap) {
  checkKeys(project, bootstrap, "bootstrap", {"replicates", "seed", "confidence", "redraw_barren"});
  Project::Bootstrap& b = project.bootstrap;
  if (bootstrap.contains("replicates")) {
    const json& value = bootstrap["replicates"];
    if (!value.is_number_integer() || value.get<long long>() < 1 ||
        value.get<long long>() > kMaxBootstrapReplicates) {
      refuse(project, "bootstrap.replicates",
             "must be a whole number from 1 to " + std::to_string(kMaxBootstrapReplicates));
    }
    b.replicates = value.get<int>();
  }
  if (bootstrap.contains("seed")) {
    const json& value = bootstrap["seed"];
    if (!value.is_number_unsigned()) {
      refuse(project, "bootstrap.seed", "must be a whole number from 0 to 18446744073709551615");
    }
    b.seed = value.get<std::uint64_t>();
  }
  if (bootstrap.contains("confidence")) {
    b.confidence = numberAt(project, bootstrap["confidence"], "bootstrap.confidence", 0.0,
                            std::nextafter(1.0, 0.0), "must lie between 0 and 1");
  }
  if (bootstrap.contains("redraw_barren")) {
    if (!bootstrap["redraw_barren"].is_boolean()) {
      refuse(project, "bootstrap.redraw_barren", "must be true or false");
    }
    b.redrawBarren = bootstrap["redraw_barren"].get<bool>();
  }
}

void readComparisons(Project& project, const json& comparisons) {
  checkKeys(project, comparisons, "comparisons", {"adjust", "alpha"});
  if (comparisons.contains("adjust")) {
    const std::string name = textAt(project, comparisons["adjust"], "comparisons.adjust");
    const std::optional<PAdjustMethod> method = pAdjustMethodNamed(name);
    if (!method) refuse(project, "comparisons.adjust", "must be holm, bonferroni, bh or none");
    project.comparisons.adjust = *method;
  }
  if (comparisons.contains("alpha")) {
    project.comparisons.alpha = numberAt(project, comparisons["alpha"], "comparisons.alpha", 0.0,
                                         std::nextafter(1.0, 0.0), "must lie between 0 and 1");
  }
}

void readProjection(Project& project, const json& projection) {
  checkKeys(project, projection, "projection", {"days", "initial"});
  if (project.kind != TreatmentKind::kFecundity) {
    refuse(project, "projection",
           "needs a fecundity file in every treatment: a projection needs the females' eggs");
  }
  ProjectionSettings& p = project.projection.emplace();
  if (!projection.contains("days")) refuse(project, "projection.days", "is missing");
  const json& days = projection["days"];
  if (!days.is_number() ||
      !(days.get<double>() >= 0.0 && days.get<double>() <= kMaxProjectionDays)) {
    refuse(project, "projection.days", "must be a number of days from 0 to 3650");
  }
  p.days = days.get<double>();
  if (projection.contains("initial")) {
    p.initial = textAt(project, projection["initial"], "projection.initial");
  }
  const std::optional<ProjectionStart> start = parseProjectionStart(p.initial);
  if (!start) {
    refuse(project, "projection.initial",
           "must be eggs:N0 or stable:N0 with N0 a number above 0, not \"" + p.initial + "\"");
  }
  p.start = *start;
}

std::string titleOf(const std::string& file) {
  return utf8FromPath(pathFromUtf8(file).filename().replace_extension());
}

// A path as the project file writes it: relative to its folder when it lies there.
std::string relativeToProject(const Project& project, const std::string& file) {
  const std::filesystem::path folder = pathFromUtf8(project.file).parent_path();
  const std::filesystem::path relative = pathFromUtf8(file).lexically_relative(folder);
  if (relative.empty() || *relative.begin() == "..") return file;
  std::string text = utf8FromPath(relative);
  // A project file moves between systems: its paths use "/", which every system reads.
  if constexpr (std::filesystem::path::preferred_separator == '\\') {
    std::replace(text.begin(), text.end(), '\\', '/');
  }
  return text;
}

}  // namespace

std::string folderNameFault(std::string_view name) {
  if (name.empty()) return "is empty: a treatment's name is the name of its results folder";
  if (name.find_first_of("/\\:*?\"<>|") != std::string_view::npos) {
    return "\"" + std::string(name) +
           R"(" holds one of / \ : * ? " < > |, which cannot stand in a folder's name)";
  }
  if (std::any_of(name.begin(), name.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    return "\"" + std::string(name) + "\" holds a control character";
  }
  if (name.back() == '.' || name.back() == ' ') {
    return "\"" + std::string(name) + "\" ends in a dot or a space, which Windows drops";
  }
  // Windows keeps these names for devices, with or without an extension.
  std::string stem = lowerCase(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static constexpr std::array<std::string_view, 4> kDevices = {"con", "prn", "aux", "nul"};
  const bool device = std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end() ||
                      (stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
                       stem[3] >= '1' && stem[3] <= '9');
  if (device) return "\"" + std::string(name) + "\" is the name of a device on Windows";
  return {};
}

Project readProject(const std::string& file) {
  Project project;
  project.file = file;
  project.title = titleOf(file);
  std::ifstream in(pathFromUtf8(file), std::ios::binary);
  if (!in) {
    throw UserError(std::string(kExperimentTitle), "The project file " + file + " cannot be read.",
                    ErrorKind::kCommandFailed);
  }
  std::ostringstream text;
  text << in.rdbuf();
  json root;
  try {
    root = json::parse(text.str());
  } catch (const json::parse_error& error) {
    throw UserError(
        std::string(kExperimentTitle),
        "The project file " + file + " is not JSON: " + error.what() + ". Nothing was written.",
        ErrorKind::kCommandFailed);
  }
  if (!root.is_object()) refuse(project, "the file", "must hold one object in braces");
  checkKeys(project, root, "",
            {"pellmar_project", "title", "time_unit", "treatments", "bootstrap", "comparisons",
             "projection"});
  if (!root.contains("pellmar_project")) refuse(project, "pellmar_project", "is missing");
  if (root["pellmar_project"] != 1) {
    refuse(project, "pellmar_project", "must be 1, the only version of project files so far");
  }
  if (root.contains("title")) project.title = textAt(project, root["title"], "title");
  if (root.contains("time_unit")) {
    project.timeUnit = numberAt(project, root["time_unit"], "time_unit", 0.0, kLongestTimeUnit,
                                "must be above 0 and at most 1000 days");
  }
  if (!root.contains("treatments")) refuse(project, "treatments", "is missing");
  readTreatments(project, root["treatments"]);
  if (root.contains("bootstrap")) {
    readBootstrap(project, objectAt(project, root, "bootstrap", "bootstrap"));
  }
  if (root.contains("comparisons")) {
    readComparisons(project, objectAt(project, root, "comparisons", "comparisons"));
  }
  if (root.contains("projection") && !root["projection"].is_null()) {
    readProjection(project, objectAt(project, root, "projection", "projection"));
  }
  return project;
}

std::string projectJson(const Project& project) {
  ordered_json root;
  root["pellmar_project"] = 1;
  root["title"] = project.title;
  root["time_unit"] = project.timeUnit;
  ordered_json treatments = ordered_json::array();
  for (const Treatment& treatment : project.treatments) {
    ordered_json entry;
    entry["name"] = treatment.name;
    entry["data"] = relativeToProject(project, treatment.data);
    if (treatment.fecundity) entry["fecundity"] = relativeToProject(project, *treatment.fecundity);
    if (treatment.sasd) entry["sasd"] = relativeToProject(project, *treatment.sasd);
    treatments.push_back(entry);
  }
  root["treatments"] = treatments;
  ordered_json bootstrap;
  bootstrap["replicates"] = project.bootstrap.replicates;
  if (project.bootstrap.seed) bootstrap["seed"] = *project.bootstrap.seed;
  bootstrap["confidence"] = project.bootstrap.confidence;
  bootstrap["redraw_barren"] = project.bootstrap.redrawBarren;
  root["bootstrap"] = bootstrap;
  root["comparisons"] = {{"adjust", std::string(pAdjustMethodName(project.comparisons.adjust))},
                         {"alpha", project.comparisons.alpha}};
  if (project.projection) {
    root["projection"] = {{"days", project.projection->days},
                          {"initial", project.projection->initial}};
  }
  return root.dump(2) + "\n";
}

Project projectOf(const std::string& file, const std::vector<std::string>& dataFiles) {
  Project project;
  project.file = file;
  project.title = titleOf(file);
  bool everyFecundity = true;
  for (const std::string& data : dataFiles) {
    const std::filesystem::path path = pathFromUtf8(data);
    Treatment treatment;
    treatment.name = utf8FromPath(path.filename().replace_extension());
    treatment.data = data;
    std::string stem = data.size() > 4 ? data.substr(0, data.size() - 4) : data;
    const std::string fecundity = stem + "_fecundity.txt";
    std::error_code error;
    if (std::filesystem::is_regular_file(pathFromUtf8(fecundity), error)) {
      treatment.fecundity = fecundity;
    } else {
      everyFecundity = false;
    }
    project.treatments.push_back(std::move(treatment));
  }
  // A project's treatments are all of one kind.
  if (!everyFecundity) {
    for (Treatment& treatment : project.treatments) treatment.fecundity.reset();
  }
  project.kind = everyFecundity ? TreatmentKind::kFecundity : TreatmentKind::kConsumption;
  return project;
}

void checkTreatmentCount(std::size_t dataFiles) {
  if (dataFiles < 2) {
    throw UserError(std::string(kExperimentTitle),
                    "An experiment compares two treatments or more: give two data files or more. "
                    "No project file was written.",
                    ErrorKind::kInvalidRequest);
  }
}

void saveProject(const Project& project) { saveReplacing(project.file, projectJson(project)); }

Project writeNewProject(const std::string& file, const std::vector<std::string>& dataFiles,
                        ExistingProject existing) {
  checkTreatmentCount(dataFiles.size());
  Project project = projectOf(file, dataFiles);
  std::vector<std::string> folders;
  for (const Treatment& treatment : project.treatments) {
    std::string fault = folderNameFault(treatment.name);
    // Folder names differ in more than case on every system.
    std::string folder = treatment.name;
    std::transform(folder.begin(), folder.end(), folder.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (fault.empty() && std::find(folders.begin(), folders.end(), folder) != folders.end()) {
      fault = "\"" + treatment.name + "\" names another treatment too";
    }
    folders.push_back(folder);
    std::error_code error;
    if (fault.empty() && !std::filesystem::is_regular_file(pathFromUtf8(treatment.data), error)) {
      fault = "is not there";
    }
    if (!fault.empty()) {
      throw UserError(std::string(kExperimentTitle),
                      "The data file " + treatment.data + " cannot be a treatment: its name " +
                          fault + ". No project file was written.",
                      ErrorKind::kInvalidRequest);
    }
  }
  std::error_code error;
  if (existing == ExistingProject::kRefuse && std::filesystem::exists(pathFromUtf8(file), error)) {
    throw UserError(std::string(kExperimentTitle),
                    "The project file " + file + " is there already; it was left as it is.",
                    ErrorKind::kInvalidRequest);
  }
  saveProject(project);
  return project;
}

}  // namespace pellmar
