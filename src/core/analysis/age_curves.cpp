#include "core/analysis/age_curves.h"

#include "core/analysis/age_stage_tables.h"
#include "core/analysis/report/number_format.h"
#include "core/analysis/report/page_frame.h"
#include "core/analysis/stage_consumption_tables.h"

namespace pellmar {
namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// The first `count` characters of UTF-8 text (a multi-byte character counts once).
std::string firstCharacters(const std::string& text, int count) {
  std::size_t end = 0;
  for (int taken = 0; taken < count && end < text.size(); ++taken) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) ++end;
  }
  return text.substr(0, end);
}

void computeCurves(Session& session) {
  const StudyData& study = session.study;
  BasicRunResults& r = session.basic;
  const int m = study.stageCount;
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    double l = 0.0;
    for (int j = 1; j <= m + 1; ++j) l += r.S(x, j);
    r.l[at(x)] = l;
  }
  r.C0 = 0.0;
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    r.ageAxis[at(x)] = x;
    double q = 0.0;
    for (int j = 1; j <= m + 1; ++j) q += r.C(x, j) * r.S(x, j);
    r.q[at(x)] = q;
    r.cumulativeQ[at(x)] = x == 0 ? q : r.cumulativeQ[at(x - 1)] + q;
    r.C0 += q;
    r.k[at(x)] = r.l[at(x)] > 0 ? q / r.l[at(x)] : 0.0;
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

void printTableT(Session& session) {
  const StudyData& study = session.study;
  const BasicRunResults& r = session.basic;
  ReportWriter& out = session.basicReport;
  const int m = study.stageCount;
  AgeStageMatrix buffer(r.N.rows(), m + 2);
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    for (int j = 1; j <= m + 1; ++j) buffer(x, j) = study.T.at(x, j);
  }
  writeAgeStageMatrixTable(session,
                           {" Age-stage-specific total consumption (Matrix T)",
                            " T(x,j) is the total consumption of all individuals at age unit "
                            "[=n(x,j)*c(x,j)]",
                            ""},
                           buffer);
  writeStageNameHeading(session);
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

void printAgeSpecificTable(Session& session) {
  const StudyData& study = session.study;
  const BasicRunResults& r = session.basic;
  ReportWriter& out = session.basicReport;
  const int n = study.individualCount;

  out.pageMark();
  writePageLine(out, session.counters, 70);
  ++session.counters.tableCounter;
  writeTableTitle(out, session.counters.tableCounter,
                  ". Age-specific survival rate l(X) and consumption rate ", false);
  writeRule(out, '=', 63);
  out.tab(5).text(" Age    l(x)     k(x)         q(x)     Total cohort consumption").endLine();
  writeRule(out, '-', 63);
  double C0 = 0.0;
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
    C0 += q;
  }
  out.tab(5).repeat('-', 63).endLine();

  // With nobody eating there is no mean rate of effective consumers; the ratios print 0.
  const double cbar = r.meanRateCbar;
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

void cutStageNamesForTables(StudyData& study) {
  const int m = study.stageCount;
  auto& names = study.stageName[1];
  names[at(m)] = "Female";
  names[at(m + 1)] = "Male";
  for (int j = 1; j <= m + 1; ++j) names[at(j)] = firstCharacters(names[at(j)], 4);
}

void computeAgeCurvesAndWriteTables(Session& session) {
  StudyData& study = session.study;
  BasicRunResults& r = session.basic;
  const int m = study.stageCount;
  const int n = study.individualCount;

  cutStageNamesForTables(study);
  computeCurves(session);

  AgeStageMatrix buffer(r.N.rows(), m + 2);
  const auto fill = [&](auto valueAt) {
    for (int x = 0; x <= r.maxAgeIndex; ++x) {
      for (int j = 1; j <= m + 1; ++j) buffer(x, j) = valueAt(x, j);
    }
  };

  fill([&](int x, int j) { return static_cast<double>(r.N(x, j)); });
  writeAgeStageMatrixTable(
      session,
      {" Age-stage-specific survival - Actual number (matrix N)",
       " (The survival number n(x,j) at each age-stage unit)",
       " Attention!  This matrix N should be exactly the same as CORVANE output."},
      buffer);
  fill([&](int x, int j) { return r.C(x, j); });
  writeAgeStageMatrixTable(
      session,
      {" Age-stage-specific consumption rate (Matrix C)",
       " (Mean consumption rate at each age-stage unit)", " C(x,j) = T(x,j)/N(x,j)"},
      buffer);
  double sumOfB = 0.0;
  fill([&](int x, int j) {
    const double b = r.C(x, j) * r.S(x, j);
    sumOfB += b;
    r.z[at(j)] += b;
    r.sumB += b;
    return b;
  });
  writeAgeStageMatrixTable(
      session,
      {" Age-stage-specific net consumption rate (Matrix B)", " B(x,j) = S(x,j)*C(x,j)", " "},
      buffer);
  session.basicReport.text(" Sum of matrix B =")
      .number(sumOfB)
      .text(" (It is the net predation rate or net consumption rate.)")
      .endLine();

  writeStageNetConsumptionTable(session);
  writeStageSurvivalSumTable(session);
  writeStageDailyMeanRateTable(session);
  printTableT(session);

  fill([&](int x, int j) { return r.S(x, j); });
  writeAgeStageMatrixTable(
      session,
      {" Age-stage-survival rate (Matrix S)", " S(x,j) = N(x,j)/" + formatNumberForm(n), ""},
      buffer);
  printAgeSpecificTable(session);
}

void recomputeNetConsumptionRate(Session& session, int jackknifeIndex) {
  const int m = session.study.stageCount;
  BasicRunResults& r = session.basic;
  double C0 = 0.0;
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    r.ageAxis[at(x)] = x;
    double q = 0.0;
    for (int j = 1; j <= m + 1; ++j) q += r.C(x, j) * r.S(x, j);
    r.q[at(x)] = q;
    r.k[at(x)] = r.l[at(x)] > 0 ? q / r.l[at(x)] : 0.0;
    C0 += q;
  }
  r.C0 = C0;
  if (jackknifeIndex <= 0) {
    r.fullC0 = C0;
    return;
  }
  const auto i = at(jackknifeIndex);
  const int n = session.study.individualCount;
  r.jackknifeC0[i] = C0;
  r.jackknifePseudoC0[i] = n * r.fullC0 - (n - 1) * C0;
}

}  // namespace pellmar
