#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto options = pellmar::parseCliOptions(arguments);
  if (!options) {
    std::cerr << pellmar::cliUsage();
    return 2;
  }
  return pellmar::runCli(*options, std::cout, std::cerr);
}
