#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/basic_run.h"
#include "core/resampling/bootstrap_results.h"
#include "report_test_support.h"

namespace pellmar::test_support {

// Egg, larva, pupa, adult: two females, a male and an individual that died as a larva. Eggs
// and pupae consume nothing; adults 8 or more a day.
inline const char* const kSmallCohort =
    "Moth\nAnn\n2026-01-02\n4\n3,4\nF,Egg,Larva,Pupa,Female\nM,Egg,Larva,Pupa,Male\n"
    "N,Egg,Larva,Pupa,Unknown\nEgg,Larva\n"
    "1,F,1,2,1,2,-1,4,6,-1,-1,10,12,-1\n"
    "2,F,1,2,1,1,-1,5,5,-1,-1,11,-1\n"
    "3,M,1,1,1,3,-1,5,-1,-1,8,8,8,-1\n"
    "4,N,1,-2,-1,3,3,-1\n";

// The small cohort after its Basic Run, its files going to `base`.
inline AnalysedStudy analysedCohort(const std::string& base) {
  return analysedStudy(kSmallCohort, 1.0, base);
}

// A study's results as the bootstrap's writers read them, with the page and table numbers of
// its reports.
struct BootstrapFixture {
  AnalysedStudy analysed;
  std::optional<PredationRates> predation;
  BootstrapResults boot;
  ReportCounters counters;

  [[nodiscard]] BootstrapReport report() const {
    return {analysed.study, analysed.basic, predation ? &*predation : nullptr, boot};
  }
};

// Saves what `write(files)` writes into files named after `base`, puts them in place and gives
// their suffixes, in order.
template <typename Write>
std::vector<std::string> writeFiles(const std::string& base, Write write) {
  OutputFiles files(base);
  write(files);
  std::vector<std::string> suffixes;
  for (const std::string& path : files.paths()) suffixes.push_back(path.substr(base.size()));
  files.commit();
  return suffixes;
}

// A 1-based replicate table: a 0 in slot 0, then the values.
inline std::vector<double> replicates(std::vector<double> values) {
  values.insert(values.begin(), 0.0);
  return values;
}

}  // namespace pellmar::test_support
