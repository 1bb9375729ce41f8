#include "core/resampling/bootstrap_frequency.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "core/numeric/statistic.h"
#include "core/report/number_format.h"

namespace pellmar {
namespace {

constexpr int kWrittenClasses = 22;
constexpr int kCurveSteps = 200;
// The width of the curve on either side of its centre, in standard errors.
constexpr double kCurveHalfWidth = 3.5;
// The constant under the square root of the density's factor (2 pi to six figures).
constexpr double kTwoPi = 6.28318;

// One curve: 201 points from the centre - 3.5 SE to the centre + 3.5 SE.
void writeNormalDensityCurve(const BootstrapReport& report, OutputFiles& files,
                             const std::string& label, double mean, double se) {
  const Study& study = report.study;
  const BootstrapResults& boot = report.bootstrap;
  const double first = mean - kCurveHalfWidth * se;
  const double last = mean + kCurveHalfWidth * se;
  const double step = (last - first) / kCurveSteps;
  const double factor = 1 / (se * std::sqrt(kTwoPi));
  const auto count = static_cast<double>(boot.bootCount);

  ReportWriter out;
  out.writeLine({study.projectTitle});
  out.writeLine({study.userName});
  out.writeLine({study.studyDate});
  out.writeLine({"Bootstrap number =", count});
  out.writeLine({"Mean of " + label + ":", mean, "SE:", se});
  out.writeLine({"Total number of effective bootstrap =", count});
  out.writeLine({"Bootstrap sample size =", static_cast<double>(boot.bootSampleSize)});
  out.writeLine({"i", label, "density"});
  for (int i = 0; i <= kCurveSteps; ++i) {
    const double x = first + i * step;
    const double z = (x - mean) / se;
    out.writeLine({static_cast<double>(i), x, factor * std::exp(-0.5 * z * z)});
  }
  files.save("_22_Bootstrap-" + label + "-Normal density.txt", out);
}

ReplicateSummary summaryAt(const std::vector<ReplicateSummary>& summaries, int j) {
  return j >= 0 && j < static_cast<int>(summaries.size()) ? summaries[static_cast<std::size_t>(j)]
                                                          : ReplicateSummary{};
}

}  // namespace

void writeBootstrapFrequencyFile(const BootstrapReport& report, OutputFiles& files) {
  const Study& study = report.study;
  const BootstrapResults& boot = report.bootstrap;
  const FrequencyClasses& classes = boot.c0Classes;
  const auto count = static_cast<double>(boot.bootCount);
  int frequencySum = 0;
  for (int i = 0; i < kWrittenClasses; ++i)
    frequencySum += classes.freq[static_cast<std::size_t>(i)];

  ReportWriter out;
  out.writeLine({"Project: " + study.projectTitle});
  out.writeLine({"User: " + study.userName});
  out.writeLine({"Date: " + study.studyDate});
  out.writeLine({"Bootstrap number =" + formatInteger(boot.bootCount)});
  out.writeLine({"Bootstrap sample size =" + formatInteger(boot.bootSampleSize)});
  out.writeLine({"Total number of effective bootstrap =" + formatInteger(boot.bootCount)});
  out.writeLine({"Net predation rate (Co)"});
  out.writeLine({"Max of boot-Co =", classes.maxValue, ".  Min of boot-Co =", classes.minValue});
  out.writeLine({"Sum of frequency of Co =", static_cast<double>(frequencySum)});
  out.writeLine({count});
  out.writeLine({"Class begin", "Class center", "Frequency"});
  for (std::size_t i = 0; i < kWrittenClasses; ++i) {
    out.writeLine(
        {classes.classBegin[i], classes.classCenter[i], static_cast<double>(classes.freq[i])});
  }
  files.save("_9_Bootstrap-Co frequency.txt", out);
}

void writeNormalDensityCurves(const BootstrapReport& report, OutputFiles& files) {
  const Study& study = report.study;
  const BasicRunResults& r = report.basic;
  const BootstrapResults& boot = report.bootstrap;
  const int m = study.stageCount;

  const auto stageCurve = [&](const std::string& label, double mean, double se) {
    if (se != 0 && mean != 0) writeNormalDensityCurve(report, files, label, mean, se);
  };
  for (int j = 1; j <= m; ++j) {
    const std::string number = formatInteger(j);
    const double mean = statisticAt(r.stageConsumption, j).mean;
    const double se = summaryAt(boot.stageConsumption, j).se;
    if (j < m) {
      stageCurve(number + "-" + study.name(1, j), mean, se);
      continue;
    }
    stageCurve(number + "-Adult", mean, se);
    if (mean == 0) continue;
    const char* const sexLabels[] = {"", "-Female Adult", "-Male Adult"};
    for (int k = 1; k <= 2; ++k) {
      const auto at = static_cast<std::size_t>(k);
      const double sexMean = at < r.stageConsumptionBySex.size()
                                 ? statisticAt(r.stageConsumptionBySex[at], j).mean
                                 : 0.0;
      const double sexSe = at < boot.stageConsumptionBySex.size()
                               ? summaryAt(boot.stageConsumptionBySex[at], j).se
                               : 0.0;
      stageCurve(number + sexLabels[k], sexMean, sexSe);
    }
  }

  const auto curve = [&](const std::string& label, double mean, double se) {
    if (se != 0) writeNormalDensityCurve(report, files, label, mean, se);
  };
  curve("C0", r.C0ByCell, boot.c0.se);
  if (boot.lifeTable.R0 != 0) curve("Qp", boot.Qp, boot.qp.se);
  curve("Stable Predation Rate", report.stablePredationRate(), boot.psi.se);
  curve("Finite Predation Rate", report.finitePredationRate(), boot.fp.se);
}

}  // namespace pellmar
