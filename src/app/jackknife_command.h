#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pellmar {

// What the jackknife shows.
struct JackknifeResult {
  int individuals = 0;
  // Of the pseudo-values of C0.
  double mean = 0.0;
  double variance = 0.0;
  double sd = 0.0;
  double se = 0.0;
  // With fecundity, when leaving some individual out leaves no eggs: why r, lambda and T have no
  // pseudo-values.
  std::optional<std::string> note;
  std::vector<std::string> filesWritten;
};

}  // namespace pellmar
