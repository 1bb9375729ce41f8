#pragma once

#include "app/analysis.h"
#include "ui/views/return_window.h"

class QLabel;
class QTableWidget;

namespace pellmar {

class Dialogs;

// "Mean of stage": the mean duration of every stage with its standard error.
class StageMeansWindow : public ReturnWindow {
  Q_OBJECT

 public:
  explicit StageMeansWindow(Dialogs& dialogs);

  void load(const Analysis& analysis);

  [[nodiscard]] QLabel* heading() const { return heading_; }
  [[nodiscard]] QTableWidget* grid() const { return grid_; }

 private:
  QLabel* heading_;
  QTableWidget* grid_;
};

}  // namespace pellmar
