#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/experiment/treatment_comparisons.h"
#include "core/report/report_writer.h"

namespace pellmar {

// "summary.csv": every treatment's summary rows, the treatment's name first on each line.
ReportWriter experimentSummaryText(std::span<const TreatmentReplicates> treatments);

// "pairwise.csv": every pair's paired test of every quantity, with p adjusted in its family.
ReportWriter pairwiseText(std::span<const TreatmentReplicates> treatments,
                          const TreatmentComparisons& comparisons);

// "letters.csv": each quantity's estimate, SE and letters of every treatment.
ReportWriter lettersText(std::span<const TreatmentReplicates> treatments,
                         const TreatmentComparisons& comparisons);

// "table.csv", the paper's table: one line per quantity, one column per treatment, each cell
// "estimate ± SE letters". UTF-8 with a byte-order mark, so that spreadsheets show the ±.
ReportWriter paperTableText(std::span<const TreatmentReplicates> treatments,
                            const TreatmentComparisons& comparisons);

// "estimate ± SE" as a paper prints it: the SE rounded to 2 significant digits and the estimate
// to the same decimal place; the estimate alone without an SE, in its shortest form.
std::string estimateWithSe(double estimate, std::optional<double> se);

}  // namespace pellmar
