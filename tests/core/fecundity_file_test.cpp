#include "core/data/fecundity_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/user_error.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using test_support::studyFrom;
using test_support::TemporaryFolder;

// The small cohort: females 1 (adult 2 time units, from age index 4) and 2 (adult 1 time unit,
// from age index 4), male 3, individual 4 of sex N.
const Study& smallCohort() {
  static const Study study = studyFrom(test_support::kSmallCohort);
  return study;
}

TEST(FecundityFile, ReadsEveryFemaleWhateverTheLayoutOfTheLines) {
  // A byte-order mark, comments, blank lines, a spreadsheet's empty row, blanks around fields,
  // CR LF and lone CR line ends, empty fields at the end of a line, decimals, females out of
  // order.
  const std::string text =
      "\xEF\xBB\xBF# eggs per day\r\n"
      "\r\n"
      "  # indented note\n"
      ",,,\n"
      " 2 ,\t7.5 ,,\r"
      "1, 0 ,1e1\n";
  const FecundityData data = parseFecundity(text, "eggs.txt", smallCohort());
  ASSERT_EQ(data.females.size(), 2U);
  EXPECT_EQ(data.fileName, "eggs.txt");
  EXPECT_EQ(data.females[0].individual, 1);
  EXPECT_EQ(data.females[0].firstAdultAge, 4);
  EXPECT_EQ(data.females[0].eggs, (std::vector<double>{0, 10}));
  EXPECT_EQ(data.females[1].individual, 2);
  EXPECT_EQ(data.females[1].firstAdultAge, 4);
  EXPECT_EQ(data.females[1].eggs, (std::vector<double>{7.5}));
}

TEST(FecundityFile, RefusesEveryFaultNamingTheFileTheLineAndTheIndividual) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"1,0,0\n2,0\n3,1,1,1\n",
       "The fecundity file eggs.txt, line 3, individual no. 3: a male has no line"},
      {"4,0\n", "line 1, individual no. 4: this individual died before the adult stage (sex N)"},
      {"1,0,0\n\n7,1\n", "line 3: there is no individual no. 7 in this study of 4 individuals."},
      {"1.5,0,0\n", "line 1: there is no individual no. 1.5"},
      {"0,0\n", "line 1: there is no individual no. 0"},
      {"female 1,0,0\n", "line 1: \"female 1\" is not a serial number"},
      {"1,0,0\n2,0\n1,0,0\n",
       "line 3, individual no. 1: a second line for this female; her first is line 1."},
      {"1,0,0\n", "The fecundity file eggs.txt: female no. 2 has no line"},
      {"# nothing yet\n", "the females no. 1 and 2 have no line"},
      {"2,1\n1,3\n",
       "line 2, individual no. 1: her adult stage lasts 2 time units, so 2 values of eggs are "
       "expected; the line gives 1."},
      {"1,0,0\n2,1,2\n", "line 2, individual no. 2: her adult stage lasts 1 time units"},
      {"1,0,-1\n2,0\n", "line 1, individual no. 1: value 2, -1, is negative"},
      {"1,0,abc\n2,0\n", "line 1, individual no. 1: value 2, \"abc\", is not a number."},
      {"1,,4\n2,0\n", "line 1, individual no. 1: value 1 is empty."},
      {"1,0,1e300\n2,0\n", "line 1, individual no. 1: value 2, 1e300, is too large."},
  };
  for (const Case& c : cases) {
    try {
      parseFecundity(c.text, "eggs.txt", smallCohort());
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const UserError& error) {
      EXPECT_EQ(error.title(), "Read fecundity");
      EXPECT_FALSE(error.fatal());
      EXPECT_NE(error.text().find(c.message), std::string::npos)
          << c.text << "\ngave: " << error.text();
    }
  }
}

TEST(FecundityFile, ReadsAFileUnderAUtf8PathAndNamesOneItCannotRead) {
  TemporaryFolder folder;
  const std::string name = folder.base() +
                           "_f\xC3\xA9"
                           "condit\xC3\xA9.txt";
  std::ofstream(std::filesystem::path(std::u8string(name.begin(), name.end()))) << "1,1,2\n2,3\n";
  InputFileReader reader;
  const InputFile file = reader.read(name, kReadFecundityTitle);
  EXPECT_EQ(parseFecundity(file.bytes, file.path, smallCohort()).females[1].eggs,
            (std::vector<double>{3}));
  EXPECT_THROW(reader.read(folder.base() + "_none.txt", kReadFecundityTitle), UserError);
}

}  // namespace
}  // namespace pellmar
