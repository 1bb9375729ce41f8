#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "core/platform/platform.h"

int main(int argc, char** argv) {
  pellmar::platform::useUtf8Console();
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  const auto options = pellmar::parseCliOptions(arguments);
  if (!options) {
    std::cerr << pellmar::cliUsage();
    return 2;
  }
  return pellmar::runCli(*options, std::cout, std::cerr);
}
