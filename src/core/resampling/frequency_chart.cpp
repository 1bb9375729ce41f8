#include "core/resampling/frequency_chart.h"

#include <cstddef>

#include "core/report/number_format.h"

namespace pellmar {
namespace {

constexpr std::size_t kChartRows = 23;

// A number rounded to `decimals` places, as text without blanks.
std::string roundedText(double value, int decimals) {
  return formatDigits(roundToDecimals(value, decimals));
}

// Rows 1 .. 22 of a chart: class centre to 2 decimals and frequency; row 0 is left to the caller.
FrequencyChartData chartRows(const FrequencyClasses& classes, std::string firstLabel) {
  FrequencyChartData chart;
  chart.labels.push_back(std::move(firstLabel));
  chart.values.push_back(classes.freq[0]);
  for (std::size_t i = 1; i < kChartRows; ++i) {
    chart.labels.push_back(roundedText(classes.classCenter[i], 2));
    chart.values.push_back(classes.freq[i]);
  }
  return chart;
}

}  // namespace

FrequencyChartData bootstrapFrequencyChart(const BootstrapResults& boot) {
  const FrequencyClasses& classes = boot.c0Classes;
  FrequencyChartData chart =
      chartRows(classes, classes.freq[0] == 0 ? "0" : roundedText(classes.classCenter[0], 2));
  chart.title =
      "C0: Bootstrap number = " + formatInteger(boot.bootCount) +
      ".  Min =" + roundedText(classes.minValue, 2) + ". Mean=" + roundedText(boot.c0.mean, 2) +
      ". Max =" + roundedText(classes.maxValue, 2) + ". SE =" + roundedText(boot.c0.se, 3);
  return chart;
}

FrequencyChartData jackknifeFrequencyChart(const JackknifeResults& jack) {
  const FrequencyClasses& classes = jack.classes;
  FrequencyChartData chart = chartRows(classes, "0");
  chart.title = "Frequency of pseudo-Co (interval =" + roundedText(classes.classWidth, 3) + ").";
  return chart;
}

}  // namespace pellmar
