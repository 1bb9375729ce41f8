#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/dialogs.h"
#include "app/notice.h"

namespace pellmar {

// "Open data file": the raw data file and the length of its time unit in days.
struct OpenRequest {
  std::string dataFile;
  double timeUnit = 1.0;
};

struct OpenResult {
  std::string basicReportFile;  // created empty beside the data file
  int individualCount = 0;
};

// "Step 1.": the light check of the open data file.
struct CheckRequest {};

struct CheckResult {
  Notice message;  // "It looks OK."
};

// The longest time unit, in days, that a study can be recorded in.
inline constexpr double kLongestTimeUnit = 1000;

// The time unit an answer gives: the whole answer (blanks around it aside) is a number of days
// above 0 and at most kLongestTimeUnit; nullopt otherwise.
std::optional<double> timeUnitFromAnswer(std::string_view answer);

// Asks for the time unit until the answer is one, then for the data file; nullopt when the
// prompt or the file dialog is cancelled.
std::optional<OpenRequest> askOpen(Dialogs& dialogs);
// Asks for the time unit of a data file named beforehand (on the desktop program's command
// line, as a desktop's "Open with" starts it); nullopt when the prompt is cancelled.
std::optional<OpenRequest> askOpenNamed(Dialogs& dialogs, std::string dataFile);

// Refuses a time unit out of range. A data file that cannot be found, or is not a file, raises
// the data file error, which ends the program.
void validate(const OpenRequest& request);

// The output base name: the data file's path less its last four characters.
std::string outputBaseNameFor(const std::string& dataFileName);

}  // namespace pellmar
