#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/numeric/p_adjust.h"
#include "core/predation/projection.h"

namespace pellmar {

inline constexpr std::string_view kExperimentTitle = "Experiment";

// What every treatment of an experiment brings beside its data: all the same kind.
enum class TreatmentKind {
  kConsumption,  // the data alone
  kFecundity,    // a fecundity file each
  kSasd,         // a stable age-stage distribution file each
};

struct Treatment {
  std::string name;  // also the name of its results folder
  std::string data;  // paths as UTF-8, resolved against the project file's folder
  std::optional<std::string> fecundity;
  std::optional<std::string> sasd;
};

// Every treatment's population projected over `days` from `initial` ("eggs:10" unless the file
// says otherwise), after its bootstrap; only with a fecundity file each.
struct ProjectionSettings {
  double days = 0.0;
  std::string initial = "eggs:10";
  ProjectionStart start;
};

// An experiment of several treatments, as the project file "NAME.pellmar" describes it.
struct Project {
  std::string file;   // the project file, as UTF-8
  std::string title;  // the file's name without ".pellmar" unless the file gives one
  double timeUnit = 1.0;
  std::vector<Treatment> treatments;
  TreatmentKind kind = TreatmentKind::kConsumption;
  struct Bootstrap {
    int replicates = 10000;
    std::optional<std::uint64_t> seed;  // from the clock when none is given
    double confidence = 0.95;
    bool redrawBarren = false;
  } bootstrap;
  struct Comparisons {
    PAdjustMethod adjust = PAdjustMethod::kHolm;
    double alpha = 0.05;
  } comparisons;
  std::optional<ProjectionSettings> projection;
};

// Reads and checks the project file at `file`: every key known, every required one there,
// every value in range, every treatment's files there, of one kind, under a name that can be
// a folder's on every system and that no other treatment has. A UserError names the key
// (treatments[2].name, bootstrap.seed, ...) and the cause.
Project readProject(const std::string& file);

// The project file's text, paths as the project holds them made relative to its folder when
// they lie in it; the seed only when the project has one.
std::string projectJson(const Project& project);

// A project of `dataFiles`, one treatment each named after its file, with its fecundity file
// "<base>_fecundity.txt" when every data file has one, to be written at `file`.
Project projectOf(const std::string& file, const std::vector<std::string>& dataFiles);

// Writes `project` into its file, replacing what was there, as projectJson() gives it.
void saveProject(const Project& project);

// Refuses a new project of fewer than two data files: an experiment compares treatments.
void checkTreatmentCount(std::size_t dataFiles);

// What writeNewProject() does with a project file already at its path.
enum class ExistingProject { kRefuse, kReplace };

// Writes the project of `dataFiles` (as projectOf() makes it) at `file` and returns it. Refused,
// with nothing written, when a data file is missing or its name cannot be a treatment's, and
// when a file is there already and `existing` is kRefuse.
Project writeNewProject(const std::string& file, const std::vector<std::string>& dataFiles,
                        ExistingProject existing);

// Why `name` cannot be a folder's name on every system; empty when it can.
std::string folderNameFault(std::string_view name);

}  // namespace pellmar
