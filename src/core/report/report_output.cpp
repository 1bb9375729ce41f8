#include "core/report/report_output.h"

#include <algorithm>

#include "core/data/text_encoding.h"
#include "core/report/output_file.h"

namespace pellmar {

void OutputFiles::save(const std::string& suffix, const ReportWriter& writer) {
  // Stage names in the suffix may be "ANSI" text, which is not a valid name everywhere.
  const std::string path = baseName_ + fileNameText(suffix);
  saveReplacing(path, writer.contents());
  if (std::find(written_.begin(), written_.end(), path) == written_.end()) {
    written_.push_back(path);
  }
}

}  // namespace pellmar
