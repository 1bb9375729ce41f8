#include "core/analysis/report/report_output.h"

#include <algorithm>

#include "core/analysis/report/output_file.h"

namespace pellmar {

void OutputFiles::save(const std::string& suffix, const ReportWriter& writer) {
  const std::string path = baseName_ + suffix;
  saveReplacing(path, writer.contents());
  if (std::find(written_.begin(), written_.end(), path) == written_.end()) {
    written_.push_back(path);
  }
}

}  // namespace pellmar
