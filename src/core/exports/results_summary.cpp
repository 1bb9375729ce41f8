#include "core/exports/results_summary.h"

#include <array>
#include <cmath>
#include <span>
#include <string_view>

#include "core/analysis/cohort_contributions.h"
#include "core/data/table_index.h"
#include "core/exports/csv_cells.h"
#include "core/predation/life_figures.h"
#include "core/report/report_writer.h"
#include "core/resampling/replicate_summary.h"

namespace pellmar {
namespace {

// The replicate values of slots b = 1 .. B of a 1-based table.
std::span<const double> replicatesOf(const std::vector<double>& table, int count) {
  return std::span<const double>(table).subspan(1, at(count));
}
std::span<const std::uint8_t> replicatesOf(const ReplicateValidity& table, int count) {
  return std::span<const std::uint8_t>(table).subspan(1, at(count));
}

// What the builder reads where a result is missing: nothing of it is used then.
const PredationRates kNoPredation{};
const BootstrapResults kNoBootstrap{};
const JackknifeResults kNoJackknife{};

class SummaryBuilder {
 public:
  // With `replicates`, every row given replicate values also hands them over there.
  SummaryBuilder(const StudyResults& results, double confidence,
                 std::vector<ReplicatedQuantity>* replicates = nullptr)
      : study_(results.study),
        r_(*results.basic),
        predation_(results.predation != nullptr ? *results.predation : kNoPredation),
        hasPredation_(results.predation != nullptr),
        lifeTable_(results.lifeTable),
        boot_(results.bootstrap != nullptr ? *results.bootstrap : kNoBootstrap),
        hasBootstrap_(results.bootstrap != nullptr),
        jack_(results.jackknife != nullptr ? *results.jackknife : kNoJackknife),
        hasJackknife_(results.jackknife != nullptr),
        projection_(results.projection),
        confidence_(confidence),
        m_(results.study.stageCount),
        t_(results.study.timeUnit),
        replicates_(replicates) {}

  std::vector<SummaryRow> build() {
    netConsumptionRate();
    stageDurations();
    cumulativeDurations();
    spans();
    longevity();
    stageConsumption();
    preadultConsumption();
    totalConsumption();
    dailyConsumption();
    lifeTableFigures();
    predationRates();
    sameSampleFigures();
    projectionFigures();
    return std::move(rows_);
  }

 private:
  [[nodiscard]] bool bootstrapped() const { return hasBootstrap_ && boot_.bootCount > 0; }
  [[nodiscard]] const std::string& sexCode(int k) const { return study_.sexCode[at(k)]; }
  // A stage of the duration and consumption rows: its name, or "adult" for the adult stage.
  [[nodiscard]] std::string stageName(int j) const {
    return j >= m_ ? std::string("adult") : study_.name(1, j);
  }

  SummaryRow& add(std::string quantity, std::string stage, std::string sex,
                  std::optional<double> estimate, int stageColumn = 0) {
    SummaryRow& row = rows_.emplace_back();
    row.quantity = std::move(quantity);
    row.stage = std::move(stage);
    row.sex = std::move(sex);
    row.estimate = estimate;
    row.stageColumn = stageColumn;
    return row;
  }

  // A row for a line of the statistics table, when the line holds an individual; with
  // `replicates`, their summary from a finished bootstrap.
  void addStatistic(const std::string& quantity, const std::string& stage, const std::string& sex,
                    const Statistic& st, int stageColumn = 0,
                    const std::vector<double>* replicates = nullptr,
                    const ReplicateValidity* valid = nullptr) {
    if (st.count == 0) return;
    SummaryRow& row = add(quantity, stage, sex, st.mean, stageColumn);
    if (replicates != nullptr) resample(row, *replicates, valid);
  }

