#pragma once

#include <ostream>
#include <stop_token>

#include "cli/cli_options.h"

namespace pellmar {

// "experiment": runs the project's experiment and prints the short table of C0, R0, r, lambda,
// psi and omega by treatment (estimate ± SE and letters) and where the files are, or with
// --json the same as one object. `progress` hears the replicates done. Returns the exit status;
// a UserError goes to the caller.
int runExperimentCommand(const CliOptions& options, std::ostream& said, std::ostream& out,
                         std::ostream& progress, const std::stop_token& stop);

// "new-project": writes the project file of the data files; one already there is refused.
int runNewProjectCommand(const CliOptions& options, std::ostream& said);

}  // namespace pellmar
