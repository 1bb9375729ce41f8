#pragma once

namespace pellmar {

// The stable predation rate psi: the sum over ages x = 0 .. lastAge and stage columns
// j = 1 .. lastColumn of c(x, j) a(x, j), the consumption rate of each age-stage group times its
// share of the stable age-stage distribution, added up age by age. psi is the consumption of the
// stable population, so every caller sums from age 0.
template <typename ConsumptionRate, typename StableShare>
double stablePredationRate(int lastAge, int lastColumn, ConsumptionRate c, StableShare a) {
  double psi = 0.0;
  for (int x = 0; x <= lastAge; ++x) {
    for (int j = 1; j <= lastColumn; ++j) psi += c(x, j) * a(x, j);
  }
  return psi;
}

}  // namespace pellmar
