#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellmar {

// The parsed command line of pellmar-cli.
struct CliOptions {
  enum class Action { kHelp, kVersion, kCheck, kRun };
  Action action = Action::kHelp;
  std::string dataFile;
  // The answers a desktop user would type at the prompts.
  std::string timeUnitAnswer = "1";
  std::optional<std::string> sasdFile;
  std::optional<std::string> fecundityFile;
  std::optional<std::string> bootstrapReplicates;  // own samples: B
  std::optional<std::string> sampleSize;           // own samples: n (default: the cohort)
  std::optional<std::uint64_t> seed;
  std::optional<std::string> sameSamplesFile;
  bool jackknife = false;
  bool normalDensity = false;
  std::optional<std::string> compareFile;
  // The confidence of the summary's intervals, 0 < P < 1.
  std::optional<double> confidence;
  bool quiet = false;  // print only errors
  bool json = false;   // print the results as one JSON object and nothing else
  // The arguments as given, for the run record.
  std::vector<std::string> arguments;
};

// Parses the arguments after the program name; nullopt on bad usage.
std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments);

// The usage text printed by --help and on bad usage.
const char* cliUsage();

}  // namespace pellmar
