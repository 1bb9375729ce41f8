#include "core/predation/life_table_report.h"

#include <array>
#include <optional>

#include "core/report/number_format.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

// A value column shows a number item; "-" stands in its sign position when there is none.
void valueOrDash(ReportWriter& out, int column, std::optional<double> value) {
  if (value) {
    out.tab(column).number(*value);
  } else {
    out.tab(column + 1).text("-");
  }
}

void writeAgeTable(ReportWriter& out, const FecundityLifeTable& table) {
  constexpr int kRule = 52;
  writeTableTitle(out, 1, ". Age-specific survival rate l(x), fecundity f(x) and maternity m(x)",
                  false);
  writeRule(out, '=', kRule);
  out.tab(5).text(" Age").tab(14).text(" l(x)").tab(24).text(" f(x)").tab(34).text(" m(x)");
  out.tab(44).text(" l(x)m(x)").endLine();
  writeRule(out, '-', kRule);
  for (int x = 0; x <= table.maxAgeIndex; ++x) {
    const auto xi = static_cast<std::size_t>(x);
    out.tab(5).number(x * table.timeUnit);
    out.tab(14).rounded(table.l[xi], 4);
    out.tab(24).rounded(table.f[xi], 4);
    out.tab(34).rounded(table.m[xi], 4);
    out.tab(44).rounded(table.lm[xi], 4);
    out.endLine();
  }
  writeRule(out, '-', kRule);
  out.tab(5).text("f(x): mean eggs per female adult alive at age x.").endLine();
  out.tab(5).text("m(x): mean eggs per individual alive at age x.").endLine();
  out.tab(5).text("l(x)m(x): eggs laid at age x per individual of the cohort.").endLine();
  writeBlankLines(out, 1);
}

void writeParameterTable(ReportWriter& out, const FecundityLifeTable& table) {
  constexpr int kRule = 72;
  writeTableTitle(out, 2, ". Population parameters", false);
  writeRule(out, '=', kRule);
  const auto& growth = table.growth;
  const auto row = [&](const char* symbol, const char* meaning, std::optional<double> value) {
    out.tab(5).text(" ").text(symbol).tab(14).text(meaning);
    valueOrDash(out, 59, value);
    out.endLine();
  };
  row("R0", "Net reproductive rate (offspring/individual)", table.R0);
  row("r", "Intrinsic rate of increase (1/day)", growth ? std::optional(growth->r) : std::nullopt);
  row("lambda", "Finite rate of increase (1/day)",
      growth ? std::optional(growth->lambda) : std::nullopt);
  row("T", "Mean generation time (days)", growth ? std::optional(growth->T) : std::nullopt);
  row("GRR", "Gross reproductive rate (offspring)", table.GRR);
  row("F", "Fecundity (eggs/female)", table.F);
  writeRule(out, '=', kRule);
  out.tab(5).text("N =").number(table.individualCount).text("individuals, of which");
  out.number(table.femaleCount).text("females;").number(table.periods[kAPOP].count);
  out.text("females laid eggs.").endLine();
  if (!growth) {
    out.tab(5).text("No female laid eggs: r, lambda and T are not defined, and there is no");
    out.endLine();
    out.tab(5).text("stable age-stage distribution.").endLine();
  }
  writeBlankLines(out, 1);
}

void writePeriodTable(ReportWriter& out, const FecundityLifeTable& table) {
  constexpr int kRule = 68;
  constexpr std::array<const char*, kFemalePeriodCount> kNames = {
      "APOP", "TPOP", "Oviposition days", "Oviposition period", "Post-oviposition period"};
  writeTableTitle(out, 3, ". Female periods (days) of the females that laid eggs", false);
  writeRule(out, '=', kRule);
  out.tab(5).text(" Period").tab(34).text(" n").tab(44).text(" Mean").tab(54).text(" SD");
  out.tab(64).text(" SE").endLine();
  writeRule(out, '-', kRule);
  for (std::size_t c = 0; c < kNames.size(); ++c) {
    const Statistic& s = table.periods[c];
    const auto shown = [&](double value, int least) {
      return s.count >= least ? std::optional(roundToDecimals(value, 2)) : std::nullopt;
    };
    out.tab(5).text(" ").text(kNames[c]).tab(34).number(s.count);
    valueOrDash(out, 44, shown(s.mean, 1));
    valueOrDash(out, 54, shown(s.sd, 2));
    valueOrDash(out, 64, shown(s.se, 2));
    out.endLine();
  }
  writeRule(out, '-', kRule);
  out.tab(5).text("APOP: adult preoviposition period; TPOP: total preoviposition period,");
  out.endLine();
  out.tab(5).text("from birth; Oviposition days: days with eggs; Oviposition period: first to");
  out.endLine();
  out.tab(5).text("last day with eggs; Post-oviposition period: from then to death.").endLine();
}

}  // namespace

ReportWriter lifeTableReport(const Study& study, const FecundityLifeTable& table) {
  ReportWriter out;
  out.tab(5).text("Two-sex life table with fecundity").endLine();
  writeStudyLines(out, study);
  writeBlankLines(out, 1);
  writeAgeTable(out, table);
  writeParameterTable(out, table);
  writePeriodTable(out, table);
  return out;
}

}  // namespace pellmar
