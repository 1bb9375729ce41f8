#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace pellmar {

// Prints an image of a window as it is shown on the screen, scaled to fit the printable area
// of one page with its proportions kept. False when the printer cannot be started.
bool printWindowImage(QWidget& window, QPrinter& printer);

// Prints an image of a window into a PDF file of one page.
bool printWindowToPdf(QWidget& window, const QString& path);

}  // namespace pellmar
