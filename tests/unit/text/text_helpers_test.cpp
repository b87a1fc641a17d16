#include "text/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

#include "state/library_state.h"

namespace quadrel {
namespace {

class TextHelpersTest : public ::testing::Test {
 protected:
  void TearDown() override { Library().options = TranslatorOptions{}; }

  static std::string Unquoted(std::string_view text, int expectedCode, std::size_t max = 100) {
    std::string dst = "stale";
    EXPECT_EQ(UnquoteField(text, dst, max), expectedCode) << text;
    return dst;
  }
};

TEST_F(TextHelpersTest, UnquoteCopiesPlainTextAndRemovesAQuotedStretch) {
  EXPECT_EQ(Unquoted("ABC", UNQUOTE_OK), "ABC");
  EXPECT_EQ(Unquoted("", UNQUOTE_OK), "");
  EXPECT_EQ(Unquoted("'A B'", UNQUOTE_OK), "A B");
  EXPECT_EQ(Unquoted("''", UNQUOTE_OK), "");
  EXPECT_EQ(Unquoted("'A'B", UNQUOTE_OK), "AB");
  EXPECT_EQ(Unquoted("''X", UNQUOTE_OK), "X");
}

TEST_F(TextHelpersTest, UnquoteTurnsADoubledQuoteIntoOne) {
  EXPECT_EQ(Unquoted("'IT''S'", UNQUOTE_OK), "IT'S");
  EXPECT_EQ(Unquoted("''''", UNQUOTE_OK), "'");
  EXPECT_EQ(Unquoted("'A'''", UNQUOTE_OK), "A'");
}

TEST_F(TextHelpersTest, UnquoteRefusesBadQuoting) {
  EXPECT_EQ(Unquoted("'", UNQUOTE_BAD_QUOTING), "");      // opening quote as last character
  EXPECT_EQ(Unquoted("'ABC", UNQUOTE_BAD_QUOTING), "");   // never closed
  EXPECT_EQ(Unquoted("AB'C'", UNQUOTE_BAD_QUOTING), "");  // opens after the start
  EXPECT_EQ(Unquoted("'A'B'", UNQUOTE_BAD_QUOTING), "");  // second stretch
  EXPECT_EQ(Unquoted("'A''", UNQUOTE_BAD_QUOTING), "");   // doubled quote without a close
  EXPECT_EQ(Unquoted("'''", UNQUOTE_BAD_QUOTING), "");
}

TEST_F(TextHelpersTest, UnquoteCountsTheResultAgainstMax) {
  EXPECT_EQ(Unquoted("ABCD", UNQUOTE_OK, 4), "ABCD");
  EXPECT_EQ(Unquoted("'ABCD'", UNQUOTE_OK, 4), "ABCD");
  EXPECT_EQ(Unquoted("'AB''C'", UNQUOTE_OK, 4), "AB'C");
  EXPECT_EQ(Unquoted("ABCDE", UNQUOTE_TOO_LONG, 4), "");
  EXPECT_EQ(Unquoted("'AB''CD'", UNQUOTE_TOO_LONG, 4), "");
  EXPECT_EQ(Unquoted("A", UNQUOTE_TOO_LONG, 0), "");
}

TEST_F(TextHelpersTest, UnquoteFollowsTheQuoteOption) {
  Library().options.QuoteChar = '"';
  EXPECT_EQ(Unquoted("\"A'B\"", UNQUOTE_OK), "A'B");
  Library().options.QuoteChar = '\0';
  EXPECT_EQ(Unquoted("'A'", UNQUOTE_OK), "'A'");
}

TEST_F(TextHelpersTest, TrimRightCutsOnlyTrailingBlanks) {
  std::string text = "  A B  ";
  EXPECT_EQ(TrimRight(text), 5u);
  EXPECT_EQ(text, "  A B");
  std::string blanks = "   ";
  EXPECT_EQ(TrimRight(blanks), 0u);
  EXPECT_EQ(blanks, "");
}

TEST_F(TextHelpersTest, GetNthFieldPicksUntrimmedFieldsCountedFromOne) {
  std::string field = "stale";
  GetNthField("a; b ;;c", field, 2, ';');
  EXPECT_EQ(field, " b ");
  GetNthField("a; b ;;c", field, 3, ';');
  EXPECT_EQ(field, "");
  GetNthField("a; b ;;c", field, 4, ';');
  EXPECT_EQ(field, "c");
  GetNthField("a;b", field, 1, ';');
  EXPECT_EQ(field, "a");
  field = "stale";
  GetNthField("a;b", field, 3, ';');
  EXPECT_EQ(field, "");
  field = "stale";
  GetNthField("a;b", field, 0, ';');
  EXPECT_EQ(field, "");
  GetNthField("", field, 1, ';');
  EXPECT_EQ(field, "");
}

TEST_F(TextHelpersTest, AppendNameOrNumberWritesTheNameOrHashAndNumber) {
  std::string line = "X=";
  EXPECT_EQ(AppendNameOrNumber(line, "PLU", 51, 0), "X=PLU");
  EXPECT_EQ(AppendNameOrNumber(line, "PLU", 51, 1), "X=PLU#51");
}

TEST_F(TextHelpersTest, PadLeftFillsUpToTheWidthAndNeverCuts) {
  std::string dst = ">";
  EXPECT_EQ(PadLeft(dst, "42", 5, '0'), ">00042");
  dst.clear();
  EXPECT_EQ(PadLeft(dst, "12345", 5, '0'), "12345");
  dst.clear();
  EXPECT_EQ(PadLeft(dst, "123456", 5, '0'), "123456");
  dst.clear();
  EXPECT_EQ(PadLeft(dst, "7", -3, '0'), "7");
}

TEST_F(TextHelpersTest, PadRightGivesExactlyWidthCharacters) {
  std::string dst = ">";
  EXPECT_EQ(PadRight(dst, "AB", 4, ' '), ">AB  ");
  dst.clear();
  EXPECT_EQ(PadRight(dst, "ABCDEF", 4, ' '), "ABCD");
  dst.clear();
  EXPECT_EQ(PadRight(dst, "AB", 0, ' '), "");
  EXPECT_EQ(PadRight(dst, "AB", -1, ' '), "");
}

}  // namespace
}  // namespace quadrel
