#pragma once

#include <string>

#include "core/data/study.h"
#include "core/predation/predation_rates.h"
#include "core/report/report_output.h"

namespace pellmar {

// Writes "_0_Output_Finite_Predation_Rate_omega.txt": lambda^t (the finite rate of one time unit
// of t days), psi and omega = psi x lambda^t per time unit, and ln omega, then the
// female reproductive-period table (one line per female of the raw data that takes part in it)
// with its count, means, SDs and SEs.
void writeFinitePredationRateFile(const Study& study, const PredationRates& predation,
                                  OutputFiles& files);

// The text of the message that closes the SASD command: psi and omega in plain digits, per time
// unit, with a line naming that unit when it is not one day.
std::string finitePredationRateMessage(const PredationRates& predation, double timeUnit);

}  // namespace pellmar
