// The desktop program: wires the Qt dialog services and the settings to the main window and
// runs the events.
#include <QApplication>
#include <QTimer>
#include <iostream>
#include <string_view>

#include "ui/chart_batch.h"
#include "ui/desktop_settings.h"
#include "ui/focus_frame.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"

int main(int argc, char* argv[]) {
  // Answered before any QApplication exists, so that it needs no display.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "Pellmar " PELLMAR_VERSION "\n";
    return 0;
  }
  if (pellmar::isChartExportCommand(argc, argv)) return pellmar::chartExportMain(argc, argv);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pellmar"));
  QApplication::setApplicationVersion(QStringLiteral(PELLMAR_VERSION));
  // The program ends only by its own rules: closing the main window, the last closing screen
  // or a fault in the data file, not when a screen closes while the main window is hidden.
  QApplication::setQuitOnLastWindowClosed(false);

  pellmar::DesktopSettings settings;
  pellmar::QtDialogs dialogs(settings);
  pellmar::FocusFrame focusFrame;
  pellmar::MainWindow window(dialogs, settings);
  QObject::connect(&window, &pellmar::MainWindow::programEnded, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  // A file named on the command line (as a desktop's "Open with" starts the program) opens at
  // once when the events run; without one the title screen comes first.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    const std::string dataFile = arguments.at(1).toStdString();
    QTimer::singleShot(0, &window, [&window, dataFile] { window.startWithDataFile(dataFile); });
  } else {
    window.start();
  }
  return QApplication::exec();
}
