#pragma once

#include <string>

namespace pellmar {

// The comparison of this study's bootstrap C0 with a second treatment's.
struct ComparisonResults {
  std::string treatment2Title;
  int treatment2SampleSize = 0;
  int treatment2Count = 0;
  double treatment2Mean = 0.0;
  double treatment2Variance = 0.0;
  double treatment2SE = 0.0;
  double tValue = 0.0;
  // The two bootstrap variances are already those of the two estimates, so the difference of
  // the means has the standard error sqrt(var1 + var2), and z is read against the normal
  // distribution.
  double difference = 0.0;  // treatment 1 - treatment 2
  double seOfDifference = 0.0;
  double z = 0.0;
  double p = 0.0;  // two-sided
};

}  // namespace pellmar
