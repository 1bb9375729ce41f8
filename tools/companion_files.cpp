#include "companion_files.h"

#include <cmath>
#include <vector>

#include "core/analysis/report/report_writer.h"
#include "core/resampling/replicate_random.h"
#include "core/user_error.h"

namespace pellmar::tools {
namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

constexpr double kEggsPerFemaleDay = 10.0;

// Eggs each individual lays: females lay every adult day from two days after emergence.
std::vector<double> eggsOf(const StudyData& study) {
  std::vector<double> eggs(at(study.individualCount) + 1, 0.0);
  const int m = study.stageCount;
  for (int i = 1; i <= study.individualCount; ++i) {
    const IndividualRecord& record = study.individual(i);
    if (record.sex == "F") {
      eggs[at(i)] = kEggsPerFemaleDay * std::max(record.stageDuration[at(m)] - 2.0, 0.0);
    }
  }
  return eggs;
}

// A generation time of thirty days turns R0 into lambda.
double lambdaOf(double r0) { return r0 > 0 ? std::exp(std::log(r0) / 30.0) : 0.0; }

// A cohort without offspring has no effective bootstrap replicate: drawing would never end.
void requireOffspring(const StudyData& study) {
  for (const double e : eggsOf(study)) {
    if (e > 0) return;
  }
  throw UserError("pellmar-make-companion",
                  "No female of this cohort lays eggs (only females whose adult stage lasts "
                  "more than two time units do), so no bootstrap sample of it has offspring.",
                  ErrorKind::kCommandFailed);
}

}  // namespace

std::string bootstrapSamplesFile(const StudyData& study, const CompanionShape& shape) {
  requireOffspring(study);
  const int n = study.individualCount;
  const std::vector<double> eggs = eggsOf(study);
  ReportWriter out;
  out.writeLine({"Bootstrap samples of the life table"});
  out.writeLine({study.projectTitle});
  out.writeLine({study.studyDate});
  out.writeLine({"Bootstrap number", static_cast<double>(shape.replicates)});
  out.writeLine({"Sample size", static_cast<double>(n)});
  double sumR0 = 0, sumR0Squares = 0, sumLambda = 0, sumLambdaSquares = 0;
  int written = 0;
  // A replicate has offspring when it draws a laying female; with at least one of N that
  // happens about once in 1.6 draws, so this many tries never run out in practice.
  const std::uint64_t tries = 1000 * static_cast<std::uint64_t>(shape.replicates);
  for (std::uint64_t b = 1; written < shape.replicates; ++b) {
    if (b > tries) {
      throw UserError("pellmar-make-companion",
                      "Too few bootstrap samples of this cohort have offspring.",
                      ErrorKind::kCommandFailed);
    }
    ReplicateRandom random(shape.seed, b);
    std::vector<int> sample(at(n));
    double laid = 0.0;
    for (int& i : sample) {
      i = drawIndividual(random, n);
      laid += eggs[at(i)];
    }
    // Only effective replicates, those with offspring, are written.
    if (laid == 0) continue;
    ++written;
    const double r0 = laid / n;
    const double lambda = lambdaOf(r0);
    sumR0 += r0;
    sumR0Squares += r0 * r0;
    sumLambda += lambda;
    sumLambdaSquares += lambda * lambda;
    out.writeLine({"Bootstrap " + std::to_string(written)});
    for (int k = 0; k < n; ++k) {
      out.digits(sample[at(k)]);
      if (k + 1 == n || (k + 1) % 20 == 0) {
        out.endLine();
      } else {
        out.text(",");
      }
    }
    out.writeLine({"Ro", r0});
    out.writeLine({"lambda", lambda});
  }
  double cohortEggs = 0;
  for (const double e : eggs) cohortEggs += e;
  const double B = shape.replicates;
  const auto variance = [&](double sum, double squares) {
    return B > 1 ? std::max((squares - sum * sum / B) / (B - 1), 0.0) : 0.0;
  };
  const double r0Variance = variance(sumR0, sumR0Squares);
  const double lambdaVariance = variance(sumLambda, sumLambdaSquares);
  out.writeLine({"Mean of Ro", sumR0 / B});
  out.writeLine({"Variance of Ro", r0Variance});
  out.writeLine({"SE of Ro", std::sqrt(r0Variance)});
  out.writeLine({"Ro", cohortEggs / n});
  out.writeLine({"Mean of lambda", sumLambda / B});
  out.writeLine({"Variance of lambda", lambdaVariance});
  out.writeLine({"SE of lambda", std::sqrt(lambdaVariance)});
  out.writeLine({"lambda", lambdaOf(cohortEggs / n)});
  return out.contents();
}

}  // namespace pellmar::tools
