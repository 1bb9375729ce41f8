#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/exports/results_summary.h"
#include "core/resampling/paired_test.h"

namespace pellmar {

// How the run's resampled values were made, for the heading of the main results.
enum class ResampledBy { kNothing, kBootstrap, kJackknife };

// The short table of the main results that follows a run's messages: C0 with its SE and
// interval where they were computed, psi, omega and Qp, per day; psi and omega name their unit
// when the time unit is not a day.
void printMainResults(std::ostream& out, const std::vector<SummaryRow>& summary,
                      ResampledBy resampling, double confidence, double timeUnit);

// The paired bootstrap test's line of C0 (the difference of the estimates, the interval of the
// paired differences and p) and the test's note when it has one.
void printPairedTest(std::ostream& out, const PairedTest& test, double confidence);

// The run as one JSON object: the summary's rows (keys as the CSV header, empty cells null),
// the files written and the own samples' seed (digits in a string, null without one).
std::string resultsJson(const std::vector<SummaryRow>& summary,
                        const std::vector<std::string>& filesWritten,
                        std::optional<std::uint64_t> seed);

}  // namespace pellmar