  // Gives `row` what the replicate values b = 1 .. B of a finished bootstrap say of it: every
  // replicate's value of a 1-based table, where `valid` (none: everywhere) says there is one.
  void resample(SummaryRow& row, const std::vector<double>& values,
                const ReplicateValidity* valid) {
    if (!bootstrapped() || values.size() <= at(boot_.bootCount)) return;
    std::span<const std::uint8_t> validity;
    if (valid != nullptr) {
      if (valid->size() <= at(boot_.bootCount)) return;
      validity = replicatesOf(*valid, boot_.bootCount);
    }
    const std::span<const double> replicates = replicatesOf(values, boot_.bootCount);
    row.resampled = summarizeReplicateValues(replicates, validity, confidence_, scratch_);
    if (replicates_ == nullptr || !row.resampled) return;
    ReplicatedQuantity& kept = replicates_->emplace_back();
    kept.quantity = row.quantity;
    kept.stage = row.stage;
    kept.sex = row.sex;
    kept.stageColumn = row.stageColumn;
    kept.estimate = row.estimate;
    kept.values.assign(replicates.begin(), replicates.end());
    if (validity.empty()) {
      kept.valid.assign(replicates.size(), 1);
    } else {
      kept.valid.assign(validity.begin(), validity.end());
    }
  }

  template <typename Table>
  static const auto* entry(const Table& table, int index) {
    return at(index) < table.size() ? &table[at(index)] : nullptr;
  }

  // The jackknife's mean, SE and t interval of N pseudo-values; none without pseudo-values.
  [[nodiscard]] std::optional<ResampledEstimate> jackknifed(
      const std::vector<double>& pseudoValues) const {
    const int n = jack_.fullCount;
    if (n < 2 || pseudoValues.size() <= at(n)) return std::nullopt;
    const ReplicateSummary summary = summarizeReplicates(pseudoValues, n);
    return jackknifeEstimate(summary.mean, summary.se / std::sqrt(static_cast<double>(n)), n,
                             confidence_);
  }

  void netConsumptionRate() {
    SummaryRow& row = add("C0", "", "all", r_.C0ByCell);
    if (bootstrapped()) {
      resample(row, boot_.bootC0, nullptr);
    } else if (hasJackknife_ && jack_.fullCount >= 2) {
      row.resampled = jackknifeEstimate(jack_.jackMean, jack_.jackSE, jack_.fullCount, confidence_);
    }
  }

  void stageDurations() {
    for (int j = 1; j <= m_; ++j) {
      addStatistic("stage_duration", stageName(j), "all", r_.stageDuration[at(j)], j,
                   entry(boot_.bootStageDuration, j), entry(boot_.bootStageValid, j));
    }
    for (int k = 1; k <= study_.sexCount; ++k) {
      for (int j = 1; j <= m_; ++j) {
        addStatistic("stage_duration", stageName(j), sexCode(k),
                     r_.stageDurationBySex[at(k)][at(j)], j);
      }
    }
  }

  void cumulativeDurations() {
    for (int j = 2; j <= m_; ++j) {
      addStatistic("cumulative_duration", stageName(j), "all", r_.cumDuration[at(j)], j,
                   entry(boot_.bootCumDuration, j), entry(boot_.bootCumValid, j));
    }
    for (int k = 1; k <= study_.sexCount; ++k) {
      for (int j = 2; j <= m_; ++j) {
        addStatistic("cumulative_duration", stageName(j), sexCode(k),
                     r_.cumDurationBySex[at(k)][at(j)], j);
      }
    }
  }

  void spans() {
    if (r_.spanFirstStage < 1) return;
    const std::string stages = stageName(r_.spanFirstStage) + "-" + stageName(r_.spanLastStage);
    addStatistic("span_duration", stages, "all", r_.span);
    for (int k = 1; k <= study_.sexCount; ++k) {
      addStatistic("span_duration", stages, sexCode(k), r_.spanBySex[at(k)]);
    }
  }

  // Longevity, adult longevity and pre-adult duration by sex, means over the individuals; every
  // bootstrap gives them replicate values.
  void longevity() {
    const CohortContributions cohort = buildCohortContributions(study_);
    const CohortFigures figures = buildCohortFigures(study_, cohort, nullptr);
    ReplicateDraws everyone;
    for (int i = 1; i <= study_.individualCount; ++i) everyone.emplace_back(i, 1);
    std::vector<double> alive;
    LifeFigureValues values;
    lifeFiguresOf(figures, everyone, {}, study_.individualCount, alive, values);
    for (int figure = 0; figure < kFirstFecundityFigure; ++figure) {
      if (!values.valid[at(figure)]) continue;
      addLifeFigure(figure, values.value[at(figure)]);
    }
  }

