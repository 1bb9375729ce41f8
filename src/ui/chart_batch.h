#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pellmar {

// The desktop program's batch mode, which draws one chart of a study into a file without
// showing a window:
//   pellmar --export-chart NAME DATA -o OUT [--time-unit T] [--fecundity FILE]
//           [--width-mm W] [--height-mm H] [--dpi D] [--font-pt P]
// It reads and analyses the study in memory, as the open step and the Basic Run do, writes OUT
// only and releases the study's lock, removing its file.

// True when the command line asks for the batch mode.
bool isChartExportCommand(int argc, char** argv);

// The batch mode from main(), before any application object exists: on the offscreen
// platform, so that it needs no display. Returns the exit status.
int chartExportMain(int argc, char** argv);

// Runs the arguments after "--export-chart", with the application object made. Faults go to
// `err` in the words of pellmar-cli. Returns 0 when OUT is written, 1 for a fault in the data
// or a file, 2 for bad usage (the first line names the fault).
int runChartExport(const std::vector<std::string>& arguments, std::ostream& err);

// The usage lines of the batch mode.
const char* chartExportUsage();

}  // namespace pellmar
