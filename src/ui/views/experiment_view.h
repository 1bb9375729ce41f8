#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "app/experiment_command.h"
#include "ui/charts/chart_picture.h"
#include "ui/charts/treatment_charts.h"

class QChartView;
class QComboBox;
class QLabel;
class QTableWidget;

namespace pellmar {

class PairedTestWindow;

// "Comparison": after every treatment of a project has run, the paper's table (each quantity
// with every treatment's estimate ± SE and its letters) and the pairwise tests with their
// adjusted p; after a paired bootstrap test of the open study, that test. Below them, a figure
// that overlays the treatments' curves (s(x,j) of one stage, l(x), c(x) or the projected
// population), one colour each.
class ExperimentView : public QWidget {
  Q_OBJECT

 public:
  explicit ExperimentView(QWidget* parent = nullptr);

  // Takes the paired test's screen as the lower part of the view, hidden until it is shown.
  void addPairedTest(PairedTestWindow& pairedTest);
  void showPairedTest();
  void showResult(const ExperimentResult& result);
  // Nothing compared yet: the tables and the figure go, and the view says how to fill it.
  void clear();
  // The treatments of the project for the figure; none (a single study) hides it.
  void showTreatments(std::vector<TreatmentCurves> treatments);
  void showTreatmentsFault(const QString& fault);
  [[nodiscard]] bool hasTreatments() const { return treatments_ != nullptr; }
  // Draws the figure as it is chosen now, for Export chart.
  [[nodiscard]] ChartDrawing figureDrawing() const;
  [[nodiscard]] QString figureName() const;

  [[nodiscard]] QLabel* outcomeLabel() const { return outcome_; }
  [[nodiscard]] QTableWidget* tableGrid() const { return table_; }
  [[nodiscard]] QTableWidget* pairwiseGrid() const { return pairwise_; }
  [[nodiscard]] QChartView* figureView() const { return figureView_; }
  [[nodiscard]] QComboBox* figureBox() const { return figure_; }
  [[nodiscard]] QComboBox* stageBox() const { return stage_; }

 private:
  void drawFigure();

  QLabel* placeholder_;
  QLabel* outcome_;
  QTableWidget* table_;
  QTableWidget* pairwise_;
  PairedTestWindow* pairedTest_ = nullptr;
  QWidget* figureArea_;
  QComboBox* figure_;
  QComboBox* stage_;
  QLabel* figureNote_;
  QChartView* figureView_;
  // Shared with the drawings handed out for export, which may outlive a new project.
  std::shared_ptr<const std::vector<TreatmentCurves>> treatments_;
};

}  // namespace pellmar
