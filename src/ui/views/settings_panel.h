#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "app/experiment_command.h"
#include "app/project_file.h"
#include "app/run_command.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pellmar {

class Dialogs;

// The settings of one run of the open study, in place of the prompts of the guided steps: the
// time unit, the file read beside the data, how the results are resampled and with what seed.
// Every value is checked as it is typed: a fault is framed in red and named below, and Run
// waits until none is left. Run runs the whole analysis the settings ask for, as
// `pellmar-cli run` would, or every treatment of the project as `pellmar-cli experiment` would;
// a setting changed since marks the results out of date.
class SettingsPanel : public QWidget {
  Q_OBJECT

 public:
  SettingsPanel(Dialogs& dialogs, QWidget* parent = nullptr);

  // Takes the settings of a study just opened: its time unit; none open disables Run.
  void showStudy(const std::string& dataFile, double timeUnit);
  void showNoStudy();
  // Takes the settings of `project`: its bootstrap and comparison settings; with two treatments
  // or more, Run can run them all.
  void showProject(const Project& project);
  // The fecundity or SASD file of the treatment whose study is open.
  void showTreatmentFiles(const Treatment& treatment);
  // Whether Run runs every treatment of the project, as `pellmar-cli experiment` does.
  [[nodiscard]] bool runsEveryTreatment() const;
  // `project` with the bootstrap and comparison settings as they stand, to be saved or run.
  [[nodiscard]] Project appliedTo(Project project) const;
  // The experiment of the saved `project` with these settings; the seed from the clock when
  // the box is empty.
  [[nodiscard]] ExperimentRequest experimentRequest(const Project& project) const;

  // Why the settings cannot run, in words; empty when they can.
  [[nodiscard]] QString fault() const;
  // The run the settings ask for on `dataFile`, its seed `clockSeed` when the box is empty;
  // none while a fault remains.
  [[nodiscard]] std::optional<RunRequest> request(const std::string& dataFile,
                                                  std::uint64_t clockSeed) const;
  // After a run of `request` that wrote `files` files: says so, with the seed it used, and that
  // the results are up to date.
  void ranWith(const RunRequest& request, std::size_t files);
  // After a run of every treatment with `seed`.
  void ranExperiment(std::uint64_t seed, std::size_t treatments);

  [[nodiscard]] QPushButton* runButton() const { return run_; }
  [[nodiscard]] QDoubleSpinBox* timeUnitBox() const { return timeUnit_; }
  [[nodiscard]] QComboBox* lifeTableBox() const { return lifeTable_; }
  [[nodiscard]] QLineEdit* lifeTableFileBox() const { return lifeTableFile_; }
  [[nodiscard]] QComboBox* resamplingBox() const { return resampling_; }
  [[nodiscard]] QSpinBox* replicatesBox() const { return replicates_; }
  [[nodiscard]] QSpinBox* sampleSizeBox() const { return sampleSize_; }
  [[nodiscard]] QLineEdit* seedBox() const { return seed_; }
  [[nodiscard]] QDoubleSpinBox* confidenceBox() const { return confidence_; }
  [[nodiscard]] QCheckBox* redrawBarrenBox() const { return redrawBarren_; }
  [[nodiscard]] QCheckBox* normalDensityBox() const { return normalDensity_; }
  [[nodiscard]] QLabel* statusLabel() const { return status_; }
  [[nodiscard]] QComboBox* scopeBox() const { return scope_; }
  [[nodiscard]] QComboBox* adjustBox() const { return adjust_; }
  [[nodiscard]] QDoubleSpinBox* alphaBox() const { return alpha_; }

 signals:
  // The user has set the time unit of the open study.
  void timeUnitEdited(double timeUnit);

 private:
  void checkSettings();
  [[nodiscard]] QString fileFault() const;
  [[nodiscard]] QString seedFault() const;
  void chooseLifeTableFile();
  // The settings as one text, to tell whether they changed since the last run.
  [[nodiscard]] QString signature() const;

  Dialogs& dialogs_;
  QDoubleSpinBox* timeUnit_;
  QComboBox* lifeTable_;
  QLineEdit* lifeTableFile_;
  QPushButton* browse_;
  QComboBox* resampling_;
  QSpinBox* replicates_;
  QSpinBox* sampleSize_;
  QLineEdit* seed_;
  QDoubleSpinBox* confidence_;
  QCheckBox* redrawBarren_;
  QCheckBox* normalDensity_;
  QComboBox* scope_;
  QComboBox* adjust_;
  QDoubleSpinBox* alpha_;
  QLabel* fault_;
  QLabel* status_;
  QPushButton* run_;
  bool studyOpen_ = false;
  QString lastRun_;
};

}  // namespace pellmar
