#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/predation/projection.h"

namespace pellmar {

// The parsed command line of pellmar-cli.
struct CliOptions {
  enum class Action { kHelp, kVersion, kCheck, kRun, kCompare, kExperiment, kNewProject };
  Action action = Action::kHelp;
  std::string dataFile;  // compare: the first study's
  double timeUnit = 1.0;
  std::optional<std::string> sasdFile;  // compare: the first study's
  // compare: the second study's data file, stable age-stage distribution file and eggs.
  std::string secondDataFile;
  std::optional<std::string> secondSasdFile;
  std::optional<std::string> secondFecundityFile;
  std::optional<std::string> fecundityFile;  // compare: the first study's
  std::optional<int> bootstrapReplicates;    // own samples: B
  std::optional<int> sampleSize;             // own samples: n (default: the cohort)
  std::optional<std::uint64_t> seed;
  std::optional<std::string> sameSamplesFile;
  bool jackknife = false;
  bool normalDensity = false;
  bool writeSamples = false;  // the samples file of an own-samples bootstrap with fecundity
  bool redrawBarren = false;  // draw again the replicates without a laying female
  bool xlsx = false;          // write the results' workbook, <base>.xlsx
  std::optional<double> projectionDays;  // project the population over this many days
  ProjectionStart projectionStart;       // from eggs:10 unless --initial says otherwise
  std::optional<std::string> compareFile;
  // The confidence of the summary's intervals, 0 < P < 1.
  std::optional<double> confidence;
  // Where every output and the lock go instead of beside the data.
  std::optional<std::string> outputDir;
  bool quiet = false;  // print only errors
  bool json = false;   // print the results as one JSON object and nothing else
  // experiment and new-project: the project file; new-project: its treatments' data files.
  std::string projectFile;
  std::vector<std::string> dataFiles;
  // experiment: how the p-values of each quantity are adjusted ("holm", "bonferroni", "bh",
  // "none"), and the level at which two treatments differ, 0 < alpha < 1.
  std::optional<std::string> adjust;
  std::optional<double> alpha;
  // The arguments as given, for the run record.
  std::vector<std::string> arguments;
  // What --help prints.
  std::string helpText;
};

// The options of a command line, or what is wrong with it: one line that names the option and
// the value as given ("--seed: needs a whole number from 0 to 18446744073709551615, not
// \"abc\"").
struct ParsedCommandLine {
  std::optional<CliOptions> options;
  std::string usageError;
};

// Parses the arguments after the program name with CLI11: the subcommands run, check, compare,
// experiment and new-project,
// their options, which exclude or need which, and the ranges of their values. An option's value
// follows it as the next argument or after "=" (--bootstrap=500).
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The options alone; nullopt on bad usage.
std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments);

// What pellmar-cli prints on bad usage: the fault, then where to read the usage.
std::string usageErrorText(const std::string& usageError);

}  // namespace pellmar
