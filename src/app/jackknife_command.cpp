#include "app/program.h"
#include "core/analysis/report/number_format.h"
#include "core/data/study_reader.h"
#include "core/predation/sasd_tables.h"
#include "core/resampling/bootstrap_cohort.h"
#include "core/resampling/jackknife_report.h"
#include "core/resampling/replicate_analysis.h"

namespace pellmar {

void Program::jackknife(std::stop_token stop) {
  guarded([&] {
    Session& s = session_;
    commands_.disable(Command::kReadSasd);
    if (s.bootstrap.done || s.jackknife.done) {
      // Pressed again after the run: only the results are shown again.
      showResamplingResults();
      return;
    }
    const int n = s.study.individualCount;
    if (n < 2 || n > kMaxIndividuals) {
      throw UserError("Jackknife",
                      "The jackknife needs from 2 to " + formatInteger(kMaxIndividuals) +
                          " individuals; this study has " + formatInteger(n) + ".",
                      false);
    }
    ReportWriter report;
    commands_.disable(Command::kBasicRun);
    commands_.disable(Command::kBootstrap);
    writeStableDistributionTable(s, report);
    if (s.predation.sasdDone) writeStablePredationTable(s, report);
    commands_.enable(Command::kOpenDataFile);
    disableChartCommands();
    s.shownResampling = ResamplingKind::kJackknife;

    // The cohort is read again once; each reduced cohort is the same individuals less one, in
    // their order, analysed with the Basic Run's steps.
    const StudyData master =
        parseStudy(loadDataFile(s.study.dataFileName), StudyReadMode::kJackknifeRead, s.study);
    const BootstrapCohort cohort = buildBootstrapCohort(master);
    ReplicateAnalyser analyser(cohort);
    JackknifeState& jack = s.jackknife;
    jack.fullCount = n;
    jack.jackknifeC0.assign(static_cast<std::size_t>(n) + 1, 0.0);
    jack.jackknifePseudoC0.assign(static_cast<std::size_t>(n) + 1, 0.0);
    ReplicateDraws draws;
    for (int i = 1; i <= n; ++i) {
      if (stop.stop_requested()) {
        throw UserError("Jackknife",
                        "The jackknife was stopped before it ended; no file was written.", false);
      }
      draws.clear();
      for (int k = 1; k <= n; ++k) {
        if (k != i) draws.emplace_back(k, 1);
      }
      const double c0 = analyser.netConsumptionRateOf(draws, n - 1);
      jack.jackknifeC0[static_cast<std::size_t>(i)] = c0;
      jack.jackknifePseudoC0[static_cast<std::size_t>(i)] = n * s.basic.fullC0 - (n - 1) * c0;
      dialogs_.progress("Jackknife", i, n);
    }
    s.study.stageName = master.stageName;
    summarizeAndReportJackknife(s, report);
    s.saveOutput("_0_Jackknife_Output.txt", report);
    writePseudoValueFile(s);
    commands_.disable(Command::kLarge);
    commands_.disable(Command::kFigureFrame);
    writeJackknifeFrequencyFile(s);
    jack.done = true;
    showResamplingResults();
  });
}

}  // namespace pellmar
