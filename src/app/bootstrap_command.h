#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs.h"
#include "app/notice.h"
#include "core/data/limits.h"
#include "core/resampling/bootstrap_results.h"

namespace pellmar {

class Analysis;

// Where the replicates come from: drawn here, or read from the life-table program's samples.
enum class SampleSource { kOwnSamples, kSameSamples };

// "Bootstrap".
struct BootstrapRequest {
  SampleSource source = SampleSource::kOwnSamples;
  int replicates = 0;             // own samples: B, 1 .. 200010
  std::optional<int> sampleSize;  // own samples: n, 1 .. 405; the cohort's size when not given
  std::uint64_t seed = 0;         // own samples: every replicate's random stream is made from it
  // Own samples with eggs: draw a replicate that drew no laying female again (the conditional
  // bootstrap) instead of keeping it with R0 = 0.
  bool redrawBarren = false;
  std::string samplesFile;  // same samples
};

struct BootstrapResult {
  SampleSource source = SampleSource::kOwnSamples;
  int replicates = 0;
  int sampleSize = 0;
  std::uint64_t seed = 0;
  ReplicateSummary c0;
  ReplicateSummary qp;   // same samples only
  ReplicateSummary psi;  // same samples only
  ReplicateSummary fp;   // same samples only
  // Own samples with eggs: how many replicates drew no laying female ("37 of 2000 replicates
  // drew no laying female"), or were drawn again.
  std::optional<std::string> barrenReplicates;
  std::vector<std::string> filesWritten;
};

// The normal density curves of a finished bootstrap.
struct NormalDensityRequest {};

struct NormalDensityResult {
  Notice message;  // "Congratulations!"
  std::vector<std::string> filesWritten;
};

// The samples file of a finished own-samples bootstrap with fecundity.
struct SamplesFileRequest {};

struct SamplesFileResult {
  // Why no file was written (samples of another size than the cohort's), or none.
  std::optional<Notice> warning;
  std::vector<std::string> filesWritten;
};

// The question that offers the samples file after the normal density question.
inline constexpr std::string_view kSamplesFileQuestion =
    "Do you want to save the bootstrap samples (the individuals, R0 and lambda of every "
    "replicate) as a samples file?";

// The question that offers the normal density curves once a bootstrap has finished.
inline constexpr std::string_view kNormalDensityQuestion =
    "Do you need normal density curve for each developmental stage, consumption, and longevity?";

// The question after the seed, for own samples with eggs; No keeps replicates without eggs.
inline constexpr std::string_view kRedrawBarrenQuestion =
    "Some replicates may draw no female that laid eggs. Draw such a replicate again until it has "
    "one (the conditional bootstrap)?\nNo, the usual choice, keeps it with R0 = 0.";

// Asks whether to use the same samples and then for the samples file, or for B, n, the seed and,
// for own samples with eggs, whether to draw again the replicates without eggs (No by default).
// Nullopt when any prompt or the file dialog is cancelled, and when the same samples are chosen
// where they cannot run (the user is told so; they are offered only where they can). An answer
// other than 1 or 2, and a seed that is not a whole number from 0 to 2^64 - 1, are refused and
// asked again; an empty seed takes `clockSeed`.
std::optional<BootstrapRequest> askBootstrap(Dialogs& dialogs, const Analysis& analysis,
                                             std::uint64_t clockSeed);

// A seed typed by the user: digits only, from 0 to 18446744073709551615, spaces around them
// allowed. Nullopt for anything else.
std::optional<std::uint64_t> seedAnswer(std::string_view answer);

// Asks the normal density question; nullopt on No.
std::optional<NormalDensityRequest> askNormalDensity(Dialogs& dialogs);

// True after an own-samples bootstrap with fecundity whose samples are of the cohort's size, the
// only samples a samples file can hold: the samples file question is asked.
bool offersSamplesFile(const Analysis& analysis);

// Asks the samples file question when offersSamplesFile(); nullopt on No and when nothing is
// asked.
std::optional<SamplesFileRequest> askSamplesFile(Dialogs& dialogs, const Analysis& analysis);

// Refuses B or n out of range, and same samples without a file.
void validate(const BootstrapRequest& request);

// The whole number nearest to the number an answer begins with (0 without one), as the prompts
// for B and n read it.
int wholeNumberAnswer(std::string_view answer);

}  // namespace pellmar
