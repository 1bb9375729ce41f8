#include "app/jackknife_command.h"

#include "app/program.h"
#include "core/analysis/cohort_contributions.h"
#include "core/data/study_reader.h"
#include "core/numeric/egg_contributions.h"
#include "core/predation/sasd_tables.h"
#include "core/report/number_format.h"
#include "core/resampling/jackknife.h"
#include "core/resampling/jackknife_report.h"

namespace pellmar {

JackknifeResult Program::run(const JackknifeRequest& /*request*/, const ProgressReport& progress,
                             std::stop_token stop) {
  return guarded([&] {
    Session& s = session_;
    commands_.disable(Command::kReadSasd);
    commands_.disable(Command::kReadFecundity);
    JackknifeResult result;
    if (s.bootstrap.done || s.jackknife.done) {
      result.shownAgain = true;
      return result;
    }
    const int n = s.study.individualCount;
    if (n < 2 || n > kMaxIndividuals) {
      throw UserError("Jackknife",
                      "The jackknife needs from 2 to " + formatInteger(kMaxIndividuals) +
                          " individuals; this study has " + formatInteger(n) + ".",
                      ErrorKind::kCommandFailed);
    }
    const std::size_t filesBefore = s.writtenFiles.size();
    ReportWriter report;
    ReportPages pages{report, s.counters};
    commands_.disable(Command::kBasicRun);
    commands_.disable(Command::kBootstrap);
    writeStableDistributionTable(s, pages);
    if (s.predation.sasdDone) writeStablePredationTable(s, pages);
    commands_.enable(Command::kOpenDataFile);
    disableChartCommands();
    s.shownResampling = ResamplingKind::kJackknife;

    // The cohort is read again once; each reduced cohort is the same individuals less one, in
    // their order.
    const StudyData master =
        parseStudy(loadDataFile(s.study.dataFileName), StudyReadMode::kJackknifeRead, s.study);
    JackknifeState& jack = s.jackknife;
    const CohortContributions cohort = buildCohortContributions(master);
    const ProgressAndStop work{progress, stop};
    if (s.lifeTable) {
      const EggContributions eggs = buildEggContributions(master, s.fecundity);
      runJackknife(
          cohort, s.basic.C0ByAge, jack, work,
          JackknifeFecundity{eggs, PopulationGrowth{s.lifeTable->R0, s.lifeTable->growth}});
    } else {
      runJackknife(cohort, s.basic.C0ByAge, jack, work);
    }
    summarizeJackknife(jack);
    writeJackknifeTable(s, pages);
    OutputFiles files = s.outputFiles();
    files.save("_0_Jackknife_Output.txt", report);
    writePseudoValueFile(s, files);
    writeJackknifePseudoValuesFile(s, files);
    commands_.disable(Command::kLarge);
    commands_.disable(Command::kFigureFrame);
    writeJackknifeFrequencyFile(s, files);
    jack.done = true;
    writeSummary();

    result.individuals = n;
    result.mean = jack.jackMean;
    result.variance = jack.jackVariance;
    result.sd = jack.jackSD;
    result.se = jack.jackSE;
    if (jack.withFecundity && !jack.growthForEveryOmission()) {
      result.note = "Without individual " + formatInteger(jack.omissionWithoutEggs) +
                    " no eggs are left, so r, lambda and T have no jackknife pseudo-values or SE; "
                    "R0 has them.";
    }
    result.filesWritten = filesWrittenSince(filesBefore);
    return result;
  });
}

}  // namespace pellmar
