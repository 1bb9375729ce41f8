#include "core/resampling/samples_file.h"

#include "core/data/limits.h"
#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

const std::string kSamplesErrorTitle(kSamplesFileTitle);

}  // namespace

SamplesFileReader::SamplesFileReader(std::unique_ptr<std::istream> in, int cohortSize,
                                     const std::string& fileName)
    : fields_(std::move(in), FieldErrorStyle{kSamplesErrorTitle, false, "", fileName}),
      cohortSize_(cohortSize) {
  readHeading();
}

SamplesFileReader::SamplesFileReader(std::string contents, int cohortSize,
                                     const std::string& fileName)
    : fields_(std::move(contents), FieldErrorStyle{kSamplesErrorTitle, false, "", fileName}),
      cohortSize_(cohortSize) {
  readHeading();
}

void SamplesFileReader::readHeading() {
  fields_.setContext("the heading");
  for (int label = 0; label < 3; ++label) fields_.readText();
  fields_.readText();
  replicateCount_ = static_cast<int>(
      fields_.readWholeNumber("number of bootstrap samples", 1, kMaxBootstrapReplicates));
  fields_.readText();
  sampleSize_ = static_cast<int>(fields_.readWholeNumber("sample size", 1, 100000));
  if (sampleSize_ != cohortSize_) {
    throw UserError(kSamplesErrorTitle,
                    "The bootstrap samples in this file have " + formatInteger(sampleSize_) +
                        " individuals each; this study has " + formatInteger(cohortSize_) +
                        ".\nPlease choose the samples file written for this study.",
                    ErrorKind::kCommandFailed);
  }
}

void SamplesFileReader::readReplicate(int b, std::vector<int>& individuals, double& r0,
                                      double& lambda) {
  fields_.setContext("bootstrap sample " + formatInteger(b));
  fields_.readText();
  individuals.resize(static_cast<std::size_t>(sampleSize_));
  for (int& i : individuals) {
    i = static_cast<int>(fields_.readWholeNumber("individual number", 1, cohortSize_));
  }
  fields_.readText();
  r0 = fields_.readNumber();
  fields_.readText();
  lambda = fields_.readNumber();
  const int lambdaLine = fields_.lastFieldLine();
  if (r0 == 0) {
    throw UserError("Bootstrap Ro = 0",
                    "Bootstrap no. " + formatInteger(b) +
                        ".  Ro = 0.  Please reanalyze your life table and make sure all "
                        "bootstrap samples are effective.",
                    ErrorKind::kProgramEnds);
  }
  if (!(lambda > 0)) {
    fields_.failAt(lambdaLine, "lambda is " + formatDigits(lambda) +
                                   "; the finite rate of increase must be a number above 0.");
  }
}

LifeTableFigures SamplesFileReader::readClosingFigures() {
  fields_.setContext("the closing figures");
  LifeTableFigures figures;
  for (double* value :
       {&figures.lifeTableR0Mean, &figures.lifeTableR0Variance, &figures.lifeTableR0SE, &figures.R0,
        &figures.lifeTableLambdaMean, &figures.lifeTableLambdaVariance, &figures.lifeTableLambdaSE,
        &figures.lifeTableLambda}) {
    fields_.readText();
    *value = fields_.readNumber();
  }
  return figures;
}

}  // namespace pellmar
