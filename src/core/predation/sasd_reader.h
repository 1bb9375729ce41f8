#pragma once

#include <istream>
#include <memory>
#include <string>

#include "core/session.h"

namespace pellmar {

// Reads the stable age-stage distribution file that the life-table program wrote for this
// cohort, and computes the stable predation rate psi, the finite predation rate omega, the
// intrinsic predation rate and the female period table into session.predation. Nothing is
// changed when the file fails: a file of another cohort, one that cannot be read, ends early,
// holds text where a number belongs, gives a finite rate of increase (lambda) that is not above 0
// or names an individual outside the cohort raises a UserError (title "Read SASD") that ends only
// this command.
void readSasdFile(Session& session, const std::string& path);

// The same, reading the file's text from `in`; `fileName`, when given, names the file in
// messages.
void readStableDistribution(Session& session, std::unique_ptr<std::istream> in,
                            const std::string& fileName = "");

}  // namespace pellmar
