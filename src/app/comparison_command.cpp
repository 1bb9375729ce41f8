#include "app/comparison_command.h"

#include "app/program.h"
#include "core/data/input_file.h"
#include "core/resampling/comparison.h"
#include "core/resampling/treatment2_file.h"

namespace pellmar {

std::optional<ComparisonRequest> askComparison(Dialogs& dialogs) {
  std::string path = dialogs.openFileDialog(FileKind::kSecondTreatment);
  if (path.empty()) return std::nullopt;
  return ComparisonRequest{std::move(path)};
}

void validate(const ComparisonRequest& request) {
  openInputFile(request.treatment2File, kCompareTitle);
}

ComparisonResult Program::run(const ComparisonRequest& request) {
  return guarded([&] {
    validate(request);
    const std::size_t filesBefore = session_.writtenFiles.size();
    std::string message = compareTwoBootstraps(session_, request.treatment2File);
    session_.recordInput(request.treatment2File);
    commands_.disable(Command::kCompare);
    return ComparisonResult{session_.comparison.tValue, Notice{"t-test", std::move(message)},
                            filesWrittenSince(filesBefore)};
  });
}

}  // namespace pellmar
