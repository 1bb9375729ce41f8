// Files as editors save them: UTF-16 ("Unicode" in Notepad) is read as text, "ANSI" text keeps
// its bytes in the reports but becomes UTF-8 where it names a file, and a field quoted in a
// message stays short and harmless.
#include "core/report/text_encoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "core/data/fecundity_file.h"
#include "core/data/field_reader.h"
#include "core/data/study_reader.h"
#include "core/resampling/samples_file.h"
#include "core/resampling/treatment2_file.h"
#include "core/user_error.h"
#include "resampling_test_support.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

using test_support::errorFrom;

// `utf8` as UTF-16 with a byte-order mark (or without, when `mark` is false).
std::string utf16(std::string_view utf8, bool bigEndian, bool mark = true) {
  std::string bytes;
  const auto unit = [&](unsigned u) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  };
  if (mark) unit(0xFEFF);
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    unsigned code = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t k = 1; k < length; ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3FU);
    }
    i += static_cast<std::size_t>(length);
    if (code >= 0x10000) {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unit(code);
    }
  }
  return bytes;
}

// Text with a character of two, three and four bytes in UTF-8.
const std::string kFields = "Caf\xC3\xA9 \xE2\x82\xAC,\"\xF0\x9D\x84\x9E, clef\"\r\n-2.5,7\n";

TEST(TextEncoding, Utf16WithAMarkReadsAsTheSameFieldsInBlocksOfEverySize) {
  for (const bool bigEndian : {false, true}) {
    const std::string bytes = utf16(kFields, bigEndian);
    for (const std::size_t block : {3U, 4U, 5U, 7U, 64U, 65536U}) {
      SCOPED_TRACE(std::to_string(block) + (bigEndian ? " big-endian" : " little-endian"));
      FieldReader fields(std::make_unique<std::istringstream>(bytes), dataFileErrorStyle(), block);
      EXPECT_EQ(fields.readText(), "Caf\xC3\xA9 \xE2\x82\xAC");
      EXPECT_EQ(fields.readText(), "\xF0\x9D\x84\x9E, clef");
      EXPECT_EQ(fields.readNumber(), -2.5);
      EXPECT_EQ(fields.readNumber(), 7);
      EXPECT_EQ(fields.lineNumber(), 3);
      EXPECT_TRUE(fields.atEndOfData());
    }
    FieldReader inMemory(bytes);
    EXPECT_EQ(inMemory.readText(), "Caf\xC3\xA9 \xE2\x82\xAC");
  }
}

TEST(TextEncoding, EveryReaderReadsUtf16) {
  const std::string study = test_support::kSmallCohort;
  for (const bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
    const Study fromUtf16 = test_support::studyFrom(utf16(study, bigEndian));
    const Study fromUtf8 = test_support::studyFrom(study);
    EXPECT_EQ(fromUtf16.projectTitle, fromUtf8.projectTitle);
    EXPECT_EQ(fromUtf16.stageName, fromUtf8.stageName);
    EXPECT_EQ(fromUtf16.individual(4).dailyConsumption, fromUtf8.individual(4).dailyConsumption);

    const Treatment2 treatment = parseTreatment2(
        utf16("\"Other moth\",x\ny\nn =,4\nK =,2\n1,20\n2,22\n", bigEndian), "t2.txt");
    EXPECT_EQ(treatment.title, "Other moth");
    EXPECT_EQ(treatment.values, (std::vector<double>{0, 20, 22}));

    SamplesFileReader samples(
        std::make_unique<std::istringstream>(
            utf16("a\nb\nc\nB,\n1\nn,\n4\ns1\n1,2,3,4\nRo,\n5\nl,\n1.1\n", bigEndian)),
        4);
    std::vector<int> drawn;
    double r0 = 0;
    double lambda = 0;
    samples.readReplicate(1, drawn, r0, lambda);
    EXPECT_EQ(drawn, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(lambda, 1.1);

    const Study& cohort = fromUtf8;
    const FecundityData eggs =
        parseFecundity(utf16("1,0,10\n2,7.5\n", bigEndian), "eggs.txt", cohort);
    ASSERT_EQ(eggs.females.size(), 2U);
    EXPECT_EQ(eggs.females[1].eggs, (std::vector<double>{7.5}));
  }
}

TEST(TextEncoding, Utf16WithoutAMarkIsNamedInTheMessage) {
  const std::string bare = utf16(test_support::kSmallCohort, false, false);
  const UserError data = errorFrom([&] { test_support::studyFrom(bare); });
  EXPECT_EQ(data.text(),
            "The file study.txt is saved as UTF-16 text without a byte-order mark, which cannot be "
            "read. Please save it as UTF-8 or ANSI text.\n"
            "Please correct your data and rerun this program.");
  EXPECT_EQ(errorFrom([&] { parseTreatment2(utf16("t\n", true, false) + "x", "t2.txt"); }).text(),
            "The file t2.txt is saved as UTF-16 text without a byte-order mark, which cannot be "
            "read. Please save it as UTF-8 or ANSI text.");
  EXPECT_EQ(errorFrom([&] {
              parseFecundity(utf16("1,0,10\n", false, false), "eggs.txt", Study{});
            }).text(),
            "The fecundity file eggs.txt is saved as UTF-16 text without a byte-order mark, "
            "which cannot be read. Please save it as UTF-8 or ANSI text.");
  // Text with no NUL bytes is never taken for UTF-16, whatever its bytes.
  EXPECT_EQ(detectEncoding("\xFF\x01\xFE\x02 ANSI \xE9").encoding, TextEncoding::kBytes);
}

TEST(TextEncoding, AnsiTextBecomesUtf8WhereItNamesAFile) {
  EXPECT_EQ(fileNameText("L\xE4rve \x80"), "L\xC3\xA4rve \xE2\x82\xAC");
  // UTF-8 stays as it is, also beside bytes that are not.
  EXPECT_EQ(fileNameText("\xC3\xA9t\xC3\xA9 \xE9t\xE9"), "\xC3\xA9t\xC3\xA9 \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(fileNameText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");  // a surrogate
  EXPECT_EQ(fileNameText("\xC3"), "\xC3\x83");
}

TEST(TextEncoding, AFieldQuotedInAMessageIsShortAndHarmless) {
  EXPECT_EQ(echoedField("abc"), "abc");
  EXPECT_EQ(echoedField(std::string(1 << 20, '7')), std::string(40, '7') + "...");
  EXPECT_EQ(echoedField(std::string(40, '7')), std::string(40, '7'));
  EXPECT_EQ(echoedField("\x1B[2J\x07 \x7F"), "\\x1B[2J\\x07 \\x7F");
  EXPECT_EQ(echoedField("\xC2\x9B"
                        "1m \x9B"),
            "\\x9B1m \\x9B");
  // Forty characters, not bytes: accented letters are not cut in half.
  std::string accents;
  for (int k = 0; k < 41; ++k) accents += "\xC3\xA9";
  EXPECT_EQ(echoedField(accents), accents.substr(0, 80) + "...");

  FieldReader fields("1," + std::string(1 << 20, 'x') + "\x1B");
  fields.setContext("the header");
  fields.readNumber();
  EXPECT_EQ(errorFrom([&] { fields.readNumber(); }).text(),
            "Line 1, the header: \"" + std::string(40, 'x') +
                "...\" is not a number.\nPlease correct your data and rerun this program.");
}

}  // namespace
}  // namespace pellmar
