#pragma once

class QChart;
class QValueAxis;

namespace pellmar {

// Keeps `axis` of `chart` on a round scale over the values [low, high]: ticks at multiples of a
// round step (1, 2 or 5 times a power of ten, at least `leastStep`), both ends on a tick, and as
// many ticks as the axis has room for whole labels at the chart's size. The axis is fitted again
// whenever the plot area changes, so that a chart drawn small (85 x 60 mm, say) thins its ticks
// instead of cutting their labels.
void keepNiceScale(QChart& chart, QValueAxis& axis, double low, double high,
                   double leastStep = 0.0);

}  // namespace pellmar
