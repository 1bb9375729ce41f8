#include "app/program.h"
#include "core/predation/finite_predation_rate_file.h"
#include "core/predation/sasd_reader.h"
#include "core/resampling/comparison.h"

namespace pellmar {

void Program::readSasd() {
  guarded([&] {
    const std::string path = dialogs_.openFileDialog();
    if (path.empty()) {
      throw UserError("Read SASD",
                      "No stable age-stage distribution file was chosen; the predation rates "
                      "were not calculated.",
                      false);
    }
    readSasdFile(session_, path);
    writeFinitePredationRateFile(session_);
    session_.predation.sasdDone = true;
    dialogs_.messageBox(finitePredationRateMessage(session_.predation), MessageButtons::kOk,
                        "Finit predation rate");
  });
}

void Program::pairedBootstrapTest() {
  dialogs_.messageBox("Please use CORVANE-MSChart to run paired bootstrap test.",
                      MessageButtons::kOk, "Paired bootstrap test");
}

void Program::compareBootstraps() {
  guarded([&] {
    const std::string path = dialogs_.openFileDialog();
    if (path.empty()) return;
    const std::string message = compareTwoBootstraps(session_, path);
    commands_.disable(Command::kCompare);
    dialogs_.messageBox(message, MessageButtons::kOk, "t-test");
  });
}

}  // namespace pellmar
