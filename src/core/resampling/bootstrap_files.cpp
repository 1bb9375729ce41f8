#include "core/resampling/bootstrap_files.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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
void writeParameterFile(const Session& session, OutputFiles& files, const std::string& suffix,
                        std::string_view bLabel, std::string_view label, double cohortValue,
                        const std::vector<double>& values, Layout layout) {
  const BootstrapState& boot = session.bootstrap;
  const double n = boot.bootSampleSize;
  ReportWriter out;
  out.writeLine({"Project: " + session.study.projectTitle});
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
void writeStageMeanFile(const Session& session, OutputFiles& files, const std::string& suffix,
                        const std::string& label, int count, double cohortMean,
                        const std::vector<double>& values, Layout layout) {
  const BootstrapState& boot = session.bootstrap;
  ReportWriter out;
  out.writeLine({session.study.projectTitle});
  out.writeLine({"Next line is Bootstrap sample size (n)"});
  out.writeLine({static_cast<double>(count)});
  out.writeLine({"Next line is effective bootstrap number (B)"});
  out.writeLine({static_cast<double>(boot.bootCount)});
  out.writeLine({label, static_cast<double>(count), cohortMean});
  writeReplicateValues(out, values, boot.bootCount, layout);
  files.save(suffix, out);
}

const Statistic& statisticAt(const std::vector<Statistic>& statistics, int j) {
  static const Statistic kNone;
  return j >= 0 && j < static_cast<int>(statistics.size()) ? statistics[static_cast<std::size_t>(j)]
                                                           : kNone;
}

void writeStageMeanFiles(const Session& session, OutputFiles& files, Layout layout) {
  const StudyData& study = session.study;
  const BasicRunResults& r = session.basic;
  const BootstrapState& boot = session.bootstrap;
  const int m = study.stageCount;
  const std::string ending = layout == Layout::kRow ? "_in row.txt" : "_in column.txt";
  const std::string adultEnding = "_Adult" + ending;
  const auto name = [&](int j) { return study.name(1, j); };
  // The stage's number and name, or for the adult stage its number and "Adult".
  const auto stagePart = [&](int j) {
    return formatInteger(j) + (j == m ? adultEnding : "_" + name(j) + ending);
  };
  const auto stageLabel = [&](int j) { return j == m ? std::string("Adult") : name(j); };

  for (int j = 1; j <= m; ++j) {
    const Statistic& duration = statisticAt(r.stageDuration, j);
    if (duration.count == 0) continue;
    writeStageMeanFile(session, files, "_Effective Boots-W_Stage mean_" + stagePart(j),
                       stageLabel(j), duration.count, duration.mean,
                       tableAt(boot.bootStageDuration, j), layout);
  }
  for (int j = 1; j <= m; ++j) {
    const Statistic& consumption = statisticAt(r.stageConsumption, j);
    if (consumption.count == 0 || consumption.mean == 0) continue;
    writeStageMeanFile(session, files, "_Effective Boots-Y_Mean consumption_" + stagePart(j),
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
          session, files, "_Effective Boots-Y_Mean consumption_" + sexCode + "_" + stagePart(j),
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
    writeStageMeanFile(session, files, suffix, label, count, mean, tableAt(boot.bootCumDuration, j),
                       layout);
  }
}

}  // namespace

void writeBootstrapNetConsumptionInRow(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_C0-in Row.txt", kEffectiveB, "C0",
                     session.basic.C0ByCell, session.bootstrap.bootC0, Layout::kRow);
}

void writeBootstrapNetConsumptionInColumn(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_C0_in column.txt", kEffectiveBSpace, "C0",
                     session.basic.C0ByCell, session.bootstrap.bootC0, Layout::kColumn);
}

void writeBootstrapStablePredationRateInColumn(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_Psi_in column.txt", kEffectiveBSpace, "Psi",
                     session.predation.stablePredationRate, session.bootstrap.bootPsi,
                     Layout::kColumn);
}

void writeBootstrapStablePredationRateInRow(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_Psi-in Row.txt", kEffectiveB, "Psi",
                     session.predation.stablePredationRate, session.bootstrap.bootPsi,
                     Layout::kRow);
}

void writeBootstrapFinitePredationRateInColumn(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_Omega_in column.txt", kEffectiveM, "Omega",
                     session.predation.finitePredationRate, session.bootstrap.bootFP,
                     Layout::kColumn);
}

void writeBootstrapFinitePredationRateInRow(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_Omega-in Row.txt", kEffectiveB, "Omega",
                     session.predation.finitePredationRate, session.bootstrap.bootFP, Layout::kRow);
}

void writeBootstrapQpInColumn(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_Qp_in column.txt", kEffectiveBSpace, "Qp",
                     session.bootstrap.Qp, session.bootstrap.bootQp, Layout::kColumn);
}

void writeBootstrapQpInRow(const Session& session, OutputFiles& files) {
  writeParameterFile(session, files, "_4_Bootstrap_Qp-in Row.txt", kEffectiveBSpace, "Qp",
                     session.bootstrap.Qp, session.bootstrap.bootQp, Layout::kRow);
}

void writeBootstrapStageMeansInColumn(const Session& session, OutputFiles& files) {
  writeStageMeanFiles(session, files, Layout::kColumn);
}

void writeBootstrapStageMeansInRow(const Session& session, OutputFiles& files) {
  writeStageMeanFiles(session, files, Layout::kRow);
}

void writeBootstrapStageDailyMeansInRow(const Session& session, OutputFiles& files) {
  const int m = session.study.stageCount;
  for (int j = 1; j <= m + 1; ++j) {
    const std::vector<double>& cohort = session.basic.stageDailyMeanConsumption;
    writeParameterFile(session, files,
                       "_24_Bootstrap_Stage consume-" + formatInteger(j) + "-in Row.txt",
                       kEffectiveB, "Stage " + formatInteger(j), replicateValue(cohort, j),
                       tableAt(session.bootstrap.bootStageDailyMean, j), Layout::kRow);
  }
}

void writeBootstrapResultFiles(const Session& session, OutputFiles& files) {
  writeBootstrapNetConsumptionInRow(session, files);
  writeBootstrapNetConsumptionInColumn(session, files);
  writeBootstrapStablePredationRateInColumn(session, files);
  writeBootstrapStablePredationRateInRow(session, files);
  writeBootstrapFinitePredationRateInColumn(session, files);
  writeBootstrapFinitePredationRateInRow(session, files);
  writeBootstrapQpInColumn(session, files);
  writeBootstrapQpInRow(session, files);
  writeBootstrapStageMeansInColumn(session, files);
  writeBootstrapStageMeansInRow(session, files);
  writeBootstrapStageDailyMeansInRow(session, files);
}

}  // namespace pellmar
