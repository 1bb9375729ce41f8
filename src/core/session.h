#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/fecundity_file.h"
#include "core/data/study_data.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/predation_state.h"
#include "core/report/report_output.h"
#include "core/report/report_writer.h"
#include "core/resampling/bootstrap_state.h"
#include "core/resampling/comparison_state.h"
#include "core/resampling/jackknife_state.h"

namespace pellmar {

// The resampling whose results the result screens show.
enum class ResamplingKind { kBootstrap, kJackknife };

// Everything one program run knows: the study, the results of each step and the report state.
// Every step of the analysis takes it by reference; the writers read it as const.
struct Session {
  StudyData study;
  BasicRunResults basic;
  PredationState predation;
  // The two-sex life table with fecundity, once the eggs of the females have been read; the
  // stable age-stage distribution in `predation` is then its own.
  std::optional<FecundityLifeTable> lifeTable;
  // The eggs of every female that the life table was computed from; own-sample replicates
  // compute their own life tables from them.
  FecundityData fecundity;
  BootstrapState bootstrap;
  JackknifeState jackknife;
  ComparisonState comparison;
  ReportCounters counters;
  // The basic report: created empty when a data file is opened, filled by the Basic Run and
  // saved when the Basic Run closes it.
  ReportWriter basicReport;
  bool basicReportOpen = false;
  // What the result screens show: the bootstrap's results after a bootstrap, the jackknife's
  // otherwise.
  ResamplingKind shownResampling = ResamplingKind::kJackknife;
  // Every output file written so far, in the order written.
  std::vector<std::string> writtenFiles;
  // Every input file read so far (the data, the SASD, the samples, the second treatment), as the
  // user gave it, in the order first read.
  std::vector<std::string> inputFiles;

  void recordInput(const std::string& path) {
    if (std::find(inputFiles.begin(), inputFiles.end(), path) == inputFiles.end()) {
      inputFiles.push_back(path);
    }
  }

  // Where the writers put the basic report's tables and the output files. They read the results
  // through a const Session and change only these.
  ReportPages basicReportPages() { return ReportPages{basicReport, counters}; }
  OutputFiles outputFiles() { return {study.outputBaseName, writtenFiles}; }
};

}  // namespace pellmar
