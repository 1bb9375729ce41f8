#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/notice.h"
#include "core/numeric/population_growth.h"

namespace pellmar {

// "Read fecundity": the eggs each female laid in each time unit of her adult stage. From them
// the command computes the two-sex life table with fecundity and, when any eggs were laid, the
// stable age-stage distribution, which it writes and then reads as "Read SASD" reads one.
struct ReadFecundityRequest {
  std::string file;
};

struct ReadFecundityResult {
  double R0 = 0.0;          // net reproductive rate
  double GRR = 0.0;         // gross reproductive rate
  std::optional<double> F;  // mean eggs of all females; none without a female
  // r, lambda and T, and the predation rates that follow from the stable age-stage
  // distribution; none when no female laid eggs.
  std::optional<GrowthRates> growth;
  double psi = 0.0;    // stable predation rate
  double omega = 0.0;  // finite predation rate
  double lnOmega = 0.0;
  bool lnOmegaDefined = false;  // omega above 0
  Notice message;               // R0, r, lambda and T, then psi and omega, in plain digits
  // Set when no female laid eggs: the finding, and what is missing because of it.
  std::optional<Notice> warning;
  std::vector<std::string> filesWritten;
};

// Asks for the file; a cancelled dialog gives an empty file, which the command refuses.
ReadFecundityRequest askReadFecundity(Dialogs& dialogs);

// Refuses a request without a file.
void validate(const ReadFecundityRequest& request);

}  // namespace pellmar
