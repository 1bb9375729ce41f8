#include "ui/chart_batch.h"

#include <QApplication>
#include <algorithm>
#include <iostream>
#include <optional>
#include <string_view>

#include "app/chart_export_request.h"
#include "app/study_in_memory.h"
#include "core/data/field_reader.h"
#include "core/data/text_encoding.h"
#include "core/platform/platform.h"
#include "core/report/number_format.h"
#include "core/user_error.h"
#include "ui/chart_picture.h"
#include "ui/life_charts.h"

namespace pellmar {

namespace {

constexpr std::string_view kCommand = "--export-chart";

// A fault of the command line.
struct UsageError {
  std::string message;
};

std::string inQuotes(std::string_view text) { return "\"" + echoedField(text) + "\""; }

struct ChartExportCommand {
  LifeChart chart = LifeChart::kSxj;
  OpenRequest open;
  std::optional<ReadFecundityRequest> fecundity;
  ChartExportRequest picture;
};

double numberOption(const std::string& name, const std::string& value) {
  double number = 0.0;
  if (!parseDecimal(value, number))
    throw UsageError{name + " needs a number, not " + inQuotes(value)};
  return number;
}

int wholeNumberOption(const std::string& name, const std::string& value) {
  const double number = numberOption(name, value);
  if (number != static_cast<double>(static_cast<int>(number))) {
    throw UsageError{name + " needs a whole number, not " + inQuotes(value)};
  }
  return static_cast<int>(number);
}

ChartExportCommand parse(const std::vector<std::string>& arguments) {
  ChartExportCommand command;
  std::vector<std::string> positional;
  std::vector<std::string> given;
  for (std::size_t next = 0; next < arguments.size();) {
    const std::string& argument = arguments[next++];
    if (argument != "-o" && !argument.starts_with("--")) {
      positional.push_back(argument);
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    static constexpr std::string_view kOptions[] = {
        "-o", "--time-unit", "--fecundity", "--width-mm", "--height-mm", "--dpi", "--font-pt"};
    if (std::find(std::begin(kOptions), std::end(kOptions), name) == std::end(kOptions)) {
      throw UsageError{"unknown option " + inQuotes(argument)};
    }
    if (std::find(given.begin(), given.end(), name) != given.end()) {
      throw UsageError{name + " is given twice"};
    }
    given.push_back(name);
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else {
      if (next == arguments.size()) throw UsageError{name + " needs a value"};
      value = arguments[next++];
    }
    if (name == "-o") {
      command.picture.file = value;
    } else if (name == "--time-unit") {
      const std::optional<double> timeUnit = timeUnitFromAnswer(value);
      if (!timeUnit) {
        throw UsageError{"--time-unit needs a number of days above 0 and at most " +
                         formatDigits(kLongestTimeUnit) + ", not " + inQuotes(value)};
      }
      command.open.timeUnit = *timeUnit;
    } else if (name == "--fecundity") {
      command.fecundity = ReadFecundityRequest{value};
    } else if (name == "--width-mm") {
      command.picture.widthMm = numberOption(name, value);
    } else if (name == "--height-mm") {
      command.picture.heightMm = numberOption(name, value);
    } else if (name == "--dpi") {
      command.picture.dpi = wholeNumberOption(name, value);
    } else if (name == "--font-pt") {
      command.picture.fontPt = wholeNumberOption(name, value);
    }
  }
  if (positional.empty()) throw UsageError{"--export-chart needs the name of a chart"};
  const std::optional<LifeChart> chart = lifeChartNamed(positional[0]);
  if (!chart) {
    throw UsageError{"unknown chart " + inQuotes(positional[0]) +
                     "; the charts are sxj, gxj, dxj, cxj, lx, cx, lxcx and fecundity"};
  }
  command.chart = *chart;
  if (positional.size() < 2) throw UsageError{"--export-chart needs a data file"};
  if (positional.size() > 2) {
    throw UsageError{"one data file only, not both " + inQuotes(positional[1]) + " and " +
                     inQuotes(positional[2])};
  }
  command.open.dataFile = positional[1];
  if (command.picture.file.empty()) throw UsageError{"--export-chart needs -o OUT"};
  const std::optional<ChartFormat> format = chartFormatOf(command.picture.file);
  if (!format) {
    throw UsageError{"OUT must end in .png, .svg or .pdf, not " + inQuotes(command.picture.file)};
  }
  command.picture.format = *format;
  if (command.chart == LifeChart::kFecundity && !command.fecundity) {
    throw UsageError{"the fecundity chart needs --fecundity FILE"};
  }
  try {
    validate(command.picture);
  } catch (const UserError& error) {
    throw UsageError{error.text()};
  }
  return command;
}

}  // namespace

const char* chartExportUsage() {
  return "Usage:\n"
         "  pellmar --export-chart NAME DATA -o OUT [--time-unit T] [--fecundity FILE]\n"
         "          [--width-mm W] [--height-mm H] [--dpi D] [--font-pt P]\n"
         "      Draws the chart NAME of the raw data file DATA into OUT without showing a\n"
         "      window: sxj, gxj, dxj, cxj, lx, cx, lxcx, or fecundity with --fecundity.\n"
         "      OUT ends in .png, .svg or .pdf. Defaults: 85 x 60 mm, 600 dpi, 8 pt.\n"
         "      No other file is written.\n"
         "\n"
         "Exit status: 0 when OUT is written, 1 when the data or a file fails, 2 on bad usage.\n";
}

bool isChartExportCommand(int argc, char** argv) {
  return argc >= 2 && std::string_view(argv[1]) == kCommand;
}

int runChartExport(const std::vector<std::string>& arguments, std::ostream& err) {
  ChartExportCommand command;
  try {
    command = parse(arguments);
  } catch (const UsageError& error) {
    err << "pellmar: " << error.message << '\n' << chartExportUsage();
    return 2;
  }
  try {
    const StudyInMemory study(command.open, command.fecundity);
    const Session& session = study.session();
    // The same drawing as Export chart… in either window.
    exportChartPicture(
        [&session, &command](QChart& chart) {
          drawLifeChart(chart, command.chart, session, ChartPlace::kMainWindow);
        },
        command.picture);
  } catch (const UserError& error) {
    err << error.title() << '\n' << error.text() << '\n';
    return error.kind() == ErrorKind::kInvalidRequest ? 2 : 1;
  }
  return 0;
}

int chartExportMain(int argc, char** argv) {
  platform::useUtf8Console();
  std::vector<std::string> arguments = platform::commandLineArguments(argc, argv);
  // The batch shows no window: it draws on the offscreen platform, with or without a display,
  // so that its pictures do not depend on one.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  arguments.erase(arguments.begin(), arguments.begin() + 1);
  return runChartExport(arguments, std::cerr);
}

}  // namespace pellmar
