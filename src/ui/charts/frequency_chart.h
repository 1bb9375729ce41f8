#pragma once

#include <QString>

#include "core/resampling/frequency_chart.h"

class QChart;

namespace pellmar {

// Replaces the content of `chart` with the bars of a frequency distribution of resampled net
// consumption rates: one bar a class, labelled by the class centre, under the given title.
void drawFrequencyChart(QChart& chart, const FrequencyChartData& frequencies,
                        const QString& horizontalTitle);

}  // namespace pellmar
