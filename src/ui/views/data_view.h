#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QListWidget;
class QTableWidget;

namespace pellmar {

struct FecundityLifeTable;
struct Study;

// The open study as read: a summary of the cohort (its individuals by sex, its stages, the
// longest life and, after Read fecundity, the laying females) above a read-only grid of every
// individual with its sex, stage durations, total consumption and eggs. Durations are those of
// the file, in time units; a negative one is the stage in which the individual died.
class DataView : public QWidget {
  Q_OBJECT

 public:
  explicit DataView(QWidget* parent = nullptr);

  // Shows `study`, its eggs from `lifeTable` when there is one; none open empties the view.
  void showStudy(const Study* study, const FecundityLifeTable* lifeTable);
  // `dataFile` could not be read for `fault`, which names its line.
  void showFault(const std::string& dataFile, const std::string& fault);

  [[nodiscard]] QLabel* summary() const { return summary_; }
  [[nodiscard]] QTableWidget* grid() const { return grid_; }
  [[nodiscard]] QListWidget* faults() const { return faults_; }

 private:
  QLabel* summary_;
  QListWidget* faults_;
  QTableWidget* grid_;
  bool faultShown_ = false;
};

}  // namespace pellmar
