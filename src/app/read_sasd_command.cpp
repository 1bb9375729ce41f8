#include "app/read_sasd_command.h"

#include "app/analysis.h"
#include "core/predation/finite_predation_rate_file.h"
#include "core/predation/sasd_reader.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

const std::string kSasdStepTitle(kReadSasdTitle);

}  // namespace

ReadSasdRequest askReadSasd(Dialogs& dialogs) {
  return ReadSasdRequest{dialogs.openFileDialog(FileKind::kSasd)};
}

void validate(const ReadSasdRequest& request) {
  if (request.file.empty()) {
    throw UserError(kSasdStepTitle,
                    "No stable age-stage distribution file was chosen; the predation rates were "
                    "not calculated.",
                    ErrorKind::kInvalidRequest);
  }
}

ReadSasdResult Analysis::readSasd(const ReadSasdRequest& request, InputFileReader& reader,
                                  OutputFiles& files) {
  requireStep(AnalysisStep::kReadSasd, kSasdStepTitle);
  validate(request);
  const InputFile file = reader.read(request.file, kSasdStepTitle);
  PredationRates predation = pellmar::readSasd(file, study_, *basic_);
  const std::size_t before = files.saved().size();
  writeFinitePredationRateFile(study_, predation, files);

  ReadSasdResult result;
  result.lambda = predation.finiteRate;
  result.psi = predation.stablePredationRate;
  result.omega = predation.finitePredationRate;
  result.lnOmega = predation.intrinsicPredationRate;
  result.lnOmegaDefined = predation.intrinsicRateDefined;
  result.message =
      Notice{"Finite predation rate", finitePredationRateMessage(predation, study_.timeUnit)};
  result.filesWritten = files.pathsSince(before);
  recordInput(file);
  predation_ = std::move(predation);
  distributionSource_ = DistributionSource::kSasdFile;
  return result;
}

}  // namespace pellmar
