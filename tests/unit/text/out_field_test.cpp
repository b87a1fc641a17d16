#include "text/out_field.h"

#include <gtest/gtest.h>

#include <string>

#include "state/library_state.h"

namespace quadrel {
namespace {

class OutFieldTest : public ::testing::Test {
 protected:
  void TearDown() override { Library().options = TranslatorOptions{}; }

  static std::string Edited(int options, std::string_view text, int kind) {
    Library().options.OutEditOptions = options;
    std::string dst = "[";
    EditOutField(dst, text, kind);
    return dst;
  }
};

constexpr int kNumber = 0;

TEST_F(OutFieldTest, TextsAreQuotedWithInnerQuotesDoubled) {
  for (const int options : {0, 2, 3}) {
    EXPECT_EQ(Edited(options, "IT'S", OUT_FIELD_TEXT), "['IT''S',") << options;
  }
  EXPECT_EQ(Edited(0, "", OUT_FIELD_TEXT), "['',");
  Library().options.QuoteChar = '\0';
  EXPECT_EQ(Edited(0, "IT'S", OUT_FIELD_TEXT), "[IT'S,");
}

TEST_F(OutFieldTest, PlainOptionsWriteTextsAsTheyAreWithoutSeparator) {
  EXPECT_EQ(Edited(1, "IT'S", OUT_FIELD_TEXT), "[IT'S");
  EXPECT_EQ(Edited(1, "D00120", kNumber), "[-00120");
}

TEST_F(OutFieldTest, NumbersShowTheirSignLetter) {
  EXPECT_EQ(Edited(0, "D00120", kNumber), "[-00120,");
  EXPECT_EQ(Edited(3, "B0012", kNumber), "[E0012,");
  EXPECT_EQ(Edited(0, "00120", kNumber), "[00120,");
  EXPECT_EQ(Edited(0, "", kNumber), "[,");
  // Only the first character is a sign letter; any kind but 2 is a number.
  EXPECT_EQ(Edited(0, "1D", 7), "[1D,");
}

TEST_F(OutFieldTest, CompactOptionsDropLeadingZerosAndLetters) {
  EXPECT_EQ(Edited(2, "D00120", kNumber), "[-120,");
  EXPECT_EQ(Edited(2, "000", kNumber), "[0,");
  EXPECT_EQ(Edited(2, "00120", kNumber), "[120,");
  EXPECT_EQ(Edited(2, "B05", kNumber), "[E5,");
  EXPECT_EQ(Edited(2, "D0", kNumber), "[-0,");
  EXPECT_EQ(Edited(2, "D", kNumber), "[D,");  // the last character always stays as it is
  EXPECT_EQ(Edited(2, "1200", kNumber), "[1200,");
  EXPECT_EQ(Edited(2, "", kNumber), "[,");
}

TEST_F(OutFieldTest, SeparatorFollowsTheOption) {
  Library().options.SeparatorChar = ';';
  EXPECT_EQ(Edited(0, "5", kNumber), "[5;");
  Library().options.SeparatorChar = '\0';
  EXPECT_EQ(Edited(0, "5", kNumber), "[5");
  EXPECT_EQ(Edited(0, "A", OUT_FIELD_TEXT), "['A'");
}

TEST_F(OutFieldTest, UnknownOptionsEditAsTheFirst) {
  EXPECT_EQ(Edited(9, "D001", kNumber), Edited(0, "D001", kNumber));
  EXPECT_EQ(Edited(9, "A'", OUT_FIELD_TEXT), Edited(0, "A'", OUT_FIELD_TEXT));
}

}  // namespace
}  // namespace quadrel
