#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/report/report_writer.h"

namespace pellmar {

// Page and table numbers of the paged reports. They run on through every report of one
// analysis; only the start of a bootstrap sets them back to 0.
struct ReportCounters {
  int pageCounter = 0;
  int tableCounter = 0;
};

// A paged report being written: its text and the page and table numbers it goes on from.
struct ReportPages {
  ReportWriter& out;
  ReportCounters& counters;
};

// The files of one commit of a run, each named by the output base name and a suffix. A file
// goes to an exclusive temporary of its base when it is saved; commit() renames them all into
// place in the order saved, so that a run leaves either its new files or the old ones, each
// whole. What is not committed is removed with its temporaries when the object goes.
class OutputFiles {
 public:
  // A file saved: where it goes, its SHA-256, and the temporary that holds it until the commit.
  struct Saved {
    std::string path;
    std::string sha256;
    std::filesystem::path temporary;
  };

  explicit OutputFiles(std::string baseName) : baseName_(std::move(baseName)) {}
  // Files named after `baseName`, as the run record and the run's messages give them, but put
  // in place under `stagedBase`, in a folder that takes the place of baseName's folder once
  // everything in it is complete.
  OutputFiles(std::string baseName, std::string stagedBase)
      : baseName_(std::move(baseName)), stagedBase_(std::move(stagedBase)) {}
  ~OutputFiles() { discard(); }
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;
  OutputFiles(OutputFiles&& other) noexcept;
  OutputFiles& operator=(OutputFiles&& other) noexcept;

  // Writes the writer's text to the temporary of baseName + suffix; a file saved again in the
  // same commit replaces the earlier text. The suffix becomes UTF-8 where it is not (stage names
  // from "ANSI" text). A failure raises the "File error" of the file.
  void save(const std::string& suffix, const ReportWriter& writer);
  void save(const std::string& suffix, std::string_view contents);

  // Renames every file saved into place, in the order first saved, once every name is checked
  // (a name the system does not take, a folder in the way); `progress`, when given, hears how
  // many are in place before each rename and after the last. A failure raises the "File error"
  // of the file and removes the temporaries not yet in place.
  void commit(const std::function<void(std::size_t renamed)>& progress = {});
  // Removes the temporaries of every file not committed.
  void discard();

  [[nodiscard]] const std::string& baseName() const { return baseName_; }
  [[nodiscard]] const std::vector<Saved>& saved() const { return saved_; }
  // The paths of the files saved, in order; those saved after the first `count`.
  [[nodiscard]] std::vector<std::string> paths() const { return pathsSince(0); }
  [[nodiscard]] std::vector<std::string> pathsSince(std::size_t count) const;
  // The path of baseName + suffix as save() names it.
  [[nodiscard]] std::string pathOf(const std::string& suffix) const;

 private:
  // Where the file named `path` is put in place.
  [[nodiscard]] std::string destinationOf(const std::string& path) const;

  std::string baseName_;
  std::string stagedBase_;  // empty: the files go where they are named
  std::vector<Saved> saved_;
};

}  // namespace pellmar
