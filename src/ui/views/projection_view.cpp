#include "ui/views/projection_view.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pellmar {

ProjectionView::ProjectionView(QWidget* parent)
    : QWidget(parent),
      days_(new QDoubleSpinBox(this)),
      start_(new QComboBox(this)),
      count_(new QDoubleSpinBox(this)),
      axis_(new QComboBox(this)),
      population_(new QCheckBox(QStringLiteral("Population"), this)),
      predation_(new QCheckBox(QStringLiteral("Predation per day"), this)),
      band_(new QCheckBox(QStringLiteral("Bootstrap band and lambda ranks"), this)),
      draw_(new QPushButton(QStringLiteral("Draw"), this)),
      note_(new QLabel(this)),
      chart_(new QChartView(this)) {
  setObjectName(QStringLiteral("projectionView"));
  days_->setObjectName(QStringLiteral("projectionDaysBox"));
  days_->setRange(1, kMaxProjectionDays);
  days_->setDecimals(0);
  days_->setValue(90);
  days_->setSuffix(QStringLiteral(" days"));
  start_->setObjectName(QStringLiteral("projectionStartBox"));
  start_->addItems({QStringLiteral("Eggs"), QStringLiteral("Stable distribution")});
  count_->setObjectName(QStringLiteral("projectionCountBox"));
  count_->setRange(0.001, 1e9);
  count_->setDecimals(3);
  count_->setValue(10);
  axis_->setObjectName(QStringLiteral("projectionAxisBox"));
  axis_->addItems({QStringLiteral("Logarithmic"), QStringLiteral("Linear")});
  population_->setObjectName(QStringLiteral("projectionPopulationBox"));
  predation_->setObjectName(QStringLiteral("projectionPredationBox"));
  band_->setObjectName(QStringLiteral("projectionBandBox"));
  population_->setChecked(true);
  predation_->setChecked(true);
  draw_->setObjectName(QStringLiteral("drawProjectionButton"));
  note_->setObjectName(QStringLiteral("projectionNote"));
  note_->setWordWrap(true);
  chart_->setObjectName(QStringLiteral("projectionChartView"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setFocusPolicy(Qt::NoFocus);
  chart_->setMinimumSize(240, 160);
  chart_->chart()->setMargins(QMargins(4, 4, 4, 4));
  chart_->chart()->layout()->setContentsMargins(0, 0, 0, 0);

  // The choices in a few short rows above the chart, so that the view fits a narrow window.
  auto* choices = new QGridLayout;
  choices->addWidget(new QLabel(QStringLiteral("Days:"), this), 0, 0);
  choices->addWidget(days_, 0, 1);
  choices->addWidget(start_, 0, 2);
  choices->addWidget(count_, 0, 3);
  choices->addWidget(new QLabel(QStringLiteral("Axis:"), this), 1, 0);
  choices->addWidget(axis_, 1, 1);
  choices->addWidget(population_, 1, 2);
  choices->addWidget(predation_, 1, 3);
  choices->addWidget(band_, 2, 0, 1, 3);
  choices->addWidget(draw_, 2, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addWidget(note_);
  layout->addWidget(chart_, 1);
  connect(draw_, &QPushButton::clicked, this, &ProjectionView::drawRequested);
  showAvailability(false, false);
}

ProjectionViewRequest ProjectionView::request() const {
  ProjectionViewRequest request;
  request.days = days_->value();
  request.start.kind =
      start_->currentIndex() == 0 ? ProjectionStart::Kind::kEggs : ProjectionStart::Kind::kStable;
  request.start.count = count_->value();
  request.chart.logarithmic = axis_->currentIndex() == 0;
  request.chart.population = population_->isChecked();
  request.chart.predation = predation_->isChecked();
  request.band = band_->isEnabled() && band_->isChecked();
  return request;
}

void ProjectionView::showAvailability(bool lifeTable, bool bootstrap) {
  draw_->setEnabled(lifeTable);
  band_->setEnabled(bootstrap);
  if (!lifeTable) {
    note_->setText(
        QStringLiteral("A projection needs the life table: Read fecundity, or Run with a "
                       "fecundity file."));
  } else if (!bootstrap) {
    note_->setText(
        QStringLiteral("A bootstrap of the study's own samples with fecundity adds the band."));
  } else {
    note_->clear();
  }
}

void ProjectionView::showDrawn(const QString& note) { note_->setText(note); }

}  // namespace pellmar
