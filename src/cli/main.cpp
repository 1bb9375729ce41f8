// pellmar-cli: reads the command line, watches for Ctrl+C and runs the command.
#include <atomic>
#include <iostream>
#include <stop_token>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "core/platform/platform.h"

int main(int argc, char** argv) {
  // Made before any thread starts, so that every thread leaves the stop requests to it.
  std::stop_source stop;
  std::atomic<int> stoppedStatus = 130;
  const pellmar::platform::StopSignals signals([&](int status) {
    stoppedStatus = status;
    stop.request_stop();
  });
  pellmar::platform::useUtf8Console();
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  const pellmar::ParsedCommandLine parsed = pellmar::parseCommandLine(arguments);
  if (!parsed.options) {
    std::cerr << pellmar::usageErrorText(parsed.usageError);
    return 2;
  }
  const pellmar::CliHooks hooks{stop.get_token(), [&] { return stoppedStatus.load(); },
                                pellmar::killAfterRenamesForTests()};
  return pellmar::runCli(*parsed.options, std::cout, std::cerr, hooks);
}
