#pragma once

#include <QDialog>

#include "app/chart_export_request.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace pellmar {

class DesktopSettings;

// "Export chart": the printed size in millimetres (one column, two columns or any other), 300
// or 600 dots per inch, the font size in points at that size, the format and the file. The
// format follows the file's extension and the extension the format.
class ChartExportDialog : public QDialog {
  Q_OBJECT

 public:
  ChartExportDialog(const ChartExportRequest& proposal, DesktopSettings& settings,
                    QWidget* parent = nullptr);

  // What the dialog shows now.
  [[nodiscard]] ChartExportRequest request() const;

 private:
  void choosePreset(int index);
  void matchPreset();
  void chooseFormat(int index);
  void browse();

  DesktopSettings& settings_;
  QComboBox* preset_;
  QDoubleSpinBox* width_;
  QDoubleSpinBox* height_;
  QComboBox* dpi_;
  QSpinBox* fontPt_;
  QComboBox* format_;
  QLineEdit* file_;
};

}  // namespace pellmar
