#include "core/analysis/age_curves.h"

#include "core/analysis/age_stage_tables.h"
#include "core/analysis/stage_consumption_tables.h"
#include "core/data/table_index.h"
#include "core/report/number_format.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

// The table of one age-stage matrix in the basic report, its values taken from `valueAt`.
template <typename ValueAt>
void writeMatrix(const Study& study, const BasicRunResults& basic, ReportPages& pages,
                 const TableTexts& texts, ValueAt valueAt) {
  const BasicRunResults& r = basic;
  const int m = study.stageCount;
  AgeStageMatrix values(r.N.rows(), m + 2);
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    for (int j = 1; j <= m + 1; ++j) values(x, j) = valueAt(x, j);
  }
  writeAgeStageMatrixTable(study, basic, pages, texts, values);
}

void printTableT(const Study& study, const BasicRunResults& basic, ReportPages& pages) {
  const BasicRunResults& r = basic;
  ReportWriter& out = pages.out;
  const int m = study.stageCount;
  writeMatrix(study, basic, pages,
              {" Age-stage-specific total consumption (Matrix T)",
               " T(x,j) is the total consumption of all individuals at age unit "
               "[=n(x,j)*c(x,j)]",
               ""},
              [&](int x, int j) { return study.T.at(x, j); });
  writeStageNameHeading(study, out);
  out.text(" Sum");
  for (int j = 1; j <= m + 1; ++j) {
    out.tab((j - 1) * 11 + 7).number(r.stageTotalConsumption[at(j)]);
  }
  out.endLine();
  out.line(" ");
  const int ruleLength = (m + 1) * 10 + 10;
  out.text(" ").repeat('=', ruleLength).endLine();
  out.text(" Total cohort consumption =").number(r.cohortConsumption).endLine();
  out.text(" ").repeat('=', ruleLength).endLine();
  out.endLine();
}

void printAgeSpecificTable(const Study& study, const BasicRunResults& basic, ReportPages& pages) {
  const BasicRunResults& r = basic;
  ReportWriter& out = pages.out;
  const int n = study.individualCount;

  out.pageMark();
  writePageLine(out, pages.counters, 70);
  ++pages.counters.tableCounter;
  writeTableTitle(out, pages.counters.tableCounter,
                  ". Age-specific survival rate l(X) and consumption rate ", false);
  writeRule(out, '=', 63);
  out.tab(5).text(" Age    l(x)     k(x)         q(x)     Total cohort consumption").endLine();
  writeRule(out, '-', 63);
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    const double k = r.k[at(x)];
    const double q = r.q[at(x)];
    const double total = r.ageTotalConsumption[at(x)];
    out.tab(5).number(x * study.timeUnit).tab(12).rounded(r.l[at(x)], 3);
    if (k > 0) {
      out.tab(21).rounded(k, 4);
    } else {
      out.tab(22).text("0");
    }
    if (q > 0) {
      out.tab(34).rounded(q, 4);
    } else {
      out.tab(35).text("0");
    }
    out.tab(50).rounded(total, total <= 100000 ? 4 : 2);
  }
  out.tab(5).repeat('-', 63).endLine();

  // With nobody eating there is no mean rate of effective consumers; the ratios print 0.
  const double cbar = r.meanRateCbar;
  const double C0 = r.C0ByAge;
  out.tab(5).text("The net consumption rate (Co) is").rounded(C0, 3).text(".").endLine();
  out.tab(5).text("The total number of individuals used in this study: N =").number(n).endLine();
  out.tab(5).text("The total consumption of the cohort Co * N =").rounded(n * C0, 2).endLine();
  out.tab(5)
      .text("The total number of effective predator (Nc or Np) =")
      .number(r.effectiveCountNc)
      .endLine();
  out.tab(5)
      .text("The mean predation rate of effective predator (Cbar or Pbar) =")
      .rounded(cbar, 2)
      .endLine();
  out.tab(5)
      .text("The total consumption of the cohort is Nc*Cbar or Np*Pbar =")
      .rounded(r.effectiveCountNc * cbar, 2)
      .endLine();
  out.tab(5)
      .text("Nc/N or Np/N =")
      .rounded(static_cast<double>(r.effectiveCountNc) / n, 4)
      .endLine();
  out.tab(5).text("Co/(Cbar) or Po/(Pbar) =").rounded(cbar != 0 ? C0 / cbar : 0.0, 4).endLine();
  out.tab(5).text("Nc or Np: the number of individuals with predation rate > 0.").endLine();
  out.tab(5).repeat('*', 79).endLine();
  out.tab(5)
      .text("The consistent relationships Co*N = Nc * Cbar and Nc/N = Co/Cbar demonstrate")
      .endLine();
  out.tab(5)
      .text("the correctness of predation theory based on the age-stage, two-sex life table.")
      .endLine();
  out.tab(5).repeat('*', 79).endLine();
}

}  // namespace

