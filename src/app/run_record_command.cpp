#include "app/run_record_command.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/program.h"
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

// An input file as the user gave it, with its size and SHA-256; a file that can no longer be
// read has neither.
ordered_json inputEntry(const std::string& path) {
  ordered_json entry{{"path", path}, {"bytes", nullptr}, {"sha256", nullptr}};
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  if (!in) return entry;
  std::uintmax_t bytes = 0;
  const std::string digest = platform::sha256Hex([&](std::span<char> buffer) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto count = static_cast<std::size_t>(in.gcount());
    bytes += count;
    return count;
  });
  if (in.bad()) return entry;
  entry["bytes"] = bytes;
  entry["sha256"] = digest;
  return entry;
}

const char* modeOf(const Session& session) {
  if (session.bootstrap.done) return session.bootstrap.sameSamples ? "same_samples" : "own_samples";
  if (session.jackknife.done) return "jackknife";
  return "basic";
}

}  // namespace

RunRecordResult Program::run(const RunRecordRequest& request) {
  return guarded([&] {
    const Session& s = session_;
    const std::string path = s.study.outputBaseName + kRunRecordSuffix;
    ordered_json record;
    record["pellmar_version"] = PELLMAR_VERSION;
    record["front_end"] = request.frontEnd;
    if (request.frontEnd == "cli") record["arguments"] = request.arguments;
    record["time"] = utcTimeNow();
    record["inputs"] = ordered_json::array();
    for (const std::string& input : s.inputFiles) record["inputs"].push_back(inputEntry(input));
    record["time_unit"] = s.study.timeUnit;
    record["mode"] = modeOf(s);
    const BootstrapState& boot = s.bootstrap;
    record["replicates"] = boot.done          ? ordered_json(boot.bootCount)
                           : s.jackknife.done ? ordered_json(s.jackknife.fullCount)
                                              : ordered_json(nullptr);
    record["sample_size"] = boot.done ? ordered_json(boot.bootSampleSize) : ordered_json(nullptr);
    // As digits in a string: a 64-bit seed is beyond what many JSON readers hold exactly.
    record["seed"] = boot.done && !boot.sameSamples ? ordered_json(std::to_string(boot.seed))
                                                    : ordered_json(nullptr);
    // Own samples with eggs: the replicates that drew no laying female (or were drawn again).
    record["barren_replicates"] = boot.done && boot.ownLifeTable
                                      ? ordered_json(boot.barrenReplicates)
                                      : ordered_json(nullptr);
    record["redraw_barren"] =
        boot.done && boot.ownLifeTable ? ordered_json(boot.redrawBarren) : ordered_json(nullptr);
    record["confidence"] = confidence_;
    record["files_written"] = ordered_json::array();
    for (const std::string& file : s.writtenFiles) {
      if (file != path) record["files_written"].push_back(file);
    }
    // Bytes of a path or text that are not UTF-8 are written as U+FFFD.
    ReportWriter text;
    text.text(record.dump(2, ' ', false, ordered_json::error_handler_t::replace)).text("\n");
    OutputFiles files = session_.outputFiles();
    files.save(kRunRecordSuffix, text);
    return RunRecordResult{path};
  });
}

}  // namespace pellmar
