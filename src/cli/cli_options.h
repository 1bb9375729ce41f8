#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pellmar {

// The parsed command line of pellmar-cli.
struct CliOptions {
  enum class Action { kHelp, kCheck, kRun };
  Action action = Action::kHelp;
  std::string dataFile;
  // The answer typed at the time-unit prompt, as a desktop user would type it.
  std::string timeUnitAnswer = "1";
};

// Parses the arguments after the program name; nullopt on bad usage.
std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments);

// The usage text printed by --help and on bad usage.
const char* cliUsage();

}  // namespace pellmar
