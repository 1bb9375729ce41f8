#include "core/exports/results_summary.h"

#include <array>
#include <cmath>
#include <span>
#include <string_view>

#include "core/analysis/report/report_writer.h"
#include "core/data/table_index.h"
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

class SummaryBuilder {
 public:
  SummaryBuilder(const Session& session, double confidence)
      : study_(session.study),
        r_(session.basic),
        predation_(session.predation),
        lifeTable_(session.lifeTable),
        boot_(session.bootstrap),
        jack_(session.jackknife),
        confidence_(confidence),
        m_(session.study.stageCount) {}

  std::vector<SummaryRow> build() {
    netConsumptionRate();
    stageDurations();
    cumulativeDurations();
    spans();
    stageConsumption();
    preadultConsumption();
    totalConsumption();
    dailyConsumption();
    lifeTableFigures();
    predationRates();
    sameSampleFigures();
    return std::move(rows_);
  }

 private:
  [[nodiscard]] bool bootstrapped() const { return boot_.done && boot_.bootCount > 0; }
  [[nodiscard]] const std::string& sexCode(int k) const { return study_.sexCode[at(k)]; }
  // A stage of the duration and consumption rows: its name, or "adult" for the adult stage.
  [[nodiscard]] std::string stageName(int j) const {
    return j >= m_ ? std::string("adult") : study_.name(1, j);
  }

  SummaryRow& add(std::string quantity, std::string stage, std::string sex,
                  std::optional<double> estimate) {
    SummaryRow& row = rows_.emplace_back();
    row.quantity = std::move(quantity);
    row.stage = std::move(stage);
    row.sex = std::move(sex);
    row.estimate = estimate;
    return row;
  }

  // A row for a line of the statistics table, when the line holds an individual; with
  // `replicates`, their summary from a finished bootstrap.
  void addStatistic(const std::string& quantity, const std::string& stage, const std::string& sex,
                    const Statistic& st, const std::vector<double>* replicates = nullptr,
                    const ReplicateValidity* valid = nullptr) {
    if (st.count == 0) return;
    SummaryRow& row = add(quantity, stage, sex, st.mean);
    if (replicates != nullptr) row.resampled = resampled(*replicates, valid);
  }

