#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ui/shell/desktop_command_line.h"

namespace pellmar {

// The desktop program's batch mode, which draws one chart of a study into a file without
// showing a window. It reads and analyses the study in memory, as the open step and the Basic
// Run do, and writes OUT only: no lock and no report beside the data.

// The batch mode from main(), before any application object exists: on the offscreen
// platform, so that it needs no display. Returns the exit status.
int chartExportMain(const ChartExportCommand& command, int argc, char** argv);

// Draws the chart of `command`, with the application object made. Faults go to `err` in the
// words of pellmar-cli. Returns 0 when OUT is written, 1 for a fault in the data or a file.
int runChartExport(const ChartExportCommand& command, std::ostream& err);

// The same from the arguments after "--export-chart", with 2 for bad usage (the first line
// names the fault).
int runChartExport(const std::vector<std::string>& arguments, std::ostream& err);

}  // namespace pellmar
