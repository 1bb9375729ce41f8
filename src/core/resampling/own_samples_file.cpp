#include "core/resampling/own_samples_file.h"

#include <string>
#include <vector>

#include "core/report/number_format.h"
#include "core/resampling/bootstrap_engine.h"
#include "core/resampling/replicate_summary.h"

namespace pellmar {
namespace {

// Individual numbers per line: lines stay short enough to read in any editor.
constexpr std::size_t kIndividualsPerLine = 20;

}  // namespace

void writeOwnSamplesFile(const Study& study, const BootstrapResults& boot,
                         const EggContributions& eggs, OutputFiles& files) {
  const LifeTableFigures& figures = boot.lifeTable;
  ReportWriter out;
  out.writeLine({study.projectTitle});
  out.writeLine({study.userName});
  out.writeLine({study.studyDate});
  out.writeLine({"Number of bootstrap replicates (B)", static_cast<double>(boot.bootCount)});
  out.writeLine({"Sample size (n)", static_cast<double>(boot.bootSampleSize)});
  std::vector<int> individuals(static_cast<std::size_t>(boot.bootSampleSize));
  for (int b = 1; b <= boot.bootCount; ++b) {
    drawOwnSample(boot.seed, b, study.individualCount, boot.redrawBarren ? &eggs : nullptr,
                  individuals);
    out.writeLine({"Replicate " + formatInteger(b)});
    for (std::size_t k = 0; k < individuals.size(); ++k) {
      out.digits(individuals[k]);
      const bool lineEnds = (k + 1) % kIndividualsPerLine == 0 || k + 1 == individuals.size();
      if (lineEnds) {
        out.endLine();
      } else {
        out.text(",");
      }
    }
    out.writeLine({"R0", RoundTripNumber{replicateValue(boot.bootR0, b)}});
    out.writeLine({"lambda", RoundTripNumber{replicateValue(boot.bootLambda, b)}});
  }
  out.writeLine({"Mean of R0", RoundTripNumber{figures.lifeTableR0Mean}});
  out.writeLine({"Variance of R0", RoundTripNumber{figures.lifeTableR0Variance}});
  out.writeLine({"SE of R0", RoundTripNumber{figures.lifeTableR0SE}});
  out.writeLine({"R0 of the cohort", RoundTripNumber{figures.R0}});
  out.writeLine({"Mean of lambda", RoundTripNumber{figures.lifeTableLambdaMean}});
  out.writeLine({"Variance of lambda", RoundTripNumber{figures.lifeTableLambdaVariance}});
  out.writeLine({"SE of lambda", RoundTripNumber{figures.lifeTableLambdaSE}});
  out.writeLine({"lambda of the cohort", RoundTripNumber{figures.lifeTableLambda}});
  files.save(std::string(kOwnSamplesFileSuffix), out);
}

}  // namespace pellmar
