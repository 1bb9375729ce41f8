#pragma once

#include <QDialog>

#include "app/chart_export_request.h"
#include "ui/charts/chart_picture.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace pellmar {

class DesktopSettings;

// "Export chart": the printed size in millimetres (one column, two columns or any other), 300
// or 600 dots per inch, the font size in points at that size, greys with line styles or
// colours, the format and the file. The format follows the file's extension and the extension
// the format. Given the chart's drawing, the dialog previews it at its printed size on the
// screen, as the choices lay it out.
class ChartExportDialog : public QDialog {
  Q_OBJECT

 public:
  ChartExportDialog(const ChartExportRequest& proposal, DesktopSettings& settings,
                    QWidget* parent = nullptr, const ChartDrawing* preview = nullptr);

  // What the dialog shows now.
  [[nodiscard]] ChartExportRequest request() const;

 private:
  void choosePreset(int index);
  void matchPreset();
  void chooseFormat(int index);
  void browse();
  void updatePreview();

  DesktopSettings& settings_;
  QComboBox* preset_;
  QDoubleSpinBox* width_;
  QDoubleSpinBox* height_;
  QComboBox* dpi_;
  QSpinBox* fontPt_;
  QComboBox* format_;
  QCheckBox* greyscale_;
  QLineEdit* file_;
  ChartDrawing preview_;
  QLabel* picture_ = nullptr;
};

}  // namespace pellmar
