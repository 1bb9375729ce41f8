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

// The file name proposed for the PDF of a window: its caption with ".pdf", each character that
// some file system does not allow in a name replaced by "_" ("Page.pdf" for a window without a
// caption).
QString pdfFileNameFor(const QWidget& window);

}  // namespace pellmar
