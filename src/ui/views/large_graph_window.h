#pragma once

#include "app/analysis.h"
#include "ui/charts/life_charts.h"
#include "ui/views/return_window.h"

class QChartView;
class QPushButton;

namespace pellmar {

class Dialogs;
class DesktopSettings;

// The large chart window: the seven charts of the Basic Run results, and the fecundity curves
// once the life table has been computed, drawn larger, with its own buttons to switch between
// them, to print the window and to save the chart.
class LargeGraphWindow : public ReturnWindow {
  Q_OBJECT

 public:
  LargeGraphWindow(const Analysis& analysis, Dialogs& dialogs, DesktopSettings& settings);

  // Shows the window with the survival chart; the fecundity chart's button is enabled when there
  // is a life table.
  void open();
  void showChart(LifeChart kind);

  [[nodiscard]] QChartView* chartView() const { return view_; }

 signals:
  // "Quit": the window hides and the closing screens follow.
  void quitRequested();

 private:
  const Analysis& analysis_;
  QChartView* view_;
  LifeChart shown_ = LifeChart::kSxj;
  QPushButton* fecundityButton_ = nullptr;
};

}  // namespace pellmar
