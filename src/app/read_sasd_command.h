#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs.h"
#include "app/notice.h"

namespace pellmar {

inline constexpr std::string_view kReadSasdTitle = "Read SASD";

// "Read SASD": the stable age-stage distribution file the life-table program wrote.
struct ReadSasdRequest {
  std::string file;
};

struct ReadSasdResult {
  double lambda = 0.0;
  double psi = 0.0;    // stable predation rate
  double omega = 0.0;  // finite predation rate
  double lnOmega = 0.0;
  bool lnOmegaDefined = false;  // omega above 0
  Notice message;               // psi and omega in plain digits
  std::vector<std::string> filesWritten;
};

// Asks for the file; a cancelled dialog gives an empty file, which the command refuses.
ReadSasdRequest askReadSasd(Dialogs& dialogs);

// Refuses a request without a file.
void validate(const ReadSasdRequest& request);

}  // namespace pellmar