void computeAgeCurves(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int m = study.stageCount;
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    double l = 0.0;
    for (int j = 1; j <= m + 1; ++j) l += r.S(x, j);
    r.l[at(x)] = l;
  }
  r.C0ByAge = 0.0;
  r.C0ByCell = 0.0;
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    double q = 0.0;
    for (int j = 1; j <= m + 1; ++j) {
      const double b = r.C(x, j) * r.S(x, j);
      q += b;
      r.z[at(j)] += b;
      r.C0ByCell += b;
    }
    r.q[at(x)] = q;
    r.cumulativeQ[at(x)] = x == 0 ? q : r.cumulativeQ[at(x - 1)] + q;
    r.C0ByAge += q;
    r.k[at(x)] = r.l[at(x)] > 0 ? q / r.l[at(x)] : 0.0;
  }
  for (int j = 1; j <= m + 1; ++j) {
    if (r.s[at(j)] != 0) r.zsDailyMean[at(j)] = r.z[at(j)] / r.s[at(j)];
  }
  for (int j = 1; j <= m + 1; ++j) r.stageTotalConsumption[at(j)] = 0.0;
  r.cohortConsumption = 0.0;
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    double total = 0.0;
    for (int j = 1; j <= m + 1; ++j) {
      total += study.T.at(x, j);
      r.stageTotalConsumption[at(j)] += study.T.at(x, j);
    }
    r.ageTotalConsumption[at(x)] = total;
    r.cohortConsumption += total;
  }
}

void writeAgeStageTables(const Study& study, const BasicRunResults& basic, ReportPages& pages) {
  const BasicRunResults& r = basic;
  const int n = study.individualCount;
  writeMatrix(study, basic, pages,
              {" Age-stage-specific survival - Actual number (matrix N)",
               " (The survival number n(x,j) at each age-stage unit)",
               " Attention!  This matrix N should be exactly the same as CORVANE output."},
              [&](int x, int j) { return static_cast<double>(r.N(x, j)); });
  writeMatrix(study, basic, pages,
              {" Age-stage-specific consumption rate (Matrix C)",
               " (Mean consumption rate at each age-stage unit)", " C(x,j) = T(x,j)/N(x,j)"},
              [&](int x, int j) { return r.C(x, j); });
  writeMatrix(
      study, basic, pages,
      {" Age-stage-specific net consumption rate (Matrix B)", " B(x,j) = S(x,j)*C(x,j)", " "},
      [&](int x, int j) { return r.C(x, j) * r.S(x, j); });
  pages.out.text(" Sum of matrix B =")
      .number(r.C0ByCell)
      .text(" (It is the net predation rate or net consumption rate.)")
      .endLine();

  writeStageNetConsumptionTable(study, basic, pages);
  writeStageSurvivalSumTable(study, basic, pages);
  writeStageDailyMeanRateTable(study, basic, pages);
  printTableT(study, basic, pages);
  writeMatrix(
      study, basic, pages,
      {" Age-stage-survival rate (Matrix S)", " S(x,j) = N(x,j)/" + formatNumberForm(n), ""},
      [&](int x, int j) { return r.S(x, j); });
  printAgeSpecificTable(study, basic, pages);
}

}  // namespace pellmar
