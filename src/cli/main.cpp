#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "core/platform/platform.h"

int main(int argc, char** argv) {
  pellmar::platform::useUtf8Console();
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  const pellmar::ParsedCommandLine parsed = pellmar::parseCommandLine(arguments);
  if (!parsed.options) {
    std::cerr << pellmar::usageErrorText(parsed.usageError);
    return 2;
  }
  return pellmar::runCli(*parsed.options, std::cout, std::cerr);
}
