#include "core/report/report_output.h"

#include <algorithm>

#include "core/platform/platform.h"
#include "core/platform/sha256.h"
#include "core/platform/utf8_path.h"
#include "core/report/output_file.h"
#include "core/report/text_encoding.h"

namespace pellmar {

OutputFiles::OutputFiles(OutputFiles&& other) noexcept
    : baseName_(std::move(other.baseName_)),
      stagedBase_(std::move(other.stagedBase_)),
      saved_(std::exchange(other.saved_, {})) {}

OutputFiles& OutputFiles::operator=(OutputFiles&& other) noexcept {
  if (this != &other) {
    discard();
    baseName_ = std::move(other.baseName_);
    stagedBase_ = std::move(other.stagedBase_);
    saved_ = std::exchange(other.saved_, {});
  }
  return *this;
}

std::string OutputFiles::pathOf(const std::string& suffix) const {
  // Stage names in the suffix may be "ANSI" text, which is not a valid name everywhere.
  return baseName_ + fileNameText(suffix);
}

std::string OutputFiles::destinationOf(const std::string& path) const {
  if (stagedBase_.empty()) return path;
  return stagedBase_ + path.substr(baseName_.size());
}

void OutputFiles::save(const std::string& suffix, const ReportWriter& writer) {
  save(suffix, writer.contents());
}

void OutputFiles::save(const std::string& suffix, std::string_view contents) {
  const std::string path = pathOf(suffix);
  const std::string base = stagedBase_.empty() ? baseName_ : stagedBase_;
  Saved saved{path, sha256Of(contents), writeTemporary(base, contents, destinationOf(path))};
  const auto earlier = std::find_if(saved_.begin(), saved_.end(),
                                    [&](const Saved& file) { return file.path == path; });
  if (earlier == saved_.end()) {
    saved_.push_back(std::move(saved));
    return;
  }
  std::error_code ignored;
  std::filesystem::remove(earlier->temporary, ignored);
  *earlier = std::move(saved);
}

void OutputFiles::commit(const std::function<void(std::size_t renamed)>& progress) {
  // A name the system does not take, or a folder standing at one of the names, would fail its
  // rename half-way through the commit: find them before the first file is replaced.
  for (const Saved& file : saved_) {
    const std::filesystem::path path = pathFromUtf8(destinationOf(file.path));
    std::error_code error = platform::checkNameFits(path);
    std::error_code ignored;
    if (!error && std::filesystem::symlink_status(path, ignored).type() ==
                      std::filesystem::file_type::directory) {
      error = std::make_error_code(std::errc::is_a_directory);
    }
    if (error) {
      const std::string failed = destinationOf(file.path);
      discard();
      throwWriteFailure(failed, error);
    }
  }
  for (std::size_t k = 0; k < saved_.size(); ++k) {
    if (progress) progress(k);
    Saved& file = saved_[k];
    if (const std::error_code error =
            platform::replaceFile(file.temporary, pathFromUtf8(destinationOf(file.path)))) {
      const std::string failed = destinationOf(file.path);
      saved_.erase(saved_.begin(), saved_.begin() + static_cast<std::ptrdiff_t>(k));
      discard();
      throwWriteFailure(failed, error);
    }
    file.temporary.clear();
  }
  if (progress) progress(saved_.size());
  saved_.clear();
}

void OutputFiles::discard() {
  for (const Saved& file : saved_) {
    std::error_code ignored;
    if (!file.temporary.empty()) std::filesystem::remove(file.temporary, ignored);
  }
  saved_.clear();
}

std::vector<std::string> OutputFiles::pathsSince(std::size_t count) const {
  std::vector<std::string> paths;
  for (std::size_t k = count; k < saved_.size(); ++k) paths.push_back(saved_[k].path);
  return paths;
}

}  // namespace pellmar
