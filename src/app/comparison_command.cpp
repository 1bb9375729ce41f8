#include "app/comparison_command.h"

#include "app/analysis.h"
#include "core/resampling/comparison.h"
#include "core/resampling/treatment2_file.h"
#include "core/user_error.h"

namespace pellmar {

std::optional<ComparisonRequest> askComparison(Dialogs& dialogs) {
  std::string path = dialogs.openFileDialog(FileKind::kSecondTreatment);
  if (path.empty()) return std::nullopt;
  return ComparisonRequest{std::move(path)};
}

ComparisonResult Analysis::compare(const ComparisonRequest& request, InputFileReader& reader,
                                   OutputFiles& files) {
  requireStep(AnalysisStep::kCompare, kCompareTitle);
  const InputFile file = reader.read(request.treatment2File, kCompareTitle);
  ComparisonResults comparison =
      compareTwoBootstraps(*bootstrap_, parseTreatment2(file.bytes, file.path));
  const std::size_t before = files.saved().size();
  writeComparisonFile(study_, *bootstrap_, comparison, files);
  ComparisonResult result{comparison.tValue, Notice{"t-test", comparisonMessage(comparison)},
                          files.pathsSince(before)};
  recordInput(file);
  comparison_ = std::move(comparison);
  return result;
}

}  // namespace pellmar
