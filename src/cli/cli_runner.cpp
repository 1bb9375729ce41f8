#include "cli/cli_runner.h"

#include "app/program.h"
#include "app/scripted_dialogs.h"

namespace pellmar {

int runCli(const CliOptions& options, std::ostream& out, std::ostream& err) {
  if (options.action == CliOptions::Action::kHelp) {
    out << cliUsage();
    return 0;
  }
  ScriptedDialogs dialogs;
  dialogs.answerPrompt(options.timeUnitAnswer).chooseFile(options.dataFile);
  dialogs.onMessage([&](const ScriptedDialogs::Message& message) {
    if (message.title == "Check data file") {
      out << message.text << '\n';
    } else {
      err << message.title << '\n' << message.text << '\n';
    }
  });
  Program program(dialogs);
  program.openDataFile();
  if (program.lastError()) return 1;
  if (options.action == CliOptions::Action::kCheck) {
    program.checkDataFile();
    return program.lastError() ? 1 : 0;
  }
  program.basicRun();
  for (const std::string& path : program.session().writtenFiles) out << path << '\n';
  return program.lastError() ? 1 : 0;
}

}  // namespace pellmar
