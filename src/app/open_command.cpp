#include "app/open_command.h"

#include "app/numeric_prefix.h"
#include "core/data/study_reader.h"

namespace pellmar {

namespace {

double askTimeUnit(Dialogs& dialogs) {
  return numericPrefix(
      dialogs.inputPrompt("Enter the time unit of your data (1 or 0.5)", "Each time unit =?", "1"));
}

}  // namespace

std::optional<OpenRequest> askOpen(Dialogs& dialogs) {
  const double timeUnit = askTimeUnit(dialogs);
  std::string path = dialogs.openFileDialog();
  if (path.empty()) return std::nullopt;
  dialogs.clearFileDialogName();
  return OpenRequest{std::move(path), timeUnit};
}

OpenRequest askOpenNamed(Dialogs& dialogs, std::string dataFile) {
  const double timeUnit = askTimeUnit(dialogs);
  return OpenRequest{std::move(dataFile), timeUnit};
}

void validate(const OpenRequest& request) { requireDataFile(request.dataFile); }

std::string outputBaseNameFor(const std::string& dataFileName) {
  // Four characters, not bytes: a path in UTF-8 keeps its multi-byte characters whole.
  std::size_t end = dataFileName.size();
  for (int removed = 0; removed < 4 && end > 0; ++removed) {
    --end;
    while (end > 0 && (static_cast<unsigned char>(dataFileName[end]) & 0xC0U) == 0x80U) --end;
  }
  return dataFileName.substr(0, end);
}

}  // namespace pellmar
