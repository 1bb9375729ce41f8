#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <stop_token>

#include "cli/cli_options.h"

namespace pellmar {

// What the program around a run may add to it.
struct CliHooks {
  // A stop request (Ctrl+C) ends the run before any of its files is in place: its temporaries
  // are removed, "Stopped: nothing was written" goes to standard error and runCli() returns
  // stoppedStatus().
  std::stop_token stop;
  std::function<int()> stoppedStatus;
  // Hears how many files are in place before each rename of the commit and after the last.
  std::function<void(std::size_t renamed)> duringCommit;
};

// A test's stand-in for a kill during the renames: when the environment setting
// PELLMAR_TEST_STOP_AFTER_RENAMES holds a number k, a hook that ends the process at once, as
// SIGKILL would, once k files are in place; no hook otherwise.
std::function<void(std::size_t renamed)> killAfterRenamesForTests();

// Runs one pellmar-cli command: builds the requests the options stand for, checks them all and
// reads every input before any file is touched, then runs them in order and puts every file of
// the run in place together, the run record last. Results go to `out`, failures and progress to
// `err`. Returns the exit status: 0 on success, 1 when the data or a file fails, 2 when a request
// is refused.
int runCli(const CliOptions& options, std::ostream& out, std::ostream& err,
           const CliHooks& hooks = {});

}  // namespace pellmar
