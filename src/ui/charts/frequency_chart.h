#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QChart;

namespace pellmar {

struct BootstrapResults;
struct JackknifeResults;

// A figure of resampled values of C0: the values, what they are, and the statistics that go in
// the legend box beside their histogram.
struct FrequencyFigure {
  std::vector<double> values;
  QString valueTitle;
  QStringList statistics;
};

// The bootstrap's C0 of every replicate, with B, the mean, SE, smallest and largest.
FrequencyFigure bootstrapFrequencyFigure(const BootstrapResults& boot);
// The jackknife's pseudo-values of C0, with n, their mean, SE, smallest and largest.
FrequencyFigure jackknifeFrequencyFigure(const JackknifeResults& jack);

// Replaces the content of `chart` with the histogram of `figure`: bins of a round width (1, 2
// or 5 times a power of ten) with edges on its multiples, on axes of round ticks that leave
// room for whole labels at any size, and the statistics in a legend box. No title: what the
// chart shows is said by its axes and its legend.
void drawFrequencyChart(QChart& chart, const FrequencyFigure& figure);

}  // namespace pellmar
