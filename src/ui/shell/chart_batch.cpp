#include "ui/shell/chart_batch.h"

#include <QApplication>
#include <algorithm>
#include <iostream>
#include <optional>

#include "core/analysis/basic_run.h"
#include "core/data/limits.h"
#include "core/data/study_reader.h"
#include "core/platform/platform.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/projection.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/projection_replicates.h"
#include "core/user_error.h"
#include "ui/charts/chart_picture.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/life_charts.h"
#include "ui/charts/projection_chart.h"

namespace pellmar {
namespace {

// The projection of the study and, with a bootstrap, the band of its replicates and the life
// tables at their lambda ranks, drawn as the projection chart.
void exportProjectionChart(const Study& study, const BasicRunResults& basic,
                           const FecundityData& eggs, const FecundityLifeTable& lifeTable,
                           const ProjectionChartRequest& request,
                           const ChartExportRequest& picture) {
  const ProjectionRequest& asked = request.projection;
  validate(asked);
  const std::string title(kProjectionTitle);
  const std::optional<int> steps = projectionSteps(asked.days, study.timeUnit);
  if (!steps) {
    throw UserError(title, "The projection takes more steps of the time unit than it can.",
                    ErrorKind::kInvalidRequest);
  }
  const Projection projection =
      projectPopulation(projectionLifeTableOf(basic, lifeTable), asked.start, *steps, title);
  std::optional<ProjectionReplicates> replicates;
  if (request.replicates && lifeTable.growth) {
    const StudyFecundity fecundity{eggs, lifeTable};
    const BootstrapResults boot = ownSamplesBootstrap(
        study, basic,
        OwnSamplesOptions{*request.replicates, study.individualCount, request.seed, false},
        &fecundity, {});
    const ProjectionBootstrap source{boot.seed,         boot.bootCount,  boot.bootSampleSize,
                                     boot.redrawBarren, boot.bootLambda, kDefaultConfidence};
    replicates = projectReplicates(study, eggs, source, asked.start, projection, {});
  }
  // As the desktop's projection view draws it: the band shaded, the lambda ranks dashed.
  ProjectionChartOptions options;
  if (replicates) options.ranks = replicates->ranks;
  exportChartPicture(
      [&](QChart& chart) {
        drawProjectionChart(chart, projection, replicates ? &replicates->band : nullptr,
                            kDefaultConfidence, options);
      },
      picture);
}

// The histogram of the C0 of an own-samples bootstrap of the cohort's size, as the desktop draws
// it after the same bootstrap.
void exportFrequencyChart(const Study& study, const BasicRunResults& basic,
                          const FrequencyChartRequest& request, const ChartExportRequest& picture) {
  const BootstrapResults boot = ownSamplesBootstrap(
      study, basic,
      OwnSamplesOptions{request.replicates,
                        std::min(study.individualCount, kMaxBootstrapSampleSize), request.seed,
                        false},
      nullptr, {});
  const FrequencyFigure figure = bootstrapFrequencyFigure(boot);
  exportChartPicture([&figure](QChart& chart) { drawFrequencyChart(chart, figure); }, picture);
}

}  // namespace

int runChartExport(const std::vector<std::string>& arguments, std::ostream& err) {
  std::vector<std::string> commandLine{"--export-chart"};
  commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
  DesktopCommandLine parsed;
  try {
    parsed = parseDesktopCommandLine(commandLine);
  } catch (const CommandLineError& error) {
    err << "pellmar: " << error.message << '\n' << desktopUsage();
    return 2;
  }
  return runChartExport(parsed.chartExport, err);
}

int runChartExport(const ChartExportCommand& command, std::ostream& err) {
  try {
    // The study is analysed in memory: nothing but OUT is written, and no lock is taken.
    validate(command.open);
    if (command.fecundity) validate(*command.fecundity);
    InputFileReader reader;
    const Study study =
        readStudy(readDataFile(reader, command.open.dataFile), command.open.timeUnit, "");
    const BasicRunResults basic = basicRun(study);
    if (!basic.sexCountsAddUp) throw UserError("Basic Run", "Error!!!!", ErrorKind::kCommandFailed);
    std::optional<FecundityData> eggs;
    std::optional<FecundityLifeTable> lifeTable;
    if (command.fecundity) {
      const InputFile file = reader.read(command.fecundity->file, kReadFecundityTitle);
      eggs = parseFecundity(file.bytes, file.path, study);
      lifeTable = computeFecundityLifeTable(study, basic, *eggs);
    }
    if (command.projection) {
      exportProjectionChart(study, basic, *eggs, *lifeTable, *command.projection, command.picture);
      return 0;
    }
    if (command.frequency) {
      exportFrequencyChart(study, basic, *command.frequency, command.picture);
      return 0;
    }
    if (command.chart == LifeChart::kVxj && !(lifeTable && lifeTable->growth)) {
      throw UserError("Export chart",
                      "No female of this study laid eggs: without lambda there is no "
                      "reproductive value to draw.",
                      ErrorKind::kCommandFailed);
    }
    // The same drawing as Export chart… in either window.
    const LifeChartData data{study, basic, lifeTable ? &*lifeTable : nullptr,
                             eggs ? &*eggs : nullptr};
    exportChartPicture(
        [&data, &command](QChart& chart) { drawLifeChart(chart, command.chart, data); },
        command.picture);
  } catch (const UserError& error) {
    err << error.title() << '\n' << error.text() << '\n';
    return error.kind() == ErrorKind::kInvalidRequest ? 2 : 1;
  }
  return 0;
}

int chartExportMain(const ChartExportCommand& command, int argc, char** argv) {
  platform::useUtf8Console();
  // The batch prints only its own messages, not Qt's about the session it runs in.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  // The batch shows no window: it draws on the offscreen platform, with or without a display,
  // so that its pictures do not depend on one.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return runChartExport(command, std::cerr);
}

}  // namespace pellmar
