#include "core/resampling/comparison.h"

#include <cmath>

#include "core/report/number_format.h"
#include "core/resampling/replicate_summary.h"
#include "core/resampling/treatment2_file.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

[[noreturn]] void refuse(const std::string& text) {
  throw UserError(std::string(kCompareTitle), text, ErrorKind::kCommandFailed);
}

}  // namespace

ComparisonResults compareTwoBootstraps(const BootstrapResults& boot, const Treatment2& treatment) {
  if (boot.bootCount < 1 || boot.bootSampleSize < 1) {
    refuse("Run a bootstrap first: the comparison takes this study's bootstrap as treatment 1.");
  }
  const ReplicateSummary second = summarizeReplicates(treatment.values, treatment.count);
  const ReplicateSummary& first = boot.c0;
  if (first.variance == 0 && second.variance == 0) {
    refuse(
        "The bootstrap values of both treatments have variance 0, so no t-value can be "
        "computed.");
  }
  const double seOfDifference =
      std::sqrt(first.variance / boot.bootSampleSize + second.variance / treatment.sampleSize);
  ComparisonResults comparison;
  comparison.treatment2Title = treatment.title;
  comparison.treatment2SampleSize = treatment.sampleSize;
  comparison.treatment2Count = treatment.count;
  comparison.treatment2Mean = second.mean;
  comparison.treatment2Variance = second.variance;
  comparison.treatment2SE = second.se;
  comparison.tValue = std::fabs(second.mean - first.mean) / seOfDifference;
  comparison.difference = first.mean - second.mean;
  comparison.seOfDifference = std::sqrt(first.variance + second.variance);
  comparison.z = comparison.difference / comparison.seOfDifference;
  comparison.p = std::erfc(std::fabs(comparison.z) / std::sqrt(2.0));
  return comparison;
}

void writeComparisonFile(const Study& study, const BootstrapResults& boot,
                         const ComparisonResults& comparison, OutputFiles& files) {
  const ReplicateSummary& first = boot.c0;
  ReportWriter out;
  constexpr int kRuleLength = 60;
  out.text("Treatment 1: ").text(study.projectTitle).endLine();
  out.text("Treatment 2: ").text(comparison.treatment2Title).endLine();
  out.repeat('=', kRuleLength).endLine();
  out.tab(17).text("Treatment 1").tab(42).text("Treatment 2").endLine();
  out.repeat('-', kRuleLength).endLine();
  out.text("Mean =").tab(15).number(first.mean).tab(40).number(comparison.treatment2Mean);
  out.endLine();
  out.text("Variance =").tab(15).number(first.variance).tab(40);
  out.number(comparison.treatment2Variance).endLine();
  out.text("SE =").tab(15).number(first.se).tab(40).number(comparison.treatment2SE).endLine();
  out.repeat('-', kRuleLength).endLine();
  out.text("t-value =").number(comparison.tValue).endLine();
  out.line(" ");
  out.endLine();
  files.save("_6-Compare2Bs-output.txt", out);
}

std::string comparisonMessage(const ComparisonResults& comparison) {
  return "The t-value = " + formatDigits(comparison.tValue) +
         "\nThis t divides the bootstrap variances by n once more; the z and P below do not." +
         "\nDifference of the means (treatment 1 - treatment 2) = " +
         formatDigits(comparison.difference) +
         "\nSE of the difference = " + formatDigits(comparison.seOfDifference) +
         "\nz = " + formatDigits(comparison.z) + ", two-sided P = " + formatDigits(comparison.p) +
         "\nThe paired bootstrap test compares the two without assuming normality.";
}

}  // namespace pellmar
