#include "ui/shell/desktop_command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "core/data/field_reader.h"
#include "core/data/limits.h"
#include "core/platform/utf8_path.h"
#include "core/predation/projection.h"
#include "core/report/number_format.h"
#include "core/report/text_encoding.h"
#include "core/user_error.h"

namespace pellmar {

namespace {

[[noreturn]] void refuse(std::string message) { throw CommandLineError{std::move(message)}; }

std::string inQuotes(std::string_view text) { return "\"" + echoedField(text) + "\""; }

QString fromStd(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
std::string toStd(const QString& text) { return text.toUtf8().toStdString(); }

// The options of the batch mode, which only --export-chart takes.
constexpr std::array<const char*, 12> kChartOptions = {
    "o",       "time-unit",       "fecundity", "width-mm",  "height-mm", "dpi",
    "font-pt", "projection-days", "initial",   "bootstrap", "seed",      "greyscale"};
// The options only the projection chart takes, and those it shares with the histogram.
constexpr std::array<const char*, 2> kProjectionOptions = {"projection-days", "initial"};
constexpr std::array<const char*, 2> kBootstrapOptions = {"bootstrap", "seed"};

std::string optionName(std::string_view name) {
  return (name.size() == 1 ? "-" : "--") + std::string(name);
}

double numberOption(const std::string& name, const std::string& value) {
  double number = 0.0;
  if (!parseDecimal(value, number)) refuse(name + " needs a number, not " + inQuotes(value));
  return number;
}

// A whole number, its range checked while it is still a double: a value beyond every int has no
// conversion to one.
int wholeNumberOption(const std::string& name, const std::string& value,
                      std::string (*fault)(double)) {
  const double number = numberOption(name, value);
  if (number != std::floor(number)) refuse(name + " needs a whole number, not " + inQuotes(value));
  if (std::string outOfRange = fault(number); !outOfRange.empty()) refuse(outOfRange);
  return static_cast<int>(number);
}

// The value of `name`, given once at most.
std::optional<std::string> valueOf(const QCommandLineParser& parser, const char* name) {
  const QStringList values = parser.values(QString::fromLatin1(name));
  if (values.size() > 1) refuse(optionName(name) + " is given twice");
  if (values.isEmpty()) return std::nullopt;
  return toStd(values.front());
}

// Refuses OUT when it is one of the inputs, however it is spelled or linked: the chart would
// take the place of the data.
void refuseOutputOverInput(const std::string& out, const std::string& input, const char* what) {
  std::error_code error;
  if (std::filesystem::equivalent(pathFromUtf8(out), pathFromUtf8(input), error) && !error) {
    refuse("OUT \"" + out + "\" is the " + what + " \"" + input +
           "\"; the chart would take its place");
  }
}

// The bootstrap a chart draws: B replicates from seed S, both given, so that the figure can be
// drawn again; none when neither is given.
std::optional<FrequencyChartRequest> bootstrapOptions(const QCommandLineParser& parser) {
  const std::optional<std::string> replicates = valueOf(parser, "bootstrap");
  const std::optional<std::string> seed = valueOf(parser, "seed");
  if (replicates.has_value() != seed.has_value()) {
    refuse("--bootstrap B and --seed S go together, so that the chart can be drawn again");
  }
  if (!replicates) return std::nullopt;
  FrequencyChartRequest request;
  request.replicates = wholeNumberOption("--bootstrap", *replicates, [](double value) {
    return value >= 1 && value <= kMaxBootstrapReplicates
               ? std::string()
               : "--bootstrap needs a whole number from 1 to " +
                     formatInteger(kMaxBootstrapReplicates);
  });
  std::uint64_t number = 0;
  const auto [end, error] = std::from_chars(seed->data(), seed->data() + seed->size(), number);
  if (error != std::errc() || end != seed->data() + seed->size()) {
    refuse("--seed needs a whole number from 0 to 18446744073709551615, not " + inQuotes(*seed));
  }
  request.seed = number;
  return request;
}

// The projection chart's options: the days it needs, where it starts, and the bootstrap of its
// band.
ProjectionChartRequest projectionChartRequest(const QCommandLineParser& parser) {
  ProjectionChartRequest request;
  const std::optional<std::string> days = valueOf(parser, "projection-days");
  if (!days) refuse("the projection chart needs --projection-days D");
  request.projection.days = numberOption("--projection-days", *days);
  if (!(request.projection.days >= 0 && request.projection.days <= kMaxProjectionDays)) {
    refuse("--projection-days needs a number of days from 0 to 3650, not " + inQuotes(*days));
  }
  if (const auto initial = valueOf(parser, "initial")) {
    const std::optional<ProjectionStart> start = parseProjectionStart(*initial);
    if (!start) {
      refuse("--initial needs eggs:N0 or stable:N0 with N0 a number above 0, not " +
             inQuotes(*initial));
    }
    request.projection.start = *start;
  }
  if (const std::optional<FrequencyChartRequest> bootstrap = bootstrapOptions(parser)) {
    request.replicates = bootstrap->replicates;
    request.seed = bootstrap->seed;
  }
  return request;
}

ChartExportCommand chartExportCommand(const QCommandLineParser& parser,
                                      const std::string& chartName) {
  ChartExportCommand command;
  const std::optional<LifeChart> chart = lifeChartNamed(chartName);
  const auto refuseOptionsOf = [&parser](const auto& options, const char* chartOf) {
    for (const char* name : options) {
      if (parser.isSet(QString::fromLatin1(name))) {
        refuse(optionName(name) + " is an option of " + chartOf);
      }
    }
  };
  if (chartName == "projection") {
    command.projection = projectionChartRequest(parser);
  } else if (chartName == "c0-frequency") {
    command.frequency = bootstrapOptions(parser);
    if (!command.frequency) {
      refuse("the c0-frequency chart draws a bootstrap: it needs --bootstrap B --seed S");
    }
    refuseOptionsOf(kProjectionOptions, "the projection chart");
  } else if (chart) {
    command.chart = *chart;
    refuseOptionsOf(kProjectionOptions, "the projection chart");
    refuseOptionsOf(kBootstrapOptions, "the projection and c0-frequency charts");
  } else {
    refuse("unknown chart " + inQuotes(chartName) +
           "; the charts are sxj, gxj, dxj, cxj, lx, cx, lxcx, exj, vxj, fecundity, projection "
           "and c0-frequency");
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty()) refuse("--export-chart needs a data file");
  if (positional.size() > 1) {
    refuse("one data file only, not both " + inQuotes(toStd(positional[0])) + " and " +
           inQuotes(toStd(positional[1])));
  }
  command.open.dataFile = toStd(positional[0]);
  if (const auto timeUnit = valueOf(parser, "time-unit")) {
    const std::optional<double> days = timeUnitFromAnswer(*timeUnit);
    if (!days) {
      refuse("--time-unit needs a number of days above 0 and at most " +
             formatDigits(kLongestTimeUnit) + ", not " + inQuotes(*timeUnit));
    }
    command.open.timeUnit = *days;
  }
  if (const auto fecundity = valueOf(parser, "fecundity")) {
    command.fecundity = ReadFecundityRequest{*fecundity};
  }
  ChartExportRequest& picture = command.picture;
  if (const auto width = valueOf(parser, "width-mm"))
    picture.widthMm = numberOption("--width-mm", *width);
  if (const auto height = valueOf(parser, "height-mm")) {
    picture.heightMm = numberOption("--height-mm", *height);
  }
  if (const auto dpi = valueOf(parser, "dpi"))
    picture.dpi = wholeNumberOption("--dpi", *dpi, dpiFault);
  if (const auto font = valueOf(parser, "font-pt")) {
    picture.fontPt = wholeNumberOption("--font-pt", *font, fontSizeFault);
  }
  const std::optional<std::string> out = valueOf(parser, "o");
  if (!out) refuse("--export-chart needs -o OUT");
  picture.file = *out;
  const std::optional<ChartFormat> format = chartFormatOf(picture.file);
  if (!format) {
    refuse("OUT must end in .png, .tif, .svg or .pdf, not " + inQuotes(picture.file));
  }
  picture.format = *format;
  picture.greyscale = parser.isSet(QStringLiteral("greyscale"));
  if (command.chart == LifeChart::kFecundity && !command.fecundity) {
    refuse("the fecundity chart needs --fecundity FILE");
  }
  if (command.chart == LifeChart::kVxj && !command.fecundity) {
    refuse("the vxj chart needs --fecundity FILE");
  }
  if (command.projection && !command.fecundity) {
    refuse("the projection chart needs --fecundity FILE");
  }
  try {
    validate(picture);
  } catch (const UserError& error) {
    refuse(error.text());
  }
  refuseOutputOverInput(picture.file, command.open.dataFile, "data file");
  if (command.fecundity)
    refuseOutputOverInput(picture.file, command.fecundity->file, "fecundity file");
  return command;
}

// The argument of `arguments` that names the option `name` (QCommandLineParser reports names
// without their dashes or value).
std::string argumentNaming(const QStringList& arguments, const QString& name) {
  for (const QString& argument : arguments) {
    const QString option = argument.section(QLatin1Char('='), 0, 0);
    if (option == QStringLiteral("-") + name || option == QStringLiteral("--") + name) {
      return toStd(argument);
    }
  }
  return toStd(name);
}

}  // namespace

DesktopCommandLine parseDesktopCommandLine(const std::vector<std::string>& arguments) {
  QCommandLineParser parser;
  // "-width-mm" is one option, not the letters w, i, d, t and h.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const auto option = [&parser](const char* name, const char* valueName = nullptr) {
    parser.addOption(valueName == nullptr ? QCommandLineOption(QString::fromLatin1(name))
                                          : QCommandLineOption(QString::fromLatin1(name), QString(),
                                                               QString::fromLatin1(valueName)));
  };
  option("help");
  option("version");
  option("export-chart", "NAME");
  option("o", "OUT");
  option("time-unit", "T");
  option("fecundity", "FILE");
  option("width-mm", "W");
  option("height-mm", "H");
  option("dpi", "D");
  option("font-pt", "P");
  option("projection-days", "D");
  option("initial", "START");
  option("bootstrap", "B");
  option("seed", "S");
  option("greyscale");

