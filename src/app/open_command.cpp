#include "app/open_command.h"

#include "core/data/field_reader.h"
#include "core/data/study_reader.h"
#include "core/data/text_encoding.h"
#include "core/report/number_format.h"
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
    const std::optional<std::string> answer =
        dialogs.inputPrompt("Enter the time unit of your data (1 or 0.5)", kTimeUnitTitle, "1");
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
  requireDataFile(request.dataFile);
}

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
