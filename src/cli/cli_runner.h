#pragma once

#include <ostream>

#include "cli/cli_options.h"

namespace pellmar {

// Runs one pellmar-cli command, answering the program's prompts from the options. Messages go
// to `out`, failures to `err`. Returns the exit status.
int runCli(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pellmar
