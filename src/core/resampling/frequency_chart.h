#pragma once

#include <string>
#include <vector>

#include "core/resampling/bootstrap_results.h"
#include "core/resampling/jackknife_results.h"

namespace pellmar {

// What the frequency chart of the main window shows: a title and one bar (label, value) a row.
struct FrequencyChartData {
  std::string title;
  std::vector<std::string> labels;
  std::vector<double> values;
};

// The chart of the bootstrap C0 frequencies: 23 rows labelled with the class centres to 2
// decimals (row 0 "0" when its class is empty), titled with B, the minimum, mean, maximum and
// standard error.
FrequencyChartData bootstrapFrequencyChart(const BootstrapResults& boot);

// The chart of the jackknife pseudo-value frequencies: 23 rows, row 0 labelled "0", the others
// with the class centres to 2 decimals, titled with the class width.
FrequencyChartData jackknifeFrequencyChart(const JackknifeResults& jack);

}  // namespace pellmar
