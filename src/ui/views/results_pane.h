#pragma once

#include <QWidget>
#include <vector>

#include "core/exports/results_summary.h"

class QLabel;
class QTableWidget;

namespace pellmar {

// The main results of the analysis, always in view beside the steps: C0, R0, r, lambda, T, psi,
// omega and Qp, each with its estimate and, after a bootstrap or the jackknife, its SE and
// interval, and its unit. It follows the summary as each step finishes. Ctrl+C copies the
// selected cells at full precision, and the context menu exports the table to CSV.
class ResultsPane : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsPane(QWidget* parent = nullptr);

  // Shows `summary` (none before the Basic Run), whose intervals are at `confidence`.
  // `subject` (a treatment's name, or empty) heads the results.
  void showResults(const std::vector<SummaryRow>& summary, double confidence,
                   const QString& subject = {});

  [[nodiscard]] QTableWidget* table() const { return table_; }

 private:
  QLabel* heading_;
  QTableWidget* table_;
};

}  // namespace pellmar
