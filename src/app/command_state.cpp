#include "app/command_state.h"

namespace pellmar {

CommandStates::CommandStates() {
  // The state at start: only opening a data file (and the commands that are always enabled)
  // can be used; "C2B" is hidden as well.
  for (const Command command :
       {Command::kBasicRun, Command::kReadSasd, Command::kReadFecundity, Command::kBootstrap,
        Command::kJackknife, Command::kCompare, Command::kActionFrame, Command::kPairedTest,
        Command::kOutputFiles, Command::kResults, Command::kMeans, Command::kLarge,
        Command::kFigureFrame, Command::kShowFecundity}) {
    disable(command);
  }
  show(Command::kCompare, false);
}

}  // namespace pellmar
