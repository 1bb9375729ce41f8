// A study at every limit of the data model runs through the Basic Run, a bootstrap and the
// jackknife; one step beyond a limit is refused by the reader with a message. The limits: 400
// individuals, 11 stages with males (12 stage columns), 3 stage-name lines, a life of 404 time
// units (the end marker at age index 405), bootstrap samples of up to 405 individuals, a
// jackknife of 2 to 400 individuals.
#include "core/data/limits.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/resampling/bootstrap.h"
#include "core/resampling/jackknife.h"
#include "report_test_support.h"
#include "study_generator.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

constexpr int kStages = 11;

// Individual 400 of the limit study: a female whose 11 stages last 2 time units each, the
// adult 384, so that she lives 404 time units, eating on every day from the second stage on.
std::string longestLivedFemale() {
  std::ostringstream record;
  record << "400,F";
  for (int j = 1; j < kStages; ++j) record << ",2";
  record << ",384\n-1\n";
  for (int j = 2; j < kStages; ++j) record << j << ',' << j << ",-1\n";
  for (int day = 0; day < 384; ++day) record << 50 + day % 7 << ',';
  record << "-1\n";
  return record.str();
}

// 400 generated individuals of 11 stages, both sexes, the last replaced by the female above.
std::string limitStudy() {
  const std::string generated = tools::generateStudy(tools::StudyShape{400, kStages, 7, 1.0});
  return generated.substr(0, generated.find("\n400,") + 1) + longestLivedFemale();
}

TEST(Limits, StudyAtEveryLimitRunsThroughTheBasicRunBootstrapAndJackknife) {
  const test_support::AnalysedStudy analysed = test_support::analysedStudy(limitStudy());
  const Study& study = analysed.study;
  const BasicRunResults& basic = analysed.basic;
  ASSERT_EQ(study.individualCount, kMaxIndividuals);
  ASSERT_EQ(study.stageCount, kStages);
  ASSERT_EQ(study.individual(400).dailyConsumption.size(), 406U);
  EXPECT_EQ(study.individual(400).dailyConsumption[405], -1);
  EXPECT_EQ(basic.maxAgeIndex, 403);
  // She is the only one alive at the last age, an adult female in column 11.
  EXPECT_EQ(basic.N(403, kStages), 1);
  EXPECT_EQ(basic.C(403, kStages), 50 + 383 % 7);
  double maleConsumption = 0.0;
  for (int x = 0; x <= 403; ++x) maleConsumption += basic.C(x, kStages + 1);
  EXPECT_GT(maleConsumption, 0) << "adult males eat in column 12";

  const BootstrapResults boot = ownSamplesBootstrap(
      study, basic, OwnSamplesOptions{20, kMaxBootstrapSampleSize, 3, false}, nullptr, {});
  EXPECT_EQ(boot.bootC0.size(), 21U);
  const JackknifeResults jack = jackknife(study, basic, nullptr, nullptr, {});
  EXPECT_EQ(jack.jackknifePseudoC0.size(), 401U);
  // C0 is the mean lifelong consumption, so its jackknife is that of the individual totals: the
  // mean of the pseudo-values is C0 and their standard error the totals' standard error.
  EXPECT_NEAR(jack.jackMean, basic.C0ByAge, 1e-9 * basic.C0ByAge);
  EXPECT_NEAR(jack.jackSE, basic.cohortConsumptionSE, 1e-9 * basic.cohortConsumptionSE);

  const Study one = test_support::studyFrom(tools::generateStudy(tools::StudyShape{1, 4, 5, 1.0}));
  const UserError refused =
      test_support::errorFrom([&] { jackknife(one, basicRun(one), nullptr, nullptr, {}); });
  EXPECT_EQ(refused.kind(), ErrorKind::kInvalidRequest);
  EXPECT_EQ(refused.text(), "The jackknife needs from 2 to 400 individuals; this study has 1.");
}

TEST(Limits, OneStepBeyondALimitIsRefusedWhenTheStudyIsRead) {
  const std::string study = limitStudy();
  const std::string header = study.substr(0, study.find("\n1,") + 1);
  const std::string stageLines = header.substr(header.find("3,11\n"));
  const std::string records = study.substr(header.size());
  const std::string firstLines = header.substr(0, header.find("400\n"));
  const std::string oneMoreDay = study.substr(0, study.rfind(",-1\n")) + ",50,-1\n";
  const std::string twelveStagesWithMales = [&] {
    std::string text = firstLines + "400\n3,12\n";
    for (const char* code : {"F", "M", "N"}) {
      text += code;
      for (int j = 1; j <= 12; ++j) text += ",S" + std::to_string(j);
      text += "\n";
    }
    return text + "S2,S3\n1,M,2\n";
  }();
  const struct {
    const char* what;
    std::string contents;
    const char* message;
  } beyond[] = {
      {"401 individuals", firstLines + "401\n" + stageLines + records,
       "the number of individuals is 401"},
      {"4 stage-name lines", firstLines + "400\n4,11\n", "the number of stage-name lines is 4"},
      {"13 stages", firstLines + "400\n3,13\n", "the number of stages is 13"},
      {"12 stages with males", twelveStagesWithMales, "at most 11 stages"},
      {"a life of 405 time units", oneMoreDay,
       "individual no. 400: this individual lives longer than 404"},
  };
  for (const auto& file : beyond) {
    SCOPED_TRACE(file.what);
    const UserError error =
        test_support::errorFrom([&] { test_support::studyFrom(file.contents); });
    EXPECT_EQ(error.title(), "Error in data file");
    EXPECT_NE(error.text().find(file.message), std::string::npos) << error.text();
  }
}

}  // namespace
}  // namespace pellmar
