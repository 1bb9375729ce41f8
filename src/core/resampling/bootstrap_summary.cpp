#include "core/resampling/bootstrap_summary.h"

#include <array>
#include <cstddef>

#include "core/report/number_format.h"
#include "core/resampling/replicate_summary.h"
#include "core/resampling/resampling_page_header.h"

namespace pellmar {
namespace {

// Classes counted into: 0 .. 21 (class 20 takes the maximum, 21 stays empty).
constexpr int kLastClassBound = 22;

// The summary of the replicate C0 values, their minimum and maximum and their frequency
// classes: 20 classes of equal width from the minimum, a class holding [begin, next begin). A
// C0 of 0 is not counted.
void summarizeC0(BootstrapResults& boot) {
  boot.c0 = summarizeReplicates(boot.bootC0, boot.bootCount);
  const auto lastBound = static_cast<int>(boot.c0Classes.classBegin.size()) - 1;
  boot.c0Classes = frequencyClasses(boot.bootC0, boot.bootCount, lastBound, kLastClassBound, true);
}

// Rounded to `decimals`, or to `largeDecimals` when the value exceeds `limit`.
int decimalsFor(double value, double limit, int largeDecimals, int decimals) {
  return value > limit ? largeDecimals : decimals;
}

// Own samples: every replicate's C0 with their summary and the cohort's C0.
void writeOwnSamplesTable(const BootstrapReport& report, ReportPages& pages) {
  ReportWriter& out = pages.out;
  const BootstrapResults& boot = report.bootstrap;
  constexpr int kRuleLength = 37;
  const auto rule = [&](char character) { out.tab(5).repeat(character, kRuleLength).endLine(); };
  writeResamplingPageHeader(report.study, pages, ". Table of bootstrap samples");
  rule('=');
  out.tab(5).text("Bootstrap no.").tab(22).text("Net consumption rate").endLine();
  rule('-');
  for (int b = 1; b <= boot.bootCount; ++b) {
    out.tab(5).number(b).tab(26).rounded(replicateValue(boot.bootC0, b), 4).endLine();
  }
  rule('-');
  out.tab(5).text("Mean").tab(26).rounded(boot.c0.mean, 4).endLine();
  out.tab(5).text("Variance").tab(26);
  out.rounded(boot.c0.variance, decimalsFor(boot.c0.variance, 10000, 2, 4)).endLine();
  out.tab(5).text("S.E.").tab(26).rounded(boot.c0.se, 4).endLine();
  rule('-');
  out.tab(5).text("Original").tab(26).rounded(report.basic.C0ByCell, 4).endLine();
  rule('-');
  out.line("    Original is the parameter calculated using all individuals.");
  out.line("    ===================================================================");
  out.line("    If you don't use the same bootstrap samples of life table analysis,");
  out.line("    you cannot estimate the standard errors of Qp.");
  out.line("    ===================================================================");
}

// The six columns of the same-samples table: C0, R0, Qp, psi, FP and lambda.
using SixValues = std::array<double, 6>;
using SixDecimals = std::array<int, 6>;
constexpr std::array<int, 6> kValueColumns = {15, 27, 37, 50, 60, 70};
constexpr SixDecimals kValueDecimals = {4, 4, 4, 4, 4, 6};

void writeSixValues(ReportWriter& out, const SixValues& values, const SixDecimals& decimals) {
  for (std::size_t c = 0; c < values.size(); ++c) {
    out.tab(kValueColumns[c]).rounded(values[c], decimals[c]);
  }
  out.endLine();
}

void writeSameSamplesHeads(ReportWriter& out) {
  out.tab(18).text("Co").tab(30).text("Ro").tab(40).text("Qp").tab(50).text(" Psi");
  out.tab(60).text(" FP (FC)").tab(73).text("lambda").endLine();
}

// Same samples: the six parameters of the cohort, their summaries and every replicate's.
void writeSameSamplesTable(const BootstrapReport& report, ReportPages& pages) {
  ReportWriter& out = pages.out;
  const BootstrapResults& boot = report.bootstrap;
  const LifeTableFigures& lifeTable = boot.lifeTable;
  const double originalC0 = report.basic.C0ByCell;
  constexpr int kRuleLength = 75;
  const auto rule = [&](char character) { out.tab(5).repeat(character, kRuleLength).endLine(); };

  writeResamplingPageHeader(report.study, pages, ". Table of bootstrap samples");
  rule('=');
  writeSameSamplesHeads(out);
  rule('-');
  out.tab(5).text("Original");
  writeSixValues(out,
                 {originalC0, lifeTable.R0, boot.Qp, report.stablePredationRate(),
                  report.finitePredationRate(), lifeTable.lifeTableLambda},
                 kValueDecimals);
  rule('-');
  out.tab(5).text("Mean");
  writeSixValues(out,
                 {boot.c0.mean, lifeTable.lifeTableR0Mean, boot.qp.mean, boot.psi.mean,
                  boot.fp.mean, lifeTable.lifeTableLambdaMean},
                 kValueDecimals);
  const auto largeVariance = [](double variance) { return decimalsFor(variance, 10000, 2, 4); };
  out.tab(5).text("Variance");
  writeSixValues(
      out,
      {boot.c0.variance, lifeTable.lifeTableR0Variance, boot.qp.variance, boot.psi.variance,
       boot.fp.variance, lifeTable.lifeTableLambdaVariance},
      {largeVariance(boot.c0.variance), decimalsFor(lifeTable.lifeTableR0Variance, 10000, 2, 3),
       largeVariance(boot.qp.variance), largeVariance(boot.psi.variance),
       largeVariance(boot.fp.variance), decimalsFor(lifeTable.lifeTableLambdaVariance, 100, 4, 6)});
  out.tab(5).text("S.E.");
  writeSixValues(out,
                 {boot.c0.se, lifeTable.lifeTableR0SE, boot.qp.se, boot.psi.se, boot.fp.se,
                  lifeTable.lifeTableLambdaSE},
                 kValueDecimals);
  rule('-');
  for (int b = 1; b <= boot.bootCount; ++b) {
    out.tab(5).number(b);
    writeSixValues(out,
                   {replicateValue(boot.bootC0, b), replicateValue(boot.bootR0, b),
                    replicateValue(boot.bootQp, b), replicateValue(boot.bootPsi, b),
                    replicateValue(boot.bootFP, b), replicateValue(boot.bootLambda, b)},
                   kValueDecimals);
  }
  rule('-');
  writeSameSamplesHeads(out);
  rule('-');
  out.line("    Original parameters are calculated using all individuals.");
  out.line("    Co: Net predation rate; Ro: Net reproductive rate.");
  out.line("    FP: Finite predation rate; FC: Finite consumption rate.");
  out.line("    Psi: Stable predation rate; lambda: Finate rate.");
  if (boot.barrenReplicates > 0) out.line("    " + barrenReplicatesLine(boot) + ".");
}

}  // namespace

std::string barrenReplicatesLine(const BootstrapResults& boot) {
  if (boot.redrawBarren) {
    return formatInteger(boot.barrenReplicates) +
           (boot.barrenReplicates == 1 ? " replicate was" : " replicates were") + " drawn again";
  }
  return formatInteger(boot.barrenReplicates) + " of " + formatInteger(boot.bootCount) +
         " replicates drew no laying female";
}

void summarizeBootstrap(BootstrapResults& boot, int stageCount, double cohortC0) {
  summarizeC0(boot);
  if (!boot.replicatesHaveLifeTable()) return;
  const int count = boot.bootCount;
  const int m = stageCount;
  // R0 is a value of every replicate, 0 for one without eggs; lambda, Qp, psi and FP exist only
  // where eggs were laid, and their statistics are over the replicates that have them.
  ReplicateValidity laid(static_cast<std::size_t>(count < 0 ? 1 : count + 1), 0);
  for (int b = 1; b <= count; ++b) {
    laid[static_cast<std::size_t>(b)] = replicateValue(boot.bootR0, b) != 0 ? 1 : 0;
  }
  if (boot.ownLifeTable) {
    // The replicates' own R0 and lambda, summarised as every other quantity is.
    LifeTableFigures& figures = boot.lifeTable;
    const ReplicateSummary r0 = summarizeReplicates(boot.bootR0, count);
    const ReplicateSummary lambda = summarizeReplicates(boot.bootLambda, count, &laid);
    figures.lifeTableR0Mean = r0.mean;
    figures.lifeTableR0Variance = r0.variance;
    figures.lifeTableR0SE = r0.se;
    figures.lifeTableLambdaMean = lambda.mean;
    figures.lifeTableLambdaVariance = lambda.variance;
    figures.lifeTableLambdaSE = lambda.se;
  }
  boot.Qp = boot.lifeTable.R0 != 0 ? cohortC0 / boot.lifeTable.R0 : 0.0;
  boot.bootQp.assign(static_cast<std::size_t>(count < 0 ? 1 : count + 1), 0.0);
  for (int b = 1; b <= count; ++b) {
    const double r0 = replicateValue(boot.bootR0, b);
    boot.bootQp[static_cast<std::size_t>(b)] = r0 != 0 ? replicateValue(boot.bootC0, b) / r0 : 0;
  }
  boot.qp = summarizeReplicates(boot.bootQp, count, &laid);
  boot.psi = summarizeReplicates(boot.bootPsi, count, &boot.bootPsiValid);
  boot.fp = summarizeReplicates(boot.bootFP, count, &boot.bootPsiValid);

  static const std::vector<double> kNoValues;
  const auto stageValues = [&](const auto& table, int j) -> const std::vector<double>& {
    return j < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(j)] : kNoValues;
  };
  boot.stageConsumption.assign(static_cast<std::size_t>(m) + 1, ReplicateSummary{});
  boot.stageConsumptionBySex.assign(
      3, std::vector<ReplicateSummary>(static_cast<std::size_t>(m) + 1, ReplicateSummary{}));
  for (int j = 1; j <= m; ++j) {
    boot.stageConsumption[static_cast<std::size_t>(j)] =
        summarizeReplicates(stageValues(boot.bootStageConsumption, j), count);
    for (int k = 1; k <= 2; ++k) {
      if (k >= static_cast<int>(boot.bootStageConsumptionBySex.size())) break;
      boot.stageConsumptionBySex[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)] =
          summarizeReplicates(
              stageValues(boot.bootStageConsumptionBySex[static_cast<std::size_t>(k)], j), count);
    }
  }
}

void writeBootstrapTable(const BootstrapReport& report, ReportPages& pages) {
  if (report.bootstrap.replicatesHaveLifeTable()) {
    writeSameSamplesTable(report, pages);
  } else {
    writeOwnSamplesTable(report, pages);
  }
}

}  // namespace pellmar