  // The row of a life figure with the replicates' values of it, when there are any.
  SummaryRow& addLifeFigure(int figure, std::optional<double> estimate) {
    const LifeFigureName name = lifeFigureName(figure);
    SummaryRow& row = add(std::string(name.quantity), "", std::string(name.sex), estimate);
    if (bootstrapped() && !boot_.bootLifeFigures[at(figure)].empty()) {
      resample(row, boot_.bootLifeFigures[at(figure)], &boot_.bootLifeFigureValid[at(figure)]);
    }
    return row;
  }

  void stageConsumption() {
    for (int j = 1; j <= m_; ++j) {
      addStatistic("stage_consumption", stageName(j), "all", r_.stageConsumption[at(j)], j,
                   entry(boot_.bootStageConsumption, j), entry(boot_.bootStageValid, j));
    }
    for (int k = 1; k <= study_.sexCount; ++k) {
      const auto* values = entry(boot_.bootStageConsumptionBySex, k);
      const auto* valid = entry(boot_.bootStageBySexValid, k);
      for (int j = 1; j <= m_; ++j) {
        addStatistic("stage_consumption", stageName(j), sexCode(k),
                     r_.stageConsumptionBySex[at(k)][at(j)], j,
                     values != nullptr ? entry(*values, j) : nullptr,
                     valid != nullptr ? entry(*valid, j) : nullptr);
      }
    }
  }

  void preadultConsumption() {
    addStatistic("preadult_consumption", "", "all", r_.preadultConsumption);
    for (int k = 1; k <= study_.sexCount; ++k) {
      const std::string& code = sexCode(k);
      const int index = code == "F" ? 0 : code == "M" ? 1 : code == "N" ? 2 : -1;
      if (index >= 0) {
        addStatistic("preadult_consumption", "", code, r_.preadultConsumptionBySex[at(index)]);
      }
    }
  }

  void totalConsumption() {
    if (study_.individualCount > 0) {
      add("total_consumption", "", "all", r_.cohortConsumptionMean);
    }
    for (int k = 1; k <= study_.sexCount; ++k) {
      addStatistic("total_consumption", "", sexCode(k), r_.totalConsumptionBySex[at(k)]);
    }
  }

  void dailyConsumption() {
    for (int j = 1; j <= m_ + 1; ++j) {
      // A column that nobody occupied has no daily mean.
      if (at(j) >= r_.s.size() || r_.s[at(j)] == 0) continue;
      const std::string stage = j < m_    ? study_.name(1, j)
                                : j == m_ ? "female adult"
                                          : "male adult";
      // The tables hold consumption per time unit; the summary gives it per day.
      SummaryRow& row =
          add("daily_consumption", stage, "all", r_.stageDailyMeanConsumption[at(j)] / t_, j);
      const auto* values = entry(boot_.bootStageDailyMean, j);
      if (values != nullptr) resample(row, perDay(*values), entry(boot_.bootDailyMeanValid, j));
    }
  }

