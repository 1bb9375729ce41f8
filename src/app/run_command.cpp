#include "app/run_command.h"

#include "core/report/number_format.h"
#include "core/resampling/samples_file.h"
#include "core/resampling/treatment2_file.h"

namespace pellmar {
namespace {

void warn(const RunListener& listener, const Notice& notice) {
  if (listener.warned) listener.warned(notice.title + '\n' + notice.text);
}

void say(const RunListener& listener, const std::string& text) {
  if (listener.said) listener.said(text);
}

ProgressReport progressOf(const RunListener& listener, std::string_view step) {
  return listener.progressOf ? listener.progressOf(step) : ProgressReport{};
}

}  // namespace

void validate(const RunRequest& request) {
  validate(request.open);
  if (request.readSasd) validate(*request.readSasd);
  if (request.readFecundity) validate(*request.readFecundity);
  if (request.bootstrap) validate(*request.bootstrap);
  if (request.projection) validate(*request.projection);
}

void openInputsAhead(const RunRequest& request, InputFileReader& reader) {
  if (request.readSasd) reader.openAhead(request.readSasd->file, kReadSasdTitle);
  if (request.readFecundity) reader.openAhead(request.readFecundity->file, kReadFecundityTitle);
  if (request.bootstrap && request.bootstrap->source == SampleSource::kSameSamples) {
    reader.openAhead(request.bootstrap->samplesFile, kSamplesFileTitle);
  }
  if (request.comparison) reader.openAhead(request.comparison->treatment2File, kCompareTitle);
}

std::vector<std::string> runArguments(const RunRequest& request) {
  std::vector<std::string> arguments{"run", request.open.dataFile};
  if (request.open.timeUnit != 1.0) {
    arguments.insert(arguments.end(), {"--time-unit", formatShortest(request.open.timeUnit)});
  }
  if (request.readSasd) arguments.insert(arguments.end(), {"--sasd", request.readSasd->file});
  if (request.readFecundity) {
    arguments.insert(arguments.end(), {"--fecundity", request.readFecundity->file});
  }
  if (const auto& bootstrap = request.bootstrap) {
    if (bootstrap->source == SampleSource::kSameSamples) {
      arguments.insert(arguments.end(), {"--same-samples", bootstrap->samplesFile});
    } else {
      arguments.insert(arguments.end(), {"--bootstrap", std::to_string(bootstrap->replicates),
                                         "--seed", std::to_string(bootstrap->seed)});
      if (bootstrap->sampleSize) {
        arguments.insert(arguments.end(),
                         {"--sample-size", std::to_string(*bootstrap->sampleSize)});
      }
      if (bootstrap->redrawBarren) arguments.emplace_back("--redraw-barren");
    }
  }
  if (request.normalDensity) arguments.emplace_back("--normal-density");
  if (request.writeSamples) arguments.emplace_back("--write-samples");
  if (request.comparison) {
    arguments.insert(arguments.end(), {"--compare", request.comparison->treatment2File});
  }
  if (request.jackknife) arguments.emplace_back("--jackknife");
  if (request.confidence) {
    arguments.insert(arguments.end(), {"--confidence", formatShortest(*request.confidence)});
  }
  if (request.projection) {
    const ProjectionStart& start = request.projection->start;
    arguments.insert(
        arguments.end(),
        {"--projection-days", formatShortest(request.projection->days), "--initial",
         std::string(start.kind == ProjectionStart::Kind::kEggs ? "eggs:" : "stable:") +
             formatShortest(start.count)});
  }
  return arguments;
}

int runSteps(Analysis& analysis, const RunRequest& request, InputFileReader& reader,
             OutputFiles& files, const RunListener& listener, const std::stop_token& stop) {
  const BasicRunResult basicRun = analysis.basicRun(files);
  if (basicRun.warning) {
    // The analysis went wrong: nothing later would be worth having.
    warn(listener, *basicRun.warning);
    return 1;
  }
  for (const std::string& warning : analysis.study().warnings) {
    if (listener.warned) listener.warned(warning);
  }
  if (request.readSasd)
    say(listener, analysis.readSasd(*request.readSasd, reader, files).message.text);
  if (request.readFecundity) {
    const ReadFecundityResult lifeTable =
        analysis.readFecundity(*request.readFecundity, reader, files);
    if (lifeTable.warning) warn(listener, *lifeTable.warning);
    say(listener, lifeTable.message.text);
  }
  if (request.bootstrap) {
    if (request.bootstrap->source == SampleSource::kOwnSamples) {
      say(listener, "Bootstrap seed: " + std::to_string(request.bootstrap->seed));
    }
    const BootstrapResult bootstrap = analysis.bootstrap(*request.bootstrap, reader, files,
                                                         progressOf(listener, "Bootstrap"), stop);
    if (bootstrap.barrenReplicates) say(listener, *bootstrap.barrenReplicates);
    if (request.normalDensity) say(listener, analysis.normalDensity(files).message.text);
    if (request.writeSamples) {
      const SamplesFileResult samples = analysis.samplesFile(files);
      if (samples.warning) warn(listener, *samples.warning);
    }
    if (request.comparison) {
      say(listener, analysis.compare(*request.comparison, reader, files).message.text);
    }
  }
  if (request.jackknife) {
    const JackknifeResult jackknife =
        analysis.jackknife(files, progressOf(listener, "Jackknife"), stop);
    if (jackknife.note) say(listener, *jackknife.note);
  }
  if (request.projection) {
    // After the bootstrap, whose replicates give the projection its band.
    const ProjectionResult projection =
        analysis.project(*request.projection, files, progressOf(listener, "Projection"), stop);
    if (projection.replicatesTakingPart) say(listener, projection.replicatesTakingPart->text);
    if (projection.cutShort) say(listener, projection.cutShort->text);
  }
  return 0;
}

}  // namespace pellmar
