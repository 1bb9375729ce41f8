#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/notice.h"

namespace pellmar {

// "Basic Run": the full read and the whole analysis of the open data file.
struct BasicRunRequest {};

struct BasicRunResult {
  // False when an earlier run has done the analysis: nothing is computed or written again.
  bool analysed = false;
  // Set when the stage-name lines do not name every sex code the individuals use.
  std::optional<Notice> warning;
  std::vector<std::string> filesWritten;  // the basic report first
};

}  // namespace pellmar
