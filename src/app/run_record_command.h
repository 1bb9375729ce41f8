#pragma once

#include <string>
#include <vector>

namespace pellmar {

// The suffix of the run record, "<base>_run.json".
inline constexpr const char* kRunRecordSuffix = "_run.json";

// "<base>_run.json": how the files beside the data came about. What the analysis does not know
// comes with the request.
struct RunRecordRequest {
  std::string frontEnd;                // "cli" or "desktop"
  std::vector<std::string> arguments;  // the command line's arguments (the CLI's only)
};

}  // namespace pellmar
