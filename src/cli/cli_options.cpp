#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "app/bootstrap_command.h"
#include "app/open_command.h"
#include "core/data/field_reader.h"
#include "core/data/limits.h"
#include "core/numeric/p_adjust.h"
#include "core/predation/projection.h"
#include "core/report/number_format.h"
#include "core/report/text_encoding.h"

namespace pellmar {
namespace {

std::string inQuotes(std::string_view text) { return "\"" + echoedField(text) + "\""; }

// The value of a whole-number option, or nullopt: digits, a decimal point or an exponent are
// fine as long as the number is whole ("1e2" is 100).
std::optional<long long> wholeNumber(const std::string& value, long long low, long long high) {
  double number = 0.0;
  if (!parseDecimal(value, number) || number != std::floor(number) ||
      number < static_cast<double>(low) || number > static_cast<double>(high)) {
    return std::nullopt;
  }
  return static_cast<long long>(number);
}

CLI::Validator wholeNumberCheck(long long low, long long high) {
  return {[low, high](std::string& value) -> std::string {
            if (wholeNumber(value, low, high)) return {};
            return "needs a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high) + ", not " + inQuotes(value);
          },
          ""};
}

std::optional<std::uint64_t> seedValue(const std::string& value) {
  std::uint64_t seed = 0;
  const auto result = std::from_chars(value.data(), value.data() + value.size(), seed);
  if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size()) {
    return std::nullopt;
  }
  return seed;
}

CLI::Validator seedCheck() {
  return {[](std::string& value) -> std::string {
            if (seedValue(value)) return {};
            return "needs a whole number from 0 to " +
                   std::to_string(std::numeric_limits<std::uint64_t>::max()) + ", not " +
                   inQuotes(value);
          },
          ""};
}

std::optional<double> confidenceValue(const std::string& value) {
  double confidence = 0.0;
  const auto result = std::from_chars(value.data(), value.data() + value.size(), confidence,
                                      std::chars_format::fixed);
  if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size() ||
      !(confidence > 0 && confidence < 1)) {
    return std::nullopt;
  }
  return confidence;
}

// A number of days from 0 to 3650, decimals allowed.
std::optional<double> projectionDaysValue(const std::string& value) {
  double days = 0.0;
  const auto result =
      std::from_chars(value.data(), value.data() + value.size(), days, std::chars_format::fixed);
  if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size() ||
      !(days >= 0 && days <= kMaxProjectionDays)) {
    return std::nullopt;
  }
  return days;
}

// A number between 0 and 1 exclusive, such as `example`.
CLI::Validator fractionCheck(std::string_view example) {
  return {[example](std::string& value) -> std::string {
            if (confidenceValue(value)) return {};
            return "needs a number between 0 and 1, such as " + std::string(example) + ", not " +
                   inQuotes(value);
          },
          ""};
}

CLI::Validator timeUnitCheck() {
  return {[](std::string& value) -> std::string {
            if (timeUnitFromAnswer(value)) return {};
            return "needs a number of days above 0 and at most " + formatDigits(kLongestTimeUnit) +
                   ", not " + inQuotes(value);
          },
          ""};
}

// Text as --help shows it: lines of at most `width` characters, broken at spaces.
std::string wrapped(std::string_view text, std::size_t width) {
  std::string result;
  std::size_t lineStart = 0;
  std::size_t lastSpace = std::string::npos;
  for (const char c : text) {
    if (c == ' ') lastSpace = result.size();
    result += c;
    if (result.size() - lineStart > width && lastSpace != std::string::npos &&
        lastSpace > lineStart) {
      result[lastSpace] = '\n';
      lineStart = lastSpace + 1;
      lastSpace = std::string::npos;
    }
  }
  return result;
}

// The help's columns: the options, then their descriptions, within 80 characters. CLI11 indents
// every line of a description after the first under the first.
constexpr std::size_t kOptionColumn = 28;
constexpr std::size_t kDescriptionWidth = 78 - kOptionColumn;
constexpr std::size_t kFooterWidth = 78;

// An option in the help is its names and the name of its value: what it needs and excludes is in
// its description, in words, and CLI11's own lists would come in an order of its own.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter() { column_width(kOptionColumn); }
  std::string make_option_opts(const CLI::Option* option) const override {
    if (option->get_positional() || option->get_type_size() == 0) return {};
    return " " + option->get_type_name();
  }
};

