#include "app/study_in_memory.h"

#include "app/program.h"
#include "core/analysis/basic_run.h"
#include "core/data/fecundity_file.h"
#include "core/data/study_reader.h"
#include "core/predation/fecundity_life_table.h"

namespace pellmar {

StudyInMemory::StudyInMemory(const OpenRequest& open,
                             const std::optional<ReadFecundityRequest>& fecundity) {
  validate(open);
  if (fecundity) validate(*fecundity);
  StudyData& study = session_.study;
  study.outputBaseName = outputBaseNameFor(open.dataFile);
  lock_ = lockResultsOf(open.dataFile, study.outputBaseName);
  checkStudyHeader(open.dataFile);
  study.timeUnit = open.timeUnit;
  study.dataFileName = open.dataFile;
  study.basicOutputFileName = study.outputBaseName + "_0_Basic_Output.txt";
  checkStudyOnOpen(study);
  readStudyInFull(study);
  if (!computeBasicRunResults(session_)) {
    throw UserError("Basic Run", "Error!!!!", ErrorKind::kCommandFailed);
  }
  session_.basic.basicRunDone = true;
  if (fecundity) {
    session_.lifeTable =
        computeFecundityLifeTable(study, session_.basic, readFecundityFile(fecundity->file, study));
  }
}

}  // namespace pellmar
