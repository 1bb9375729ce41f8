#include "cli/cli_options.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <string_view>

#include "app/bootstrap_command.h"
#include "app/open_command.h"
#include "app/paired_test_command.h"
#include "core/data/field_reader.h"
#include "core/data/text_encoding.h"
#include "core/report/number_format.h"
#include "core/resampling/samples_file.h"

namespace pellmar {

const char* cliUsage() {
  return "Usage:\n"
         "  pellmar-cli run DATA [--time-unit T] [--sasd FILE | --fecundity FILE]\n"
         "                  [--bootstrap B [--sample-size N] [--seed S] | --same-samples FILE |\n"
         "                   --jackknife] [--normal-density] [--write-samples]\n"
         "                  [--redraw-barren]\n"
         "                  [--compare FILE] [--confidence P] [--quiet | --json]\n"
         "      Does what a user of the desktop program does: opens the raw data file DATA,\n"
         "      runs the Basic Run and, when asked, reads the stable age-stage distribution\n"
         "      or computes it from the fecundity, runs a bootstrap or the jackknife and\n"
         "      compares the bootstrap with a second treatment. Prints the messages of the\n"
         "      steps, a table of the main results and the path of every file written, the\n"
         "      basic report first.\n"
         "  pellmar-cli compare FIRST SECOND [--time-unit T]\n"
         "                  [--sasd-first FILE --sasd-second FILE |\n"
         "                   --fecundity-first FILE --fecundity-second FILE] --bootstrap B\n"
         "                  [--sample-size N] [--seed S] [--redraw-barren] [--confidence P]\n"
         "      Runs each of two studies as run does with --bootstrap B (FIRST with the seed S,\n"
         "      SECOND with S + 1), writing each study's files beside its data, then pairs\n"
         "      replicate b of FIRST with replicate b of SECOND: the paired bootstrap test of\n"
         "      every quantity both have, in <first>_vs_<second>_paired_test.csv, and the C0\n"
         "      of every replicate in <first>_vs_<second>_paired_C0.csv, beside FIRST. Prints\n"
         "      the seeds, the test of C0 and the path of every file written.\n"
         "  pellmar-cli check DATA [--time-unit T] [--quiet]\n"
         "      Opens DATA as the desktop program does (creating the empty basic report\n"
         "      beside it when there is none), checks every individual record and prints\n"
         "      \"It looks OK.\" or the first fault found.\n"
         "  pellmar-cli --help\n"
         "  pellmar-cli --version\n"
         "\n"
         "Options:\n"
         "  --time-unit T         the length of one time unit of the data in days, above 0\n"
         "                        and at most 1000 (1 or 0.5 as a rule; default 1)\n"
         "  --sasd FILE           the stable age-stage distribution file of the life-table\n"
         "                        program: psi, omega and the female period table\n"
         "  --fecundity FILE      the eggs of each female in each adult time unit: the life\n"
         "                        table with R0, r, lambda and T, its stable age-stage\n"
         "                        distribution, psi, omega and the female period table\n"
         "  --bootstrap B         a bootstrap of B replicates drawn by Pellmar (own samples)\n"
         "  --sample-size N       individuals drawn per replicate (default: the cohort size;\n"
         "                        with compare, each study's own)\n"
         "  --seed S              the seed of the own samples (default: from the clock; the\n"
         "                        seed used is printed, so a run can be repeated exactly)\n"
         "  --same-samples FILE   a bootstrap of the replicates of the life-table program's\n"
         "                        samples file (needs --sasd)\n"
         "  --jackknife           the jackknife of C0 instead of a bootstrap\n"
         "  --normal-density      answer Yes to the question for normal density curves\n"
         "  --write-samples       with --fecundity and --bootstrap, write every replicate's\n"
         "                        individuals, R0 and lambda as a samples file\n"
         "  --redraw-barren       with fecundity and --bootstrap, draw a replicate that drew\n"
         "                        no laying female again until it has one (the conditional\n"
         "                        bootstrap); by default it is kept, with R0 = 0\n"
         "  --compare FILE        after a bootstrap, the t-test against the bootstrap C0 values\n"
         "                        of a second treatment in FILE\n"
         "  --sasd-first FILE     compare: the stable age-stage distribution file of FIRST\n"
         "  --sasd-second FILE    compare: the stable age-stage distribution file of SECOND\n"
         "  --fecundity-first FILE  compare: the eggs of FIRST's females; with\n"
         "                        --fecundity-second, R0, r, lambda, T, Qp, psi and omega\n"
         "                        join the paired test\n"
         "  --fecundity-second FILE compare: the eggs of SECOND's females\n"
         "  --confidence P        the confidence of the intervals in <base>_summary.csv and of\n"
         "                        the paired test, from 0 to 1 exclusive (default 0.95)\n"
         "  --quiet               print only errors\n"
         "  --json                print one JSON object instead: the summary's rows, the files\n"
         "                        written and the seed\n"
         "\n"
         "An option's value may also follow an equals sign: --bootstrap=500.\n"
         "\n"
         "Exit status: 0 on success, 1 when the data or a file fails, 2 on bad usage.\n";
}

namespace {

// A fault of the command line, caught by parseCommandLine().
struct UsageError {
  std::string message;
};

std::string quoted(std::string_view text) { return "\"" + echoedField(text) + "\""; }

// The commands an option belongs to.
enum CommandFlag : unsigned { kRunOption = 1U, kCheckOption = 2U, kCompareOption = 4U };

// The options of the commands, whether each takes a value, and which commands take it.
struct KnownOption {
  std::string_view name;
  bool takesValue;
  unsigned commands;
};
constexpr KnownOption kKnownOptions[] = {
    {"--time-unit", true, kRunOption | kCheckOption | kCompareOption},
    {"--sasd", true, kRunOption},
    {"--fecundity", true, kRunOption},
    {"--bootstrap", true, kRunOption | kCompareOption},
    {"--sample-size", true, kRunOption | kCompareOption},
    {"--seed", true, kRunOption | kCompareOption},
    {"--same-samples", true, kRunOption},
    {"--jackknife", false, kRunOption},
    {"--normal-density", false, kRunOption},
    {"--write-samples", false, kRunOption},
    {"--redraw-barren", false, kRunOption | kCompareOption},
    {"--compare", true, kRunOption},
    {"--sasd-first", true, kCompareOption},
    {"--sasd-second", true, kCompareOption},
    {"--fecundity-first", true, kCompareOption},
    {"--fecundity-second", true, kCompareOption},
    {"--confidence", true, kRunOption | kCompareOption},
    {"--quiet", false, kRunOption | kCheckOption},
    {"--json", false, kRunOption},
};

int wholeNumberOption(std::string_view option, const std::string& value, int low, int high) {
  double number = 0.0;
  if (!parseDecimal(value, number) || number != std::floor(number) || number < low ||
      number > high) {
    throw UsageError{std::string(option) + " needs a whole number from " + std::to_string(low) +
                     " to " + std::to_string(high) + ", not " + quoted(value)};
  }
  return static_cast<int>(number);
}

double confidenceOption(const std::string& value) {
  double confidence = 0.0;
  const auto result = std::from_chars(value.data(), value.data() + value.size(), confidence,
                                      std::chars_format::fixed);
  if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size() ||
      !(confidence > 0 && confidence < 1)) {
    throw UsageError{"--confidence needs a number between 0 and 1, such as 0.95, not " +
                     quoted(value)};
  }
  return confidence;
}

std::uint64_t seedOption(const std::string& value) {
  std::uint64_t seed = 0;
  const auto result = std::from_chars(value.data(), value.data() + value.size(), seed);
  if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size()) {
    throw UsageError{"--seed needs a whole number from 0 to " +
                     std::to_string(std::numeric_limits<std::uint64_t>::max()) + ", not " +
                     quoted(value)};
  }
  return seed;
}

