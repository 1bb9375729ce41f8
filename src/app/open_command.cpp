#include "app/open_command.h"

#include <vector>

#include "core/data/field_reader.h"
#include "core/data/limits.h"
#include "core/platform/utf8_path.h"
#include "core/report/number_format.h"
#include "core/report/output_file.h"
#include "core/report/text_encoding.h"
#include "core/user_error.h"

namespace pellmar {

namespace {

constexpr const char* kTimeUnitTitle = "Each time unit =?";

std::string timeUnitRange() {
  return "a number of days above 0 and at most " + formatDigits(kLongestTimeUnit);
}

}  // namespace

std::optional<double> timeUnitFromAnswer(std::string_view answer) {
  while (!answer.empty() && (answer.front() == ' ' || answer.front() == '\t')) {
    answer.remove_prefix(1);
  }
  while (!answer.empty() && (answer.back() == ' ' || answer.back() == '\t')) {
    answer.remove_suffix(1);
  }
  double days = 0.0;
  if (!parseDecimal(answer, days) || !(days > 0) || days > kLongestTimeUnit) return std::nullopt;
  return days;
}

namespace {

// Asks until the answer is a time unit; nullopt when the prompt is cancelled.
std::optional<double> askTimeUnit(Dialogs& dialogs) {
  std::optional<double> timeUnit;
  while (!timeUnit) {
    const std::optional<std::string> answer = dialogs.inputPrompt(
        "Enter the time unit of your data in days (1 or 0.5; above 0 and at most " +
            formatDigits(kLongestTimeUnit) + ")",
        kTimeUnitTitle, "1");
    if (!answer) return std::nullopt;
    timeUnit = timeUnitFromAnswer(*answer);
    if (!timeUnit) {
      dialogs.messageBox(
          "The time unit is the length of one time unit of your data: " + timeUnitRange() +
              ", such as 1 or 0.5. \"" + echoedField(*answer) + "\" is not.",
          MessageButtons::kOk, kTimeUnitTitle, MessageKind::kWarning);
    }
  }
  return timeUnit;
}

}  // namespace

std::optional<OpenRequest> askOpen(Dialogs& dialogs) {
  const std::optional<double> timeUnit = askTimeUnit(dialogs);
  if (!timeUnit) return std::nullopt;
  std::string path = dialogs.openFileDialog(FileKind::kDataFile);
  if (path.empty()) return std::nullopt;
  return OpenRequest{std::move(path), *timeUnit};
}

std::optional<OpenRequest> askOpenNamed(Dialogs& dialogs, std::string dataFile) {
  const std::optional<double> timeUnit = askTimeUnit(dialogs);
  if (!timeUnit) return std::nullopt;
  return OpenRequest{std::move(dataFile), *timeUnit};
}

void validate(const OpenRequest& request) {
  if (!(request.timeUnit > 0) || request.timeUnit > kLongestTimeUnit) {
    throw UserError(kTimeUnitTitle,
                    "The time unit must be " + timeUnitRange() + "; " +
                        formatDigits(request.timeUnit) + " was given.",
                    ErrorKind::kInvalidRequest);
  }
}

std::string outputBaseNameFor(const std::string& dataFileName,
                              const std::optional<std::string>& outputFolder) {
  const std::string name = utf8FromPath(pathFromUtf8(dataFileName).filename());
  const std::string folder = dataFileName.substr(0, dataFileName.size() - name.size());
  // Characters, not bytes: a name in UTF-8 keeps its multi-byte characters whole.
  std::vector<std::size_t> starts;
  for (std::size_t k = 0; k < name.size(); ++k) {
    if ((static_cast<unsigned char>(name[k]) & 0xC0U) != 0x80U) starts.push_back(k);
  }
  const std::string base = starts.size() > 4 ? name.substr(0, starts[starts.size() - 4]) : name;
  if (!outputFolder) return folder + base;
  return utf8FromPath(pathFromUtf8(*outputFolder) / pathFromUtf8(base));
}

platform::FileLock lockResultsOf(const std::string& dataFile, const std::string& baseName) {
  const std::string lockFile = baseName + ".pellmar-lock";
  platform::FileLock lock;
  std::error_code error;
  if (!lock.tryLock(pathFromUtf8(lockFile), error)) {
    if (error) throwWriteFailure(lockFile, error);
    throw UserError("Open data file",
                    "Another Pellmar run is writing the results of " +
                        utf8FromPath(pathFromUtf8(dataFile).filename()) +
                        "; try again when it has finished.",
                    ErrorKind::kCommandFailed);
  }
  return lock;
}

}  // namespace pellmar