  QStringList list{QStringLiteral("pellmar")};
  for (const std::string& argument : arguments) list << fromStd(argument);
  if (!parser.parse(list)) {
    if (!parser.unknownOptionNames().isEmpty()) {
      refuse("unknown option " +
             inQuotes(argumentNaming(list, parser.unknownOptionNames().front())));
    }
    // The only other fault QCommandLineParser finds is an option without its value.
    for (const QString& name : parser.optionNames()) {
      if (parser.errorText().contains(QStringLiteral("'-") + name + QLatin1Char('\'')) ||
          parser.errorText().contains(QStringLiteral("'--") + name + QLatin1Char('\''))) {
        if (name == QStringLiteral("export-chart"))
          refuse("--export-chart needs the name of a chart");
        refuse(optionName(toStd(name)) + " needs a value");
      }
    }
    refuse(toStd(parser.errorText()));
  }

  DesktopCommandLine command;
  if (parser.isSet(QStringLiteral("help"))) {
    command.action = DesktopCommandLine::Action::kHelp;
    return command;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    if (arguments.size() > 1) refuse("--version takes nothing else");
    command.action = DesktopCommandLine::Action::kVersion;
    return command;
  }
  if (const auto chart = valueOf(parser, "export-chart")) {
    command.action = DesktopCommandLine::Action::kExportChart;
    command.chartExport = chartExportCommand(parser, *chart);
    return command;
  }
  for (const char* name : kChartOptions) {
    if (parser.isSet(QString::fromLatin1(name))) {
      refuse(optionName(name) + " is an option of --export-chart");
    }
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.size() > 1) {
    refuse("one data file only, not both " + inQuotes(toStd(positional[0])) + " and " +
           inQuotes(toStd(positional[1])));
  }
  if (!positional.isEmpty()) command.dataFile = toStd(positional.front());
  return command;
}

const char* desktopUsage() {
  return "Usage:\n"
         "  pellmar [DATA | PROJECT.pellmar]\n"
         "      Opens the desktop program, with the raw data file DATA or the experiment\n"
         "      of the project file PROJECT.pellmar when one is given.\n"
         "  pellmar --export-chart NAME DATA -o OUT [--time-unit T] [--fecundity FILE]\n"
         "          [--width-mm W] [--height-mm H] [--dpi D] [--font-pt P] [--greyscale]\n"
         "          [--projection-days D [--initial START] [--bootstrap B --seed S]]\n"
         "      Draws the chart NAME of the raw data file DATA into OUT without showing a\n"
         "      window: sxj, gxj, dxj, cxj, lx, cx, lxcx, exj, or vxj and fecundity with\n"
         "      --fecundity, or projection with --fecundity and --projection-days: the\n"
         "      total population and predation per day from START (eggs:N0 or stable:N0,\n"
         "      default eggs:10), with the band of B bootstrap replicates when asked, or\n"
         "      c0-frequency with --bootstrap B --seed S: the histogram of the C0 of B\n"
         "      own-sample replicates, as the desktop draws it after that bootstrap.\n"
         "      OUT ends in .png, .tif (LZW), .svg or .pdf. Defaults: 85 x 60 mm, 600 dpi,\n"
         "      8 pt; --greyscale draws in greys with line styles.\n"
         "      No other file is written.\n"
         "  pellmar --help | --version\n"
         "\n"
         "Exit status of --export-chart: 0 when OUT is written, 1 when the data or a file fails,\n"
         "2 on bad usage.\n";
}

}  // namespace pellmar