class CommandLineParser {
 public:
  explicit CommandLineParser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  CliOptions parse() {
    if (arguments_.empty()) {
      throw UsageError{"a command is needed: run, compare, check, --help or --version"};
    }
    const std::string& command = arguments_[0];
    if (command == "--help" || command == "-h" || command == "help" || command == "--version") {
      if (arguments_.size() != 1) {
        throw UsageError{command + " takes nothing after it, not " + quoted(arguments_[1])};
      }
      if (command == "--version") options_.action = CliOptions::Action::kVersion;
      return options_;
    }
    if (command == "check") {
      options_.action = CliOptions::Action::kCheck;
      commandFlag_ = kCheckOption;
    } else if (command == "run") {
      options_.action = CliOptions::Action::kRun;
      commandFlag_ = kRunOption;
    } else if (command == "compare") {
      options_.action = CliOptions::Action::kCompare;
      commandFlag_ = kCompareOption;
    } else {
      throw UsageError{"unknown command " + quoted(command) +
                       "; the commands are run, compare and check"};
    }
    command_ = command;
    for (next_ = 1; next_ < arguments_.size();) readArgument();
    if (options_.action == CliOptions::Action::kCompare) {
      checkComparison();
    } else {
      if (options_.dataFile.empty()) throw UsageError{command + " needs a data file"};
      checkCombinations();
    }
    options_.arguments = arguments_;
    return options_;
  }

