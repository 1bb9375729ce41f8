#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/notice.h"

namespace pellmar {

// "C2B": the t-test of this bootstrap's C0 against a second treatment's.
struct ComparisonRequest {
  std::string treatment2File;
};

struct ComparisonResult {
  double t = 0.0;
  Notice message;  // "The t-value = " and t, the difference, its SE, z and P
  std::vector<std::string> filesWritten;
};

// Asks for the second treatment's file; nullopt when the dialog is cancelled.
std::optional<ComparisonRequest> askComparison(Dialogs& dialogs);

}  // namespace pellmar
