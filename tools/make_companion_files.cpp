// pellmar-make-companion: writes a stand-in for the life-table program's bootstrap samples file
// of a raw data file.
//   pellmar-make-companion DATA SAMPLES_FILE [--replicates B] [--time-unit T]
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "companion_files.h"
#include "core/analysis/report/number_format.h"
#include "core/analysis/report/output_file.h"
#include "core/data/study_reader.h"
#include "core/platform/platform.h"
#include "core/resampling/samples_file.h"
#include "core/user_error.h"
#include "tool_options.h"

namespace {

constexpr const char* kUsage =
    "usage: pellmar-make-companion DATA SAMPLES_FILE [--replicates B] [--time-unit T]\n";

}  // namespace

int main(int argc, char** argv) {
  using pellmar::tools::optionFault;
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  if (arguments.size() < 2) {
    std::cerr << kUsage;
    return 2;
  }
  pellmar::tools::CompanionShape shape;
  pellmar::StudyData base;
  try {
    for (std::size_t i = 2; i < arguments.size(); ++i) {
      const std::string& option = arguments[i];
      const bool hasValue = i + 1 < arguments.size();
      if (option == "--replicates" && hasValue) {
        const std::string& value = arguments[++i];
        const auto replicates =
            pellmar::tools::wholeNumberOption(value, 1, pellmar::kMaxBootstrapReplicates);
        if (!replicates) {
          throw std::invalid_argument(
              optionFault(option, "a whole number from 1 to 200010", value));
        }
        shape.replicates = static_cast<int>(*replicates);
      } else if (option == "--time-unit" && hasValue) {
        const std::string& value = arguments[++i];
        const auto timeUnit = pellmar::tools::positiveNumberOption(value, 1000);
        if (!timeUnit) {
          throw std::invalid_argument(optionFault(
              option, "a number above 0 and at most " + pellmar::formatDigits(1000), value));
        }
        base.timeUnit = *timeUnit;
      } else {
        throw std::invalid_argument("unknown option " + option);
      }
    }
  } catch (const std::invalid_argument& fault) {
    std::cerr << "pellmar-make-companion: " << fault.what() << '\n' << kUsage;
    return 2;
  }
  try {
    const pellmar::StudyData study = pellmar::parseStudy(pellmar::loadDataFile(arguments[0]),
                                                         pellmar::StudyReadMode::kFullRead, base);
    pellmar::saveReplacing(arguments[1], pellmar::tools::bootstrapSamplesFile(study, shape));
  } catch (const pellmar::UserError& error) {
    std::cerr << error.title() << '\n' << error.text() << '\n';
    return 1;
  }
  return 0;
}
