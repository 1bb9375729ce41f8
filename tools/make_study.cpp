// pellmar-make-study: writes a generated raw data file to standard output.
//   pellmar-make-study [--individuals N] [--stages M] [--seed S] [--adult-life-scale F]
//                      [--fecundity FILE]
// Without options it writes the bundled example study. --fecundity also writes the eggs of its
// females to FILE, as a fecundity file.
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/data/study.h"
#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "study_generator.h"
#include "tool_options.h"

namespace {

constexpr const char* kUsage =
    "usage: pellmar-make-study [--individuals N] [--stages M] [--seed S] "
    "[--adult-life-scale F] [--fecundity FILE]\n";

}  // namespace

int main(int argc, char** argv) {
  using pellmar::tools::optionFault;
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  pellmar::tools::StudyShape shape;
  std::string fecundityFile;
  if (arguments.size() % 2 != 0) {
    std::cerr << kUsage;
    return 2;
  }
  // Only studies within the limits of the data model: the reader refuses the others.
  const auto whole = [](const std::string& option, const std::string& value, long long low,
                        long long high) {
    const auto number = pellmar::tools::wholeNumberOption(value, low, high);
    if (!number) {
      throw std::invalid_argument(optionFault(
          option, "a whole number from " + std::to_string(low) + " to " + std::to_string(high),
          value));
    }
    return *number;
  };
  try {
    for (std::size_t i = 0; i + 1 < arguments.size(); i += 2) {
      const std::string& option = arguments[i];
      const std::string& value = arguments[i + 1];
      if (option == "--individuals") {
        shape.individuals = static_cast<int>(whole(option, value, 1, pellmar::kMaxIndividuals));
      } else if (option == "--stages") {
        shape.stages = static_cast<int>(whole(option, value, 2, pellmar::kMaxStageColumns));
      } else if (option == "--seed") {
        shape.seed = static_cast<std::uint32_t>(whole(option, value, 0, 4294967295LL));
      } else if (option == "--adult-life-scale") {
        const auto scale = pellmar::tools::positiveNumberOption(value, 100);
        if (!scale) {
          throw std::invalid_argument(
              optionFault(option, "a number above 0 and at most 100", value));
        }
        shape.adultLifeScale = *scale;
      } else if (option == "--fecundity") {
        fecundityFile = value;
      } else {
        throw std::invalid_argument("unknown option " + option);
      }
    }
  } catch (const std::invalid_argument& fault) {
    std::cerr << "pellmar-make-study: " << fault.what() << '\n' << kUsage;
    return 2;
  }
  if (!fecundityFile.empty()) {
    std::ofstream out(pellmar::pathFromUtf8(fecundityFile), std::ios::binary);
    out << pellmar::tools::generateFecundity(shape);
    if (!out) {
      std::cerr << "cannot write " << fecundityFile << '\n';
      return 1;
    }
  }
  std::cout << pellmar::tools::generateStudy(shape);
  return 0;
}
