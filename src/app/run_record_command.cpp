#include "app/run_record_command.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "app/analysis.h"
#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "core/report/report_writer.h"

namespace pellmar {
namespace {

using nlohmann::ordered_json;

// The current time in UTC, ISO 8601 to the second ("2026-12-06T08:12:00Z").
std::string utcTimeNow() {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02u-%02uT%02d:%02d:%02dZ",
                static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  return text.data();
}

const char* modeOf(const Analysis& analysis) {
  if (analysis.bootstrap())
    return analysis.bootstrap()->sameSamples ? "same_samples" : "own_samples";
  if (analysis.jackknife()) return "jackknife";
  return "basic";
}

}  // namespace

void Analysis::writeRunRecord(const RunRecordRequest& request, OutputFiles& files) const {
  ordered_json record;
  record["pellmar_version"] = PELLMAR_VERSION;
  record["front_end"] = request.frontEnd;
  if (request.frontEnd == "cli") record["arguments"] = request.arguments;
  record["time"] = utcTimeNow();
  record["inputs"] = ordered_json::array();
  for (const Input& input : inputs_) {
    record["inputs"].push_back(
        ordered_json{{"path", input.path}, {"bytes", input.bytes}, {"sha256", input.sha256}});
  }
  record["time_unit"] = study_.timeUnit;
  record["mode"] = modeOf(*this);
  const BootstrapResults* boot = bootstrap_ ? &*bootstrap_ : nullptr;
  record["replicates"] = boot != nullptr ? ordered_json(boot->bootCount)
                         : jackknife_    ? ordered_json(jackknife_->fullCount)
                                         : ordered_json(nullptr);
  record["sample_size"] =
      boot != nullptr ? ordered_json(boot->bootSampleSize) : ordered_json(nullptr);
  // As digits in a string: a 64-bit seed is beyond what many JSON readers hold exactly.
  record["seed"] = boot != nullptr && !boot->sameSamples ? ordered_json(std::to_string(boot->seed))
                                                         : ordered_json(nullptr);
  // Own samples with eggs: the replicates that drew no laying female (or were drawn again).
  const bool ownLifeTable = boot != nullptr && boot->ownLifeTable;
  record["barren_replicates"] =
      ownLifeTable ? ordered_json(boot->barrenReplicates) : ordered_json(nullptr);
  record["redraw_barren"] = ownLifeTable ? ordered_json(boot->redrawBarren) : ordered_json(nullptr);
  record["confidence"] = confidence_;
  // Every file of the analysis, those of this commit last, with the SHA-256 of its bytes.
  const std::string path = files.pathOf(kRunRecordSuffix);
  record["files_written"] = ordered_json::array();
  std::vector<OutputFiles::Saved> written = filesWritten_;
  for (const OutputFiles::Saved& file : files.saved()) {
    const auto earlier =
        std::find_if(written.begin(), written.end(),
                     [&](const OutputFiles::Saved& w) { return w.path == file.path; });
    if (earlier != written.end()) written.erase(earlier);
    written.push_back(file);
  }
  for (const OutputFiles::Saved& file : written) {
    if (file.path == path) continue;
    record["files_written"].push_back(ordered_json{{"path", file.path}, {"sha256", file.sha256}});
  }
  // Bytes of a path or text that are not UTF-8 are written as U+FFFD.
  files.save(kRunRecordSuffix,
             record.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n");
}

}  // namespace pellmar
