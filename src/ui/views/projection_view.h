#pragma once

#include <QWidget>

#include "core/predation/projection.h"
#include "ui/charts/projection_chart.h"

class QCheckBox;
class QChartView;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace pellmar {

// What the projection view asks to draw.
struct ProjectionViewRequest {
  double days = 90.0;
  ProjectionStart start;
  ProjectionChartOptions chart;  // its ranks are the main window's to fill
  // Shade the band of the open study's own-samples bootstrap, and dash its lambda ranks.
  bool band = false;
};

// "Projection": the population and predation projected from the open study's life table: the
// days, the initial population (eggs or the stable distribution), a logarithmic or linear axis
// and which totals; the bootstrap's band shaded and the life tables at its lambda ranks dashed
// when the study has an own-samples bootstrap with fecundity. Draw asks the main window, which
// computes the projection.
class ProjectionView : public QWidget {
  Q_OBJECT

 public:
  explicit ProjectionView(QWidget* parent = nullptr);

  [[nodiscard]] ProjectionViewRequest request() const;
  // Whether the open study can be projected (it has a life table) and banded (it has an
  // own-samples bootstrap with fecundity); says why not when it cannot.
  void showAvailability(bool lifeTable, bool bootstrap);
  // The chart has been drawn; `note` says what it shows beyond the totals.
  void showDrawn(const QString& note);

  [[nodiscard]] QChartView* chartView() const { return chart_; }
  [[nodiscard]] QPushButton* drawButton() const { return draw_; }

 signals:
  void drawRequested();

 private:
  QDoubleSpinBox* days_;
  QComboBox* start_;
  QDoubleSpinBox* count_;
  QComboBox* axis_;
  QCheckBox* population_;
  QCheckBox* predation_;
  QCheckBox* band_;
  QPushButton* draw_;
  QLabel* note_;
  QChartView* chart_;
};

}  // namespace pellmar
