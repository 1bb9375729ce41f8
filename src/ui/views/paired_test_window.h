#pragma once

#include <QString>

#include "core/resampling/paired_test.h"
#include "ui/views/return_window.h"

class QLabel;
class QTableWidget;

namespace pellmar {

// What the paired-test window shows: the two studies, how their replicates were drawn and the
// test of every quantity both have.
struct PairedTestShown {
  QString firstStudy;  // the data files, as the user chose them
  QString secondStudy;
  QString method;  // "1000 replicates of each study; seeds 7 and 8"
  double confidence = 0.95;
  PairedTest test;
};

// "Paired bootstrap test": the paired differences of the two studies' bootstraps, quantity by
// quantity, and the note on what was left out.
class PairedTestWindow : public ReturnWindow {
  Q_OBJECT

 public:
  PairedTestWindow();

  void present(const PairedTestShown& shown);

  [[nodiscard]] QTableWidget* grid() const { return grid_; }

 private:
  QLabel* first_;
  QLabel* second_;
  QLabel* method_;
  QLabel* note_;
  QTableWidget* grid_;
};

}  // namespace pellmar
