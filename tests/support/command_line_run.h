#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"

namespace pellmar::test_support {

// What one pellmar-cli command line printed and its exit status.
struct CommandLineRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs pellmar-cli with these arguments in this process; a usage error is a failure of the test.
inline CommandLineRun runCommandLine(const std::vector<std::string>& arguments) {
  CommandLineRun run;
  const auto options = parseCliOptions(arguments);
  EXPECT_TRUE(options) << arguments.front();
  if (!options) return run;
  std::ostringstream out;
  std::ostringstream err;
  run.status = runCli(*options, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace pellmar::test_support
