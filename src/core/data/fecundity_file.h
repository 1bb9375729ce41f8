#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/data/study.h"
#include "core/numeric/egg_contributions.h"

namespace pellmar {

// The eggs one female laid in each time unit of her adult stage, from her first adult time unit
// to her last.
struct FemaleEggs {
  int individual = 0;        // her serial number i
  int firstAdultAge = 0;     // age index x of her first adult time unit
  std::vector<double> eggs;  // [k]: eggs at age index firstAdultAge + k
};

// The eggs of every female of one study, read from a fecundity file and checked against it.
struct FecundityData {
  std::string fileName;
  std::vector<FemaleEggs> females;  // every female of the study, by serial number
};

inline constexpr std::string_view kReadFecundityTitle = "Read fecundity";

// Reads the fecundity file whose bytes are `bytes` (named `fileName` in messages) for `study`.
// The file is plain text: fields are separated by commas, blanks around a field are ignored, and
// so are blank lines, lines of commas only (a spreadsheet's empty rows), empty fields at the end
// of a line and lines whose first character other than a blank is '#'. UTF-16 with a byte-order
// mark is read as the same text. Every female of the study has exactly one line: her serial
// number, then the eggs she laid in each time unit of her adult stage, as many non-negative
// numbers as her adult duration (decimals allowed).
//
// A line of a male or an N individual, a serial number not in the study, a second line for a
// female, a missing female, a wrong count of values and a value that is negative or not a number
// raise a UserError titled "Read fecundity" naming the file, the line and the individual.
FecundityData parseFecundity(std::string_view bytes, const std::string& fileName,
                             const Study& study);

// The eggs each individual of the study brings to any cohort drawn from it: its first age with
// eggs and the eggs of every age from there to its last age with eggs.
EggContributions buildEggContributions(const Study& study, const FecundityData& fecundity);

}  // namespace pellmar
