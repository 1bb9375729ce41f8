#include "app/read_fecundity_command.h"

#include <memory>
#include <sstream>

#include "app/program.h"
#include "core/data/fecundity_file.h"
#include "core/data/input_file.h"
#include "core/data/study_reader.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/finite_predation_rate_file.h"
#include "core/predation/life_table_report.h"
#include "core/predation/sasd_reader.h"
#include "core/predation/stable_distribution_file.h"
#include "core/report/number_format.h"

namespace pellmar {
namespace {

const std::string kTitle(kReadFecundityTitle);

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
    throw UserError(kTitle, "No fecundity file was chosen; the life table was not calculated.",
                    ErrorKind::kInvalidRequest);
  }
  openInputFile(request.file, kTitle);
}

void validate(const ReadFecundityRequest& request, const OpenRequest& open) {
  validate(request);
  StudyData base;
  base.dataFileName = open.dataFile;
  base.timeUnit = open.timeUnit;
  const StudyData study =
      parseStudy(loadDataFile(open.dataFile), StudyReadMode::kOpeningCheck, base);
  readFecundityFile(request.file, study);
}

ReadFecundityResult Program::run(const ReadFecundityRequest& request) {
  return guarded([&] {
    Session& s = session_;
    if (!s.basic.basicRunDone) {
      throw UserError(kTitle,
                      "The life table is built on the age-stage matrices of the Basic Run.\n"
                      "Please run the Basic Run (Step 2) first.",
                      ErrorKind::kInvalidRequest);
    }
    if (s.predation.sasdDone && !s.lifeTable) {
      throw UserError(kTitle,
                      "The stable age-stage distribution of this run has been read from a SASD "
                      "file. Read SASD and Read fecundity exclude each other in one run.",
                      ErrorKind::kInvalidRequest);
    }
    validate(request);
    FecundityData fecundity = readFecundityFile(request.file, s.study);
    FecundityLifeTable table = computeFecundityLifeTable(s.study, s.basic, fecundity);

    // The stable age-stage distribution is read back from the very text of its file, so that
    // everything after this step is what reading that file with "Read SASD" gives.
    const std::size_t filesBefore = s.writtenFiles.size();
    const PredationState predationBefore = s.predation;
    try {
      OutputFiles files = s.outputFiles();
      files.save(std::string(kLifeTableReportSuffix), lifeTableReport(s.study, table));
      if (table.growth) {
        const ReportWriter sasd = stableDistributionFile(s.study, table);
        readStableDistribution(s, std::make_unique<std::istringstream>(sasd.contents()));
        files.save(std::string(kStableDistributionFileSuffix), sasd);
        writeFinitePredationRateFile(s, files);
        s.predation.sasdDone = true;
      } else {
        s.predation = PredationState{};
      }
    } catch (const UserError&) {
      s.predation = predationBefore;
      throw;
    }

    ReadFecundityResult result;
    result.R0 = table.R0;
    result.GRR = table.GRR;
    result.F = table.F;
    result.growth = table.growth;
    if (table.growth) {
      const PredationState& predation = s.predation;
      result.psi = predation.stablePredationRate;
      result.omega = predation.finitePredationRate;
      result.lnOmega = predation.intrinsicPredationRate;
      result.lnOmegaDefined = predation.intrinsicRateDefined;
      result.message = Notice{
          "Finit predation rate",
          growthMessage(table) + "\n" + finitePredationRateMessage(predation, s.study.timeUnit)};
    } else {
      result.message = Notice{kTitle, growthMessage(table)};
      result.warning =
          Notice{kTitle,
                 "No female of this study laid eggs, so R0 is 0 and there is no intrinsic rate of "
                 "increase r, finite rate lambda or generation time T. Without lambda there is no "
                 "stable age-stage distribution: psi and omega were not calculated."};
    }
    s.lifeTable = std::move(table);
    s.fecundity = std::move(fecundity);
    s.recordInput(request.file);
    commands_.disable(Command::kReadSasd);
    commands_.enable(Command::kShowFecundity);
    writeSummary();
    result.filesWritten = filesWrittenSince(filesBefore);
    return result;
  });
}

}  // namespace pellmar
