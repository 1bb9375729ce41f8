#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/numeric/replicate_interval.h"

namespace pellmar {

// The bootstrap replicate values of one quantity of a study, as its results summary names it.
struct ReplicatedQuantity {
  std::string quantity;  // "C0", "stage_duration", ...
  std::string stage;     // the stage's name; empty for the whole cohort
  std::string sex;       // "all" or a sex code
  // The stage's column in the age-stage tables (the adult columns included); 0 for a quantity
  // of the whole cohort.
  int stageColumn = 0;
  std::optional<double> estimate;   // the whole cohort's value
  std::vector<double> values;       // replicate b at b - 1
  std::vector<std::uint8_t> valid;  // 1 where replicate b gives a value; as long as `values`
};

// What a study's bootstrap gives the paired test: what stands at each stage column of its
// age-stage tables (column j at j - 1: a pre-adult stage's name, "adult", "male adult"), and
// every quantity with replicate values.
struct StudyReplicates {
  std::vector<std::string> stageColumns;
  std::vector<ReplicatedQuantity> quantities;
};

// One quantity of the paired bootstrap test. With d(b) = first(b) - second(b) over the
// replicates where both studies give a value: the SE and interval of d, and the two-sided
// achieved significance level p of achievedSignificance().
struct PairedTestRow {
  std::string quantity;
  std::string stage;
  std::string sex;
  std::optional<double> estimateFirst;
  std::optional<double> estimateSecond;
  std::optional<double> difference;  // estimateFirst - estimateSecond
  // Nullopt when no replicate gives both values.
  std::optional<ResampledEstimate> differences;
  std::optional<double> p;
  long replicates = 0;  // R'
};

struct PairedTest {
  std::vector<PairedTestRow> rows;
  // Says which per-stage quantities were left out because the two studies' stages differ;
  // empty when none was.
  std::string note;
};

// Pairs replicate b of the first study with replicate b of the second, for every quantity both
// have replicate values of, in the first study's order. A per-stage quantity takes part only
// when the same stage stands at its column in both studies. The interval of d is the percentile
// interval at `confidence`.
PairedTest pairedBootstrapTest(const StudyReplicates& first, const StudyReplicates& second,
                               double confidence);

// The achieved significance level of paired differences, with the usual Monte Carlo correction
// that counts the observed difference as one of the replicates, so that p is never 0:
// p = min(1, 2 (1 + min(#{d <= 0}, #{d >= 0})) / (R' + 1)), for R' >= 1 differences. A d of 0
// counts on both sides.
double achievedSignificance(std::span<const double> differences);

// p as screens and standard output show it, after "p ": "= 0.0342" (six significant digits), or
// "< 0.001" for a value below 0.001; files keep the number.
std::string pValueText(double p);

}  // namespace pellmar