  // The cohort's own life table with fecundity. Without eggs there is no r, lambda, T or Qp (their
  // cells stay empty) and no female period.
  void lifeTableFigures() {
    if (!lifeTable_) return;
    const FecundityLifeTable& table = *lifeTable_;
    const std::optional<GrowthRates>& growth = table.growth;
    // Own samples give every replicate its own life table; one without eggs would have none of
    // these values, not values of 0.
    const bool replicated = bootstrapped() && boot_.ownLifeTable;
    const ReplicateValidity laid = replicated ? replicatesWithEggs() : ReplicateValidity{};
    // R0 is a value of every replicate (0 without eggs); the others only of those with eggs.
    const auto withReplicates = [&](SummaryRow& row, const std::vector<double>& values,
                                    const std::vector<double>& pseudoValues,
                                    const ReplicateValidity* valid) {
      if (replicated) {
        resample(row, values, valid);
      } else if (hasJackknife_ && jack_.withFecundity) {
        row.resampled = jackknifed(pseudoValues);
      }
    };
    withReplicates(add("R0", "", "all", table.R0), boot_.bootR0, jack_.pseudoR0, nullptr);
    withReplicates(add("r", "", "all", growth ? std::optional(growth->r) : std::nullopt),
                   boot_.bootR, jack_.pseudoR, &laid);
    withReplicates(add("lambda", "", "all", growth ? std::optional(growth->lambda) : std::nullopt),
                   boot_.bootLambda, jack_.pseudoLambda, &laid);
    withReplicates(add("T", "", "all", growth ? std::optional(growth->T) : std::nullopt),
                   boot_.bootT, jack_.pseudoT, &laid);
    addLifeFigure(kGrossReproductiveRate, table.GRR);
    withReplicates(
        add("Qp", "", "all", table.R0 > 0 ? std::optional(r_.C0ByCell / table.R0) : std::nullopt),
        boot_.bootQp, {}, &laid);
    // Without a female there is no mean of the females' eggs.
    addLifeFigure(kFecundityF, table.femaleCount > 0 ? std::optional(table.F) : std::nullopt);
    for (int c = 0; c < kFemalePeriodCount; ++c) {
      if (table.periods[at(c)].count > 0) {
        addLifeFigure(kFirstPeriodFigure + c, table.periods[at(c)].mean);
      }
    }
  }

  // psi per day is psi per time unit divided by t, and omega per day psi(day) x lambda(day);
  // the fixed-layout files keep them per time unit, with lambda^t.
  void predationRates() {
    if (!hasPredation_) return;
    // Own samples without eggs have no replicate lambda, hence no replicate psi or omega.
    const bool replicated = bootstrapped() && boot_.replicatesHaveLifeTable();
    const double psiPerDay = predation_.stablePredationRate / t_;
    const double omegaPerDay = psiPerDay * predation_.finiteRate;
    SummaryRow& psi = add("psi", "", "all", psiPerDay);
    const std::vector<double> replicatePsi =
        replicated ? perDay(boot_.bootPsi) : std::vector<double>{};
    if (replicated) resample(psi, replicatePsi, &boot_.bootPsiValid);
    SummaryRow& omega = add("omega", "", "all", omegaPerDay);
    if (replicated) {
      std::vector<double> replicateOmega = replicatePsi;
      for (std::size_t b = 0; b < replicateOmega.size() && b < boot_.bootLambda.size(); ++b) {
        replicateOmega[b] *= boot_.bootLambda[b];
      }
      resample(omega, replicateOmega, &boot_.bootPsiValid);
    }
    if (omegaPerDay > 0) add("ln_omega", "", "all", std::log(omegaPerDay));
  }

  // Values per time unit as values per day.
  [[nodiscard]] std::vector<double> perDay(const std::vector<double>& values) const {
    std::vector<double> days(values);
    for (double& value : days) value /= t_;
    return days;
  }

  // Which replicates reproduced (R0 not 0): only they have a Qp, r, lambda or T.
  [[nodiscard]] ReplicateValidity replicatesWithEggs() const {
    ReplicateValidity laid(at(boot_.bootCount) + 1, 0);
    for (int b = 1; b <= boot_.bootCount && at(b) < boot_.bootR0.size(); ++b) {
      laid[at(b)] = boot_.bootR0[at(b)] != 0 ? 1 : 0;
    }
    return laid;
  }

  // The day from which the projection's stage shares stay near the stable ones, and its growth
  // over the last step.
  void projectionFigures() {
    if (projection_ == nullptr) return;
    add("projection_convergence_day", "", "all", projection_->convergenceDay);
    add("projection_final_growth", "", "all", projection_->finalGrowth);
  }

  void sameSampleFigures() {
    if (!bootstrapped() || !boot_.sameSamples) return;
    const ReplicateValidity hasR0 = replicatesWithEggs();
    resample(add("Qp", "", "all", boot_.Qp), boot_.bootQp, &hasR0);
    resample(add("R0", "", "all", boot_.lifeTable.R0), boot_.bootR0, nullptr);
    resample(add("lambda", "", "all", boot_.lifeTable.lifeTableLambda), boot_.bootLambda, nullptr);
  }

