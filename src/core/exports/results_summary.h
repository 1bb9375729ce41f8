#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/numeric/replicate_interval.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/predation_rates.h"
#include "core/predation/projection.h"
#include "core/report/report_output.h"
#include "core/resampling/bootstrap_results.h"
#include "core/resampling/jackknife_results.h"
#include "core/resampling/paired_test.h"

namespace pellmar {

// One row of the results summary: a quantity, the stage and sex it belongs to, the whole
// cohort's value and, after a bootstrap or the jackknife, what the resampled values say.
struct SummaryRow {
  std::string quantity;  // "C0", "stage_duration", "psi", ...
  std::string stage;     // the stage's name; empty for the whole cohort
  std::string sex;       // "all" or the sex code of the data
  std::optional<double> estimate;
  std::optional<ResampledEstimate> resampled;
  // The stage's column in the age-stage tables (the adult columns included); 0 for a quantity
  // of the whole cohort or of a span of stages.
  int stageColumn = 0;
};

// The results of one study so far, each none until its step has run.
struct StudyResults {
  const Study& study;
  const BasicRunResults* basic = nullptr;
  const FecundityLifeTable* lifeTable = nullptr;
  const PredationRates* predation = nullptr;
  const BootstrapResults* bootstrap = nullptr;
  const JackknifeResults* jackknife = nullptr;
  const Projection* projection = nullptr;
};

// Every quantity the run has computed so far, in a fixed order: C0; the lines of the basic
// statistics table that hold an individual (stage durations, cumulative durations, the span,
// stage, pre-adult and total consumption, each for all individuals and then by sex); the stage
// daily means; after the life table with fecundity R0, r, lambda, T, GRR, Qp = C0 / R0, F and
// the female periods (APOP, TPOP, oviposition days, oviposition period, post-oviposition
// period) with sex F; after the stable age-stage distribution psi, omega and ln omega; after a
// bootstrap of the same samples Qp, R0 and lambda. After a bootstrap, the quantities that its
// replicates compute (with fecundity also R0, r, lambda, T, Qp, psi and omega, over the
// replicates that laid eggs) carry their replicate mean, standard error and percentile interval
// at `confidence`; after the jackknife, C0 carries the pseudo-values' mean, standard error and t
// interval.
std::vector<SummaryRow> summarizeResults(const StudyResults& results, double confidence);

// The unit of a quantity of the summary, in days and per day: "day", "prey per individual",
// "prey per individual per day", "offspring per individual", "eggs per female", "per day",
// "prey per offspring"; empty for ln_omega and a quantity without a unit.
std::string_view summaryUnit(std::string_view quantity);

// The bootstrap replicate values behind the summary's rows, for every row whose resampled cells
// come from a finished bootstrap, in the summary's order; and what stands at each stage column.
StudyReplicates bootstrapReplicates(const StudyResults& results);

// The summary's columns, and the cells of one row under them (no line end).
inline constexpr std::string_view kSummaryColumns =
    "quantity,stage,sex,unit,estimate,boot_mean,se,ci_low,ci_high,replicates";
void summaryCells(ReportWriter& out, const SummaryRow& row);

// The summary as comma-separated text: a header line and one line per row, numbers in their
// shortest exact form, empty cells for values that do not exist.
std::string summaryCsv(const std::vector<SummaryRow>& rows);

// Writes the summary to "<base>_summary.csv".
void writeSummaryFile(const std::vector<SummaryRow>& rows, OutputFiles& files);

}  // namespace pellmar
