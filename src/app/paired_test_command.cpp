#include "app/paired_test_command.h"

#include <filesystem>

#include "core/exports/paired_test_files.h"
#include "core/exports/results_summary.h"
#include "core/platform/utf8_path.h"
#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

const std::string kPairedTestErrorTitle(kPairedTestTitle);

// The replicate C0 values b = 1 .. B of a bootstrap.
std::span<const double> replicatesOf(const BootstrapResults& bootstrap) {
  return std::span<const double>(bootstrap.bootC0)
      .subspan(1, static_cast<std::size_t>(bootstrap.bootCount));
}

// Where a path leads, as far as the folders on the way exist: "./x" and "x" lead to one place.
std::filesystem::path resolved(const std::string& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(path), error);
  if (error) return pathFromUtf8(path).lexically_normal();
  std::filesystem::path canonical = std::filesystem::weakly_canonical(full, error);
  return error ? full.lexically_normal() : canonical;
}

// An error of the second study ends only the paired test: this study stays as it is.
[[noreturn]] void rethrowForFirstStudy(const UserError& error, const std::stop_token& stop) {
  if (stop.stop_requested()) {
    throw UserError(kPairedTestErrorTitle,
                    "The second study's bootstrap was stopped before it ended; no paired-test file "
                    "was written.",
                    ErrorKind::kCommandFailed);
  }
  throw UserError(error.title(), error.text(),
                  error.fatal() ? ErrorKind::kCommandFailed : error.kind());
}

}  // namespace

std::optional<PairedTestRequest> askPairedTest(Dialogs& dialogs, const Analysis& first) {
  PairedTestRequest request;
  request.secondDataFile = dialogs.openFileDialog(FileKind::kDataFile);
  if (request.secondDataFile.empty()) return std::nullopt;
  if (first.lifeTable()) {
    std::string fecundity = dialogs.openFileDialog(FileKind::kFecundity);
    if (fecundity.empty()) return std::nullopt;
    request.secondFecundityFile = std::move(fecundity);
  } else if (first.predation()) {
    std::string sasd = dialogs.openFileDialog(FileKind::kSasd);
    if (sasd.empty()) return std::nullopt;
    request.secondSasdFile = std::move(sasd);
  }
  if (first.bootstrap() && first.bootstrap()->bootSampleSize != first.study().individualCount) {
    request.secondSampleSize = first.bootstrap()->bootSampleSize;
  }
  request.secondRecord.frontEnd = "desktop";
  return request;
}

bool sameOutputBase(const std::string& firstBaseName, const std::string& secondBaseName) {
  return resolved(firstBaseName) == resolved(secondBaseName);
}

void validate(const PairedTestRequest& request, const std::string& firstBaseName,
              const std::string& secondBaseName) {
  if (request.secondDataFile.empty()) {
    throw UserError(kPairedTestErrorTitle,
                    "The paired bootstrap test needs the second study's data file.",
                    ErrorKind::kInvalidRequest);
  }
  if (sameOutputBase(firstBaseName, secondBaseName)) {
    throw UserError(kPairedTestErrorTitle,
                    "The two studies would write their results under one name (" + secondBaseName +
                        "), one over the other: compare a copy of the data under another name.",
                    ErrorKind::kInvalidRequest);
  }
  if (request.secondSampleSize &&
      (*request.secondSampleSize < 1 || *request.secondSampleSize > kMaxBootstrapSampleSize)) {
    throw UserError(kPairedTestErrorTitle,
                    "The sample size must be from 1 to " + formatInteger(kMaxBootstrapSampleSize) +
                        "; " + formatInteger(*request.secondSampleSize) + " was given.",
                    ErrorKind::kInvalidRequest);
  }
  if (request.secondSasdFile && request.secondFecundityFile) {
    throw UserError(kPairedTestErrorTitle,
                    "The second study's stable age-stage distribution comes from its SASD file or "
                    "from its fecundity, not both.",
                    ErrorKind::kInvalidRequest);
  }
}

SecondStudy prepareSecondStudy(const PairedTestRequest& request, double timeUnit, double confidence,
                               const std::string& secondBaseName, InputFileReader& reader) {
  try {
    SecondStudy second{
        Analysis::open(OpenRequest{request.secondDataFile, timeUnit}, secondBaseName, reader),
        OutputFiles(secondBaseName)};
    Analysis& analysis = second.analysis;
    analysis.setConfidence(confidence);
    const BasicRunResult basicRun = analysis.basicRun(second.files);
    if (basicRun.warning) {
      throw UserError(basicRun.warning->title, basicRun.warning->text, ErrorKind::kCommandFailed);
    }
    if (request.secondSasdFile) {
      analysis.readSasd(ReadSasdRequest{*request.secondSasdFile}, reader, second.files);
    }
    if (request.secondFecundityFile) {
      analysis.readFecundity(ReadFecundityRequest{*request.secondFecundityFile}, reader,
                             second.files);
    }
    return second;
  } catch (const UserError& error) {
    rethrowForFirstStudy(error, {});
  }
}

PairedTestResult runPairedTest(const Analysis& first, const PairedTestRequest& request,
                               SecondStudy& second, OutputFiles& firstFiles,
                               const ProgressReport& progress, const std::stop_token& stop) {
  if (!first.canRun(AnalysisStep::kPairedTest)) {
    throw UserError(kPairedTestErrorTitle, first.reason(AnalysisStep::kPairedTest),
                    ErrorKind::kInvalidRequest);
  }
  const BootstrapResults& boot = *first.bootstrap();
  validate(request, first.study().outputBaseName, second.analysis.study().outputBaseName);
  if (first.lifeTable().has_value() != second.analysis.lifeTable().has_value()) {
    throw UserError(kPairedTestErrorTitle,
                    "Both studies need a fecundity file, or neither: the life tables of one "
                    "study's replicates have nothing to pair with in the other's.",
                    ErrorKind::kInvalidRequest);
  }

  PairedTestResult result;
  result.replicates = boot.bootCount;
  result.secondSeed = boot.seed + 1;  // modulo 2^64
  Analysis& analysis = second.analysis;
  try {
    BootstrapRequest bootstrap;
    bootstrap.replicates = boot.bootCount;
    bootstrap.sampleSize = request.secondSampleSize;
    // Both studies' replicates are drawn the same way.
    bootstrap.redrawBarren = boot.redrawBarren;
    bootstrap.seed = result.secondSeed;
    InputFileReader noInputs;  // an own-samples bootstrap reads no file
    analysis.bootstrap(bootstrap, noInputs, second.files, progress, stop);
    analysis.writeSummary(second.files);
    analysis.writeRunRecord(request.secondRecord, second.files);
  } catch (const UserError& error) {
    rethrowForFirstStudy(error, stop);
  }

  result.test = pairedBootstrapTest(bootstrapReplicates(first.results()),
                                    bootstrapReplicates(analysis.results()), first.confidence());
  const std::size_t before = firstFiles.saved().size();
  const std::string secondName =
      outputBaseNameFor(utf8FromPath(pathFromUtf8(request.secondDataFile).filename()));
  writePairedTestFiles(result.test, replicatesOf(boot), replicatesOf(*analysis.bootstrap()),
                       secondName, firstFiles);
  result.filesWritten = firstFiles.pathsSince(before);
  return result;
}

}  // namespace pellmar
