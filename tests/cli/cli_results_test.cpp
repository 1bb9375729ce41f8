// What a run says besides the fixed-layout files: the run record beside the data, the JSON on
// standard output and --quiet.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "core/platform/sha256.h"
#include "core/platform/utf8_path.h"
#include "read_file.h"
#include "support/example_folder.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test_support::readFile;

class CliResults : public ::testing::Test {
 protected:
  [[nodiscard]] std::string in(const std::string& name) const { return examples_.path(name); }
  int run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"run", in("lady_beetle.txt")});
    const auto options = parseCliOptions(arguments);
    EXPECT_TRUE(options);
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(*options, out, err);
    out_ = out.str();
    err_ = err.str();
    return status;
  }

  test_support::ExampleFolder examples_;
  const fs::path& folder_ = examples_.folder();
  std::string out_;
  std::string err_;
};

TEST_F(CliResults, TheRunRecordNamesTheInputsTheChoicesAndEveryOtherFile) {
  ASSERT_EQ(run({"--jackknife"}), 0);
  ASSERT_EQ(run({"--bootstrap", "20", "--sample-size", "50", "--seed", "18446744073709551615",
                 "--confidence", "0.9"}),
            0);
  const json record = json::parse(readFile(folder_ / "lady_beetle_run.json"));
  EXPECT_EQ(record["pellmar_version"], PELLMAR_VERSION);
  EXPECT_EQ(record["front_end"], "cli");
  EXPECT_EQ(record["arguments"][0], "run");
  EXPECT_EQ(record["arguments"].size(), 10U);
  const std::string time = record["time"];
  EXPECT_EQ(time.size(), 20U) << time;
  EXPECT_EQ(time[10], 'T');
  EXPECT_EQ(time.back(), 'Z');
  ASSERT_EQ(record["inputs"].size(), 1U);
  EXPECT_EQ(record["inputs"][0]["path"], in("lady_beetle.txt"));
  EXPECT_EQ(record["inputs"][0]["bytes"], fs::file_size(folder_ / "lady_beetle.txt"));
  EXPECT_EQ(record["inputs"][0]["sha256"], sha256Of(readFile(folder_ / "lady_beetle.txt")));
  EXPECT_EQ(record["time_unit"], 1.0);
  EXPECT_EQ(record["mode"], "own_samples");
  EXPECT_EQ(record["replicates"], 20);
  EXPECT_EQ(record["sample_size"], 50);
  EXPECT_EQ(record["seed"], "18446744073709551615");
  EXPECT_EQ(record["confidence"], 0.9);
  // Every file of this run but the record itself, which the printed list ends with, with its
  // digest; the earlier jackknife's files stay in the folder, unnamed.
  std::vector<std::string> printed;
  std::istringstream lines(out_);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(folder_.string(), 0) == 0) printed.push_back(line);
  }
  ASSERT_FALSE(printed.empty());
  EXPECT_EQ(printed.back(), in("lady_beetle_run.json"));
  printed.pop_back();
  std::vector<std::string> recorded;
  for (const json& file : record["files_written"]) {
    recorded.push_back(file["path"]);
    EXPECT_EQ(file["sha256"], sha256Of(readFile(pathFromUtf8(recorded.back())))) << recorded.back();
  }
  EXPECT_EQ(recorded, printed);
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_0_Jackknife_Output.txt"));
}

TEST_F(CliResults, SameSamplesRecordEveryInputAndNoSeed) {
  ASSERT_EQ(run({"--sasd", in("lady_beetle_10_SASD.txt"), "--same-samples",
                 in("lady_beetle_11_Bootstrap_samples.txt")}),
            0);
  const json record = json::parse(readFile(folder_ / "lady_beetle_run.json"));
  EXPECT_EQ(record["mode"], "same_samples");
  EXPECT_EQ(record["inputs"].size(), 3U);
  EXPECT_EQ(record["inputs"][2]["path"], in("lady_beetle_11_Bootstrap_samples.txt"));
  EXPECT_TRUE(record["seed"].is_null());
  EXPECT_EQ(record["replicates"], 200);
}

