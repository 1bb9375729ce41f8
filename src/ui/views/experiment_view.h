#pragma once

#include <QWidget>

#include "app/experiment_command.h"

class QLabel;
class QTableWidget;

namespace pellmar {

class PairedTestWindow;

// "Comparison": after every treatment of a project has run, the paper's table (each quantity
// with every treatment's estimate ± SE and its letters) and the pairwise tests with their
// adjusted p; after a paired bootstrap test of the open study, that test.
class ExperimentView : public QWidget {
  Q_OBJECT

 public:
  explicit ExperimentView(QWidget* parent = nullptr);

  // Takes the paired test's screen as the lower part of the view, hidden until it is shown.
  void addPairedTest(PairedTestWindow& pairedTest);
  void showPairedTest();
  void showResult(const ExperimentResult& result);
  // Nothing compared yet: the tables go, and the view says how to fill it.
  void clear();

  [[nodiscard]] QLabel* outcomeLabel() const { return outcome_; }
  [[nodiscard]] QTableWidget* tableGrid() const { return table_; }
  [[nodiscard]] QTableWidget* pairwiseGrid() const { return pairwise_; }

 private:
  QLabel* placeholder_;
  QLabel* outcome_;
  QTableWidget* table_;
  QTableWidget* pairwise_;
  PairedTestWindow* pairedTest_ = nullptr;
};

}  // namespace pellmar
