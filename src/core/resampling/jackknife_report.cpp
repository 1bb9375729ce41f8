#include "core/resampling/jackknife_report.h"

#include <cstddef>

#include "core/report/number_format.h"
#include "core/resampling/replicate_summary.h"
#include "core/resampling/resampling_page_header.h"

namespace pellmar {
namespace {

constexpr int kWrittenClasses = 22;
// A class begin this small is written as 0.
constexpr double kSmallestClassBegin = 0.000001;
// A variance above this is printed as a whole number.
constexpr double kLargeVariance = 1e6;

}  // namespace

void writeJackknifeTable(const JackknifeReport& report, ReportPages& pages) {
  ReportWriter& out = pages.out;
  const JackknifeResults& jack = report.jackknife;
  const int n = jack.fullCount;
  constexpr int kRuleLength = 42;
  const auto rule = [&](char character) { out.tab(5).repeat(character, kRuleLength).endLine(); };
  writeResamplingPageHeader(report.study, pages, ". Table of Jackknife pseudo-values");
  rule('=');
  out.tab(5).text("Omitted no.").tab(20).text("Pseudo-net predation rate").endLine();
  rule('-');
  for (int i = 1; i <= n; ++i) {
    out.tab(5).number(i).tab(30).rounded(replicateValue(jack.jackknifePseudoC0, i), 2).endLine();
  }
  rule('-');
  out.tab(5).text("Mean").tab(30).rounded(jack.jackMean, 2).endLine();
  out.tab(5).text("Variance").tab(30);
  out.rounded(jack.jackVariance, jack.jackVariance > kLargeVariance ? 0 : 2).endLine();
  out.tab(5).text("S.D.").tab(30).rounded(jack.jackSD, 2).endLine();
  out.tab(5).text("S.E.").tab(30).rounded(jack.jackSE, 2).endLine();
  rule('-');
  out.tab(5).text("Original").tab(30).rounded(report.basic.C0ByAge, 2).endLine();
  rule('-');
  out.line("    Original are the parameters calculated using all individuals.");
}

void writePseudoValueFile(const JackknifeReport& report, OutputFiles& files) {
  const Study& study = report.study;
  const JackknifeResults& jack = report.jackknife;
  ReportWriter out;
  out.writeLine({study.projectTitle});
  out.writeLine({study.studyDate});
  out.writeLine({study.userName});
  for (int i = 1; i <= jack.fullCount; ++i) {
    out.writeLine({static_cast<double>(i), replicateValue(jack.jackknifePseudoC0, i)});
  }
  files.save("_5_Pseudo_Consumption_Rate_For_t-test.txt", out);
}

void writeJackknifePseudoValuesFile(const JackknifeReport& report, OutputFiles& files) {
  const JackknifeResults& jack = report.jackknife;
  ReportWriter out;
  out.text("individual,C0");
  if (jack.withFecundity) out.text(",R0,r,lambda,T");
  out.endLine();
  const auto cell = [&](const std::vector<double>& values, int i) {
    out.text(",");
    if (!values.empty()) out.roundTrip(replicateValue(values, i));
  };
  for (int i = 1; i <= jack.fullCount; ++i) {
    out.digits(i);
    cell(jack.jackknifePseudoC0, i);
    if (jack.withFecundity) {
      for (const auto* values :
           {&jack.pseudoR0, &jack.pseudoR, &jack.pseudoLambda, &jack.pseudoT}) {
        cell(*values, i);
      }
    }
    out.endLine();
  }
  files.save("_jackknife_pseudo_values.csv", out);
}

void writeJackknifeFrequencyFile(const JackknifeReport& report, OutputFiles& files) {
  const Study& study = report.study;
  const JackknifeResults& jack = report.jackknife;
  const FrequencyClasses& classes = jack.classes;
  int frequencySum = 0;
  for (int c = 0; c < kWrittenClasses; ++c)
    frequencySum += classes.freq[static_cast<std::size_t>(c)];

  ReportWriter out;
  out.writeLine({"Project: " + study.projectTitle});
  out.writeLine({"User: " + study.userName});
  out.writeLine({"Date: " + study.studyDate});
  out.writeLine({"Total individual =" + formatInteger(jack.fullCount - 1)});
  out.writeLine({"Net reproductive rate (Co)"});
  out.writeLine(
      {"Max of pseudo-Co =", classes.maxValue, ".  Min of pseudo-Co =", classes.minValue});
  out.writeLine({"Sum of frequency of Co =", static_cast<double>(frequencySum)});
  out.writeLine({"Class begin", "Class center", "Frequency"});
  for (std::size_t c = 0; c < kWrittenClasses; ++c) {
    const double begin = classes.classBegin[c] < kSmallestClassBegin ? 0.0 : classes.classBegin[c];
    out.writeLine({begin, classes.classCenter[c], static_cast<double>(classes.freq[c])});
  }
  files.save("_9_Fig_Jackknife-Co frequency.txt", out);
}

}  // namespace pellmar
