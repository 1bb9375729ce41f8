#include "ui/charts/chart_style.h"

#include <QChart>
#include <QValueAxis>

namespace pellmar {

QFont chartFont() { return QFont(QStringLiteral("Arial"), 8); }

QValueAxis* addValueAxis(QChart& chart, const QString& title, Qt::Alignment alignment) {
  auto* axis = new QValueAxis(&chart);
  axis->setTitleText(title);
  axis->setTitleFont(chartFont());
  axis->setTitleVisible(true);
  axis->setLabelsFont(chartFont());
  // In a small chart the axis is given less room than its labels ask for; they are short enough
  // to be shown whole rather than cut to "...".
  axis->setTruncateLabels(false);
  chart.addAxis(axis, alignment);
  return axis;
}

}  // namespace pellmar
