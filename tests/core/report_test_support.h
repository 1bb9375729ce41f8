#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/basic_run.h"
#include "core/data/study_reader.h"
#include "read_file.h"
#include "support/temp_folder.h"

namespace pellmar::test_support {

// The study read from `contents`, its output files going to `outputBaseName`.
inline Study studyFrom(const std::string& contents, double timeUnit = 1.0,
                       const std::string& outputBaseName = "study") {
  return readStudy(InputFile{"study.txt", contents, ""}, timeUnit, outputBaseName);
}

// A study with the results of its Basic Run.
struct AnalysedStudy {
  Study study;
  BasicRunResults basic;
};

inline AnalysedStudy analysedStudy(const std::string& contents, double timeUnit = 1.0,
                                   const std::string& outputBaseName = "study") {
  AnalysedStudy analysed{studyFrom(contents, timeUnit, outputBaseName), {}};
  analysed.basic = basicRun(analysed.study);
  return analysed;
}

// The lines of a text whose every line ends with CR LF, without the line ends.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF: " << text.substr(start);
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The index of the first line equal to `line`, or -1.
inline int indexOfLine(const std::vector<std::string>& lines, std::string_view line) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == line) return static_cast<int>(i);
  }
  return -1;
}

// Expected lines written as a block of text that starts on the line after the opening quote,
// with "|" marking the end of every line so that trailing spaces stay visible.
inline std::vector<std::string> block(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = text.find('\n') + 1;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end - start);
    if (line.empty() || line.back() != '|') ADD_FAILURE() << "block line without |: " << line;
    lines.emplace_back(line.substr(0, line.size() - 1));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

// The `count` lines of `lines` from `first` on.
inline std::vector<std::string> slice(const std::vector<std::string>& lines, int first, int count) {
  if (first < 0 || first + count > static_cast<int>(lines.size())) return {};
  return {lines.begin() + first, lines.begin() + first + count};
}

}  // namespace pellmar::test_support
