#pragma once

#include "app/analysis.h"
#include "ui/views/return_window.h"

class QTabWidget;
class QTableWidget;

namespace pellmar {

// "Results": the age-stage matrices, stage statistics and life-table curves in ten tabbed
// grids, and the command that saves the results as a workbook.
class ResultsWindow : public ReturnWindow {
  Q_OBJECT

 public:
  ResultsWindow();

  // Fills every grid from the analysis as it stands.
  void load(const Analysis& analysis);

  [[nodiscard]] QTabWidget* tabs() const { return tabs_; }
  [[nodiscard]] QTableWidget* grid(int k) const;

 signals:
  // "Save workbook": the user asks for <base>.xlsx.
  void workbookRequested();

 private:
  QTabWidget* tabs_;
};

}  // namespace pellmar
