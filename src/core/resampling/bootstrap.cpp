#include "core/resampling/bootstrap.h"

#include "core/analysis/cohort_contributions.h"
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

}  // namespace

BootstrapResults ownSamplesBootstrap(const Study& study, const BasicRunResults& basic,
                                     const OwnSamplesOptions& options,
                                     const StudyFecundity* fecundity, const ProgressAndStop& work) {
  const CohortContributions cohort = buildCohortContributions(study);
  BootstrapResults boot = sizedFor(study, options.replicates, options.sampleSize);
  boot.seed = options.seed;
  boot.redrawBarren = options.redrawBarren;
  if (fecundity != nullptr && fecundity->table.growth) {
    const GrowthRates& growth = *fecundity->table.growth;
    boot.ownLifeTable = true;
    boot.lifeTable.R0 = fecundity->table.R0;
    boot.lifeTable.lifeTableLambda = growth.lambda;
    const EggContributions eggs = buildEggContributions(study, fecundity->eggs);
    const OwnSampleFecundity own{eggs, bracketAround(growth.r)};
    runOwnSampleReplicates(cohort, boot, work, &own);
  } else {
    runOwnSampleReplicates(cohort, boot, work);
  }
  summarizeBootstrap(boot, study.stageCount, basic.C0ByCell);
  return boot;
}

BootstrapResults sameSamplesBootstrap(const Study& study, const BasicRunResults& basic,
                                      SamplesFileReader& samples, const ProgressAndStop& work) {
  const CohortContributions cohort = buildCohortContributions(study);
  BootstrapResults boot = sizedFor(study, samples.replicateCount(), study.individualCount);
  boot.sameSamples = true;
  runSameSampleReplicates(cohort, boot, samples, work);
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
