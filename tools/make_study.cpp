// pellmar-make-study: writes a generated raw data file to standard output.
//   pellmar-make-study [--individuals N] [--stages M] [--seed S] [--adult-life-scale F]
// Without options it writes the bundled example study.
#include <iostream>
#include <string>

#include "study_generator.h"

int main(int argc, char** argv) {
  pellmar::tools::StudyShape shape;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const std::string value = argv[i + 1];
    if (option == "--individuals") {
      shape.individuals = std::stoi(value);
    } else if (option == "--stages") {
      shape.stages = std::stoi(value);
    } else if (option == "--seed") {
      shape.seed = static_cast<std::uint32_t>(std::stoul(value));
    } else if (option == "--adult-life-scale") {
      shape.adultLifeScale = std::stod(value);
    } else {
      std::cerr << "unknown option " << option << '\n';
      return 2;
    }
  }
  if (argc % 2 == 0 || shape.stages < 2 || shape.individuals < 1) {
    std::cerr << "usage: pellmar-make-study [--individuals N] [--stages M] [--seed S] "
                 "[--adult-life-scale F]\n";
    return 2;
  }
  std::cout << pellmar::tools::generateStudy(shape);
  return 0;
}
