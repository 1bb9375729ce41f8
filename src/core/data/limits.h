#pragma once

namespace pellmar {

// The limits of the data model, in one place: every check and every prompt takes them from here.
// A data file beyond one of them is refused with a message before any table is filled.
inline constexpr int kMaxIndividuals = 400;
inline constexpr int kMaxStageNameLines = 3;
inline constexpr int kMaxStageColumns = 12;  // stage columns 1 .. m + 1 when there are males
inline constexpr int kMaxAgeCounter = 404;   // the longest life in time units; its end marker
                                             // sits at L + 1
inline constexpr int kMaxAgeIndex = kMaxAgeCounter + 1;
// The longest time unit, in days, that a study can be recorded in.
inline constexpr double kLongestTimeUnit = 1000;
// Bootstrap replicates, and individuals drawn per replicate.
inline constexpr int kMaxBootstrapReplicates = 200010;
inline constexpr int kMaxBootstrapSampleSize = 405;

}  // namespace pellmar
