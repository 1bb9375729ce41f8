#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_export_request.h"
#include "app/open_command.h"
#include "app/projection_command.h"
#include "app/read_fecundity_command.h"
#include "ui/charts/life_charts.h"

namespace pellmar {

// The bootstrap whose C0 the histogram draws: B own-sample replicates of the cohort's size.
struct FrequencyChartRequest {
  int replicates = 0;
  std::uint64_t seed = 0;
};

// The projection chart's settings: the projection, and the bootstrap whose band it shades.
struct ProjectionChartRequest {
  ProjectionRequest projection;
  std::optional<int> replicates;
  std::uint64_t seed = 0;
};

// The batch mode's command: one chart of a study drawn into a file, a life chart or, when
// `projection` is set, the projection chart, or when `frequency` is, the histogram of a
// bootstrap's C0.
struct ChartExportCommand {
  LifeChart chart = LifeChart::kSxj;
  std::optional<ProjectionChartRequest> projection;
  std::optional<FrequencyChartRequest> frequency;
  OpenRequest open;
  std::optional<ReadFecundityRequest> fecundity;
  ChartExportRequest picture;
};

// What the desktop program's command line asks for:
//   pellmar [DATA]
//   pellmar --export-chart NAME DATA -o OUT [--time-unit T] [--fecundity FILE]
//           [--width-mm W] [--height-mm H] [--dpi D] [--font-pt P] [--greyscale]
//           [--projection-days D [--initial START] [--bootstrap B --seed S]]
//   pellmar --export-chart c0-frequency DATA --bootstrap B --seed S -o OUT [...]
//   pellmar --help | --version
struct DesktopCommandLine {
  enum class Action { kShowWindow, kHelp, kVersion, kExportChart };
  Action action = Action::kShowWindow;
  // The data file the window opens at once (a desktop's "Open with").
  std::optional<std::string> dataFile;
  ChartExportCommand chartExport;
};

// Bad usage of the command line: what is wrong, naming the option.
struct CommandLineError {
  std::string message;
};

// Reads the arguments after the program's name; raises CommandLineError on bad usage, before
// any file is read. It needs no application object.
DesktopCommandLine parseDesktopCommandLine(const std::vector<std::string>& arguments);

// The usage lines of the desktop program.
const char* desktopUsage();

}  // namespace pellmar
