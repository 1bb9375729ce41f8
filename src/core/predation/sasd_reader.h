#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/input_file.h"
#include "core/data/study.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/predation_rates.h"

namespace pellmar {

// Reads the stable age-stage distribution file that the life-table program (or Pellmar, from the
// fecundity) wrote for this study, checks it against the study, and computes the stable
// predation rate psi, the finite predation rate omega, the intrinsic predation rate and the
// female period table. A file of another study, one that ends early, holds text where a number
// belongs, gives a finite rate of increase (lambda) that is not above 0 or names an individual
// outside the cohort raises a UserError (title "Read SASD") naming the file, the line and the
// cause; it ends only this command.
PredationRates readSasd(const InputFile& file, const Study& study, const BasicRunResults& basic);

// The same rates from the distribution of the study's own life table at its lambda, exactly as
// reading the file that stableDistributionFile() writes of it gives them. The life table has a
// lambda.
PredationRates predationRatesOf(const Study& study, const BasicRunResults& basic,
                                const FecundityLifeTable& table);

}  // namespace pellmar
