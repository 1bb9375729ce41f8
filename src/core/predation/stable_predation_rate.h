#pragma once

namespace pellmar {

// The stable predation rate psi: the sum over ages x = firstAge .. lastAge and stage columns
// j = 1 .. lastColumn of c(x, j) a(x, j), the consumption rate of each age-stage group times its
// share of the stable age-stage distribution, added up age by age. The rates of the SASD command
// and of every replicate start at age 1; the product table of the reports starts at age 0.
template <typename ConsumptionRate, typename StableShare>
double stablePredationRate(int firstAge, int lastAge, int lastColumn, ConsumptionRate c,
                           StableShare a) {
  double psi = 0.0;
  for (int x = firstAge; x <= lastAge; ++x) {
    for (int j = 1; j <= lastColumn; ++j) psi += c(x, j) * a(x, j);
  }
  return psi;
}

}  // namespace pellmar
