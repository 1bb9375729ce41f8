#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "app/project_file.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace pellmar {

// "Treatments": the treatments of the open project, each with its data file, its fecundity or
// SASD file and whether it has been analysed; a data file opened alone is a project of one
// treatment without a file. Treatments are added, removed, renamed and reordered here; a change
// marks the project unsaved until it is saved. Selecting a treatment announces it, so that the
// main window opens its study.
class TreatmentsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TreatmentsPanel(QWidget* parent = nullptr);

  // Shows `project` as read from its file, nothing analysed, its first treatment selected.
  void showProject(const Project& project);
  // A data file opened alone: a project of it alone, with no file.
  void showDataFile(const std::string& dataFile, double timeUnit);
  void clear();

  [[nodiscard]] const Project& project() const { return project_; }
  [[nodiscard]] bool hasProject() const { return !project_.treatments.empty(); }
  [[nodiscard]] bool isModified() const { return modified_; }
  // The selected treatment's index, if any.
  [[nodiscard]] std::optional<std::size_t> selected() const;
  void select(std::size_t treatment);

  // Adds `treatment` at the end and selects it; refused (with the reason) when its name is not
  // a folder's name or another treatment has it, or its files are of another kind.
  void addTreatment(Treatment treatment);
  void removeSelected();
  // Renames the selected treatment; refused as addTreatment() refuses a name.
  void renameSelected(const std::string& name);
  // Moves the selected treatment `by` places up (negative) or down.
  void moveSelected(int by);
  void markAnalysed(std::size_t treatment);
  void markAllAnalysed();
  [[nodiscard]] bool isAnalysed(std::size_t treatment) const;
  // The project has been written into its file, and read back as `saved`: the same
  // treatments in the same order.
  void markSaved(const Project& saved);

  [[nodiscard]] QListWidget* list() const { return list_; }

 signals:
  void treatmentSelected(std::size_t treatment);
  void addRequested();
  void renameRequested();
  void changed();

 private:
  void fill();
  void changedByUser();
  void updateButtons();
  // Why `name` cannot be the name of a treatment other than `except`; empty when it can.
  [[nodiscard]] std::string nameFault(const std::string& name,
                                      std::optional<std::size_t> except) const;

  Project project_;
  std::vector<bool> analysed_;
  bool modified_ = false;
  QLabel* title_;
  QListWidget* list_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* rename_;
  QPushButton* up_;
  QPushButton* down_;
};

}  // namespace pellmar
