#pragma once

#include <QWidget>

class QLabel;
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

  [[nodiscard]] QLabel* summary() const { return summary_; }
  [[nodiscard]] QTableWidget* grid() const { return grid_; }

 private:
  QLabel* summary_;
  QTableWidget* grid_;
};

}  // namespace pellmar
