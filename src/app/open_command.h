#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/dialogs.h"
#include "app/notice.h"
#include "core/platform/platform.h"

namespace pellmar {

// "Open data file": the raw data file and the length of its time unit in days.
struct OpenRequest {
  std::string dataFile;
  double timeUnit = 1.0;
};

// What the data check says of a study that opened without a fault.
inline constexpr std::string_view kStudyLooksOk = "It looks OK.";

// The time unit an answer gives: the whole answer (blanks around it aside) is a number of days
// above 0 and at most kLongestTimeUnit; nullopt otherwise.
std::optional<double> timeUnitFromAnswer(std::string_view answer);

// Asks for the time unit until the answer is one, then for the data file; nullopt when the
// prompt or the file dialog is cancelled.
std::optional<OpenRequest> askOpen(Dialogs& dialogs);
// Asks for the time unit of a data file named beforehand (on the desktop program's command
// line, as a desktop's "Open with" starts it); nullopt when the prompt is cancelled.
std::optional<OpenRequest> askOpenNamed(Dialogs& dialogs, std::string dataFile);

// Refuses a time unit out of range.
void validate(const OpenRequest& request);

// The output base name: the data file's folder as given, then its name less its last four
// characters when the name has more than four ("x.txt" gives "x"), otherwise its whole name
// ("data" gives "data", "d" gives "d"). The folder part never changes, so the files of a study
// stay in a folder the user chose. With `outputFolder`, the files go there instead.
std::string outputBaseNameFor(const std::string& dataFileName,
                              const std::optional<std::string>& outputFolder = std::nullopt);

// Takes the lock that keeps other runs from writing the results named after `baseName` while this
// one does: "<base>.pellmar-lock", never through a link. A refusal when another run holds it.
[[nodiscard]] platform::FileLock lockResultsOf(const std::string& dataFile,
                                               const std::string& baseName);

}  // namespace pellmar
