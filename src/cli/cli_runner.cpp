#include "cli/cli_runner.h"

#include "app/program.h"
#include "app/scripted_dialogs.h"
#include "core/analysis/report/number_format.h"

namespace pellmar {
namespace {

// The messages that report a result rather than a failure go to standard output.
bool isResultMessage(const ScriptedDialogs::Message& message) {
  return message.title == "Check data file" || message.title == "Finit predation rate" ||
         message.title == "t-test" || message.title == "Task completed" ||
         message.buttons == MessageButtons::kYesNo;
}

}  // namespace

int runCli(const CliOptions& options, std::ostream& out, std::ostream& err) {
  if (options.action == CliOptions::Action::kHelp) {
    out << cliUsage();
    return 0;
  }
  if (options.action == CliOptions::Action::kVersion) {
    out << "Pellmar " PELLMAR_VERSION "\n";
    return 0;
  }
  ScriptedDialogs dialogs;
  dialogs.answerPrompt(options.timeUnitAnswer).chooseFile(options.dataFile);
  dialogs.onMessage([&](const ScriptedDialogs::Message& message) {
    if (isResultMessage(message)) {
      out << message.text << '\n';
    } else {
      err << message.title << '\n' << message.text << '\n';
    }
  });
  long lastShown = -1;
  dialogs.onProgress([&](std::string_view label, long done, long total) {
    // One line per tenth of the work keeps a log readable.
    const long tenth = total >= 10 ? total / 10 : 1;
    if (done != lastShown && (done / tenth != lastShown / tenth || done == total)) {
      err << label << ": " << done << " of " << total << '\n';
      lastShown = done;
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
  if (!program.lastError() && options.sasdFile) {
    dialogs.chooseFile(*options.sasdFile);
    program.readSasd();
  }
  if (!program.lastError() && (options.bootstrapReplicates || options.sameSamplesFile)) {
    if (options.sameSamplesFile) {
      dialogs.answerPrompt("1").chooseFile(*options.sameSamplesFile);
    } else {
      const std::uint64_t seed = options.seed ? *options.seed : seedFromClock();
      program.setBootstrapSeed(seed);
      out << "Bootstrap seed: " << seed << '\n';
      dialogs.answerPrompt("2").answerPrompt(*options.bootstrapReplicates);
      dialogs.answerPrompt(options.sampleSize
                               ? *options.sampleSize
                               : formatInteger(program.session().study.individualCount));
    }
    dialogs.answerYesNo(options.normalDensity);
    program.bootstrap();
    if (!program.lastError() && options.compareFile) {
      dialogs.chooseFile(*options.compareFile);
      program.compareBootstraps();
    }
  }
  if (!program.lastError() && options.jackknife) program.jackknife();
  for (const std::string& path : program.session().writtenFiles) out << path << '\n';
  return program.lastError() ? 1 : 0;
}

}  // namespace pellmar
