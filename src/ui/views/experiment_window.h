#pragma once

#include <QString>

#include "app/experiment_command.h"
#include "app/project_file.h"
#include "ui/views/return_window.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace pellmar {

// An experiment of several treatments, opened from its project file: the treatments and their
// files, the bootstrap and comparison settings (checked as they are typed), and after a run the
// paper's table of every quantity with each treatment's estimate ± SE and letters. The window
// asks for the run, the save and the stop; the main window does them.
class ExperimentWindow : public ReturnWindow {
  Q_OBJECT

 public:
  ExperimentWindow();

  // Shows `project` as read from its file, with no results yet.
  void present(const Project& project);
  // The project with the settings as they stand in the window, to be saved.
  [[nodiscard]] Project editedProject() const;
  // The experiment as the window's settings ask for it; the seed from the clock when its box
  // is empty.
  [[nodiscard]] ExperimentRequest request() const;
  // Why the settings cannot be run; empty when they can.
  [[nodiscard]] QString settingsFault() const;

  // While the experiment runs, the settings and Run are locked and Stop is offered.
  void showRunning(bool running);
  void showProgress(int percent, const QString& text);
  void showResult(const ExperimentResult& result);

  [[nodiscard]] QTableWidget* treatmentsGrid() const { return treatments_; }
  [[nodiscard]] QTableWidget* tableGrid() const { return table_; }
  [[nodiscard]] QSpinBox* replicatesBox() const { return replicates_; }
  [[nodiscard]] QLineEdit* seedBox() const { return seed_; }
  [[nodiscard]] QDoubleSpinBox* confidenceBox() const { return confidence_; }
  [[nodiscard]] QComboBox* adjustBox() const { return adjust_; }
  [[nodiscard]] QDoubleSpinBox* alphaBox() const { return alpha_; }
  [[nodiscard]] QCheckBox* redrawBarrenBox() const { return redrawBarren_; }
  [[nodiscard]] QPushButton* runButton() const { return run_; }
  [[nodiscard]] QPushButton* saveButton() const { return save_; }
  [[nodiscard]] QPushButton* stopButton() const { return stop_; }
  [[nodiscard]] QLabel* outcomeLabel() const { return outcome_; }

 signals:
  void runRequested();
  void saveRequested();
  void stopRequested();

 private:
  void checkSettings();

  Project project_;
  bool running_ = false;
  QLabel* title_;
  QLabel* file_;
  QTableWidget* treatments_;
  QSpinBox* replicates_;
  QLineEdit* seed_;
  QLabel* seedFault_;
  QDoubleSpinBox* confidence_;
  QComboBox* adjust_;
  QDoubleSpinBox* alpha_;
  QCheckBox* redrawBarren_;
  QPushButton* run_;
  QPushButton* save_;
  QPushButton* stop_;
  QProgressBar* progress_;
  QLabel* progressText_;
  QLabel* outcome_;
  QTableWidget* table_;
};

}  // namespace pellmar
