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

}  // namespace

Treatment2 parseTreatment2(std::string contents, const std::string& fileName) {
  FieldReader reader(std::move(contents),
                     FieldErrorStyle{std::string(kCompareTitle), false, "", fileName});
  Treatment2 treatment;
  reader.setContext("the heading");
  treatment.title = reader.readText();
  reader.readText();
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
