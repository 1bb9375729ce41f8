#include "core/resampling/bootstrap.h"

#include <memory>
#include <optional>
#include <span>

#include "core/analysis/cohort_contributions.h"
#include "core/data/table_index.h"
#include "core/platform/platform.h"
#include "core/predation/sasd_tables.h"
#include "core/resampling/bootstrap_files.h"
#include "core/resampling/bootstrap_frequency.h"
#include "core/resampling/bootstrap_summary.h"

namespace pellmar {
namespace {

BootstrapResults sizedFor(const Study& study, int replicates, int sampleSize) {
  BootstrapResults boot;
  boot.bootCount = replicates;
  boot.bootSampleSize = sampleSize;
  sizeBootstrapTables(boot, replicates, study.stageCount, study.sexCount);
  return boot;
}

// The replicates' values of e(x, j) and v(x, j) while the replicates run, then their bands. Every
// replicate writes every cell of its row, so the tables need no first values.
class CurveReplicates {
 public:
  // With `eggs`, which must outlive it, v(x, j) too.
  CurveReplicates(const CohortContributions& cohort, int replicates, const EggContributions* eggs)
      : curves_(buildCohortCurves(cohort, eggs)),
        cells_(curves_.cells.age.size()),
        replicates_(replicates),
        expectancy_(std::make_unique_for_overwrite<float[]>(cells_ * at(replicates))) {
    if (eggs != nullptr)
      reproductiveValue_ = std::make_unique_for_overwrite<float[]>(cells_ * at(replicates));
    for (const std::span<float> table : {values(expectancy_), values(reproductiveValue_)}) {
      platform::adviseLargePages(std::as_writable_bytes(table));
    }
  }

  [[nodiscard]] ReplicateFigures figuresWith(const CohortFigures& figures) {
    return {figures, curves_, values(expectancy_), values(reproductiveValue_)};
  }

  void storeBands(BootstrapResults& boot, double confidence) {
    boot.expectancyBand = curveBand(values(expectancy_), cells_, replicates_, confidence);
    if (reproductiveValue_) {
      boot.reproductiveValueBand =
          curveBand(values(reproductiveValue_), cells_, replicates_, confidence);
    }
  }

 private:
  [[nodiscard]] std::span<float> values(const std::unique_ptr<float[]>& table) const {
    return table ? std::span<float>(table.get(), cells_ * at(replicates_)) : std::span<float>();
  }

  CohortCurves curves_;
  std::size_t cells_;
  int replicates_;
  std::unique_ptr<float[]> expectancy_;
  std::unique_ptr<float[]> reproductiveValue_;
};

}  // namespace

BootstrapResults ownSamplesBootstrap(const Study& study, const BasicRunResults& basic,
                                     const OwnSamplesOptions& options,
                                     const StudyFecundity* fecundity, const ProgressAndStop& work) {
  const CohortContributions cohort = buildCohortContributions(study);
  BootstrapResults boot = sizedFor(study, options.replicates, options.sampleSize);
  boot.seed = options.seed;
  boot.redrawBarren = options.redrawBarren;
  const bool withEggs = fecundity != nullptr && fecundity->table.growth;
  const CohortFigures figures =
      buildCohortFigures(study, cohort, withEggs ? &fecundity->table : nullptr);
  const std::optional<EggContributions> eggs =
      withEggs ? std::optional(buildEggContributions(study, fecundity->eggs)) : std::nullopt;
  CurveReplicates curves(cohort, options.replicates, eggs ? &*eggs : nullptr);
  const ReplicateFigures replicateFigures = curves.figuresWith(figures);
  if (withEggs) {
    const GrowthRates& growth = *fecundity->table.growth;
    boot.ownLifeTable = true;
    boot.lifeTable.R0 = fecundity->table.R0;
    boot.lifeTable.lifeTableLambda = growth.lambda;
    const OwnSampleFecundity own{*eggs, bracketAround(growth.r)};
    runOwnSampleReplicates(cohort, boot, work, &own, &replicateFigures);
  } else {
    runOwnSampleReplicates(cohort, boot, work, nullptr, &replicateFigures);
  }
  curves.storeBands(boot, options.confidence);
  summarizeBootstrap(boot, study.stageCount, basic.C0ByCell);
  return boot;
}

BootstrapResults sameSamplesBootstrap(const Study& study, const BasicRunResults& basic,
                                      SamplesFileReader& samples, const ProgressAndStop& work,
                                      double confidence) {
  const CohortContributions cohort = buildCohortContributions(study);
  BootstrapResults boot = sizedFor(study, samples.replicateCount(), study.individualCount);
  boot.sameSamples = true;
  const CohortFigures figures = buildCohortFigures(study, cohort, nullptr);
  CurveReplicates curves(cohort, samples.replicateCount(), nullptr);
  const ReplicateFigures replicateFigures = curves.figuresWith(figures);
  runSameSampleReplicates(cohort, boot, samples, work, &replicateFigures);
  curves.storeBands(boot, confidence);
  summarizeBootstrap(boot, study.stageCount, basic.C0ByCell);
  return boot;
}

void writeBootstrapFiles(const BootstrapReport& report, ReportCounters& counters,
                         OutputFiles& files) {
  counters = ReportCounters{};
  ReportWriter out;
  ReportPages pages{out, counters};
  if (report.predation != nullptr) {
    writeStableDistributionTable(report.study, report.basic, *report.predation, pages);
    writeStablePredationTable(report.study, report.basic, *report.predation, pages);
  }
  writeBootstrapTable(report, pages);
  files.save("_0_Bootstrap_Output.txt", out);
  writeBootstrapResultFiles(report, files);
  writeBootstrapFrequencyFile(report, files);
}

}  // namespace pellmar
