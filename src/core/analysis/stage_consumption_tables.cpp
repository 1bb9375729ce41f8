#include "core/analysis/stage_consumption_tables.h"

#include <string>
#include <vector>

#include "core/analysis/age_stage_tables.h"
#include "core/data/stage_label.h"
#include "core/data/table_index.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

constexpr int kRuleLength = 62;

// One stage table: page start, title, stage heading, one line of values and a rule. A value
// whose zero test holds prints "   0"; the others are rounded to `decimals` places.
template <typename IsZero, typename ValueOf>
void printStageTable(const Study& study, ReportPages& pages, const std::string& title, int decimals,
                     IsZero isZero, ValueOf valueOf) {
  ReportWriter& out = pages.out;
  const int m = study.stageCount;
  printStageTablePageStart(pages);
  printStageTableTitle(pages, title);
  writeStageNameHeading(study, out);
  for (int j = 1; j <= m + 1; ++j) {
    if (isZero(j)) {
      out.tab((j - 1) * 11 + 5).text("   0");
    } else {
      out.tab((j - 1) * 11 + 7).rounded(valueOf(j), decimals);
    }
  }
  out.text(" ").endLine();
  out.text(" ").repeat('-', (m + 1) * 11 + 2).endLine();
}

// One row of a weighting table: count, daily rate and weighting coefficient.
struct WeightingRow {
  std::string stage;
  std::string sex;
  int count = 0;
  bool countIsZero = false;
  bool rateIsZero = false;
  double rate = 0.0;
};

void printWeightingTable(ReportPages& pages, const std::string& basis, double maxRate,
                         const std::string& maxStage, const std::vector<WeightingRow>& rows) {
  ReportWriter& out = pages.out;
  out.pageMark();
  writePageLine(out, pages.counters, 60);
  ++pages.counters.tableCounter;
  writeTableTitle(out, pages.counters.tableCounter,
                  ". Mean daily consumption rate and weighting coefficient", false);
  out.tab(15).text(basis).endLine();
  out.tab(15).text("(You can use them in OSTREL program for simulation)").endLine();
  out.endLine();
  out.tab(15).text("Max. daily consumption rate: ").text(maxStage).endLine();
  writeRule(out, '=', kRuleLength);
  out.tab(5).text("Stage         Sex      n     Daily mean  Weighting Coef.").endLine();
  out.tab(5).text("                                c(j)         w(j)       ").endLine();
  writeRule(out, '-', kRuleLength);
  for (const WeightingRow& row : rows) {
    out.tab(5).text(row.stage).tab(19).text(row.sex);
    if (row.countIsZero) {
      out.tab(27).text("0");
    } else {
      out.tab(27).number(row.count);
    }
    if (row.rateIsZero) {
      out.tab(34).text(" 0").tab(49).text(" 0");
    } else {
      // A table where no stage has a positive rate has no coefficient to give.
      const double coefficient = maxRate != 0 ? row.rate / maxRate : 0.0;
      out.tab(34).rounded(row.rate, 4).tab(49).rounded(coefficient, 4);
    }
    out.tab(61).text(" ").endLine();
  }
  writeRule(out, '-', kRuleLength);
}

const Statistic& bySex(const std::vector<std::vector<Statistic>>& table, int k, int j) {
  static const Statistic kNone;
  if (k >= static_cast<int>(table.size())) return kNone;
  return table[at(k)][at(j)];
}

}  // namespace

void writeStageNetConsumptionTable(const Study& study, const BasicRunResults& basic,
                                   ReportPages& pages) {
  const BasicRunResults& r = basic;
  printStageTable(
      study, pages, " Stage-specific net consumption rate z(j)", 4,
      [&](int j) { return r.z[at(j)] == 0; }, [&](int j) { return r.z[at(j)]; });
  pages.out.text(" Total net consumption rate =").number(r.C0ByCell).endLine();
}

void writeStageSurvivalSumTable(const Study& study, const BasicRunResults& basic,
                                ReportPages& pages) {
  const BasicRunResults& r = basic;
  printStageTable(
      study, pages, " s(j): Sum of s(x,j) of each stage", 4, [&](int j) { return r.s[at(j)] == 0; },
      [&](int j) { return r.s[at(j)]; });
}

void writeStageDailyMeanRateTable(const Study& study, const BasicRunResults& basic,
                                  ReportPages& pages) {
  const BasicRunResults& r = basic;
  printStageTable(
      study, pages, " Daily mean consumption rate based on z(j) and s(j)", 6,
      [&](int j) { return r.s[at(j)] == 0; }, [&](int j) { return r.zsDailyMean[at(j)]; });
}

void writeWeightingTableFromStageMeans(const Study& study, const BasicRunResults& basic,
                                       ReportPages& pages) {
  const BasicRunResults& r = basic;
  const int m = study.stageCount;

  std::vector<WeightingRow> rows;
  for (int j = 1; j <= m - 1; ++j) {
    const Statistic& stage = r.stageDuration[at(j)];
    rows.push_back({stageLabel(study, j), "All", stage.count, stage.count == 0, stage.mean == 0,
                    r.meansDailyMean[at(j)]});
  }
  for (int k = 1; k <= 2; ++k) {
    const Statistic& eaten = bySex(r.stageConsumptionBySex, k, m);
    const Statistic& days = bySex(r.stageDurationBySex, k, m);
    rows.push_back({"Adult", k == 1 ? "Female" : "Male", eaten.count, eaten.count == 0,
                    days.mean == 0, days.mean != 0 ? eaten.mean / days.mean : 0.0});
  }
  printWeightingTable(pages, "(Based on stage mean consumption rate and mean duration)",
                      r.meansMaxDailyMean, r.meansMaxDailyMeanStage, rows);

  ReportWriter& out = pages.out;
  out.tab(5).text("Sum[Sum[c(j)*s(x,j)]] =").rounded(r.meansCheckSum, 2).endLine();
  out.tab(5).text("If it is significantly different from the net predation rate, don't").endLine();
  out.tab(5).text("use these c(j) and w(j).").endLine();
  out.tab(5).text("This data show you the problem of \"unweighted\" means.").endLine();
}

void writeWeightingTableFromMatrices(const Study& study, const BasicRunResults& basic,
                                     ReportPages& pages) {
  const BasicRunResults& r = basic;
  const int m = study.stageCount;

  std::vector<WeightingRow> rows;
  for (int j = 1; j <= m - 1; ++j) {
    const int count = r.stageDuration[at(j)].count;
    rows.push_back(
        {stageLabel(study, j), "All", count, count == 0, count == 0, r.zsDailyMean[at(j)]});
  }
  for (int k = 1; k <= 2; ++k) {
    const int count = bySex(r.stageConsumptionBySex, k, m).count;
    rows.push_back({"Adult", k == 1 ? "Female" : "Male", count, count == 0, count == 0,
                    r.zsDailyMean[at(k == 1 ? m : m + 1)]});
  }
  printWeightingTable(pages, "(Based on matrix B and N, or Z and Sxj)", r.zsMaxDailyMean,
                      r.zsMaxDailyMeanStage, rows);
  pages.out.tab(5).text("Sum[Sum[c(j)*s(x,j)]] =").rounded(r.zsCheckSum, 4).endLine();
}

}  // namespace pellmar