// The text values of the command line, converted into CliOptions once CLI11 has checked them.
struct RawValues {
  std::string projectionDays;
  std::string projectionStart;
  std::string timeUnit;
  std::string bootstrap;
  std::string sampleSize;
  std::string seed;
  std::string confidence;
  std::string alpha;
};

// An option that names a file.
CLI::Option* fileOption(CLI::App& command, const std::string& name,
                        std::optional<std::string>& target, const std::string& description) {
  return command
      .add_option_function<std::string>(
          name, [&target](const std::string& value) { target = value; }, description)
      ->type_name("FILE");
}

class CommandLine {
 public:
  CommandLine() : app_("Pellmar: the age-stage, two-sex life table of consumption", "pellmar-cli") {
    app_.formatter(std::make_shared<HelpFormatter>());
    // On Windows CLI11 would take "/tmp/study.txt" for an option "/tmp": a path is a path.
    app_.allow_windows_style_options(false);
    app_.set_version_flag("--version", std::string("Pellmar ") + PELLMAR_VERSION,
                          "print the version and end");
    app_.set_help_flag("-h,--help", "print this help and end");
    app_.require_subcommand(1);
    app_.footer(
        "pellmar-cli COMMAND --help shows the options of a command. An option's value may also\n"
        "follow an equals sign: --bootstrap=500.\n"
        "Exit status: 0 on success, 1 when the data or a file fails, 2 on bad usage.");
    addRun();
    addCompare();
    addCheck();
    addExperiment();
    addNewProject();
    for (CLI::App* command : commands()) {
      // Arguments a command does not know are collected, and named in our words afterwards.
      command->allow_extras();
      for (CLI::Option* option : command->get_options()) {
        option->description(wrapped(option->get_description(), kDescriptionWidth));
        if (option->get_expected_max() == 0) option->disable_flag_override();
      }
    }
  }

