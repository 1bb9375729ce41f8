#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/dialogs.h"
#include "core/exports/results_summary.h"
#include "ui/views/return_window.h"

class QLabel;
class QTableWidget;

namespace pellmar {

// What the resampling results screen shows: every quantity of the results summary with its
// estimate and, where the resampling computed them, the mean, SE and interval of its resampled
// values; the seed of an own-samples bootstrap.
struct ResamplingShown {
  QString method;  // "Bootstrap of 1001 replicates of 100 individuals", ...
  std::optional<std::uint64_t> seed;
  double confidence = kDefaultConfidence;
  std::vector<SummaryRow> rows;
};

// "Bootstrap or jackknife results": the bootstrap or jackknife results, the project, the date and
// the time.
class ResamplingResultsWindow : public ReturnWindow {
  Q_OBJECT

 public:
  explicit ResamplingResultsWindow(Dialogs& dialogs);

  // Fills the window (only the headings without results) and sounds the beep.
  void present(const QString& project, const std::optional<ResamplingShown>& shown);
  // Only the headings, quietly: the analysis has no resampling any more.
  void clearResults(const QString& project);

  [[nodiscard]] QTableWidget* grid() const { return grid_; }
  [[nodiscard]] QLabel* project() const { return project_; }

 private:
  void fill(const QString& project, const std::optional<ResamplingShown>& shown);

  Dialogs& dialogs_;
  QLabel* project_;
  QLabel* date_;
  QLabel* time_;
  QLabel* method_;
  QLabel* seed_;
  QTableWidget* grid_;
};

// The name a summary quantity has on screen ("Stage consumption" for "stage_consumption").
QString quantityLabel(const std::string& quantity);

// The closing text the main window shows after the resampling results.
QString closingInstructionText();

}  // namespace pellmar
