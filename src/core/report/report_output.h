#pragma once

#include <string>
#include <vector>

#include "core/report/report_writer.h"

namespace pellmar {

// Page and table numbers of the paged reports. They run on through every report of one program
// run; only the start of a bootstrap sets them back to 0.
struct ReportCounters {
  int pageCounter = 0;
  int tableCounter = 0;
};

// A paged report being written: its text and the page and table numbers it goes on from.
struct ReportPages {
  ReportWriter& out;
  ReportCounters& counters;
};

// The files a program run writes beside its data file, each named by the output base name and
// a suffix and replaced when it exists, listed in the order first written.
class OutputFiles {
 public:
  OutputFiles(std::string baseName, std::vector<std::string>& written)
      : baseName_(std::move(baseName)), written_(written) {}

  // Replaces the file baseName + suffix with the writer's text and lists it. The suffix
  // becomes UTF-8 where it is not (stage names from "ANSI" text).
  void save(const std::string& suffix, const ReportWriter& writer);

 private:
  std::string baseName_;
  std::vector<std::string>& written_;
};

}  // namespace pellmar
