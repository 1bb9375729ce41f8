#pragma once

#include <string>

#include "core/predation/predation_state.h"
#include "core/session.h"

namespace pellmar {

// Writes "_0_Output_Finite_Predation_Rate_omega.txt": lambda, psi, omega and ln omega, then the
// female reproductive-period table (one line per female of the raw data that takes part in it)
// with its count, means, SDs and SEs.
void writeFinitePredationRateFile(const Session& session, OutputFiles& files);

// The text of the message that closes the SASD command: psi and omega in plain digits.
std::string finitePredationRateMessage(const PredationState& predation);

}  // namespace pellmar
