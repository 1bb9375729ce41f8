// pellmar-cli compare: its usage errors, found before any file is touched.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"

namespace pellmar {
namespace {

TEST(CompareOptions, UsageErrorsComeBeforeAnyFileIsTouched) {
  const auto compare = parseCliOptions({"compare", "a.txt", "b.txt", "--bootstrap=20",
                                        "--sasd-first", "sa", "--sasd-second", "sb", "--seed", "3",
                                        "--sample-size", "50", "--confidence", "0.9"});
  ASSERT_TRUE(compare);
  EXPECT_EQ(compare->action, CliOptions::Action::kCompare);
  EXPECT_EQ(compare->dataFile, "a.txt");
  EXPECT_EQ(compare->secondDataFile, "b.txt");
  EXPECT_EQ(compare->sasdFile, "sa");
  EXPECT_EQ(compare->secondSasdFile, "sb");
  EXPECT_EQ(compare->sampleSize, 50);
  // A copy under another base name writes its own files.
  EXPECT_TRUE(parseCliOptions({"compare", "a.txt", "copy of a.txt", "--bootstrap", "5"}));

  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } bad[] = {
      {{"compare", "a.txt", "--bootstrap", "5"}, "compare needs two data files, FIRST and SECOND"},
      {{"compare", "a.txt", "b.txt", "c.txt", "--bootstrap", "5"},
       "compare takes two data files, not also \"c.txt\""},
      {{"compare", "a.txt", "b.txt"}, "compare needs --bootstrap"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd-first", "s"},
       "--sasd-first needs --sasd-second"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd-second", "s"},
       "--sasd-second needs --sasd-first"},
      // Both studies have the same kind of stable distribution: a SASD file or the fecundity.
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--fecundity-first", "f"},
       "--fecundity-first needs --fecundity-second"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--fecundity-second", "f"},
       "--fecundity-second needs --fecundity-first"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd-first", "s", "--sasd-second", "t",
        "--fecundity-first", "f", "--fecundity-second", "g"},
       "--sasd-first and --fecundity-first cannot be used together"},
      {{"run", "a.txt", "--fecundity-second", "f"},
       "--fecundity-second is an option of compare, not of run"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd", "s"},
       "--sasd is an option of run, not of compare"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--jackknife"},
       "--jackknife is an option of run, not of compare"},
      {{"run", "a.txt", "--sasd-first", "s"}, "--sasd-first is an option of compare, not of run"},
      {{"check", "a.txt", "--bootstrap", "5"},
       "--bootstrap is an option of run, compare and experiment, not of check"},
  };
  for (const auto& usage : bad) {
    const ParsedCommandLine parsed = parseCommandLine(usage.arguments);
    EXPECT_FALSE(parsed.options) << usage.error;
    EXPECT_EQ(parsed.usageError, usage.error);
  }

  // Two bases that name the same files, however they are spelled, are bad usage too.
  for (const auto& [first, second] : {std::pair{"a.txt", "a.txt"}, std::pair{"x.txt", "./x.dat"}}) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli(*parseCliOptions({"compare", first, second, "--bootstrap", "5"}), out, err),
              2);
    EXPECT_NE(err.str().find("would write their results under one name"), std::string::npos)
        << err.str();
  }
}

}  // namespace
}  // namespace pellmar
