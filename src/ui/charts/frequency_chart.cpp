#include "ui/charts/frequency_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGuiApplication>
#include <QLegend>
#include <QValueAxis>
#include <algorithm>

#include "ui/charts/life_charts.h"
#include "ui/charts/palette_colours.h"

namespace pellmar {

namespace {

constexpr int kFontSize = 10;

QFont chartFont() { return QFont(QStringLiteral("Arial"), kFontSize); }

}  // namespace

void drawFrequencyChart(QChart& chart, const FrequencyChartData& frequencies,
                        const QString& horizontalTitle) {
  clearChart(chart);
  chart.setTitle(QString::fromStdString(frequencies.title));
  chart.setTitleFont(chartFont());
  chart.legend()->setVisible(false);

  auto* series = new QBarSeries(&chart);
  auto* bars = new QBarSet(QStringLiteral("Frequency"), series);
  QStringList categories;
  for (std::size_t i = 0; i < frequencies.values.size(); ++i) {
    bars->append(frequencies.values[i]);
    // Equal class centres would merge categories; a trailing space per repeat keeps them apart.
    QString label =
        i < frequencies.labels.size() ? QString::fromStdString(frequencies.labels[i]) : QString();
    while (categories.contains(label)) label += QLatin1Char(' ');
    categories.append(label);
  }
  series->append(bars);
  chart.addSeries(series);

  auto* horizontal = new QBarCategoryAxis(&chart);
  horizontal->append(categories);
  horizontal->setTitleText(horizontalTitle);
  horizontal->setTitleFont(chartFont());
  horizontal->setLabelsAngle(-90);
  chart.addAxis(horizontal, Qt::AlignBottom);
  series->attachAxis(horizontal);

  auto* vertical = new QValueAxis(&chart);
  vertical->setTitleText(QStringLiteral("Frequency"));
  vertical->setTitleFont(chartFont());
  const double largest = frequencies.values.empty() ? 0.0
                                                    : *std::max_element(frequencies.values.begin(),
                                                                        frequencies.values.end());
  vertical->setRange(0, largest > 0 ? largest : 1.0);
  vertical->applyNiceNumbers();
  vertical->setLabelFormat(QStringLiteral("%d"));
  chart.addAxis(vertical, Qt::AlignLeft);
  series->attachAxis(vertical);
  applyChartColours(chart, QGuiApplication::palette());
}

}  // namespace pellmar
