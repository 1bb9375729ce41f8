#pragma once

#include "ui/views/return_window.h"

class QPlainTextEdit;

namespace pellmar {

class Dialogs;

// The format of the raw data file: an example file and an explanation of every line.
class DataFormatWindow : public ReturnWindow {
  Q_OBJECT

 public:
  explicit DataFormatWindow(Dialogs& dialogs);

  [[nodiscard]] QPlainTextEdit* example() const { return example_; }

 private:
  QPlainTextEdit* example_;
};

// An example data file of six individuals (four stages: egg, larva, pupa, adult).
QString exampleDataFile();

}  // namespace pellmar