  ParsedCommandLine parse(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
      return {std::nullopt,
              "a command is needed: run, compare, check, experiment, new-project, --help or "
              "--version"};
    }
    const std::string& command = arguments.front();
    if (command == "--version" && arguments.size() > 1) {
      return {std::nullopt, "--version takes nothing after it, not " + inQuotes(arguments[1])};
    }
    if (!command.starts_with("-") && commandNamed(command) == nullptr) {
      return {std::nullopt,
              "unknown command " + inQuotes(command) +
                  "; the commands are run, compare, check, experiment and new-project"};
    }
    // CLI11 takes the arguments from the back.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
      app_.parse(reversed);
    } catch (const CLI::CallForHelp&) {
      options_.action = CliOptions::Action::kHelp;
      options_.helpText = helpText();
      return {options_, ""};
    } catch (const CLI::CallForVersion&) {
      options_.action = CliOptions::Action::kVersion;
      return {options_, ""};
    } catch (const CLI::ParseError& error) {
      return {std::nullopt, usageErrorOf(error, command, arguments)};
    }
    if (std::string fault = extraArgument(*commandNamed(command)); !fault.empty()) {
      return {std::nullopt, fault};
    }
    if (std::string fault = finish(); !fault.empty()) return {std::nullopt, fault};
    options_.arguments = arguments;
    return {options_, ""};
  }

 private:
  [[nodiscard]] std::array<CLI::App*, 5> commands() const {
    return {run_, compare_, check_, experiment_, newProject_};
  }

  [[nodiscard]] CLI::App* commandNamed(std::string_view name) const {
    for (CLI::App* command : commands()) {
      if (command->get_name() == name) return command;
    }
    return nullptr;
  }

  // CLI11's message of a usage error, in the words of the rest of the program.
  static std::string usageErrorOf(const CLI::ParseError& error, const std::string& command,
                                  const std::vector<std::string>& arguments) {
    std::string text = error.what();
    const std::string name = text.substr(0, text.find_first_of(": "));
    const auto after = [&](std::string_view word) {
      return text.substr(text.find(word) + word.size());
    };
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
      return name + " " + after(": ");  // "--seed: needs ..." becomes "--seed needs ..."
    }
    if (dynamic_cast<const CLI::RequiresError*>(&error) != nullptr) {
      return name + " needs " + after(" requires ");
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
      return name + " and " + after(" excludes ") + " cannot be used together";
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
      if (text.find("flag override") != std::string::npos) {
        const std::string flag = name.starts_with("-") ? name : "--" + name;
        for (const std::string& argument : arguments) {
          if (argument.starts_with(flag + "=")) {
            return flag + " takes no value, not " + inQuotes(argument.substr(flag.size() + 1));
          }
        }
        return flag + " takes no value";
      }
      if (text.find("At Most") != std::string::npos) return name + " is given twice";
      return name + " needs a value";
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
      if (name == "FIRST" || name == "SECOND") {
        return "compare needs two data files, FIRST and SECOND";
      }
      if (name == "DATA") return command + " needs a data file";
      if (name == "PROJECT") return command + " needs a project file";
      return command + " needs " + name;
    }
    return text;
  }

  // The first argument `command` does not take, named: an option of another command, an unknown
  // option or one file too many. "" when there is none.
  [[nodiscard]] std::string extraArgument(const CLI::App& command) const {
    const std::vector<std::string> extras = command.remaining();
    if (extras.empty()) return {};
    const std::string& extra = extras.front();
    if (!extra.starts_with("-")) {
      if (&command == compare_) return "compare takes two data files, not also " + inQuotes(extra);
      if (&command == experiment_) {
        return "experiment takes one project file, not also " + inQuotes(extra);
      }
      return "one data file only, not both " + inQuotes(options_.dataFile) + " and " +
             inQuotes(extra);
    }
    const std::string name = extra.substr(0, extra.find('='));
    std::vector<std::string> owners;
    for (const CLI::App* other : commands()) {
      if (other->get_option_no_throw(name) != nullptr) owners.push_back(other->get_name());
    }
    if (owners.empty()) return "unknown option " + inQuotes(extra);
    std::string list = owners.front();
    for (std::size_t k = 1; k < owners.size(); ++k) {
      list += (k + 1 == owners.size() ? " and " : ", ") + owners[k];
    }
    return name + " is an option of " + list + ", not of " + command.get_name();
  }

  // The help of the command asked about, or of the program with every command's options.
  [[nodiscard]] std::string helpText() const {
    if (!app_.get_subcommands().empty()) return app_.help();
    std::string text = app_.help();
    for (const CLI::App* command : commands()) {
      text += "\n" + command->help(app_.get_name());
    }
    return text;
  }

  void addCommon(CLI::App& command) {
    command
        .add_option("--time-unit", raw_.timeUnit,
                    "the length of one time unit of the data in days, above 0 and at most 1000 "
                    "(1 or 0.5 as a rule; default 1)")
        ->check(timeUnitCheck())
        ->type_name("T");
    fileOption(command, "--output-dir", options_.outputDir,
               "write every output, and the lock, into this folder instead of beside the data")
        ->type_name("DIR");
  }

  void addBootstrap(CLI::App& command) {
    bootstrap_ = command
                     .add_option("--bootstrap", raw_.bootstrap,
                                 "a bootstrap of B replicates drawn by "
                                 "Pellmar (own samples), B from 1 to 200010")
                     ->check(wholeNumberCheck(1, kMaxBootstrapReplicates))
                     ->type_name("B");
    command
        .add_option("--sample-size", raw_.sampleSize,
                    "individuals drawn per replicate, from 1 to 405 (default: the cohort size; "
                    "with compare, each study's own)")
        ->check(wholeNumberCheck(1, kMaxBootstrapSampleSize))
        ->type_name("N")
        ->needs(bootstrap_);
    command
        .add_option("--seed", raw_.seed,
                    "the seed of the own samples (default: from the clock; the seed used is "
                    "printed, so a run can be repeated exactly)")
        ->check(seedCheck())
        ->type_name("S")
        ->needs(bootstrap_);
    command
        .add_option("--confidence", raw_.confidence,
                    "the confidence of the intervals in <base>_summary.csv and of the paired test, "
                    "from 0 to 1 exclusive (default 0.95)")
        ->check(fractionCheck("0.95"))
        ->type_name("P");
  }

  void addRun() {
    run_ = app_.add_subcommand("run", "analyse one study");
    run_->footer(wrapped(
        "Opens the raw data file DATA, runs the Basic Run and, when asked, reads the stable "
        "age-stage distribution or computes it from the fecundity, runs a bootstrap or the "
        "jackknife and compares the bootstrap with a second treatment. Prints the messages of "
        "the steps, a table of the main results and the path of every file written, the basic "
        "report first. A run writes all its files or none.",
        kFooterWidth));
    CLI::App& run = *run_;
    run.add_option("DATA", options_.dataFile, "the raw data file")->required();
    addCommon(run);
    CLI::Option* sasd = fileOption(run, "--sasd", options_.sasdFile,
                                   "the stable age-stage distribution file of the life-table "
                                   "program: psi, omega and the female period table");
    CLI::Option* fecundity =
        fileOption(run, "--fecundity", options_.fecundityFile,
                   "the eggs of each female in each adult time unit: the life table with R0, r, "
                   "lambda and T, its stable age-stage distribution, psi, omega and the female "
                   "period table");
    addBootstrap(run);
    CLI::Option* same =
        fileOption(
            run, "--same-samples", options_.sameSamplesFile,
            "a bootstrap of the replicates of the life-table program's samples file (needs --sasd)")
            ->needs(sasd);
    CLI::Option* jackknife = run.add_flag("--jackknife", options_.jackknife,
                                          "the jackknife of C0 instead of a bootstrap");
    bootstrap_->excludes(same)->excludes(jackknife);
    same->excludes(jackknife);
    fecundity->excludes(sasd)->excludes(same);
    CLI::Option* projection =
        run.add_option("--projection-days", raw_.projectionDays,
                       "with --fecundity, project the population and its predation over D days "
                       "(0 to 3650, decimals allowed) into <base>_projection.csv; with "
                       "--bootstrap, with the band of the replicates")
            ->check(CLI::Validator(
                [](std::string& value) -> std::string {
                  if (projectionDaysValue(value)) return {};
                  return "needs a number of days from 0 to 3650, not " + inQuotes(value);
                },
                ""))
            ->type_name("D")
            ->needs(fecundity)
            ->excludes(sasd)
            ->excludes(same)
            ->excludes(jackknife);
    run.add_option("--initial", raw_.projectionStart,
                   "where the projection starts: eggs:N0, N0 newborns (default eggs:10), or "
                   "stable:N0, N0 individuals in the stable age-stage distribution")
        ->check(CLI::Validator(
            [](std::string& value) -> std::string {
              if (parseProjectionStart(value)) return {};
              return "needs eggs:N0 or stable:N0 with N0 a number above 0, not " + inQuotes(value);
            },
            ""))
        ->type_name("START")
        ->needs(projection);
    normalDensity_ = run.add_flag("--normal-density", options_.normalDensity,
                                  "the normal density curves of the bootstrap");
    run.add_flag("--write-samples", options_.writeSamples,
                 "with --fecundity and --bootstrap, write every replicate's individuals, R0 and "
                 "lambda as a samples file")
        ->needs(fecundity)
        ->needs(bootstrap_);
    run.add_flag("--redraw-barren", options_.redrawBarren,
                 "with --fecundity and --bootstrap, draw a replicate that drew no laying female "
                 "again until it has one (the conditional bootstrap); by default it is kept, with "
                 "R0 = 0")
        ->needs(fecundity)
        ->needs(bootstrap_);
    run.add_flag("--xlsx", options_.xlsx,
                 "write the workbook <base>.xlsx: the sheets Summary, Life table and, after a "
                 "bootstrap, Replicates");
    compareFile_ = fileOption(run, "--compare", options_.compareFile,
                              "after a bootstrap, the t-test against the bootstrap C0 values of a "
                              "second treatment in FILE");
    CLI::Option* quiet = run.add_flag("--quiet", options_.quiet, "print only errors");
    run.add_flag("--json", options_.json,
                 "print one JSON object instead: the summary's rows, the files written and the "
                 "seed")
        ->excludes(quiet);
    run.callback([this] { options_.action = CliOptions::Action::kRun; });
  }

  void addCompare() {
    compare_ = app_.add_subcommand("compare", "the paired bootstrap test of two studies");
    compare_->footer(wrapped(
        "Runs each of two studies as run does with --bootstrap B (FIRST with the seed S, SECOND "
        "with S + 1), then pairs replicate b of FIRST with replicate b of SECOND: the paired "
        "bootstrap test of every quantity both have, in <first>_vs_<second>_paired_test.csv, "
        "and the C0 of every replicate in <first>_vs_<second>_paired_C0.csv, beside FIRST. "
        "Both studies are read and checked before anything is written.",
        kFooterWidth));
    CLI::App& compare = *compare_;
    compare.add_option("FIRST", options_.dataFile, "the first study's raw data file")->required();
    compare.add_option("SECOND", options_.secondDataFile, "the second study's raw data file")
        ->required();
    addCommon(compare);
    CLI::Option* sasdFirst = fileOption(compare, "--sasd-first", options_.sasdFile,
                                        "the stable age-stage distribution file of FIRST");
    CLI::Option* sasdSecond = fileOption(compare, "--sasd-second", options_.secondSasdFile,
                                         "the stable age-stage distribution file of SECOND");
    CLI::Option* fecundityFirst =
        fileOption(compare, "--fecundity-first", options_.fecundityFile,
                   "the eggs of FIRST's females; with --fecundity-second, R0, r, lambda, T, Qp, "
                   "psi and omega join the paired test");
    CLI::Option* fecunditySecond =
        fileOption(compare, "--fecundity-second", options_.secondFecundityFile,
                   "the eggs of SECOND's females");
    sasdFirst->needs(sasdSecond)->excludes(fecundityFirst);
    sasdSecond->needs(sasdFirst)->excludes(fecunditySecond);
    fecundityFirst->needs(fecunditySecond);
    fecunditySecond->needs(fecundityFirst);
    addBootstrap(compare);
    bootstrap_->required();
    compare
        .add_flag("--redraw-barren", options_.redrawBarren,
                  "with the fecundity of both, draw a replicate that drew no laying female "
                  "again until it has one")
        ->needs(fecundityFirst);
    compare.callback([this] { options_.action = CliOptions::Action::kCompare; });
  }

  void addCheck() {
    check_ = app_.add_subcommand("check", "check a raw data file");
    check_->footer(wrapped(
        "Opens DATA as the desktop program does (creating the empty basic report beside it "
        "when there is none), checks every individual record and prints \"It looks OK.\" or "
        "the first fault found.",
        kFooterWidth));
    CLI::App& check = *check_;
    check.add_option("DATA", options_.dataFile, "the raw data file")->required();
    addCommon(check);
    check.add_flag("--quiet", options_.quiet, "print only errors");
    check.callback([this] { options_.action = CliOptions::Action::kCheck; });
  }

  void addExperiment() {
    experiment_ =
        app_.add_subcommand("experiment", "analyse and compare every treatment of a project");
    experiment_->footer(wrapped(
        "Reads the project file PROJECT (NAME.pellmar) and analyses each of its treatments as run "
        "does with --bootstrap B (treatment k with the seed S + k - 1) into its own folder of "
        "NAME_results beside PROJECT; then tests every pair of treatments with the paired "
        "bootstrap test, adjusts the p-values of each quantity for the number of pairs and "
        "gives each quantity's letters. Writes summary.csv, pairwise.csv, letters.csv, "
        "table.csv, the workbook experiment.xlsx of them all and run.json there. The folder is "
        "replaced whole, once everything in it is "
        "complete. The options override the project file's.",
        kFooterWidth));
    CLI::App& experiment = *experiment_;
    experiment.add_option("PROJECT", options_.projectFile, "the project file")->required();
    experiment
        .add_option("--bootstrap", raw_.bootstrap, "replicates of each treatment, from 1 to 200010")
        ->check(wholeNumberCheck(1, kMaxBootstrapReplicates))
        ->type_name("B");
    experiment
        .add_option("--seed", raw_.seed,
                    "the seed of the first treatment (default: the project's, else the clock)")
        ->check(seedCheck())
        ->type_name("S");
    experiment
        .add_option("--confidence", raw_.confidence,
                    "the confidence of the intervals, from 0 to 1 exclusive (default 0.95)")
        ->check(fractionCheck("0.95"))
        ->type_name("P");
    experiment
        .add_option_function<std::string>(
            "--adjust", [this](const std::string& value) { options_.adjust = value; },
            "how the p-values of each quantity are adjusted: holm (default), bonferroni, bh "
            "(Benjamini-Hochberg) or none")
        ->check(CLI::Validator(
            [](std::string& value) -> std::string {
              if (pAdjustMethodNamed(value)) return {};
              return "needs holm, bonferroni, bh or none, not " + inQuotes(value);
            },
            ""))
        ->type_name("METHOD");
    experiment
        .add_option("--alpha", raw_.alpha,
                    "two treatments differ when their adjusted p is below A, from 0 to 1 "
                    "exclusive (default 0.05)")
        ->check(fractionCheck("0.05"))
        ->type_name("A");
    experiment.add_flag("--redraw-barren", options_.redrawBarren,
                        "draw a replicate that drew no laying female again until it has one");
    fileOption(experiment, "--output-dir", options_.outputDir,
               "the results folder instead of NAME_results beside the project file")
        ->type_name("DIR");
    CLI::Option* quiet = experiment.add_flag("--quiet", options_.quiet, "print only errors");
    experiment.add_flag("--json", options_.json, "print one JSON object instead")->excludes(quiet);
    experiment.callback([this] { options_.action = CliOptions::Action::kExperiment; });
  }

  void addNewProject() {
    newProject_ = app_.add_subcommand("new-project", "write a project file of data files");
    newProject_->footer(
        wrapped("Writes the project file PROJECT with one treatment for each DATA, named after its "
                "file, and its fecundity file <base>_fecundity.txt when every data file has one. A "
                "project file already there is left as it is.",
                kFooterWidth));
    CLI::App& newProject = *newProject_;
    newProject.add_option("PROJECT", options_.projectFile, "the project file to write")->required();
    newProject.add_option("DATA", options_.dataFiles, "the raw data files, two or more")
        ->required()
        ->expected(2, CLI::detail::expected_max_vector_size);
    newProject.callback([this] { options_.action = CliOptions::Action::kNewProject; });
  }

  // Converts the values CLI11 has checked, and checks what it cannot say.
  std::string finish() {
    if (!raw_.timeUnit.empty()) options_.timeUnit = *timeUnitFromAnswer(raw_.timeUnit);
    if (!raw_.bootstrap.empty()) {
      options_.bootstrapReplicates =
          static_cast<int>(*wholeNumber(raw_.bootstrap, 1, kMaxBootstrapReplicates));
    }
    if (!raw_.sampleSize.empty()) {
      options_.sampleSize =
          static_cast<int>(*wholeNumber(raw_.sampleSize, 1, kMaxBootstrapSampleSize));
    }
    if (!raw_.seed.empty()) options_.seed = *seedValue(raw_.seed);
    if (!raw_.confidence.empty()) options_.confidence = *confidenceValue(raw_.confidence);
    if (!raw_.alpha.empty()) options_.alpha = *confidenceValue(raw_.alpha);
    if (!raw_.projectionDays.empty()) {
      options_.projectionDays = *projectionDaysValue(raw_.projectionDays);
    }
    if (!raw_.projectionStart.empty()) {
      options_.projectionStart = *parseProjectionStart(raw_.projectionStart);
    }
    if (options_.action == CliOptions::Action::kRun) {
      const bool bootstrap = options_.bootstrapReplicates || options_.sameSamplesFile;
      if (options_.normalDensity && !bootstrap) {
        return "--normal-density needs --bootstrap or --same-samples";
      }
      if (options_.compareFile && !bootstrap)
        return "--compare needs --bootstrap or --same-samples";
    }
    return {};
  }

  CLI::App app_;
  CLI::App* run_ = nullptr;
  CLI::App* compare_ = nullptr;
  CLI::App* check_ = nullptr;
  CLI::App* experiment_ = nullptr;
  CLI::App* newProject_ = nullptr;
  CLI::Option* bootstrap_ = nullptr;
  CLI::Option* normalDensity_ = nullptr;
  CLI::Option* compareFile_ = nullptr;
  RawValues raw_;
  CliOptions options_;
};

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine commandLine;
  return commandLine.parse(arguments);
}

std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments) {
  return parseCommandLine(arguments).options;
}

std::string usageErrorText(const std::string& usageError) {
  return "pellmar-cli: " + usageError +
         "\nRun \"pellmar-cli --help\" to see the commands and their options.\n";
}

}  // namespace pellmar
