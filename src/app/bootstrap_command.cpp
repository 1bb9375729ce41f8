#include <cmath>
#include <memory>

#include "app/numeric_prefix.h"
#include "app/program.h"
#include "core/analysis/report/number_format.h"
#include "core/data/study_reader.h"
#include "core/predation/sasd_tables.h"
#include "core/resampling/bootstrap_engine.h"
#include "core/resampling/bootstrap_files.h"
#include "core/resampling/bootstrap_frequency.h"
#include "core/resampling/bootstrap_summary.h"
#include "core/resampling/samples_file.h"

namespace pellmar {
namespace {

constexpr int kMaxSampleSize = 405;

int nearestWhole(double value) {
  const double rounded = std::nearbyint(value);
  if (!(std::fabs(rounded) < 1e9)) return value < 0 ? -1000000000 : 1000000000;
  return static_cast<int>(rounded);
}

}  // namespace

void Program::disableChartCommands() {
  for (const Command command : kChartCommands) commands_.disable(command);
}

void Program::showResamplingResults() {
  if (resamplingFinished_) resamplingFinished_();
}

void Program::bootstrap(std::stop_token stop) {
  guarded([&] {
    Session& s = session_;
    BootstrapState& state = s.bootstrap;
    s.counters = ReportCounters{};
    const std::string mode =
        dialogs_.inputPrompt("Do you want to use the same bootstrap samples (1=Yes, 2=No)",
                             "Same bootstrap samples =?", "1");
    const bool sameSamples = numericPrefix(mode) == 1;
    std::unique_ptr<SamplesFileReader> samples;
    if (sameSamples) {
      if (!s.predation.sasdDone) {
        dialogs_.messageBox(
            "The same bootstrap samples give the stable and finite predation rate of every "
            "replicate, which needs the stable age-stage distribution.\nPlease read the SASD "
            "file (Step 3) first.",
            MessageButtons::kOk, "Same bootstrap samples");
        return;
      }
      const std::string path = dialogs_.openFileDialog();
      if (path.empty()) return;
      commands_.disable(Command::kJackknife);
      commands_.disable(Command::kOpenDataFile);
      commands_.enable(Command::kCheckDataFile);
      samples = std::make_unique<SamplesFileReader>(path, s.study.individualCount);
    }

    // The master copy of the cohort, read again from the data file; its stage names, as read,
    // head the result files.
    const StudyData master =
        parseStudy(loadDataFile(s.study.dataFileName), StudyReadMode::kBootstrapRead, s.study);
    const BootstrapCohort cohort = buildBootstrapCohort(master);

    int replicates = 0;
    int sampleSize = master.individualCount;
    if (sameSamples) {
      replicates = samples->replicateCount();
    } else {
      replicates = nearestWhole(numericPrefix(dialogs_.inputPrompt(
          "Enter the number of bootstarp (B <= 40000) ", "Bootstrap", "40000")));
      sampleSize = nearestWhole(numericPrefix(
          dialogs_.inputPrompt("Enter the sample size (n) of bootstrap", "Sample size =?",
                               formatInteger(master.individualCount))));
      if (replicates < 1 || replicates > kMaxBootstrapReplicates) {
        throw UserError("Bootstrap",
                        "The number of bootstraps must be from 1 to " +
                            formatInteger(kMaxBootstrapReplicates) + "; " +
                            formatInteger(replicates) + " was given.",
                        false);
      }
      if (sampleSize < 1 || sampleSize > kMaxSampleSize) {
        throw UserError("Bootstrap",
                        "The sample size must be from 1 to " + formatInteger(kMaxSampleSize) +
                            "; " + formatInteger(sampleSize) + " was given.",
                        false);
      }
    }

    commands_.disable(Command::kReadSasd);
    commands_.disable(Command::kBasicRun);
    commands_.disable(Command::kJackknife);
    ReportWriter report;
    writeStableDistributionTable(s, report);
    if (s.predation.sasdDone) writeStablePredationTable(s, report);
    commands_.enable(Command::kOpenDataFile);
    disableChartCommands();
    s.shownResampling = ResamplingKind::kBootstrap;

    state = BootstrapState{};
    state.sameSamples = sameSamples;
    state.bootCount = replicates;
    state.bootSampleSize = sampleSize;
    state.seed = bootstrapSeed_ ? *bootstrapSeed_ : seedFromClock();
    state.beganAt = dialogs_.clock().dateTimeText;
    sizeBootstrapTables(state, replicates, master.stageCount, master.sexCount);
    s.study.stageName = master.stageName;

    const ProgressAndStop work{
        [&](long done, long total) { dialogs_.progress("Bootstrap", done, total); }, stop};
    if (sameSamples) {
      runSameSampleReplicates(cohort, state, *samples, work);
      state.Qp = state.lifeTable.R0 != 0 ? s.basic.originalC0 / state.lifeTable.R0 : 0.0;
      summarizeAndReportSameSamples(s, report);
    } else {
      runOwnSampleReplicates(cohort, state, work);
      summarizeAndReportOwnSamples(s, report);
    }
    s.saveOutput("_0_Bootstrap_Output.txt", report);
    writeBootstrapResultFiles(s);
    commands_.disable(Command::kLarge);
    commands_.disable(Command::kFigureFrame);
    writeBootstrapFrequencyFile(s);
    state.done = true;
    commands_.disable(Command::kBootstrap);
    // A finished bootstrap can be compared with a second treatment's.
    commands_.enable(Command::kCompare);
    commands_.enable(Command::kActionFrame);
    state.endedAt = dialogs_.clock().dateTimeText;
    showResamplingResults();
    if (dialogs_.messageBox(
            "Do you need normal density curve for each developmental stage, consumption, and "
            "longevity?",
            MessageButtons::kYesNo, "Normal density curve.") == MessageAnswer::kYes) {
      writeNormalDensityCurves(s);
      dialogs_.messageBox("Congratulation!", MessageButtons::kOk, "Task completed");
    }
  });
}

}  // namespace pellmar
