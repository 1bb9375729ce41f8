// The desktop program: reads its command line, then wires the Qt dialog services and the settings
// to the main window and runs the events, or draws one chart in the batch mode.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <iostream>

#include "core/platform/platform.h"
#include "ui/shell/chart_batch.h"
#include "ui/shell/desktop_command_line.h"
#include "ui/shell/desktop_settings.h"
#include "ui/shell/main_window.h"
#include "ui/shell/qt_dialogs.h"
#include "ui/widgets/focus_frame.h"

namespace {

int usageError(const pellmar::CommandLineError& error) {
  std::cerr << "pellmar: " << error.message << '\n' << pellmar::desktopUsage();
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  // The batch mode, --help and --version are answered before any QApplication exists, so that
  // they need no display. The window's command line may also hold Qt's own options
  // ("-style fusion"), which QApplication takes out: it is read again from what is left.
  pellmar::DesktopCommandLine command;
  try {
    command = pellmar::parseDesktopCommandLine(arguments);
  } catch (const pellmar::CommandLineError& error) {
    if (std::find(arguments.begin(), arguments.end(), "--export-chart") != arguments.end()) {
      return usageError(error);
    }
  }
  switch (command.action) {
    case pellmar::DesktopCommandLine::Action::kVersion:
      std::cout << "Pellmar " PELLMAR_VERSION "\n";
      return 0;
    case pellmar::DesktopCommandLine::Action::kHelp:
      std::cout << pellmar::desktopUsage();
      return 0;
    case pellmar::DesktopCommandLine::Action::kExportChart:
      return pellmar::chartExportMain(command.chartExport, argc, argv);
    case pellmar::DesktopCommandLine::Action::kShowWindow:
      break;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pellmar"));
  QApplication::setApplicationVersion(QStringLiteral(PELLMAR_VERSION));
  try {
    std::vector<std::string> left;
    for (const QString& argument : QApplication::arguments().mid(1)) {
      left.push_back(argument.toStdString());
    }
    command = pellmar::parseDesktopCommandLine(left);
  } catch (const pellmar::CommandLineError& error) {
    return usageError(error);
  }
  // The program ends only by its own rules: closing the main window, Quit
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
  if (command.dataFile) {
    QTimer::singleShot(0, &window,
                       [&window, dataFile = *command.dataFile] { window.startWithFile(dataFile); });
  } else {
    window.start();
  }
  return QApplication::exec();
}
