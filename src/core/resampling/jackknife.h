#pragma once

#include "core/analysis/cohort_contributions.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/population_growth.h"
#include "core/resampling/bootstrap_engine.h"
#include "core/resampling/jackknife_state.h"

namespace pellmar {

// The jackknife of C0: for each individual i = 1 .. N in turn, the C0 of the cohort without it
// (the others in their order, analysed as a replicate) and its pseudo-value
// N x C0 - (N - 1) x C0(without i), where C0 is the whole cohort's, `cohortC0`. Fills `state` for a
// cohort of N individuals; `work.progress` hears of each individual done, and a stop request
// ends the work with a UserError before anything is kept.
void runJackknife(const CohortContributions& cohort, double cohortC0, JackknifeState& state,
                  const ProgressAndStop& work);

// The cohort's eggs and life table, for a jackknife with fecundity.
struct JackknifeFecundity {
  const EggContributions& eggs;
  PopulationGrowth cohort;  // R0, r, lambda and T of all individuals
};

// The same with fecundity: each reduced cohort also gets its R0, r, lambda and T from the eggs
// of its individuals, and each of them a pseudo-value beside C0's. When a reduced cohort has no
// eggs (or the whole cohort has none), r, lambda and T get no pseudo-value at all.
void runJackknife(const CohortContributions& cohort, double cohortC0, JackknifeState& state,
                  const ProgressAndStop& work, const JackknifeFecundity& fecundity);

// The mean, variance, SD and SE of the pseudo-values, their smallest and largest value and
// their frequency classes.
void summarizeJackknife(JackknifeState& state);

}  // namespace pellmar
