#include "cli/cli_options.h"

#include <charconv>

namespace pellmar {

const char* cliUsage() {
  return "Usage:\n"
         "  pellmar-cli run DATA [--time-unit T] [--sasd FILE | --fecundity FILE]\n"
         "                  [--bootstrap B [--sample-size N] [--seed S] | --same-samples FILE |\n"
         "                   --jackknife] [--normal-density] [--compare FILE]\n"
         "                  [--confidence P] [--quiet | --json]\n"
         "      Does what a user of the desktop program does: opens the raw data file DATA,\n"
         "      runs the Basic Run and, when asked, reads the stable age-stage distribution\n"
         "      or computes it from the fecundity, runs a bootstrap or the jackknife and\n"
         "      compares the bootstrap with a second treatment. Prints the messages of the\n"
         "      steps, a table of the main results and the path of every file written, the\n"
         "      basic report first.\n"
         "  pellmar-cli check DATA [--time-unit T] [--quiet]\n"
         "      Opens DATA as the desktop program does (creating the empty basic report\n"
         "      beside it), checks every individual record and prints \"It looks OK.\" or the\n"
         "      first fault found.\n"
         "  pellmar-cli --help\n"
         "  pellmar-cli --version\n"
         "\n"
         "Options:\n"
         "  --time-unit T         the length of one time unit of the data in days (1 or 0.5;\n"
         "                        default 1)\n"
         "  --sasd FILE           the stable age-stage distribution file of the life-table\n"
         "                        program: psi, omega and the female period table\n"
         "  --fecundity FILE      the eggs of each female in each adult time unit: the life\n"
         "                        table with R0, r, lambda and T, its stable age-stage\n"
         "                        distribution, psi, omega and the female period table\n"
         "  --bootstrap B         a bootstrap of B replicates drawn by Pellmar (own samples)\n"
         "  --sample-size N       individuals drawn per replicate (default: the cohort size)\n"
         "  --seed S              the seed of the own samples (default: from the clock; the\n"
         "                        seed used is printed, so a run can be repeated exactly)\n"
         "  --same-samples FILE   a bootstrap of the replicates of the life-table program's\n"
         "                        samples file (needs --sasd)\n"
         "  --jackknife           the jackknife of C0 instead of a bootstrap\n"
         "  --normal-density      answer Yes to the question for normal density curves\n"
         "  --compare FILE        after a bootstrap, the t-test against the bootstrap C0 values\n"
         "                        of a second treatment in FILE\n"
         "  --confidence P        the confidence of the intervals in <base>_summary.csv, from 0\n"
         "                        to 1 exclusive (default 0.95)\n"
         "  --quiet               print only errors\n"
         "  --json                print one JSON object instead: the summary's rows, the files\n"
         "                        written and the seed\n"
         "\n"
         "Exit status: 0 on success, 1 when the data or a file fails, 2 on bad usage.\n";
}

namespace {

bool parseSeed(const std::string& text, std::uint64_t& seed) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), seed);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// A confidence: a plain decimal number strictly between 0 and 1.
bool parseConfidence(const std::string& text, double& confidence) {
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), confidence, std::chars_format::fixed);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() && confidence > 0 &&
         confidence < 1;
}

}  // namespace

std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments) {
  CliOptions options;
  if (arguments.empty()) return std::nullopt;
  const std::string& command = arguments[0];
  if (command == "--help" || command == "-h" || command == "help") {
    if (arguments.size() != 1) return std::nullopt;
    return options;
  }
  if (command == "--version") {
    if (arguments.size() != 1) return std::nullopt;
    options.action = CliOptions::Action::kVersion;
    return options;
  }
  if (command == "check") {
    options.action = CliOptions::Action::kCheck;
  } else if (command == "run") {
    options.action = CliOptions::Action::kRun;
  } else {
    return std::nullopt;
  }
  const bool run = options.action == CliOptions::Action::kRun;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    const auto value = [&]() -> const std::string& { return arguments[++i]; };
    if (argument == "--time-unit" && hasValue) {
      options.timeUnitAnswer = value();
    } else if (run && argument == "--sasd" && hasValue) {
      options.sasdFile = value();
    } else if (run && argument == "--fecundity" && hasValue) {
      options.fecundityFile = value();
    } else if (run && argument == "--bootstrap" && hasValue) {
      options.bootstrapReplicates = value();
    } else if (run && argument == "--sample-size" && hasValue) {
      options.sampleSize = value();
    } else if (run && argument == "--seed" && hasValue) {
      std::uint64_t seed = 0;
      if (!parseSeed(value(), seed)) return std::nullopt;
      options.seed = seed;
    } else if (run && argument == "--same-samples" && hasValue) {
      options.sameSamplesFile = value();
    } else if (run && argument == "--confidence" && hasValue) {
      double confidence = 0;
      if (!parseConfidence(value(), confidence)) return std::nullopt;
      options.confidence = confidence;
    } else if (argument == "--quiet") {
      options.quiet = true;
    } else if (run && argument == "--json") {
      options.json = true;
    } else if (run && argument == "--jackknife") {
      options.jackknife = true;
    } else if (run && argument == "--normal-density") {
      options.normalDensity = true;
    } else if (run && argument == "--compare" && hasValue) {
      options.compareFile = value();
    } else if (argument.rfind("--", 0) == 0 || !options.dataFile.empty()) {
      return std::nullopt;
    } else {
      options.dataFile = argument;
    }
  }
  if (options.dataFile.empty()) return std::nullopt;
  if (options.quiet && options.json) return std::nullopt;
  options.arguments = arguments;
  const int resamplings = static_cast<int>(options.bootstrapReplicates.has_value()) +
                          static_cast<int>(options.sameSamplesFile.has_value()) +
                          static_cast<int>(options.jackknife);
  const bool bootstrap = options.bootstrapReplicates || options.sameSamplesFile;
  if (resamplings > 1) return std::nullopt;
  if ((options.sampleSize || options.seed) && !options.bootstrapReplicates) return std::nullopt;
  if (options.sameSamplesFile && !options.sasdFile) return std::nullopt;
  if (options.fecundityFile && (options.sasdFile || options.sameSamplesFile)) return std::nullopt;
  if ((options.normalDensity || options.compareFile) && !bootstrap) return std::nullopt;
  return options;
}

}  // namespace pellmar
