#include "core/data/study_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "core/user_error.h"
#include "study_generator.h"

namespace pellmar {
namespace {

// A four-stage study (egg, larva, pupa, adult) with the given individual records.
std::string fourStageFile(int individuals, const std::string& records) {
  return "Moth 1\nAnn\n2026-01-05\n" + std::to_string(individuals) +
         "\n3,4\nF,Egg,Larva,Pupa,Female\nM,Egg,Larva,Pupa,Male\n"
         "N,Egg,Larva,Pupa,Unknown\nLarva,Pupa\n" +
         records;
}

Study read(const std::string& contents) {
  return readStudy(InputFile{"study.txt", contents, ""}, 1.0, "study");
}

// The text of the data file error raised by reading `contents`, or "" when it reads cleanly.
std::string errorOf(const std::string& contents) {
  try {
    read(contents);
  } catch (const UserError& error) {
    const std::string tail = "\nPlease correct your data and rerun this program.";
    EXPECT_EQ(error.title(), "Error in data file");
    EXPECT_EQ(error.text().substr(error.text().size() - tail.size()), tail);
    return error.text().substr(0, error.text().size() - tail.size());
  }
  return "";
}

TEST(StudyReader, HeaderFields) {
  const Study study = read(fourStageFile(1, "1,M,2,3,6,2,-1,2,5,5,-1,-1,2,4,-1"));
  EXPECT_EQ(study.projectTitle, "Moth 1");
  EXPECT_EQ(study.userName, "Ann");
  EXPECT_EQ(study.studyDate, "2026-01-05");
  EXPECT_EQ(study.individualCount, 1);
  EXPECT_EQ(study.sexCount, 3);
  EXPECT_EQ(study.stageCount, 4);
  EXPECT_EQ(study.sexCode[2], "M");
  EXPECT_EQ(study.name(3, 4), "Unknown");
  EXPECT_EQ(study.spanStageName[1], "Larva");
  EXPECT_EQ(study.spanStageName[2], "Pupa");
}

TEST(StudyReader, AdultMaleRecord) {
  const Study study = read(fourStageFile(1, "1,M,2,3,6,2,-1,2,5,5,-1,-1,2,4,-1"));
  const IndividualRecord& male = study.individual(1);
  EXPECT_EQ(male.stageDuration, (std::vector<double>{0, 2, 3, 6, 2, 0}));
  // Egg 0..1, larva 2..4, pupa 5..10, adult 11..12, end marker at 14.
  const std::vector<double> daily{0, 0, 2, 5, 5, 0, 0, 0, 0, 0, 0, 2, 4, 0, -1};
  EXPECT_EQ(male.dailyConsumption, daily);
  EXPECT_EQ(male.stageConsumption[2], 12);
  // The adult male keeps his total in column m but feeds column m + 1 of T.
  EXPECT_EQ(male.stageConsumption[4], 6);
  EXPECT_EQ(male.stageConsumption[5], 0);
  EXPECT_EQ(study.T(11, 5), 2);
  EXPECT_EQ(study.T(12, 5), 4);
  EXPECT_EQ(study.T(11, 4), 0);
  EXPECT_EQ(study.T(3, 2), 5);
  EXPECT_EQ(study.lastAgeRead, 13);
}

TEST(StudyReader, DeathInAStageWithAllValuesRecorded) {
  const Study study = read(fourStageFile(1, " 1,N,2,-5,-1,4,3,3,2,2,-1"));
  const IndividualRecord& record = study.individual(1);
  EXPECT_EQ(record.dailyConsumption, (std::vector<double>{0, 0, 4, 3, 3, 2, 2, 0, -1}));
  EXPECT_EQ(record.stageDuration[3], 0);
  EXPECT_EQ(record.stageConsumption[2], 14);
}

TEST(StudyReader, PupalDeathAndMissingDays) {
  // Died as a pupa after 4 time units; the female's last adult day is missing.
  const Study study = read(fourStageFile(2,
                                         "1,N,3,2,-4,-1,3,5,-1,-1\n"
                                         "2,F,1,2,1,3,-1,1,1,-1,-1,7,8,-1"));
  EXPECT_EQ(study.individual(1).dailyConsumption,
            (std::vector<double>{0, 0, 0, 3, 5, 0, 0, 0, 0, 0, -1}));
  EXPECT_EQ(study.individual(2).dailyConsumption,
            (std::vector<double>{0, 1, 1, 0, 7, 8, 0, 0, -1}));
  // The zero-filled day after the last value does not count for lastAgeRead.
  EXPECT_EQ(study.lastAgeRead, 6);
}

// A span named by a stage that does not exist is only reported: the file stays valid.
TEST(StudyReader, ASpanOfAnUnknownStageIsAWarning) {
  std::string contents = fourStageFile(1, "1,M,2,3,6,2,-1,2,5,5,-1,-1,2,4,-1");
  contents.replace(contents.find("Larva,Pupa\n"), 11, "Banana,Pupa\n");
  const Study study = read(contents);
  EXPECT_EQ(study.warnings,
            std::vector<std::string>{"Line 9 of study.txt: the span line names Banana, which is "
                                     "not a stage: no span duration is reported."});
}

TEST(StudyReader, DurationZeroStageIsALoneTerminator) {
  const Study study = read(fourStageFile(1, "1,F,2,0,1,2,-1,-1,-1,3,3,-1"));
  EXPECT_EQ(study.individual(1).dailyConsumption, (std::vector<double>{0, 0, 0, 3, 3, 0, -1}));
}

// The messages the data file's faults have always had keep their words; a line of their own
// gives the file, the line and what is wrong.
TEST(StudyReader, MessagesOfTheOpeningCheck) {
  const std::string good = "1,F,1,1,1,1,-1,2,-1,-1,2,-1\n";
  const std::string second = "2,F,1,1,1,1,-1,2,-1,-1,2,-1\n";
  const std::string file = "\nThe file study.txt, line ";
  EXPECT_EQ(errorOf(fourStageFile(1, "7,F,1,1,1,1,-1,2,-1,-1,2,-1")),
            "Check data of individual no. 0 or 1" + file +
                "10, individual no. 1: the serial number is 7 where 1 is due; the individuals "
                "are numbered 1, 2, 3 ... in order.");
  EXPECT_EQ(errorOf(fourStageFile(3, good + second + "2,F,1,1,1,1,-1,2,-1,-1,2,-1")),
            "Check data of individual no. 2 or 3" + file +
                "12, individual no. 3: serial number 2 appears twice, lines 11 and 12.");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2147483648,F,1")),
            "Check data of individual no. 1 or 2" + file +
                "11, individual no. 2: the serial number is 2147483648 where 2 is due; the "
                "individuals are numbered 1, 2, 3 ... in order.");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,X,1,1,1,1,-1,2,-1,-1,2,-1")),
            "Check data of individual no. 1 or 2" + file +
                "11, individual no. 2: sex code X: use F, M or N.");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,f,1,1,1,1,-1,2,-1,-1,2,-1")),
            "Check data of individual no. 1 or 2" + file +
                "11, individual no. 2: sex code f: use F, M or N, in capital letters.");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,N,2,3,6,-1,2,-1,-1")),
            "Individual no.2 is type N with adult stage. It is incorrect." + file +
                "11, individual no. 2: sex N is an individual that died before the adult stage, "
                "but none of its 3 durations before the adult stage is negative, as the stage of "
                "its death is.");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,F,2,-3")),
            "Individual no.2 is type F or M without adult stage. It is incorrect." + file +
                "11, individual no. 2: a female dies in stage 2 (its duration is -3); only "
                "individuals of sex N die before the adult stage.");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,F,2,3,1,1,-1,4,-2,1,-1,-1,1,-1")),
            "Individual no.2, age3. Predation rate <0. It is incorrect." + file +
                "11, individual no. 2: a consumption of -2 at age 3; consumption is 0 or more, "
                "and -1 ends a stage.");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,N,1,-2,-1,4,4,5")),
            "Error in individual no. 2." + file +
                "11, individual no. 2: it died after 2 time units of stage 2, so its record ends "
                "there with -1, not with 5.");
  // A negative value among the daily values of the stage of death passes, and so does a 0
  // where the terminator belongs (reading then goes on with the next stage).
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,N,1,-2,-1,-2,4,-1")), "");
  EXPECT_EQ(errorOf(fourStageFile(2, good + "2,N,1,-1,-1,4,0,-1,-1")), "");
}

