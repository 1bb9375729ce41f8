// pellmar-make-companion: writes a stand-in for the life-table program's bootstrap samples file
// of a raw data file.
//   pellmar-make-companion DATA SAMPLES_FILE [--replicates B] [--time-unit T]
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "companion_files.h"
#include "core/data/study_reader.h"
#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "core/user_error.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  if (arguments.size() < 2) {
    std::cerr << "usage: pellmar-make-companion DATA SAMPLES_FILE [--replicates B] "
                 "[--time-unit T]\n";
    return 2;
  }
  pellmar::tools::CompanionShape shape;
  pellmar::StudyData base;
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--replicates" && i + 1 < arguments.size()) {
      shape.replicates = std::stoi(arguments[++i]);
    } else if (option == "--time-unit" && i + 1 < arguments.size()) {
      base.timeUnit = std::stod(arguments[++i]);
    } else {
      std::cerr << "unknown option " << option << '\n';
      return 2;
    }
  }
  try {
    const pellmar::StudyData study = pellmar::parseStudy(pellmar::loadDataFile(arguments[0]),
                                                         pellmar::StudyReadMode::kFullRead, base);
    std::ofstream(pellmar::pathFromUtf8(arguments[1]), std::ios::binary)
        << pellmar::tools::bootstrapSamplesFile(study, shape);
  } catch (const pellmar::UserError& error) {
    std::cerr << error.title() << '\n' << error.text() << '\n';
    return 1;
  }
  return 0;
}
