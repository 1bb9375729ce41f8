#include "app/read_fecundity_command.h"

#include "app/analysis.h"
#include "core/data/fecundity_file.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/finite_predation_rate_file.h"
#include "core/predation/life_table_report.h"
#include "core/predation/sasd_reader.h"
#include "core/predation/stable_distribution_file.h"
#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

const std::string kFecundityStepTitle(kReadFecundityTitle);

std::string growthMessage(const FecundityLifeTable& table) {
  std::string text = "R0 =" + formatDigits(table.R0);
  if (table.growth) {
    text += ".  r =" + formatDigits(table.growth->r) +
            ".  lambda =" + formatDigits(table.growth->lambda) +
            ".  T =" + formatDigits(table.growth->T);
  }
  return text;
}

}  // namespace

ReadFecundityRequest askReadFecundity(Dialogs& dialogs) {
  return ReadFecundityRequest{dialogs.openFileDialog(FileKind::kFecundity)};
}

void validate(const ReadFecundityRequest& request) {
  if (request.file.empty()) {
    throw UserError(kFecundityStepTitle,
                    "No fecundity file was chosen; the life table was not calculated.",
                    ErrorKind::kInvalidRequest);
  }
}

ReadFecundityResult Analysis::readFecundity(const ReadFecundityRequest& request,
                                            InputFileReader& reader, OutputFiles& files) {
  requireStep(AnalysisStep::kReadFecundity, kFecundityStepTitle);
  validate(request);
  const InputFile file = reader.read(request.file, kFecundityStepTitle);
  FecundityData fecundity = parseFecundity(file.bytes, file.path, study_);
  FecundityLifeTable table = computeFecundityLifeTable(study_, *basic_, fecundity);
  std::optional<PredationRates> predation;
  if (table.growth) predation = predationRatesOf(study_, *basic_, table);

  const std::size_t before = files.saved().size();
  files.save(std::string(kLifeTableReportSuffix), lifeTableReport(study_, table));
  if (predation) {
    files.save(std::string(kStableDistributionFileSuffix), stableDistributionFile(study_, table));
    writeFinitePredationRateFile(study_, *predation, files);
    saveStageCurves(files, false, &fecundity, &table, nullptr);
  }

  ReadFecundityResult result;
  result.R0 = table.R0;
  result.GRR = table.GRR;
  if (table.femaleCount > 0) result.F = table.F;
  result.growth = table.growth;
  if (predation) {
    result.psi = predation->stablePredationRate;
    result.omega = predation->finitePredationRate;
    result.lnOmega = predation->intrinsicPredationRate;
    result.lnOmegaDefined = predation->intrinsicRateDefined;
    result.message = Notice{
        "Finite predation rate",
        growthMessage(table) + "\n" + finitePredationRateMessage(*predation, study_.timeUnit)};
  } else {
    result.message = Notice{kFecundityStepTitle, growthMessage(table)};
    result.warning =
        Notice{kFecundityStepTitle,
               "No female of this study laid eggs, so R0 is 0 and there is no intrinsic rate of "
               "increase r, finite rate lambda or generation time T. Without lambda there is no "
               "stable age-stage distribution: psi and omega were not calculated."};
  }
  result.filesWritten = files.pathsSince(before);
  recordInput(file);
  lifeTable_ = std::move(table);
  fecundity_ = std::move(fecundity);
  predation_ = std::move(predation);
  distributionSource_ = DistributionSource::kFecundity;
  return result;
}

}  // namespace pellmar
