#include "core/resampling/bootstrap_files.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/numeric/statistic.h"
#include "core/report/number_format.h"
#include "core/resampling/replicate_summary.h"

namespace pellmar {
namespace {

constexpr std::string_view kEffectiveB = "Next line is the effective bootstrap numbers (B)";
constexpr std::string_view kEffectiveBSpace = "Next line is the effective bootstrap numbers (B) ";
constexpr std::string_view kEffectiveM = "Next line is the effective bootstrap numbers (m) ";

enum class Layout { kColumn, kRow };

const std::vector<double>& tableAt(const std::vector<std::vector<double>>& table, int j) {
  static const std::vector<double> kNoValues;
  return j >= 0 && j < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(j)]
                                                      : kNoValues;
}

// The replicate values b = 1 .. B: one Write-form line each, or five number items a line
// separated by commas, the list closed by -1.
void writeReplicateValues(ReportWriter& out, const std::vector<double>& values, int count,
                          Layout layout) {
  constexpr int kValuesPerLine = 5;
  for (int b = 1; b <= count; ++b) {
    const double value = replicateValue(values, b);
    if (layout == Layout::kColumn) {
      out.writeLine({value});
      continue;
    }
    out.number(value);
    if (b % kValuesPerLine == 0) {
      out.endLine();
    } else {
      out.text(",");
    }
  }
  if (layout == Layout::kRow) out.text("-1").endLine();
}

// A parameter file: project, n, B, then the label, n and the cohort's value, then the values.
void writeParameterFile(const BootstrapReport& report, OutputFiles& files,
                        const std::string& suffix, std::string_view bLabel, std::string_view label,
                        double cohortValue, const std::vector<double>& values, Layout layout) {
  const BootstrapResults& boot = report.bootstrap;
  const double n = boot.bootSampleSize;
  ReportWriter out;
  out.writeLine({"Project: " + report.study.projectTitle});
  out.writeLine({"Next line is the bootstrap sample size (n)"});
  out.writeLine({n});
  out.writeLine({bLabel});
  out.writeLine({static_cast<double>(boot.bootCount)});
  out.writeLine({label, n, cohortValue});
  writeReplicateValues(out, values, boot.bootCount, layout);
  files.save(suffix, out);
}

// A stage mean file: project, the family's count of individuals for the stage, B, the stage
// label with that count and the cohort's mean, then the replicate means.
void writeStageMeanFile(const BootstrapReport& report, OutputFiles& files,
                        const std::string& suffix, const std::string& label, int count,
                        double cohortMean, const std::vector<double>& values, Layout layout) {
  const BootstrapResults& boot = report.bootstrap;
  ReportWriter out;
  out.writeLine({report.study.projectTitle});
  out.writeLine({"Next line is Bootstrap sample size (n)"});
  out.writeLine({static_cast<double>(count)});
  out.writeLine({"Next line is effective bootstrap number (B)"});
  out.writeLine({static_cast<double>(boot.bootCount)});
  out.writeLine({label, static_cast<double>(count), cohortMean});
  writeReplicateValues(out, values, boot.bootCount, layout);
  files.save(suffix, out);
}

void writeStageMeanFiles(const BootstrapReport& report, OutputFiles& files, Layout layout) {
  const Study& study = report.study;
  const BasicRunResults& r = report.basic;
  const BootstrapResults& boot = report.bootstrap;
  const int m = study.stageCount;
  const std::string ending = layout == Layout::kRow ? "_in row.txt" : "_in column.txt";
  const std::string adultEnding = "_Adult" + ending;
  const auto name = [&](int j) { return study.name(1, j); };
  // The stage's number and name, or for the adult stage its number and "Adult".
  const auto stagePart = [&](int j) {
    std::string part = formatInteger(j);
    if (j == m) return part + adultEnding;
    part += '_';
    part += name(j);
    return part + ending;
  };
  const auto stageLabel = [&](int j) { return j == m ? std::string("Adult") : name(j); };

  for (int j = 1; j <= m; ++j) {
    const Statistic& duration = statisticAt(r.stageDuration, j);
    if (duration.count == 0) continue;
    writeStageMeanFile(report, files, "_Effective Boots-W_Stage mean_" + stagePart(j),
                       stageLabel(j), duration.count, duration.mean,
                       tableAt(boot.bootStageDuration, j), layout);
  }
  for (int j = 1; j <= m; ++j) {
    const Statistic& consumption = statisticAt(r.stageConsumption, j);
    if (consumption.count == 0 || consumption.mean == 0) continue;
    writeStageMeanFile(report, files, "_Effective Boots-Y_Mean consumption_" + stagePart(j),
                       stageLabel(j), consumption.count, consumption.mean,
                       tableAt(boot.bootStageConsumption, j), layout);
  }
  for (int k = 1; k <= study.sexCount; ++k) {
    if (k >= static_cast<int>(r.stageConsumptionBySex.size())) break;
    const auto& bySex = r.stageConsumptionBySex[static_cast<std::size_t>(k)];
    static const std::vector<std::vector<double>> kNoTables;
    const auto& replicates = k < static_cast<int>(boot.bootStageConsumptionBySex.size())
                                 ? boot.bootStageConsumptionBySex[static_cast<std::size_t>(k)]
                                 : kNoTables;
    const std::string& sexCode = study.sexCode[static_cast<std::size_t>(k)];
    for (int j = 1; j <= m; ++j) {
      const Statistic& consumption = statisticAt(bySex, j);
      if (consumption.count == 0 || consumption.mean == 0) continue;
      writeStageMeanFile(
          report, files, "_Effective Boots-Y_Mean consumption_" + sexCode + "_" + stagePart(j),
          stageLabel(j), consumption.count, consumption.mean, tableAt(replicates, j), layout);
    }
  }
  for (int j = 2; j <= m; ++j) {
    const int count = statisticAt(r.stageDuration, j).count;
    const double mean = statisticAt(r.cumDuration, j).mean;
    if (count == 0 || mean == 0) continue;
    std::string suffix;
    std::string label;
    if (j == m) {
      suffix = "_Effective Boots-X_" + name(1) + "-to-Adult" + ending;
      label = "Total longevity";
    } else if (j == m - 1) {
      suffix = "_Effective Boots-W_PreAdult" + ending;
      label = "PreAdult";
    } else {
      suffix = "_Effective Boots-X_" + name(1) + "-to-" + name(j) + ending;
      label = name(1) + "-" + name(j);
    }
    writeStageMeanFile(report, files, suffix, label, count, mean, tableAt(boot.bootCumDuration, j),
                       layout);
  }
}

}  // namespace

