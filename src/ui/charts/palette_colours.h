#pragma once

#include <QColor>

class QChart;
class QPalette;

namespace pellmar {

// Colours chosen against the palette, so that text and lines stay readable on light and dark
// backgrounds alike.

// The contrast ratio of two colours as the accessibility guidelines define it: from 1 (the same
// luminance) to 21 (black on white). Text needs 4.5, lines and marks 3.
double contrastRatio(const QColor& first, const QColor& second);

// `colour` made darker on a light background or lighter on a dark one, keeping its hue, until
// it reaches `minimumContrast` against `background`; unchanged when it already does.
QColor readableOn(const QColor& background, const QColor& colour, double minimumContrast = 4.5);

// True when the palette's window background is darker than its text.
bool isDark(const QPalette& palette);

// The colour of curve `index` of a chart (stage columns, up to twelve different ones).
QColor curveColour(int index);

// Paints a chart in the palette's colours: the background, the title, the legend, the axes
// with their grid lines, and every curve and bar readable on that background.
void applyChartColours(QChart& chart, const QPalette& palette);

}  // namespace pellmar
