// pellmar-make-study: writes a generated raw data file to standard output.
//   pellmar-make-study [--individuals N] [--stages M] [--seed S] [--adult-life-scale F]
//                      [--fecundity FILE]
// Without options it writes the bundled example study. --fecundity also writes the eggs of its
// females to FILE, as a fecundity file.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "study_generator.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = pellmar::platform::commandLineArguments(argc, argv);
  pellmar::tools::StudyShape shape;
  std::string fecundityFile;
  for (std::size_t i = 0; i + 1 < arguments.size(); i += 2) {
    const std::string& option = arguments[i];
    const std::string& value = arguments[i + 1];
    if (option == "--individuals") {
      shape.individuals = std::stoi(value);
    } else if (option == "--stages") {
      shape.stages = std::stoi(value);
    } else if (option == "--seed") {
      shape.seed = static_cast<std::uint32_t>(std::stoul(value));
    } else if (option == "--adult-life-scale") {
      shape.adultLifeScale = std::stod(value);
    } else if (option == "--fecundity") {
      fecundityFile = value;
    } else {
      std::cerr << "unknown option " << option << '\n';
      return 2;
    }
  }
  if (arguments.size() % 2 != 0 || shape.stages < 2 || shape.individuals < 1) {
    std::cerr << "usage: pellmar-make-study [--individuals N] [--stages M] [--seed S] "
                 "[--adult-life-scale F] [--fecundity FILE]\n";
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