  const Study& study_;
  const BasicRunResults& r_;
  const PredationRates& predation_;
  bool hasPredation_;
  const FecundityLifeTable* lifeTable_;
  const BootstrapResults& boot_;
  bool hasBootstrap_;
  const JackknifeResults& jack_;
  bool hasJackknife_;
  const Projection* projection_;
  double confidence_;
  int m_;
  double t_;  // the time unit in days
  std::vector<ReplicatedQuantity>* replicates_;
  std::vector<SummaryRow> rows_;
  std::vector<double> scratch_;
};

ReportWriter summaryText(const std::vector<SummaryRow>& rows) {
  ReportWriter out;
  out.text(kSummaryColumns).endLine();
  for (const SummaryRow& row : rows) {
    summaryCells(out, row);
    out.endLine();
  }
  return out;
}

}  // namespace

void summaryCells(ReportWriter& out, const SummaryRow& row) {
  csvTextCell(out, row.quantity);
  out.text(",");
  csvTextCell(out, row.stage);
  out.text(",");
  csvTextCell(out, row.sex);
  out.text(",");
  csvTextCell(out, std::string(summaryUnit(row.quantity)));
  csvNumberCell(out, row.estimate);
  const auto& resampled = row.resampled;
  csvNumberCell(out, resampled ? std::optional(resampled->mean) : std::nullopt);
  csvNumberCell(out, resampled ? resampled->se : std::nullopt);
  csvNumberCell(out, resampled ? std::optional(resampled->low) : std::nullopt);
  csvNumberCell(out, resampled ? std::optional(resampled->high) : std::nullopt);
  out.text(",");
  if (resampled) out.digits(static_cast<double>(resampled->count));
}

std::string_view summaryUnit(std::string_view quantity) {
  struct QuantityUnit {
    std::string_view quantity;
    std::string_view unit;
  };
  static constexpr QuantityUnit kUnits[] = {
      {"stage_duration", "day"},
      {"cumulative_duration", "day"},
      {"span_duration", "day"},
      {"longevity", "day"},
      {"adult_longevity", "day"},
      {"preadult_duration", "day"},
      {"T", "day"},
      {"APOP", "day"},
      {"TPOP", "day"},
      {"oviposition_days", "day"},
      {"oviposition_period", "day"},
      {"post_oviposition_period", "day"},
      {"C0", "prey per individual"},
      {"stage_consumption", "prey per individual"},
      {"preadult_consumption", "prey per individual"},
      {"total_consumption", "prey per individual"},
      {"daily_consumption", "prey per individual per day"},
      {"psi", "prey per individual per day"},
      {"omega", "prey per individual per day"},
      {"R0", "offspring per individual"},
      {"GRR", "offspring per individual"},
      {"F", "eggs per female"},
      {"r", "per day"},
      {"lambda", "per day"},
      {"Qp", "prey per offspring"},
      {"projection_convergence_day", "day"},
      {"projection_final_growth", "per time unit"},
  };
  for (const QuantityUnit& entry : kUnits) {
    if (entry.quantity == quantity) return entry.unit;
  }
  return {};
}

std::vector<SummaryRow> summarizeResults(const StudyResults& results, double confidence) {
  if (results.basic == nullptr) return {};
  return SummaryBuilder(results, confidence).build();
}

StudyReplicates bootstrapReplicates(const StudyResults& results) {
  StudyReplicates replicates;
  if (results.basic == nullptr) return replicates;
  const Study& study = results.study;
  for (int j = 1; j <= study.stageCount + 1; ++j) {
    replicates.stageColumns.push_back(j < study.stageCount    ? study.name(1, j)
                                      : j == study.stageCount ? "adult"
                                                              : "male adult");
  }
  // The summary's intervals are not wanted here; any confidence will do.
  SummaryBuilder(results, kDefaultConfidence, &replicates.quantities).build();
  return replicates;
}

std::string summaryCsv(const std::vector<SummaryRow>& rows) { return summaryText(rows).contents(); }

void writeSummaryFile(const std::vector<SummaryRow>& rows, OutputFiles& files) {
  files.save("_summary.csv", summaryText(rows));
}

}  // namespace pellmar
