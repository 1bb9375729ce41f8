#include "core/predation/stable_distribution_file.h"

#include <algorithm>
#include <cassert>
#include <string>

namespace pellmar {
namespace {

// A quoted item ends at the next double quote, so one inside the text becomes a single quote.
std::string quotable(std::string text) {
  std::replace(text.begin(), text.end(), '"', '\'');
  return text;
}

}  // namespace

ReportWriter stableDistributionFile(const Study& study, const FecundityLifeTable& table) {
  assert(table.growth);
  ReportWriter out;
  out.writeLine({quotable(study.projectTitle)});
  out.writeLine({quotable(study.userName)});
  out.writeLine({quotable(study.studyDate)});
  out.writeLine({"Stable age-stage distribution from the fecundity life table"});
  out.writeLine({"Written by Pellmar"});
  out.writeLine({RoundTripNumber{table.growth->lambda}});
  out.writeLine({"In Column"});
  out.writeLine({"a(x,j): one line for each age x from 0, one item for each stage column j"});
  const int columns = study.stageCount + 1;
  for (int x = 0; x <= table.maxAgeIndex; ++x) {
    for (int j = 1; j <= columns; ++j) {
      if (j > 1) out.text(",");
      out.roundTrip(table.stableDistribution.at(x, j));
    }
    out.endLine();
  }
  // Whole numbers are written as plain digits, which are their shortest form too.
  out.writeLine({"Number of individuals", static_cast<double>(study.individualCount)});
  out.writeLine({"Number of female records", static_cast<double>(table.females.size()),
                 "Individual, sex, L, laid eggs, first and last oviposition age, L - last - 1"});
  for (const FemaleOviposition& o : table.females) {
    const int afterLast = o.laid ? o.lifespan - o.lastOviposition - 1 : 0;
    out.writeLine({static_cast<double>(o.individual), "F", static_cast<double>(o.lifespan),
                   o.laid ? 1.0 : 0.0, static_cast<double>(o.firstOviposition),
                   static_cast<double>(o.lastOviposition), static_cast<double>(afterLast)});
  }
  return out;
}

}  // namespace pellmar