  [[nodiscard]] std::optional<ResampledEstimate> resampled(const std::vector<double>& values,
                                                           const ReplicateValidity* valid) {
    if (!bootstrapped() || values.size() <= at(boot_.bootCount)) return std::nullopt;
    std::span<const std::uint8_t> validity;
    if (valid != nullptr) {
      if (valid->size() <= at(boot_.bootCount)) return std::nullopt;
      validity = replicatesOf(*valid, boot_.bootCount);
    }
    return summarizeReplicateValues(replicatesOf(values, boot_.bootCount), validity, confidence_,
                                    scratch_);
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
      row.resampled = resampled(boot_.bootC0, nullptr);
    } else if (jack_.done && jack_.fullCount >= 2) {
      row.resampled = jackknifeEstimate(jack_.jackMean, jack_.jackSE, jack_.fullCount, confidence_);
    }
  }

  void stageDurations() {
    for (int j = 1; j <= m_; ++j) {
      addStatistic("stage_duration", stageName(j), "all", r_.stageDuration[at(j)],
                   entry(boot_.bootStageDuration, j), entry(boot_.bootStageValid, j));
    }
    for (int k = 1; k <= study_.sexCount; ++k) {
      for (int j = 1; j <= m_; ++j) {
        addStatistic("stage_duration", stageName(j), sexCode(k),
                     r_.stageDurationBySex[at(k)][at(j)]);
      }
    }
  }

  void cumulativeDurations() {
    for (int j = 2; j <= m_; ++j) {
      addStatistic("cumulative_duration", stageName(j), "all", r_.cumDuration[at(j)],
                   entry(boot_.bootCumDuration, j), entry(boot_.bootCumValid, j));
    }
    for (int k = 1; k <= study_.sexCount; ++k) {
      for (int j = 2; j <= m_; ++j) {
        addStatistic("cumulative_duration", stageName(j), sexCode(k),
                     r_.cumDurationBySex[at(k)][at(j)]);
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

  void stageConsumption() {
    for (int j = 1; j <= m_; ++j) {
      addStatistic("stage_consumption", stageName(j), "all", r_.stageConsumption[at(j)],
                   entry(boot_.bootStageConsumption, j), entry(boot_.bootStageValid, j));
    }
    for (int k = 1; k <= study_.sexCount; ++k) {
      const auto* values = entry(boot_.bootStageConsumptionBySex, k);
      const auto* valid = entry(boot_.bootStageBySexValid, k);
      for (int j = 1; j <= m_; ++j) {
        addStatistic("stage_consumption", stageName(j), sexCode(k),
                     r_.stageConsumptionBySex[at(k)][at(j)],
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
      SummaryRow& row = add("daily_consumption", stage, "all", r_.stageDailyMeanConsumption[at(j)]);
      const auto* values = entry(boot_.bootStageDailyMean, j);
      if (values != nullptr) row.resampled = resampled(*values, entry(boot_.bootDailyMeanValid, j));
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
    const auto withReplicates = [&](SummaryRow& row, const std::vector<double>& values,
                                    const std::vector<double>& pseudoValues) {
      if (replicated) {
        row.resampled = resampled(values, &laid);
      } else if (jack_.done && jack_.withFecundity) {
        row.resampled = jackknifed(pseudoValues);
      }
    };
    withReplicates(add("R0", "", "all", table.R0), boot_.bootR0, jack_.pseudoR0);
    withReplicates(add("r", "", "all", growth ? std::optional(growth->r) : std::nullopt),
                   boot_.bootR, jack_.pseudoR);
    withReplicates(add("lambda", "", "all", growth ? std::optional(growth->lambda) : std::nullopt),
                   boot_.bootLambda, jack_.pseudoLambda);
    withReplicates(add("T", "", "all", growth ? std::optional(growth->T) : std::nullopt),
                   boot_.bootT, jack_.pseudoT);
    add("GRR", "", "all", table.GRR);
    withReplicates(
        add("Qp", "", "all", table.R0 > 0 ? std::optional(r_.C0ByCell / table.R0) : std::nullopt),
        boot_.bootQp, {});
    add("F", "", "F", table.F);
    const std::array<const char*, kFemalePeriodCount> periods = {
        "APOP", "TPOP", "oviposition_days", "oviposition_period", "post_oviposition_period"};
    for (std::size_t c = 0; c < periods.size(); ++c) {
      addStatistic(periods[c], "", "F", table.periods[c]);
    }
  }

  void predationRates() {
    if (!predation_.sasdDone) return;
    // Own samples without eggs have no replicate lambda, hence no replicate psi or omega.
    const bool replicated = bootstrapped() && boot_.replicatesHaveLifeTable();
    SummaryRow& psi = add("psi", "", "all", predation_.stablePredationRate);
    if (replicated) psi.resampled = resampled(boot_.bootPsi, &boot_.bootPsiValid);
    SummaryRow& omega = add("omega", "", "all", predation_.finitePredationRate);
    if (replicated) omega.resampled = resampled(boot_.bootFP, &boot_.bootPsiValid);
    if (predation_.intrinsicRateDefined) {
      add("ln_omega", "", "all", predation_.intrinsicPredationRate);
    }
  }

  // Which replicates reproduced (R0 not 0): only they have a Qp, r, lambda or T.
  [[nodiscard]] ReplicateValidity replicatesWithEggs() const {
    ReplicateValidity laid(at(boot_.bootCount) + 1, 0);
    for (int b = 1; b <= boot_.bootCount && at(b) < boot_.bootR0.size(); ++b) {
      laid[at(b)] = boot_.bootR0[at(b)] != 0 ? 1 : 0;
    }
    return laid;
  }

  void sameSampleFigures() {
    if (!bootstrapped() || !boot_.sameSamples) return;
    const ReplicateValidity hasR0 = replicatesWithEggs();
    add("Qp", "", "all", boot_.Qp).resampled = resampled(boot_.bootQp, &hasR0);
    add("R0", "", "all", boot_.lifeTable.R0).resampled = resampled(boot_.bootR0, nullptr);
    add("lambda", "", "all", boot_.lifeTable.lifeTableLambda).resampled =
        resampled(boot_.bootLambda, nullptr);
  }

  const StudyData& study_;
  const BasicRunResults& r_;
  const PredationState& predation_;
  const std::optional<FecundityLifeTable>& lifeTable_;
  const BootstrapState& boot_;
  const JackknifeState& jack_;
  double confidence_;
  int m_;
  std::vector<SummaryRow> rows_;
  std::vector<double> scratch_;
};

// A text cell, in double quotes when it holds a comma, a quote or a line break.
void textCell(ReportWriter& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.text(text);
    return;
  }
  out.text("\"");
  for (std::size_t start = 0;;) {
    const std::size_t quote = text.find('"', start);
    out.text(text.substr(start, quote - start));
    if (quote == std::string_view::npos) break;
    out.text("\"\"");
    start = quote + 1;
  }
  out.text("\"");
}

void numberCell(ReportWriter& out, std::optional<double> value) {
  out.text(",");
  if (value && std::isfinite(*value)) out.roundTrip(*value);
}

ReportWriter summaryText(const std::vector<SummaryRow>& rows) {
  ReportWriter out;
  out.text("quantity,stage,sex,estimate,boot_mean,se,ci_low,ci_high,replicates").endLine();
  for (const SummaryRow& row : rows) {
    textCell(out, row.quantity);
    out.text(",");
    textCell(out, row.stage);
    out.text(",");
    textCell(out, row.sex);
    numberCell(out, row.estimate);
    const auto& resampled = row.resampled;
    numberCell(out, resampled ? std::optional(resampled->mean) : std::nullopt);
    numberCell(out, resampled ? resampled->se : std::nullopt);
    numberCell(out, resampled ? std::optional(resampled->low) : std::nullopt);
    numberCell(out, resampled ? std::optional(resampled->high) : std::nullopt);
    out.text(",");
    if (resampled) out.digits(static_cast<double>(resampled->count));
    out.endLine();
  }
  return out;
}

}  // namespace

std::vector<SummaryRow> summarizeResults(const Session& session, double confidence) {
  if (!session.basic.basicRunDone) return {};
  return SummaryBuilder(session, confidence).build();
}

std::string summaryCsv(const std::vector<SummaryRow>& rows) { return summaryText(rows).contents(); }

void writeSummaryFile(const std::vector<SummaryRow>& rows, OutputFiles& files) {
  files.save("_summary.csv", summaryText(rows));
}

}  // namespace pellmar