 private:
  void readArgument() {
    const std::string& argument = arguments_[next_++];
    if (!argument.starts_with("--")) {
      if (options_.action == CliOptions::Action::kCompare) {
        if (options_.dataFile.empty()) {
          options_.dataFile = argument;
        } else if (options_.secondDataFile.empty()) {
          options_.secondDataFile = argument;
        } else {
          throw UsageError{"compare takes two data files, not also " + quoted(argument)};
        }
        return;
      }
      if (!options_.dataFile.empty()) {
        throw UsageError{"one data file only, not both " + quoted(options_.dataFile) + " and " +
                         quoted(argument)};
      }
      options_.dataFile = argument;
      return;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const KnownOption* known = nullptr;
    for (const KnownOption& candidate : kKnownOptions) {
      if (candidate.name == name) known = &candidate;
    }
    if (known == nullptr) throw UsageError{"unknown option " + quoted(argument)};
    if ((known->commands & commandFlag_) == 0U) {
      throw UsageError{name + " is an option of " + commandsTaking(*known) + ", not of " +
                       command_};
    }
    if (!given_.insert(name).second) throw UsageError{name + " is given twice"};
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
      if (!known->takesValue) throw UsageError{name + " takes no value, not " + quoted(value)};
    } else if (known->takesValue) {
      if (next_ == arguments_.size() || arguments_[next_].starts_with("--")) {
        throw UsageError{name + " needs a value"};
      }
      value = arguments_[next_++];
    }
    store(name, value);
  }

  void store(const std::string& name, const std::string& value) {
    if (name == "--time-unit") {
      const std::optional<double> timeUnit = timeUnitFromAnswer(value);
      if (!timeUnit) {
        throw UsageError{"--time-unit needs a number of days above 0 and at most " +
                         formatDigits(kLongestTimeUnit) + ", not " + quoted(value)};
      }
      options_.timeUnit = *timeUnit;
    } else if (name == "--sasd" || name == "--sasd-first") {
      options_.sasdFile = value;
    } else if (name == "--sasd-second") {
      options_.secondSasdFile = value;
    } else if (name == "--fecundity-second") {
      options_.secondFecundityFile = value;
    } else if (name == "--fecundity" || name == "--fecundity-first") {
      options_.fecundityFile = value;
    } else if (name == "--bootstrap") {
      options_.bootstrapReplicates = wholeNumberOption(name, value, 1, kMaxBootstrapReplicates);
    } else if (name == "--sample-size") {
      options_.sampleSize = wholeNumberOption(name, value, 1, kMaxBootstrapSampleSize);
    } else if (name == "--seed") {
      options_.seed = seedOption(value);
    } else if (name == "--same-samples") {
      options_.sameSamplesFile = value;
    } else if (name == "--jackknife") {
      options_.jackknife = true;
    } else if (name == "--normal-density") {
      options_.normalDensity = true;
    } else if (name == "--write-samples") {
      options_.writeSamples = true;
    } else if (name == "--redraw-barren") {
      options_.redrawBarren = true;
    } else if (name == "--compare") {
      options_.compareFile = value;
    } else if (name == "--confidence") {
      options_.confidence = confidenceOption(value);
    } else if (name == "--quiet") {
      options_.quiet = true;
    } else if (name == "--json") {
      options_.json = true;
    }
  }

