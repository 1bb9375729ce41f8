#pragma once

#include <string>

namespace pellmar {

// The comparison of this study's bootstrap C0 with a second treatment's.
struct ComparisonState {
  bool done = false;
  std::string treatment2Title;
  int treatment2SampleSize = 0;
  int treatment2Count = 0;
  double treatment2Mean = 0.0;
  double treatment2Variance = 0.0;
  double treatment2SE = 0.0;
  double tValue = 0.0;
};

}  // namespace pellmar