// The message of a file beyond a limit names the line, and the individual where there is one.
TEST(StudyReader, LimitsOfTheDataModel) {
  const auto firstLine = [&](const std::string& contents) {
    const std::string text = errorOf(contents);
    return text.substr(0, text.find('\n'));
  };
  EXPECT_EQ(firstLine(fourStageFile(401, "")),
            "The file study.txt, line 4, the header: the number of individuals is 401; it must be "
            "a whole number "
            "from 1 to 400.");
  EXPECT_EQ(firstLine(fourStageFile(0, "")),
            "The file study.txt, line 4, the header: the number of individuals is 0; it must be a "
            "whole number from 1 "
            "to 400.");
  EXPECT_EQ(firstLine("P\nU\nD\n1\n4,2\n"),
            "The file study.txt, line 5, the header: the number of stage-name lines is 4; it must "
            "be a whole number "
            "from 1 to 3.");
  EXPECT_EQ(firstLine("P\nU\nD\n1\n3,13\n"),
            "The file study.txt, line 5, the header: the number of stages is 13; it must be a "
            "whole number from 2 to "
            "12.");
  EXPECT_EQ(errorOf(fourStageFile(1, "1,F,2,500,1,1,-1")),
            "The file study.txt, line 10, individual no. 1: the duration of stage 2 is longer than "
            "404 time units, "
            "the longest life that can be analysed.");
  EXPECT_EQ(errorOf(fourStageFile(1, "1,F,2,2.5,1,1,-1")),
            "The file study.txt, line 10, individual no. 1: the duration of stage 2 is 2.5; "
            "durations are whole "
            "numbers of time units.");
  EXPECT_EQ(errorOf(fourStageFile(1, "1,F,150,150,150,150,-1,-1,-1,\n-1")),
            "The file study.txt, line 10, individual no. 1: this individual lives longer than 404 "
            "time units, the "
            "longest life that can be analysed.");
  EXPECT_EQ(errorOf(fourStageFile(2, "1,F,1,1,1,1,-1,2,-1,-1,2,-1\n2,M,1,1,")),
            "The file study.txt, line 11, individual no. 2: the data file ends too early.");
  std::string twelve = "P\nU\nD\n1\n1,12\nM";
  for (int j = 1; j <= 12; ++j) twelve += ",S" + std::to_string(j);
  twelve += "\nS1,S2\n1,M,1,1,1,1,1,1,1,1,1,1,1,1";
  EXPECT_EQ(errorOf(twelve),
            "The file study.txt, line 8, individual no. 1: a male, but a study with males can have "
            "at most 11 "
            "stages.");
}

