#include "core/predation/finite_predation_rate_file.h"

#include <array>
#include <cstddef>

#include "core/report/number_format.h"

namespace pellmar {
namespace {

constexpr std::array<int, 6> kPeriodColumns = {10, 20, 35, 45, 55, 65};
constexpr int kRuleLength = 80;

void writeRuleLine(ReportWriter& out, char character) {
  out.repeat(character, kRuleLength).endLine();
}

// A statistics row of the period table: the label and one figure of each period column.
template <typename Figure>
void writeStatisticsRow(ReportWriter& out, const PredationRates& predation, const char* label,
                        Figure figure) {
  out.text(label);
  for (std::size_t c = 0; c < kPeriodColumns.size(); ++c) {
    const Statistic statistic =
        c < predation.periodStatistics.size() ? predation.periodStatistics[c] : Statistic{};
    out.tab(kPeriodColumns[c]);
    figure(statistic);
  }
  out.endLine();
}

}  // namespace

void writeFinitePredationRateFile(const Study& study, const PredationRates& predation,
                                  OutputFiles& files) {
  ReportWriter out;
  out.writeLine({study.projectTitle});
  out.writeLine({study.studyDate});
  out.writeLine({study.userName});
  out.text("Finite rate =").number(predation.timeUnitRate).endLine();
  out.text("Psi =").number(predation.stablePredationRate).endLine();
  out.text("Finite Predation Rate =").number(predation.finitePredationRate).endLine();
  out.text("Intrinsic Predation Rate =");
  if (predation.intrinsicRateDefined) out.number(predation.intrinsicPredationRate);
  out.endLine();
  out.endLine();
  writeRuleLine(out, '=');
  out.text("Ind.").tab(10).text("TPOP").tab(20).text("TPOPCon").tab(35).text("OviP");
  out.tab(45).text("OviCon").tab(55).text("PostP").tab(65).text("PostCon").endLine();
  writeRuleLine(out, '-');

  for (int i = 1; i <= study.individualCount; ++i) {
    if (i >= static_cast<int>(predation.females.size())) break;
    const FemaleRecord& female = predation.females[static_cast<std::size_t>(i)];
    if (study.individual(i).sex != "F" || female.inclusionValue == 0) continue;
    out.number(i);
    out.tab(10).number(female.tpop);
    out.tab(20).number(female.tpopConsumption);
    out.tab(35).number(female.lastOvipositionAge - female.tpop + 1);
    out.tab(45).number(female.ovipositionConsumption);
    out.tab(55).number(female.postOvipositionPeriod);
    out.tab(65).number(female.postOvipositionConsumption);
    out.endLine();
  }

  writeRuleLine(out, '-');
  writeStatisticsRow(out, predation, "n",
                     [&](const Statistic&) { out.number(predation.femaleCount); });
  writeRuleLine(out, '-');
  writeStatisticsRow(out, predation, "Mean", [&](const Statistic& s) { out.rounded(s.mean, 2); });
  writeRuleLine(out, '-');
  writeStatisticsRow(out, predation, "SD", [&](const Statistic& s) { out.rounded(s.sd, 2); });
  writeRuleLine(out, '-');
  writeStatisticsRow(out, predation, "SE", [&](const Statistic& s) { out.rounded(s.se, 2); });
  writeRuleLine(out, '-');
  out.line("TPOP: total preoviposition period.");
  out.line("TPOPCon: Total consumption during TPOP.");
  out.line("OviP: Oviposition period.");
  out.line("OviCon: Total consumption during oviposition period.");
  out.line("PostP: Post oviposition period.");
  out.line("PostCon: Total consumption during post oviposition period.");
  files.save("_0_Output_Finite_Predation_Rate_omega.txt", out);
}

std::string finitePredationRateMessage(const PredationRates& predation, double timeUnit) {
  std::string text = "Psi =" + formatDigits(predation.stablePredationRate) +
                     ".  Finite predation rate =" + formatDigits(predation.finitePredationRate);
  if (timeUnit != 1) {
    text += "\n(prey per individual per time unit of " + formatDigits(timeUnit) + " days)";
  }
  return text;
}

}  // namespace pellmar
