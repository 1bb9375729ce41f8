#include "core/resampling/jackknife.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/drawn_cohort_analyser.h"
#include "core/data/limits.h"
#include "core/predation/sasd_tables.h"
#include "core/report/number_format.h"
#include "core/resampling/jackknife_report.h"
#include "core/resampling/replicate_summary.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

// Frequency classes of the pseudo-values. With a smallest pseudo-value of exactly 0, 22 class
// bounds are built and pseudo-values of 0 are not counted; otherwise 23 bounds and every value
// is counted. A value counts in the class whose next bound is the first one above it.
FrequencyClasses pseudoValueClasses(const JackknifeResults& jack) {
  double smallest = replicateValue(jack.jackknifePseudoC0, 1);
  for (int i = 2; i <= jack.fullCount; ++i) {
    smallest = std::min(smallest, replicateValue(jack.jackknifePseudoC0, i));
  }
  const bool minimumIsZero = jack.fullCount >= 1 && smallest == 0;
  const int lastBound = minimumIsZero ? 21 : 22;
  return frequencyClasses(jack.jackknifePseudoC0, jack.fullCount, lastBound, lastBound,
                          minimumIsZero);
}

}  // namespace

namespace {

void runOmissions(const CohortContributions& cohort, double cohortC0, JackknifeResults& state,
                  const ProgressAndStop& work, const JackknifeFecundity* fecundity) {
  const int n = cohort.individualCount;
  const auto slots = static_cast<std::size_t>(n) + 1;
  std::vector<double> reducedC0(slots, 0.0);
  std::vector<double> pseudoC0(slots, 0.0);
  std::vector<double> pseudoR0(fecundity != nullptr ? slots : 0, 0.0);
  std::vector<double> pseudoR(pseudoR0.size(), 0.0);
  std::vector<double> pseudoLambda(pseudoR0.size(), 0.0);
  std::vector<double> pseudoT(pseudoR0.size(), 0.0);
  int omissionWithoutEggs = 0;
  std::vector<double> netMaternity(static_cast<std::size_t>(std::max(cohort.ageRows, 0)), 0.0);
  std::optional<RateBracket> bracket;
  if (fecundity != nullptr && fecundity->cohort.rates) {
    bracket = bracketAround(fecundity->cohort.rates->r);
  }
  DrawnCohortAnalyser analyser(cohort);
  ReplicateDraws draws;
  // N x (the whole cohort's value) - (N - 1) x (the value without individual i).
  const auto pseudo = [n](double whole, double without) { return n * whole - (n - 1) * without; };
  for (int i = 1; i <= n; ++i) {
    if (work.stop.stop_requested()) {
      throw UserError("Jackknife",
                      "The jackknife was stopped before it ended; no file was written.",
                      ErrorKind::kCommandFailed);
    }
    draws.clear();
    for (int k = 1; k <= n; ++k) {
      if (k != i) draws.emplace_back(k, 1);
    }
    const auto at = static_cast<std::size_t>(i);
    const double c0 = analyser.netConsumptionRateOf(draws, n - 1);
    reducedC0[at] = c0;
    pseudoC0[at] = pseudo(cohortC0, c0);
    if (fecundity == nullptr) {
      if (work.progress) work.progress(i, n);
      continue;
    }
    netMaternityOf(fecundity->eggs, draws, n - 1, netMaternity);
    const PopulationGrowth& whole = fecundity->cohort;
    const PopulationGrowth without = populationGrowth(netMaternity, cohort.timeUnit, bracket);
    pseudoR0[at] = pseudo(whole.R0, without.R0);
    if (whole.rates && without.rates) {
      pseudoR[at] = pseudo(whole.rates->r, without.rates->r);
      pseudoLambda[at] = pseudo(whole.rates->lambda, without.rates->lambda);
      pseudoT[at] = pseudo(whole.rates->T, without.rates->T);
    } else if (omissionWithoutEggs == 0) {
      omissionWithoutEggs = i;
    }
    if (work.progress) work.progress(i, n);
  }
  state.fullCount = n;
  state.jackknifeC0 = std::move(reducedC0);
  state.jackknifePseudoC0 = std::move(pseudoC0);
  state.withFecundity = fecundity != nullptr;
  state.omissionWithoutEggs = omissionWithoutEggs;
  state.pseudoR0 = std::move(pseudoR0);
  if (omissionWithoutEggs != 0) {
    pseudoR.clear();
    pseudoLambda.clear();
    pseudoT.clear();
  }
  state.pseudoR = std::move(pseudoR);
  state.pseudoLambda = std::move(pseudoLambda);
  state.pseudoT = std::move(pseudoT);
}

}  // namespace

void runJackknife(const CohortContributions& cohort, double cohortC0, JackknifeResults& state,
                  const ProgressAndStop& work) {
  runOmissions(cohort, cohortC0, state, work, nullptr);
}

void runJackknife(const CohortContributions& cohort, double cohortC0, JackknifeResults& state,
                  const ProgressAndStop& work, const JackknifeFecundity& fecundity) {
  runOmissions(cohort, cohortC0, state, work, &fecundity);
}

void summarizeJackknife(JackknifeResults& state) {
  const int n = state.fullCount;
  const ReplicateSummary summary = summarizeReplicates(state.jackknifePseudoC0, n);
  state.jackMean = summary.mean;
  state.jackVariance = summary.variance;
  state.jackSD = std::sqrt(summary.variance);
  state.jackSE = n > 0 ? state.jackSD / std::sqrt(static_cast<double>(n)) : 0.0;
  state.classes = pseudoValueClasses(state);
}

JackknifeResults jackknife(const Study& study, const BasicRunResults& basic,
                           const FecundityData* eggs, const FecundityLifeTable* lifeTable,
                           const ProgressAndStop& work) {
  const int n = study.individualCount;
  if (n < 2) {
    throw UserError("Jackknife",
                    "The jackknife needs from 2 to " + formatInteger(kMaxIndividuals) +
                        " individuals; this study has " + formatInteger(n) + ".",
                    ErrorKind::kInvalidRequest);
  }
  // Each reduced cohort is the same individuals less one, in their order.
  const CohortContributions cohort = buildCohortContributions(study);
  JackknifeResults jack;
  if (eggs != nullptr && lifeTable != nullptr) {
    const EggContributions contributions = buildEggContributions(study, *eggs);
    runJackknife(
        cohort, basic.C0ByAge, jack, work,
        JackknifeFecundity{contributions, PopulationGrowth{lifeTable->R0, lifeTable->growth}});
  } else {
    runJackknife(cohort, basic.C0ByAge, jack, work);
  }
  summarizeJackknife(jack);
  return jack;
}

void writeJackknifeFiles(const JackknifeReport& report, const PredationRates* predation,
                         ReportCounters& counters, OutputFiles& files) {
  ReportWriter out;
  ReportPages pages{out, counters};
  if (predation != nullptr) {
    writeStableDistributionTable(report.study, report.basic, *predation, pages);
    writeStablePredationTable(report.study, report.basic, *predation, pages);
  }
  writeJackknifeTable(report, pages);
  files.save("_0_Jackknife_Output.txt", out);
  writePseudoValueFile(report, files);
  writeJackknifePseudoValuesFile(report, files);
  writeJackknifeFrequencyFile(report, files);
}

std::string jackknifeNote(const JackknifeResults& jack) {
  if (!jack.withFecundity || jack.growthForEveryOmission()) return {};
  return "Without individual " + formatInteger(jack.omissionWithoutEggs) +
         " no eggs are left, so r, lambda and T have no jackknife pseudo-values or SE; R0 has "
         "them.";
}

}  // namespace pellmar
