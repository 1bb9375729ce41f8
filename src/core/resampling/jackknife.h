#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/analysis/cohort_contributions.h"
#include "core/data/fecundity_file.h"
#include "core/data/study.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/population_growth.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/predation_rates.h"
#include "core/report/report_output.h"
#include "core/resampling/bootstrap_engine.h"
#include "core/resampling/jackknife_results.h"

namespace pellmar {

// The jackknife of C0: for each individual i = 1 .. N in turn, the C0 of the cohort without it
// (the others in their order, analysed as a replicate) and its pseudo-value
// N x C0 - (N - 1) x C0(without i), where C0 is the whole cohort's, `cohortC0`. Fills `state` for a
// cohort of N individuals; `work.progress` hears of each individual done, and a stop request
// ends the work with a UserError before anything is kept.
void runJackknife(const CohortContributions& cohort, double cohortC0, JackknifeResults& state,
                  const ProgressAndStop& work);

// The cohort's eggs and life table, for a jackknife with fecundity.
struct JackknifeFecundity {
  const EggContributions& eggs;
  PopulationGrowth cohort;  // R0, r, lambda and T of all individuals
};

// The same with fecundity: each reduced cohort also gets its R0, r, lambda and T from the eggs
// of its individuals, and each of them a pseudo-value beside C0's. When a reduced cohort has no
// eggs (or the whole cohort has none), r, lambda and T get no pseudo-value at all.
void runJackknife(const CohortContributions& cohort, double cohortC0, JackknifeResults& state,
                  const ProgressAndStop& work, const JackknifeFecundity& fecundity);

// The mean, variance, SD and SE of the pseudo-values, their smallest and largest value and
// their frequency classes.
void summarizeJackknife(JackknifeResults& state);

// The jackknife of the study: C0 without each individual in turn and, with `fecundity`, R0, r,
// lambda and T too, their pseudo-values and their statistics. A study of fewer than 2
// individuals has no jackknife: the refusal is a request that cannot be run.
JackknifeResults jackknife(const Study& study, const BasicRunResults& basic,
                           const FecundityData* eggs, const FecundityLifeTable* lifeTable,
                           const ProgressAndStop& work);

// The jackknife's report "_0_Jackknife_Output.txt" (after the tables of the stable age-stage
// distribution and its products with C(x, j), when the study has one), its pseudo-value files
// and its frequency file.
void writeJackknifeFiles(const JackknifeReport& report, const PredationRates* predation,
                         ReportCounters& counters, OutputFiles& files);

// What a jackknife with fecundity says when leaving someone out leaves no eggs, or nothing.
std::string jackknifeNote(const JackknifeResults& jack);

}  // namespace pellmar