// A blank line among the first three lines makes no field, so every later field moves up one;
// the message of the header field that then goes wrong shows how the first three were read.
TEST(StudyReader, AFaultOfTheHeaderShowsHowItsFirstLinesWereRead) {
  EXPECT_EQ(errorOf("Cotton aphid\n\n2026-05-01\n12\n3,4\n"),
            "The file study.txt, line 5, the header: the number of stage-name lines is 4; it must "
            "be a whole number "
            "from 1 to 3.\n"
            "The first three lines were read as the project \"Cotton aphid\", the user "
            "\"2026-05-01\" and the date \"12\"; a blank or missing line among them moves every "
            "later field.");
}

// Every cut of the example file, a text in place of every number and a huge number give a
// data file message, never a crash.
TEST(StudyReader, TruncatedAndGarbledFilesGiveMessages) {
  const std::string example = tools::generateStudy(tools::StudyShape{12, 7, 7, 0.3});
  ASSERT_EQ(errorOf(example), "");
  for (std::size_t cut = 0; cut < example.size(); ++cut) {
    if ((example[cut] != ',' && example[cut] != '\n') || cut + 1 == example.size()) continue;
    EXPECT_NE(errorOf(example.substr(0, cut)), "") << "cut at " << cut;
  }
  const std::size_t firstRecord = example.find("\n1,") + 1;
  for (std::size_t at = firstRecord; at < example.size(); ++at) {
    if (example[at - 1] != ',' && example[at - 1] != '\n') continue;
    const std::size_t end = example.find_first_of(",\n", at);
    for (const std::string replacement : {"abc", "1e300", "-99999999"}) {
      std::string garbled = example;
      garbled.replace(at, end - at, replacement);
      // Whatever the message, reading ends with one and nothing else.
      errorOf(garbled);
    }
  }
}

}  // namespace
}  // namespace pellmar