TEST_F(CliResults, JsonReplacesEverythingElseOnStandardOutput) {
  ASSERT_EQ(run({"--jackknife", "--json"}), 0);
  const json printed = json::parse(out_);  // one object and nothing else
  ASSERT_EQ(printed.size(), 3U);
  const std::string csv = readFile(folder_ / "lady_beetle_summary.csv");
  const auto lines = static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n'));
  ASSERT_EQ(printed["summary"].size(), lines - 1);
  const json& c0 = printed["summary"][0];
  EXPECT_EQ(c0["quantity"], "C0");
  EXPECT_TRUE(c0["stage"].is_null());
  EXPECT_EQ(c0["unit"], "prey per individual");
  EXPECT_EQ(c0["replicates"], 100);
  EXPECT_TRUE(c0["ci_low"].is_number());
  EXPECT_TRUE(printed["summary"][1]["boot_mean"].is_null());
  EXPECT_TRUE(printed["seed"].is_null());
  EXPECT_EQ(printed["files_written"].back(), in("lady_beetle_run.json"));
  EXPECT_NE(err_.find("Jackknife: 100 of 100"), std::string::npos) << "progress stays on stderr";

  ASSERT_EQ(run({"--bootstrap", "5", "--seed", "7", "--json"}), 0);
  EXPECT_EQ(json::parse(out_)["seed"], "7");
}

// What opening the study warns of goes to standard error, and the run goes on.
TEST_F(CliResults, AWarningOfTheStudyGoesToStandardError) {
  std::string study = readFile(folder_ / "lady_beetle.txt");
  const std::size_t span = study.find("\nL1,L4\n");
  ASSERT_NE(span, std::string::npos);
  study.replace(span, 7, "\nBanana,L4\n");
  std::ofstream(folder_ / "lady_beetle.txt", std::ios::binary | std::ios::trunc) << study;
  EXPECT_EQ(run({}), 0);
  EXPECT_NE(err_.find("the span line names Banana, which is not a stage: no span duration is "
                      "reported."),
            std::string::npos)
      << err_;
}

TEST_F(CliResults, QuietPrintsOnlyErrors) {
  ASSERT_EQ(run({"--bootstrap", "30", "--seed", "3", "--quiet"}), 0);
  EXPECT_EQ(out_, "");
  EXPECT_EQ(err_, "");
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_summary.csv"));
  EXPECT_EQ(run({"--sasd", in("missing.txt"), "--quiet"}), 1);
  EXPECT_EQ(out_, "");
  EXPECT_NE(err_, "");
  EXPECT_FALSE(parseCliOptions({"run", "a.txt", "--quiet", "--json"}));
  for (const char* confidence : {"0", "1", "1.5", "-0.5", "95%", "0.9x", ""}) {
    EXPECT_FALSE(parseCliOptions({"run", "a.txt", "--confidence", confidence})) << confidence;
  }
  EXPECT_EQ(parseCliOptions({"run", "a.txt", "--confidence", "0.99"})->confidence, 0.99);
}

#ifndef _WIN32
// A file name that is not UTF-8 reaches the record as U+FFFD, so the record stays valid JSON.
TEST_F(CliResults, BytesThatAreNotUtf8AreReplaced) {
  fs::copy_file(folder_ / "lady_beetle.txt", folder_ / "caf\xE9.txt");
  const auto options = parseCliOptions({"run", in("caf\xE9.txt")});
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(runCli(*options, out, err), 0) << err.str();
  const json record = json::parse(readFile(folder_ / "caf\xE9_run.json"));
  EXPECT_EQ(record["inputs"][0]["path"], in("caf\xEF\xBF\xBD.txt"));
}
#endif

}  // namespace
}  // namespace pellmar
