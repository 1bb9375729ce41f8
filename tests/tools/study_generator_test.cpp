// The tool that makes test studies: every study the generator makes is one the reader takes,
// and the eggs it makes for the study are a fecundity file the reader takes with it.
#include "study_generator.h"

#include <gtest/gtest.h>

#include <string>

#include "core/data/fecundity_file.h"
#include "core/report_test_support.h"

namespace pellmar {
namespace {

TEST(StudyGenerator, EveryGeneratedStudyAndItsEggsAreRead) {
  for (const int stages : {2, 3, 7, 11, 12}) {
    for (const int individuals : {1, 2, 30}) {
      for (const std::uint32_t seed : {1U, 2U, 3U}) {
        const tools::StudyShape shape{individuals, stages, seed, 1.0};
        SCOPED_TRACE(std::to_string(stages) + " stages, " + std::to_string(individuals) +
                     " individuals, seed " + std::to_string(seed));
        const Study study = test_support::studyFrom(tools::generateStudy(shape));
        EXPECT_EQ(study.individualCount, individuals);
        EXPECT_NO_THROW(parseFecundity(tools::generateFecundity(shape), "eggs", study));
      }
    }
  }
}

}  // namespace
}  // namespace pellmar
