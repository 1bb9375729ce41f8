#pragma once

#include <ostream>

#include "cli/cli_options.h"

namespace pellmar {

// Runs one pellmar-cli command: builds the requests the options stand for, checks them all
// before any file is touched, then runs them in order. Results go to `out`, failures and
// progress to `err`. Returns the exit status: 0 on success, 1 when the data or a file fails, 2
// when a request is refused.
int runCli(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pellmar