void writeBootstrapNetConsumptionInRow(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_C0-in Row.txt", kEffectiveB, "C0",
                     report.basic.C0ByCell, report.bootstrap.bootC0, Layout::kRow);
}

void writeBootstrapNetConsumptionInColumn(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_C0_in column.txt", kEffectiveBSpace, "C0",
                     report.basic.C0ByCell, report.bootstrap.bootC0, Layout::kColumn);
}

void writeBootstrapStablePredationRateInColumn(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_Psi_in column.txt", kEffectiveBSpace, "Psi",
                     report.stablePredationRate(), report.bootstrap.bootPsi, Layout::kColumn);
}

void writeBootstrapStablePredationRateInRow(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_Psi-in Row.txt", kEffectiveB, "Psi",
                     report.stablePredationRate(), report.bootstrap.bootPsi, Layout::kRow);
}

void writeBootstrapFinitePredationRateInColumn(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_Omega_in column.txt", kEffectiveM, "Omega",
                     report.finitePredationRate(), report.bootstrap.bootFP, Layout::kColumn);
}

void writeBootstrapFinitePredationRateInRow(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_Omega-in Row.txt", kEffectiveB, "Omega",
                     report.finitePredationRate(), report.bootstrap.bootFP, Layout::kRow);
}

void writeBootstrapQpInColumn(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_Qp_in column.txt", kEffectiveBSpace, "Qp",
                     report.bootstrap.Qp, report.bootstrap.bootQp, Layout::kColumn);
}

void writeBootstrapQpInRow(const BootstrapReport& report, OutputFiles& files) {
  writeParameterFile(report, files, "_4_Bootstrap_Qp-in Row.txt", kEffectiveBSpace, "Qp",
                     report.bootstrap.Qp, report.bootstrap.bootQp, Layout::kRow);
}

void writeBootstrapStageMeansInColumn(const BootstrapReport& report, OutputFiles& files) {
  writeStageMeanFiles(report, files, Layout::kColumn);
}

void writeBootstrapStageMeansInRow(const BootstrapReport& report, OutputFiles& files) {
  writeStageMeanFiles(report, files, Layout::kRow);
}

void writeBootstrapStageDailyMeansInRow(const BootstrapReport& report, OutputFiles& files) {
  const int m = report.study.stageCount;
  for (int j = 1; j <= m + 1; ++j) {
    const std::vector<double>& cohort = report.basic.stageDailyMeanConsumption;
    writeParameterFile(report, files,
                       "_24_Bootstrap_Stage consume-" + formatInteger(j) + "-in Row.txt",
                       kEffectiveB, "Stage " + formatInteger(j), replicateValue(cohort, j),
                       tableAt(report.bootstrap.bootStageDailyMean, j), Layout::kRow);
  }
}

void writeBootstrapResultFiles(const BootstrapReport& report, OutputFiles& files) {
  writeBootstrapNetConsumptionInRow(report, files);
  writeBootstrapNetConsumptionInColumn(report, files);
  writeBootstrapStablePredationRateInColumn(report, files);
  writeBootstrapStablePredationRateInRow(report, files);
  writeBootstrapFinitePredationRateInColumn(report, files);
  writeBootstrapFinitePredationRateInRow(report, files);
  writeBootstrapQpInColumn(report, files);
  writeBootstrapQpInRow(report, files);
  writeBootstrapStageMeansInColumn(report, files);
  writeBootstrapStageMeansInRow(report, files);
  writeBootstrapStageDailyMeansInRow(report, files);
}

}  // namespace pellmar
