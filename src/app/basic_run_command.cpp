#include "app/basic_run_command.h"

#include "app/analysis.h"
#include "core/analysis/basic_run.h"
#include "core/analysis/figure_files.h"
#include "core/exports/consumption_exports.h"
#include "core/user_error.h"

namespace pellmar {

BasicRunResult Analysis::basicRun(OutputFiles& files) {
  requireStep(AnalysisStep::kBasicRun, "Basic Run");
  BasicRunResults basic = pellmar::basicRun(study_);
  ReportCounters counters = counters_;
  ReportWriter report;
  ReportPages pages{report, counters};
  writeBasicReport(study_, basic, pages);
  const std::size_t before = files.saved().size();
  files.save(std::string(kBasicReportSuffix), report);
  writeFigureFiles(study_, basic, files);
  writeNumberedStageConsumptionFiles(study_, files);
  writeTukeyKramerConsumptionFiles(study_, basic, files);

  counters_ = counters;
  basic_ = std::move(basic);
  saveStageCurves(files, true, nullptr, nullptr, nullptr);
  // The summary follows the Basic Run's files; each later step saves it again in its place.
  writeSummary(files);

  BasicRunResult result;
  result.analysed = true;
  if (!basic_->sexCountsAddUp) result.warning = Notice{"Basic Run", "Error!!!!"};
  result.filesWritten = files.pathsSince(before);
  return result;
}

}  // namespace pellmar
