#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis.h"

namespace pellmar {

// Everything one run of a study asks for, in the order it runs: what `pellmar-cli run` takes
// and what the desktop's settings make.
struct RunRequest {
  OpenRequest open;
  std::optional<ReadSasdRequest> readSasd;
  std::optional<ReadFecundityRequest> readFecundity;
  std::optional<BootstrapRequest> bootstrap;
  bool normalDensity = false;
  bool writeSamples = false;
  std::optional<ComparisonRequest> comparison;
  bool jackknife = false;
  std::optional<ProjectionRequest> projection;
  std::optional<double> confidence;
};

// Where a run's words go as it runs: its messages, its warnings (a title and a text each, on
// their lines), and the progress of each long step, named ("Bootstrap", "Jackknife",
// "Projection").
struct RunListener {
  std::function<void(const std::string& text)> said;
  std::function<void(const std::string& text)> warned;
  std::function<ProgressReport(std::string_view step)> progressOf;
};

// Refuses a request whose parts are out of range, before anything is read.
void validate(const RunRequest& request);

// Opens every input the request names beside the data file, so that one that cannot be read
// is found before any work is done.
void openInputsAhead(const RunRequest& request, InputFileReader& reader);

// The arguments of `pellmar-cli run` that make the same run, for its run record.
std::vector<std::string> runArguments(const RunRequest& request);

// The steps after the open step, their files saved into `files`. Returns 1 when the Basic Run
// went wrong, which ends the steps there, else 0.
int runSteps(Analysis& analysis, const RunRequest& request, InputFileReader& reader,
             OutputFiles& files, const RunListener& listener, const std::stop_token& stop);

}  // namespace pellmar