  void checkCombinations() const {
    if (options_.quiet && options_.json) {
      throw UsageError{"--quiet and --json cannot be used together"};
    }
    std::vector<std::string> resamplings;
    for (const char* name : {"--bootstrap", "--same-samples", "--jackknife"}) {
      if (given_.count(name) != 0) resamplings.emplace_back(name);
    }
    if (resamplings.size() > 1) {
      throw UsageError{resamplings[0] + " and " + resamplings[1] + " cannot be used together"};
    }
    for (const char* name : {"--sample-size", "--seed"}) {
      if (given_.count(name) != 0 && !options_.bootstrapReplicates) {
        throw UsageError{std::string(name) + " needs --bootstrap"};
      }
    }
    if (options_.sameSamplesFile && !options_.sasdFile) {
      throw UsageError{"--same-samples needs --sasd"};
    }
    // The fecundity gives the stable distribution and every replicate's own R0 and lambda.
    for (const char* name : {"--sasd", "--same-samples"}) {
      if (options_.fecundityFile && given_.count(name) != 0) {
        throw UsageError{std::string("--fecundity and ") + name + " cannot be used together"};
      }
    }
    for (const char* name : {"--write-samples", "--redraw-barren"}) {
      if (given_.count(name) != 0 && !(options_.fecundityFile && options_.bootstrapReplicates)) {
        throw UsageError{std::string(name) + " needs --fecundity and --bootstrap"};
      }
    }
    const bool bootstrap = options_.bootstrapReplicates || options_.sameSamplesFile;
    for (const char* name : {"--normal-density", "--compare"}) {
      if (given_.count(name) != 0 && !bootstrap) {
        throw UsageError{std::string(name) + " needs --bootstrap or --same-samples"};
      }
    }
  }

  // compare: two data files that do not write over each other's results, a bootstrap, and the
  // stable age-stage distribution of both studies or of neither.
  void checkComparison() const {
    if (options_.secondDataFile.empty()) {
      throw UsageError{"compare needs two data files, FIRST and SECOND"};
    }
    if (!options_.bootstrapReplicates) throw UsageError{"compare needs --bootstrap"};
    if (options_.sasdFile && !options_.secondSasdFile) {
      throw UsageError{"--sasd-first needs --sasd-second"};
    }
    if (options_.secondSasdFile && !options_.sasdFile) {
      throw UsageError{"--sasd-second needs --sasd-first"};
    }
    if (options_.fecundityFile && !options_.secondFecundityFile) {
      throw UsageError{"--fecundity-first needs --fecundity-second"};
    }
    if (options_.secondFecundityFile && !options_.fecundityFile) {
      throw UsageError{"--fecundity-second needs --fecundity-first"};
    }
    // Each study's stable distribution has one source, and both studies the same kind.
    if (options_.sasdFile && options_.fecundityFile) {
      throw UsageError{"--sasd-first and --fecundity-first cannot be used together"};
    }
    if (options_.redrawBarren && !options_.fecundityFile) {
      throw UsageError{"--redraw-barren needs --fecundity-first and --fecundity-second"};
    }
    if (sameOutputBase(options_.dataFile, options_.secondDataFile)) {
      throw UsageError{quoted(options_.dataFile) + " and " + quoted(options_.secondDataFile) +
                       " would write their results under one name, " +
                       quoted(outputBaseNameFor(options_.secondDataFile)) +
                       ", one over the other; compare a copy under another name"};
    }
  }

  // "run", "run and check", ...: the commands that take an option.
  static std::string commandsTaking(const KnownOption& option) {
    std::vector<const char*> names;
    if ((option.commands & kRunOption) != 0U) names.push_back("run");
    if ((option.commands & kCompareOption) != 0U) names.push_back("compare");
    if ((option.commands & kCheckOption) != 0U) names.push_back("check");
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
      text += names[i];
    }
    return text;
  }

  const std::vector<std::string>& arguments_;
  unsigned commandFlag_ = 0;
  std::string command_;
  std::size_t next_ = 0;
  std::set<std::string> given_;
  CliOptions options_;
};

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  try {
    return ParsedCommandLine{CommandLineParser(arguments).parse(), ""};
  } catch (const UsageError& error) {
    return ParsedCommandLine{std::nullopt, error.message};
  }
}

std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments) {
  return parseCommandLine(arguments).options;
}

std::string usageErrorText(const std::string& usageError) {
  return "pellmar-cli: " + usageError +
         "\nRun \"pellmar-cli --help\" to see the commands and their options.\n";
}

}  // namespace pellmar
