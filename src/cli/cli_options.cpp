#include "cli/cli_options.h"

namespace pellmar {

const char* cliUsage() {
  return "Usage:\n"
         "  pellmar-cli check DATA [--time-unit T]\n"
         "      Opens the raw data file DATA as the desktop program does (creating the empty\n"
         "      basic report beside it), checks every individual record and prints\n"
         "      \"It looks OK.\" or the first fault found.\n"
         "  pellmar-cli run DATA [--time-unit T]\n"
         "      Opens DATA and runs the Basic Run, then prints the path of every file written.\n"
         "  pellmar-cli --help\n"
         "\n"
         "Options:\n"
         "  --time-unit T   the answer to the time-unit prompt: the length of one time unit\n"
         "                  of the data in days (1 or 0.5; default 1)\n"
         "\n"
         "Exit status: 0 on success, 1 when the data or a file fails, 2 on bad usage.\n";
}

std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments) {
  CliOptions options;
  if (arguments.empty()) return std::nullopt;
  const std::string& command = arguments[0];
  if (command == "--help" || command == "-h" || command == "help") {
    if (arguments.size() != 1) return std::nullopt;
    return options;
  }
  if (command == "check") {
    options.action = CliOptions::Action::kCheck;
  } else if (command == "run") {
    options.action = CliOptions::Action::kRun;
  } else {
    return std::nullopt;
  }
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--time-unit") {
      if (i + 1 >= arguments.size()) return std::nullopt;
      options.timeUnitAnswer = arguments[++i];
    } else if (argument.rfind("--", 0) == 0 || !options.dataFile.empty()) {
      return std::nullopt;
    } else {
      options.dataFile = argument;
    }
  }
  if (options.dataFile.empty()) return std::nullopt;
  return options;
}

}  // namespace pellmar
