#include "core/session.h"

#include <algorithm>

#include "core/analysis/report/output_file.h"

namespace pellmar {

void Session::saveOutput(const std::string& suffix, const ReportWriter& writer) {
  const std::string path = study.outputBaseName + suffix;
  saveReplacing(path, writer.contents());
  if (std::find(writtenFiles.begin(), writtenFiles.end(), path) == writtenFiles.end()) {
    writtenFiles.push_back(path);
  }
}

}  // namespace pellmar
