#pragma once

#include <QImage>
#include <functional>

#include "app/chart_export_request.h"
#include "app/dialogs.h"

class QChart;

namespace pellmar {

// Fills a fresh chart with what is to be exported (drawLifeChart() of one chart, say).
using ChartDrawing = std::function<void(QChart&)>;

// The chart an export dialog previews, as its drawing.
struct ChartDrawingPreview : ChartPreview {
  explicit ChartDrawingPreview(ChartDrawing drawing) : draw(std::move(drawing)) {}
  ChartDrawing draw;
};

// The chart `draw` fills, laid out at the printed size of `request` with its text at
// request.fontPt points, in black on white, as a PNG picture of pngPixelSize(request) pixels
// that records request.dpi. It depends on nothing but the drawing and the request: not on a
// window's size, the screen or the desktop's colours.
QImage chartImage(const ChartDrawing& draw, const ChartExportRequest& request);

// Lays out the chart `draw` fills as the picture of `request` would show it, and lets `look`
// read it there: what its axes hold and what its texts say once laid out, for checks that
// nothing is cut.
void inspectPaperChart(const ChartDrawing& draw, const ChartExportRequest& request,
                       const std::function<void(const QChart&)>& look);

// Writes that chart to request.file in request.format: the PNG picture, or an SVG or PDF
// drawing of the printed size. The file is replaced only once the whole picture is ready; a
// failure raises the "File error".
void exportChartPicture(const ChartDrawing& draw, const ChartExportRequest& request);

}  // namespace pellmar
