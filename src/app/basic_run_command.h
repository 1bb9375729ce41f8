#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/notice.h"

namespace pellmar {

// The suffix of the basic report, "<base>_0_Basic_Output.txt".
inline constexpr std::string_view kBasicReportSuffix = "_0_Basic_Output.txt";

struct BasicRunResult {
  bool analysed = false;
  // Set when the individuals counted by sex do not add up to n: the analysis went wrong.
  std::optional<Notice> warning;
  std::vector<std::string> filesWritten;  // the basic report first
};

}  // namespace pellmar
