#pragma once

#include <QString>

#include "ui/charts/chart_picture.h"

class QChartView;

namespace pellmar {

class Dialogs;
class DesktopSettings;

// Saves the chart shown in a view as a PNG picture at 300 dots per inch. False when the file
// cannot be written.
bool saveChartAsPng(QChartView& view, const QString& path);

// Saves the chart shown in a view as an SVG drawing. False when the file cannot be written.
bool saveChartAsSvg(QChartView& view, const QString& path);

// Saves as SVG when the path ends in ".svg" (any case), else as PNG.
bool saveChart(QChartView& view, const QString& path);

// Asks where to save the chart shown, as a PNG picture or an SVG drawing, and saves it; tells
// the user when the file cannot be written. The dialog opens where the last chart was saved.
void saveChartWithDialog(QChartView& view, DesktopSettings& settings);

// "Export chart…": asks through `dialogs` for the size, dots per inch, font size, format and
// file, proposing the choices of the last export and "<fileStem>.png" (or the last format's
// extension) in the folder of the last chart; then writes the chart that `draw` fills. A request
// out of range or a file that cannot be written is told in a message and nothing is written.
void exportChartWithDialog(const ChartDrawing& draw, const QString& fileStem, Dialogs& dialogs,
                           DesktopSettings& settings);

}  // namespace pellmar
