#include "core/resampling/comparison.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "core/analysis/report/number_format.h"
#include "core/data/field_reader.h"
#include "core/resampling/replicate_summary.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

constexpr std::string_view kTitle = "Compare two bootstraps";
// The largest replicate count and sample size the treatment-2 file may state.
constexpr long long kMaxReplicates = 200010;
constexpr long long kMaxSampleSize = 32767;

[[noreturn]] void refuse(const std::string& text) {
  throw UserError(std::string(kTitle), text, false);
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) refuse("The file " + path + " cannot be read.");
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) refuse("The file " + path + " cannot be read.");
  return contents.str();
}

// The second treatment as its file gives it: a title, n, and the K replicate values (1-based).
struct Treatment2 {
  std::string title;
  int sampleSize = 0;
  int count = 0;
  std::vector<double> values;
};

// Three text fields (the title first), a label and n, a label and K, then K records of a
// replicate number and its C0, numbered 1 .. K in order. Reading ends with record K.
Treatment2 readTreatment2(const std::string& path) {
  FieldReader reader(readWholeFile(path), FieldErrorStyle{std::string(kTitle), false, ""});
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

}  // namespace

std::string compareTwoBootstraps(Session& session, const std::string& path) {
  const BootstrapState& boot = session.bootstrap;
  if (boot.bootCount < 1 || boot.bootSampleSize < 1) {
    refuse("Run a bootstrap first: the comparison takes this study's bootstrap as treatment 1.");
  }
  const Treatment2 treatment = readTreatment2(path);
  const ReplicateSummary second = summarizeReplicates(treatment.values, treatment.count);
  const ReplicateSummary& first = boot.c0;
  if (first.variance == 0 && second.variance == 0) {
    refuse(
        "The bootstrap values of both treatments have variance 0, so no t-value can be "
        "computed.");
  }
  const double seOfDifference =
      std::sqrt(first.variance / boot.bootSampleSize + second.variance / treatment.sampleSize);
  const double t = std::fabs(second.mean - first.mean) / seOfDifference;

  ReportWriter out;
  constexpr int kRuleLength = 60;
  out.text("Treatment 1: ").text(session.study.projectTitle).endLine();
  out.text("Treatment 2: ").text(treatment.title).endLine();
  out.repeat('=', kRuleLength).endLine();
  out.tab(17).text("Treatment 1").tab(42).text("Treatment 2").endLine();
  out.repeat('-', kRuleLength).endLine();
  out.text("Mean =").tab(15).number(first.mean).tab(40).number(second.mean).endLine();
  out.text("Variance =").tab(15).number(first.variance).tab(40).number(second.variance);
  out.endLine();
  out.text("SE =").tab(15).number(first.se).tab(40).number(second.se).endLine();
  out.repeat('-', kRuleLength).endLine();
  out.text("t-value =").number(t).endLine();
  out.line(" ");
  out.endLine();
  session.saveOutput("_6-Compare2Bs-output.txt", out);

  ComparisonState& comparison = session.comparison;
  comparison.done = true;
  comparison.treatment2Title = treatment.title;
  comparison.treatment2SampleSize = treatment.sampleSize;
  comparison.treatment2Count = treatment.count;
  comparison.treatment2Mean = second.mean;
  comparison.treatment2Variance = second.variance;
  comparison.treatment2SE = second.se;
  comparison.tValue = t;
  return "The t-value = " + formatDigits(t);
}

}  // namespace pellmar
