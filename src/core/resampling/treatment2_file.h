#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellmar {

inline constexpr std::string_view kCompareTitle = "Compare two bootstraps";

// The second treatment of a comparison as its file gives it: a title, the bootstrap sample size
// n and the K replicate values of C0 (values[1 .. K]).
struct Treatment2 {
  std::string title;
  int sampleSize = 0;
  int count = 0;
  std::vector<double> values;
};

// Reads a treatment-2 file held in `contents`: three text fields (the title first), a label and
// n, a label and K, then K records of a replicate number and its C0, numbered 1 .. K in order.
// Reading ends with record K. A bootstrap's own "_4_Bootstrap_C0_in column.txt" is read too, told
// apart by its fixed second line: its project is the title, then n, B and the B values. A fault
// raises a UserError titled "Compare two bootstraps" that ends only the command; `fileName`, when
// given, names the file in its message.
Treatment2 parseTreatment2(std::string contents, const std::string& fileName = "");

}  // namespace pellmar
