#pragma once

#include <optional>

#include "app/dialogs.h"
#include "ui/return_window.h"

class QLabel;
class QTableWidget;

namespace pellmar {

// A resampling estimate of the net consumption rate and its standard error.
struct ResamplingEstimate {
  double estimate = 0.0;
  double standardError = 0.0;
};

// "Jackknife form": the bootstrap or jackknife estimate of C0 with its standard error, the
// project, the date and the time. Its button "Go back to mainform" announces wentBack() before
// the window closes; closing it by the frame only returns.
class ResamplingResultsWindow : public ReturnWindow {
  Q_OBJECT

 public:
  explicit ResamplingResultsWindow(Dialogs& dialogs);

  // Fills the window (the estimate cells stay empty without an estimate) and sounds the beep.
  void present(const QString& project, const std::optional<ResamplingEstimate>& estimate);

  [[nodiscard]] QTableWidget* grid() const { return grid_; }
  [[nodiscard]] QLabel* project() const { return project_; }

 signals:
  void wentBack();

 private:
  Dialogs& dialogs_;
  QLabel* project_;
  QLabel* date_;
  QLabel* time_;
  QTableWidget* grid_;
};

// The closing text the main window shows after the resampling results.
QString closingInstructionText();

}  // namespace pellmar
