#pragma once

#include <span>
#include <string>

#include "core/report/report_output.h"
#include "core/resampling/paired_test.h"

namespace pellmar {

// The cells of one row's test, each after a comma: the two estimates, the difference, the SE
// and interval of the paired differences, and p.
void pairedTestCells(ReportWriter& out, const PairedTestRow& row);

// The paired bootstrap test as comma-separated text: a header line and one line per quantity,
// numbers in their shortest exact form, empty cells for values that do not exist.
std::string pairedTestCsv(const PairedTest& test);

// The two studies' C0 of every replicate b = 1 .. R, one line each, for users' own plots.
std::string pairedC0Csv(std::span<const double> first, std::span<const double> second);

// Writes "<base>_vs_<second>_paired_test.csv" and "<base>_vs_<second>_paired_C0.csv" beside the
// first study, `secondName` being the second study's data file name less its folder and its
// last four characters.
void writePairedTestFiles(const PairedTest& test, std::span<const double> c0First,
                          std::span<const double> c0Second, const std::string& secondName,
                          OutputFiles& files);

}  // namespace pellmar
