#include "core/resampling/treatment2_file.h"

#include <cmath>
#include <sstream>

#include "core/data/field_reader.h"
#include "core/data/input_file.h"
#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

// The largest replicate count and sample size the treatment-2 file may state.
constexpr long long kMaxReplicates = 200010;
constexpr long long kMaxSampleSize = 32767;

// The fixed heading lines of a bootstrap's own "_4_Bootstrap_C0_in column.txt".
constexpr std::string_view kSampleSizeLine = "Next line is the bootstrap sample size (n)";
constexpr std::string_view kReplicatesLine = "Next line is the effective bootstrap numbers (B)";
constexpr std::string_view kProjectPrefix = "Project: ";

// A bootstrap's own C0 file: the project, n and B each after its heading line, a line "C0", n,
// the cohort's C0, then the B replicate values, one a line.
Treatment2 readBootstrapC0Column(FieldReader& reader, const std::string& title) {
  Treatment2 treatment;
  treatment.title = title.starts_with(kProjectPrefix) ? title.substr(kProjectPrefix.size()) : title;
  reader.setContext("the sample size n");
  treatment.sampleSize =
      static_cast<int>(reader.readWholeNumber("sample size n", 1, kMaxSampleSize));
  reader.setContext("the heading of B");
  const std::string replicatesLine = reader.readText();
  if (!replicatesLine.starts_with(kReplicatesLine)) {
    reader.fail("the line \"" + std::string(kReplicatesLine) + "\" was expected.");
  }
  reader.setContext("the number of bootstrap values B");
  treatment.count =
      static_cast<int>(reader.readWholeNumber("number of bootstrap values B", 2, kMaxReplicates));
  reader.setContext("the line of the cohort's C0");
  reader.readText();
  reader.readNumber();
  reader.readNumber();
  treatment.values.assign(static_cast<std::size_t>(treatment.count) + 1, 0.0);
  for (int b = 1; b <= treatment.count; ++b) {
    reader.setContext("bootstrap value no. " + formatInteger(b));
    treatment.values[static_cast<std::size_t>(b)] = reader.readNumber();
  }
  return treatment;
}

}  // namespace

Treatment2 parseTreatment2(std::string contents, const std::string& fileName) {
  FieldReader reader(std::move(contents),
                     FieldErrorStyle{std::string(kCompareTitle), false, "", fileName});
  Treatment2 treatment;
  reader.setContext("the heading");
  treatment.title = reader.readText();
  // The two layouts tell themselves apart by the second line.
  const std::string second = reader.readText();
  if (second == kSampleSizeLine) return readBootstrapC0Column(reader, treatment.title);
  reader.setNote(
      "A second treatment is read from a treatment-2 file (a title, three more lines, n, a label, "
      "K, then K records \"b, C0\") or from the \"_4_Bootstrap_C0_in column.txt\" of a "
      "bootstrap.");
  reader.readText();
  reader.readText();
  reader.setContext("the sample size n");
  treatment.sampleSize =
      static_cast<int>(reader.readWholeNumber("sample size n", 1, kMaxSampleSize));
  reader.readText();
  reader.setContext("the number of bootstrap values K");
  treatment.count =
      static_cast<int>(reader.readWholeNumber("number of bootstrap values K", 2, kMaxReplicates));
  treatment.values.assign(static_cast<std::size_t>(treatment.count) + 1, 0.0);
  for (int expected = 1; expected <= treatment.count; ++expected) {
    reader.setContext("bootstrap record no. " + formatInteger(expected));
    const int line = reader.lineNumber();
    const double b = reader.readNumber();
    if (b < 1 || b > treatment.count || b != std::floor(b)) {
      reader.failAt(line, "the record number " + formatDigits(b) +
                              " is not a whole number from 1 to " + formatInteger(treatment.count) +
                              ".");
    }
    if (b != expected) {
      reader.failAt(line, "the record number " + formatDigits(b) +
                              " is out of order; the records must be numbered 1 to " +
                              formatInteger(treatment.count) + " in order.");
    }
    treatment.values[static_cast<std::size_t>(expected)] = reader.readNumber();
  }
  return treatment;
}

}  // namespace pellmar
