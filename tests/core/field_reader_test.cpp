#include "core/data/field_reader.h"

#include <gtest/gtest.h>

#include "core/user_error.h"

namespace pellmar {
namespace {

TEST(FieldReader, FieldsRunOverCommasAndLineEnds) {
  FieldReader fields("Moth study,  Ann Lee  \r\n3\n\n1,2,\r\n-1\r.5");
  EXPECT_EQ(fields.readText(), "Moth study");
  EXPECT_EQ(fields.readText(), "Ann Lee");
  EXPECT_EQ(fields.readNumber(), 3);
  EXPECT_EQ(fields.readNumber(), 1);
  EXPECT_EQ(fields.readNumber(), 2);
  // The comma at the end of a line makes no empty field.
  EXPECT_EQ(fields.readNumber(), -1);
  EXPECT_EQ(fields.readNumber(), 0.5);
}

TEST(FieldReader, QuotedTextKeepsCommasAndDropsTheRest) {
  FieldReader fields("\"Larva, late\" ignored,next\n\"open");
  EXPECT_EQ(fields.readText(), "Larva, late");
  EXPECT_EQ(fields.readText(), "next");
  EXPECT_EQ(fields.readText(), "open");
}

TEST(FieldReader, NumbersEndAtBlanks) {
  FieldReader fields("1 2 ,3\t,\t4");
  EXPECT_EQ(fields.readNumber(), 1);
  EXPECT_EQ(fields.readNumber(), 2);
  EXPECT_EQ(fields.readNumber(), 3);
  EXPECT_EQ(fields.readNumber(), 4);
}

TEST(FieldReader, DoubledCommaIsAnEmptyField) {
  FieldReader fields("5,,6");
  EXPECT_EQ(fields.readNumber(), 5);
  EXPECT_EQ(fields.readNumber(), 0);
  EXPECT_EQ(fields.readNumber(), 6);
}

TEST(FieldReader, ByteOrderMarkAndHighBytesPassThrough) {
  FieldReader fields(
      "\xEF\xBB\xBF"
      "Caf\xE9 \xC3\xA9t\xC3\xA9,1E2");
  EXPECT_EQ(fields.readText(), "Caf\xE9 \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(fields.readNumber(), 100);
}

TEST(FieldReader, TextWhereANumberBelongsNamesLineAndContext) {
  FieldReader fields("1,\n2,abc");
  fields.setContext("individual no. 4");
  fields.readNumber();
  fields.readNumber();
  try {
    fields.readNumber();
    FAIL() << "no error";
  } catch (const UserError& error) {
    EXPECT_EQ(error.title(), "Error in data file");
    EXPECT_EQ(error.text(),
              "Line 2, individual no. 4: \"abc\" is not a number.\n"
              "Please correct your data and rerun this program.");
    EXPECT_TRUE(error.fatal());
  }
}

TEST(FieldReader, EndOfFileAndHugeNumbersAreErrors) {
  FieldReader early("7,  \n ");
  early.setContext("the header");
  early.readNumber();
  EXPECT_THROW(early.readText(), UserError);
  FieldReader huge("1e400");
  EXPECT_THROW(huge.readNumber(), UserError);
  FieldReader big("99999999999999999999");
  EXPECT_THROW(big.readNumber(), UserError);
}

TEST(FieldReader, DecimalSyntax) {
  double value = 0;
  EXPECT_TRUE(parseDecimal("-.25", value));
  EXPECT_EQ(value, -0.25);
  EXPECT_TRUE(parseDecimal("+3.", value));
  EXPECT_EQ(value, 3);
  EXPECT_TRUE(parseDecimal("1.5D1", value));
  EXPECT_EQ(value, 15);
  EXPECT_FALSE(parseDecimal("1.2.3", value));
  EXPECT_FALSE(parseDecimal("-", value));
  EXPECT_FALSE(parseDecimal("2e", value));
  EXPECT_FALSE(parseDecimal("0x10", value));
}

}  // namespace
}  // namespace pellmar
