#pragma once

#include <cstddef>
#include <functional>
#include <ostream>

#include "cli/cli_options.h"

namespace pellmar {

// What the program around a run may add to it.
struct CliHooks {
  // Asked once every file of the run is saved and before any is put in place: true stops the
  // run there, its temporaries are removed and runCli() returns `stoppedStatus`.
  std::function<bool()> beforeCommit;
  int stoppedStatus = 0;
  // Hears how many files are in place after each rename of the commit.
  std::function<void(std::size_t renamed)> afterRename;
};

// Runs one pellmar-cli command: builds the requests the options stand for, checks them all and
// reads every input before any file is touched, then runs them in order and puts every file of
// the run in place together, the run record last. Results go to `out`, failures and progress to
// `err`. Returns the exit status: 0 on success, 1 when the data or a file fails, 2 when a request
// is refused.
int runCli(const CliOptions& options, std::ostream& out, std::ostream& err,
           const CliHooks& hooks = {});

}  // namespace pellmar
