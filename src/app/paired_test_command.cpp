#include "app/paired_test_command.h"

#include <filesystem>

#include "app/program.h"
#include "core/data/input_file.h"
#include "core/exports/paired_test_files.h"
#include "core/platform/utf8_path.h"
#include "core/report/number_format.h"

namespace pellmar {
namespace {

const std::string kTitle(kPairedTestTitle);

// The replicate values b = 1 .. B of a 1-based table.
std::span<const double> replicatesOf(const BootstrapState& bootstrap) {
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
    throw UserError(kTitle,
                    "The second study's bootstrap was stopped before it ended; no paired-test file "
                    "was written.",
                    ErrorKind::kCommandFailed);
  }
  throw UserError(error.title(), error.text(),
                  error.fatal() ? ErrorKind::kCommandFailed : error.kind());
}

}  // namespace

std::optional<PairedTestRequest> askPairedTest(Dialogs& dialogs, const Session& first) {
  PairedTestRequest request;
  request.secondDataFile = dialogs.openFileDialog(FileKind::kDataFile);
  if (request.secondDataFile.empty()) return std::nullopt;
  if (first.lifeTable) {
    std::string fecundity = dialogs.openFileDialog(FileKind::kFecundity);
    if (fecundity.empty()) return std::nullopt;
    request.secondFecundityFile = std::move(fecundity);
  } else if (first.predation.sasdDone) {
    std::string sasd = dialogs.openFileDialog(FileKind::kSasd);
    if (sasd.empty()) return std::nullopt;
    request.secondSasdFile = std::move(sasd);
  }
  if (first.bootstrap.bootSampleSize != first.study.individualCount) {
    request.secondSampleSize = first.bootstrap.bootSampleSize;
  }
  request.secondRecord.frontEnd = "desktop";
  return request;
}

bool sameOutputBase(const std::string& firstDataFile, const std::string& secondDataFile) {
  std::error_code error;
  if (std::filesystem::equivalent(pathFromUtf8(firstDataFile), pathFromUtf8(secondDataFile),
                                  error)) {
    return true;
  }
  return resolved(outputBaseNameFor(firstDataFile)) == resolved(outputBaseNameFor(secondDataFile));
}

void validate(const PairedTestRequest& request, const std::string& firstDataFile) {
  if (request.secondDataFile.empty()) {
    throw UserError(kTitle, "The paired bootstrap test needs the second study's data file.",
                    ErrorKind::kInvalidRequest);
  }
  if (sameOutputBase(firstDataFile, request.secondDataFile)) {
    throw UserError(kTitle,
                    "The two studies would write their results under one name (" +
                        outputBaseNameFor(request.secondDataFile) +
                        "), one over the other: compare a copy of the data under another name.",
                    ErrorKind::kInvalidRequest);
  }
  if (request.secondSampleSize &&
      (*request.secondSampleSize < 1 || *request.secondSampleSize > kMaxBootstrapSampleSize)) {
    throw UserError(kTitle,
                    "The sample size must be from 1 to " + formatInteger(kMaxBootstrapSampleSize) +
                        "; " + formatInteger(*request.secondSampleSize) + " was given.",
                    ErrorKind::kInvalidRequest);
  }
  openInputFile(request.secondDataFile, kTitle);
  if (request.secondSasdFile) openInputFile(*request.secondSasdFile, kTitle);
  if (request.secondFecundityFile) openInputFile(*request.secondFecundityFile, kTitle);
  if (request.secondSasdFile && request.secondFecundityFile) {
    throw UserError(kTitle,
                    "The second study's stable age-stage distribution comes from its SASD file or "
                    "from its fecundity, not both.",
                    ErrorKind::kInvalidRequest);
  }
}

PairedTestResult Program::run(const PairedTestRequest& request, const ProgressReport& progress,
                              std::stop_token stop) {
  return guarded([&] {
    const BootstrapState& boot = session_.bootstrap;
    if (!boot.done || boot.sameSamples || boot.bootCount < 1) {
      throw UserError(kTitle,
                      "The paired bootstrap test takes this study's bootstrap of its own samples "
                      "as the first study: run one first.",
                      ErrorKind::kInvalidRequest);
    }
    validate(request, session_.study.dataFileName);
    if (session_.lifeTable.has_value() != request.secondFecundityFile.has_value()) {
      throw UserError(kTitle,
                      "Both studies need a fecundity file, or neither: the life tables of one "
                      "study's replicates have nothing to pair with in the other's.",
                      ErrorKind::kInvalidRequest);
    }

    PairedTestResult result;
    result.replicates = boot.bootCount;
    result.secondSeed = boot.seed + 1;  // modulo 2^64
    Program second(clock_);
    second.setConfidence(confidence_);
    try {
      second.run(OpenRequest{request.secondDataFile, session_.study.timeUnit});
      const BasicRunResult basicRun = second.run(BasicRunRequest{});
      if (basicRun.warning) {
        throw UserError(basicRun.warning->title, basicRun.warning->text, ErrorKind::kCommandFailed);
      }
      if (request.secondSasdFile) second.run(ReadSasdRequest{*request.secondSasdFile});
      if (request.secondFecundityFile) {
        second.run(ReadFecundityRequest{*request.secondFecundityFile});
      }
      BootstrapRequest bootstrap;
      bootstrap.replicates = boot.bootCount;
      bootstrap.sampleSize = request.secondSampleSize;
      // Both studies' replicates are drawn the same way.
      bootstrap.redrawBarren = boot.redrawBarren;
      bootstrap.seed = result.secondSeed;
      second.run(bootstrap, progress, stop);
      second.run(request.secondRecord);
    } catch (const UserError& error) {
      rethrowForFirstStudy(error, stop);
    }
    result.secondFilesWritten = second.session().writtenFiles;

    result.test = pairedBootstrapTest(bootstrapReplicates(session_),
                                      bootstrapReplicates(second.session()), confidence_);
    const std::size_t filesBefore = session_.writtenFiles.size();
    OutputFiles files = session_.outputFiles();
    const std::string secondName =
        outputBaseNameFor(utf8FromPath(pathFromUtf8(request.secondDataFile).filename()));
    writePairedTestFiles(result.test, replicatesOf(boot), replicatesOf(second.session().bootstrap),
                         secondName, files);
    session_.recordInput(request.secondDataFile);
    if (request.secondSasdFile) session_.recordInput(*request.secondSasdFile);
    if (request.secondFecundityFile) session_.recordInput(*request.secondFecundityFile);
    result.filesWritten = filesWrittenSince(filesBefore);
    return result;
  });
}

}  // namespace pellmar
