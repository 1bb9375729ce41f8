// pellmar-make-companion: writes stand-ins for the life-table program's stable age-stage
// distribution file and bootstrap samples file of a raw data file.
//   pellmar-make-companion DATA SASD_FILE SAMPLES_FILE [--replicates B] [--lambda L]
//                          [--in-column] [--time-unit T]
#include <fstream>
#include <iostream>
#include <string>

#include "companion_files.h"
#include "core/data/study_reader.h"
#include "core/user_error.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: pellmar-make-companion DATA SASD_FILE SAMPLES_FILE [--replicates B] "
                 "[--lambda L] [--in-column] [--time-unit T]\n";
    return 2;
  }
  pellmar::tools::CompanionShape shape;
  pellmar::StudyData base;
  for (int i = 4; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--in-column") {
      shape.inRow = false;
    } else if (option == "--replicates" && i + 1 < argc) {
      shape.replicates = std::stoi(argv[++i]);
    } else if (option == "--lambda" && i + 1 < argc) {
      shape.lambda = std::stod(argv[++i]);
    } else if (option == "--time-unit" && i + 1 < argc) {
      base.timeUnit = std::stod(argv[++i]);
    } else {
      std::cerr << "unknown option " << option << '\n';
      return 2;
    }
  }
  try {
    const pellmar::StudyData study = pellmar::parseStudy(pellmar::loadDataFile(argv[1]),
                                                         pellmar::StudyReadMode::kFullRead, base);
    std::ofstream(argv[2], std::ios::binary)
        << pellmar::tools::stableDistributionFile(study, shape);
    std::ofstream(argv[3], std::ios::binary) << pellmar::tools::bootstrapSamplesFile(study, shape);
  } catch (const pellmar::UserError& error) {
    std::cerr << error.title() << '\n' << error.text() << '\n';
    return 1;
  }
  return 0;
}
