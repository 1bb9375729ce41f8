#include "app/read_sasd_command.h"

#include "app/program.h"
#include "core/data/input_file.h"
#include "core/predation/finite_predation_rate_file.h"
#include "core/predation/sasd_reader.h"

namespace pellmar {
namespace {

constexpr const char* kTitle = "Read SASD";

}  // namespace

ReadSasdRequest askReadSasd(Dialogs& dialogs) {
  return ReadSasdRequest{dialogs.openFileDialog(FileKind::kSasd)};
}

void validate(const ReadSasdRequest& request) {
  if (request.file.empty()) {
    throw UserError(kTitle,
                    "No stable age-stage distribution file was chosen; the predation rates were "
                    "not calculated.",
                    ErrorKind::kInvalidRequest);
  }
  openInputFile(request.file, kTitle);
}

ReadSasdResult Program::run(const ReadSasdRequest& request) {
  return guarded([&] {
    if (session_.lifeTable) {
      throw UserError(kTitle,
                      "The stable age-stage distribution of this run comes from the fecundity "
                      "life table. Read SASD and Read fecundity exclude each other in one run.",
                      ErrorKind::kInvalidRequest);
    }
    validate(request);
    const std::size_t filesBefore = session_.writtenFiles.size();
    readSasdFile(session_, request.file);
    session_.recordInput(request.file);
    OutputFiles files = session_.outputFiles();
    writeFinitePredationRateFile(session_, files);
    PredationState& predation = session_.predation;
    predation.sasdDone = true;
    commands_.disable(Command::kReadFecundity);
    writeSummary();
    ReadSasdResult result;
    result.lambda = predation.finiteRate;
    result.psi = predation.stablePredationRate;
    result.omega = predation.finitePredationRate;
    result.lnOmega = predation.intrinsicPredationRate;
    result.lnOmegaDefined = predation.intrinsicRateDefined;
    result.message = Notice{"Finit predation rate",
                            finitePredationRateMessage(predation, session_.study.timeUnit)};
    result.filesWritten = filesWrittenSince(filesBefore);
    return result;
  });
}

}  // namespace pellmar
