#include "app/jackknife_command.h"

#include "app/analysis.h"
#include "core/resampling/jackknife.h"
#include "core/user_error.h"

namespace pellmar {

JackknifeResult Analysis::jackknife(OutputFiles& files, const ProgressReport& progress,
                                    std::stop_token stop) {
  requireStep(AnalysisStep::kJackknife, "Jackknife");
  JackknifeResults jack = pellmar::jackknife(study_, *basic_, fecundity_ ? &*fecundity_ : nullptr,
                                             lifeTable_ ? &*lifeTable_ : nullptr,
                                             ProgressAndStop{progress, std::move(stop)});
  const std::size_t before = files.saved().size();
  ReportCounters counters = counters_;
  writeJackknifeFiles(JackknifeReport{study_, *basic_, jack}, predation_ ? &*predation_ : nullptr,
                      counters, files);

  JackknifeResult result;
  result.individuals = study_.individualCount;
  result.mean = jack.jackMean;
  result.variance = jack.jackVariance;
  result.sd = jack.jackSD;
  result.se = jack.jackSE;
  if (std::string note = jackknifeNote(jack); !note.empty()) result.note = std::move(note);
  result.filesWritten = files.pathsSince(before);
  counters_ = counters;
  jackknife_ = std::move(jack);
  return result;
}

}  // namespace pellmar
