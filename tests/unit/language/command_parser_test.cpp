#include <gtest/gtest.h>

#include <string>

#include "definition_text.h"
#include "language/command_fields.h"
#include "language/command_line.h"
#include "language/command_word.h"
#include "language/definition_tables.h"
#include "language/field_parser.h"
#include "language/result_codes.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

using test_support::LoadDefinitionText;

// Command 5 has several fields (one mandatory, one sharing a slot); command 9
// has a single field; command 12 is the target of a redirected keyword.
constexpr const char* kVocabulary =
    "[OPCOD]\n"
    "1=ALPHA\n"
    "2=ALPHA2\n"
    "3=ALP\n"
    "5=SELECT\n"
    "9=FLAG\n"
    "10=PAGA,12\n"
    "12=PAY\n"
    "20=#7X\n"
    "[5]\n"
    "1=ECR,O\n"
    "2=MODE\n"
    "3=MODEL\n"
    "4=TEXT\n"
    "5=DESCR,4\n"
    "6=AMOUNT\n"
    "7=QTY\n"
    "8=QTYMAX\n"
    "[9]\n"
    "1=VERBOSE\n"
    "[EQU]\n"
    "EUR=978\n"
    "Eur=1\n"
    "MINUS=-5\n"
    "EUR=2\n";

class ParserTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadDefinitionText(kVocabulary)); }
  void TearDown() override {
    Library().options = TranslatorOptions{};
    ClearDefinitionTables();
    ClearCommandFields();
  }

  static int Command(std::string_view line, int expectedResult = kCommandWordFound) {
    std::size_t position = 0;
    int command = -1;
    EXPECT_EQ(FindCommandWord(line, position, command), expectedResult) << line;
    return command;
  }

  static int Fill(std::string_view line, int command = 5) {
    std::size_t position = 0;
    return FillCommandFields(line, command, position);
  }

  static const std::string& Slot(int slot) { return CommandFields().value[slot]; }
  static bool Quoted(int slot) { return CommandFields().quoted[slot]; }
};

std::string Normalized(std::string_view src) {
  std::string dst = "stale";
  const std::size_t length = NormalizeLine(dst, src);
  EXPECT_EQ(length, dst.size());
  return dst;
}

TEST(NormalizeLine, BlankAndCommentLinesBecomeEmpty) {
  EXPECT_EQ(Normalized(""), "");
  EXPECT_EQ(Normalized("   \t  "), "");
  EXPECT_EQ(Normalized("; only a comment"), "");
  EXPECT_EQ(Normalized("  \t; indented comment\n"), "");
}

TEST(NormalizeLine, BlanksAndTabs) {
  EXPECT_EQ(Normalized("\t #5\t\tECR=1  \n"), "#5  ECR=1");
  EXPECT_EQ(Normalized("A   B"), "A   B");
  EXPECT_EQ(Normalized("A\n\n"), "A\n") << "only one line feed is dropped";
}

TEST(NormalizeLine, CommentsStopOnlyOutsideQuotes) {
  EXPECT_EQ(Normalized("#5 TEXT='A;B' ; note"), "#5 TEXT='A;B'");
  EXPECT_EQ(Normalized("#5 TEXT='IT''S;' ;x"), "#5 TEXT='IT''S;'")
      << "a doubled quote keeps the quoted stretch open";
  EXPECT_EQ(Normalized("#5 TEXT='OPEN;"), "#5 TEXT='OPEN;");
  Library().options.QuoteChar = '"';
  EXPECT_EQ(Normalized("#5 TEXT=\"A;B\";C"), "#5 TEXT=\"A;B\"");
  EXPECT_EQ(Normalized("#5 TEXT='A;B'"), "#5 TEXT='A");
  Library().options = TranslatorOptions{};
}

TEST(NormalizeLine, LongLinesAreCut) {
  const std::string line = "#5 TEXT=" + std::string(3000, 'X');
  EXPECT_EQ(Normalized(line).size(), kMaxCommandLineLength);
}

TEST(TextSpans, TrimAndSkip) {
  EXPECT_EQ(TrimmedSpan("  A B  "), "A B");
  EXPECT_EQ(TrimmedSpan("    "), "");
  std::string dst;
  EXPECT_EQ(TrimCopy(dst, " \tX "), 2u);
  EXPECT_EQ(dst, "\tX") << "only blanks are trimmed";
  std::size_t position = 1;
  SkipBlanks("A   B", position);
  EXPECT_EQ(position, 4u);
  position = 1;
  SkipBlanks("A\tB", position);
  EXPECT_EQ(position, 1u);
}

TEST_F(ParserTest, CommandByNumberUpToTheHighestLoaded) {
  EXPECT_EQ(Command("#12"), 12);
  EXPECT_EQ(Command("#20"), 20);
  EXPECT_EQ(Command("#10"), 10) << "'#' ignores the keyword's redirection";
  Command("#21", kCommandWordNotFound);
  Command("#0", kCommandWordNotFound);
  EXPECT_EQ(Command("#"), 20) << "'#' alone abbreviates the keyword #7X";
  Command("#99999999999999", kCommandWordNotFound);
}

TEST_F(ParserTest, NumberThatIsNotAllDigitsIsLookedUpAsAKeyword) {
  EXPECT_EQ(Command("#7x"), 20);
}

TEST_F(ParserTest, CommandByKeyword) {
  EXPECT_EQ(Command("SELECT"), 5);
  EXPECT_EQ(Command("select"), 5) << "case does not matter";
  EXPECT_EQ(Command("SEL"), 5) << "abbreviation";
  EXPECT_EQ(Command("SELECTION"), 5) << "a longer token that starts with the keyword";
  EXPECT_EQ(Command("PAGA"), 12) << "redirected keyword";
  Command("ZETA", kCommandWordNotFound);
}

TEST_F(ParserTest, ExactAndAmbiguousKeywords) {
  EXPECT_EQ(Command("ALPHA"), 1);
  EXPECT_EQ(Command("ALPHA2"), 2);
  // ALPHA and ALPHA2 conflict before the exact ALP is reached.
  Command("ALP", kCommandWordNotUnique);
  Command("AL", kCommandWordNotUnique);
  Command("P", kCommandWordNotUnique);
}

TEST_F(ParserTest, ExactKeywordAfterAnAbbreviationWins) {
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\n1=ALPHA2\n2=ALPHA\n"));
  EXPECT_EQ(Command("ALPHA"), 2);
}

TEST_F(ParserTest, TwoExactKeywordsAreNotUnique) {
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\n1=SAME\n2=SAME\n"));
  Command("SAME", kCommandWordNotUnique);
}

TEST_F(ParserTest, OnlySixteenCharactersOfTheTokenCount) {
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\n1=ABCDEFGHIJ\n"));
  EXPECT_EQ(Command("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), 1);
}

TEST_F(ParserTest, CommandWordMovesPastTheBlanksAfterIt) {
  std::size_t position = 0;
  int command = 0;
  const std::string_view line = "SELECT   ECR=1";
  ASSERT_EQ(FindCommandWord(line, position, command), kCommandWordFound);
  EXPECT_EQ(position, 9u);
  position = line.size();
  EXPECT_EQ(FindCommandWord(line, position, command), kCommandWordNotFound)
      << "an empty token abbreviates nothing";
}

TEST_F(ParserTest, FieldsByNameAndByNumber) {
  ASSERT_EQ(Fill("ECR=3, MODE = 2 ,#6=150"), 0);
  EXPECT_EQ(Slot(1), "3");
  EXPECT_EQ(Slot(2), "2");
  EXPECT_EQ(Slot(6), "150");
  EXPECT_EQ(Slot(3), "");
  EXPECT_EQ(Fill("ECR=1,am=12.50,qtymax=-3"), 0) << "abbreviated, any case";
  EXPECT_EQ(Slot(6), "12.50");
  EXPECT_EQ(Slot(8), "-3");
  EXPECT_EQ(Slot(2), "") << "every line starts with empty slots";
}

TEST_F(ParserTest, NumberedFieldIgnoresTheSlotRedirection) {
  ASSERT_EQ(Fill("ECR=1,#5='X'"), 0);
  EXPECT_EQ(Slot(5), "X");
  EXPECT_EQ(Slot(4), "");
  ASSERT_EQ(Fill("ECR=1,DESCR='Y'"), 0);
  EXPECT_EQ(Slot(4), "Y");
  EXPECT_EQ(Fill("ECR=1,#9=1"), kSyntaxFieldNameNotFound) << "beyond the highest field";
}

TEST_F(ParserTest, BareFlagsHoldVero) {
  ASSERT_EQ(Fill("ECR, MODE=, QTY"), 0);
  EXPECT_EQ(Slot(1), "VERO");
  EXPECT_EQ(Slot(2), "VERO");
  EXPECT_EQ(Slot(7), "VERO");
  EXPECT_FALSE(Quoted(1));
}

TEST_F(ParserTest, QuotedValues) {
  ASSERT_EQ(Fill("ECR=1,TEXT='IT''S, A=B ',MODE=''"), 0);
  EXPECT_EQ(Slot(4), "IT'S, A=B ");
  EXPECT_TRUE(Quoted(4));
  EXPECT_EQ(Slot(2), "") << "an empty quoted value stays empty";
  EXPECT_TRUE(Quoted(2));
  EXPECT_FALSE(Quoted(1));
  ASSERT_EQ(Fill("ECR=1,TEXT='A'B"), 0) << "characters after the closing quote are kept";
  EXPECT_EQ(Slot(4), "AB");
}

TEST_F(ParserTest, BadQuoting) {
  EXPECT_EQ(Fill("ECR=1,TEXT=A'B'"), kSyntaxAlfaValueInvalid) << "quote not first";
  EXPECT_EQ(Fill("ECR=1,TEXT='"), kSyntaxAlfaValueInvalid) << "quote at the end";
  EXPECT_EQ(Fill("ECR=1,TEXT='OPEN"), kSyntaxAlfaValueInvalid) << "never closed";
  EXPECT_EQ(Fill("ECR=1,TEXT='A''"), kSyntaxAlfaValueInvalid) << "doubled quote ends the line";
  EXPECT_EQ(Fill("ECR=1,TE'XT=A"), kSyntaxIllegalFieldName) << "quote in a name";
}

TEST_F(ParserTest, QuoteCharCanBeChanged) {
  Library().options.QuoteChar = '"';
  ASSERT_EQ(Fill("ECR=1,TEXT=\"L'ORO \"\"24\"\"\""), 0);
  EXPECT_EQ(Slot(4), "L'ORO \"24\"");
  EXPECT_TRUE(Quoted(4));
  EXPECT_EQ(Fill("ECR=1,TEXT='A'"), kSyntaxLabelNotFound) << "' is an ordinary character now";
}

TEST_F(ParserTest, LabelsBecomeTheirValues) {
  ASSERT_EQ(Fill("ECR=1,MODE=EUR,QTY=MINUS,AMOUNT=Eur"), 0);
  EXPECT_EQ(Slot(2), "978") << "first label of a name wins";
  EXPECT_EQ(Slot(7), "-5");
  EXPECT_EQ(Slot(6), "1") << "labels are case sensitive";
  EXPECT_EQ(Fill("ECR=1,MODE=eur"), kSyntaxLabelNotFound);
  EXPECT_EQ(Fill("ECR=1,MODE=ABC"), kSyntaxLabelNotFound);
  ASSERT_EQ(Fill("ECR=1,MODE='ABC'"), 0) << "quoted values are never labels";
  EXPECT_EQ(Slot(2), "ABC");
}

TEST_F(ParserTest, FindLabelComparesTheWholeTrimmedName) {
  int value = 0;
  EXPECT_TRUE(FindLabel("  MINUS ", value));
  EXPECT_EQ(value, -5);
  EXPECT_FALSE(FindLabel("MIN", value));
  EXPECT_FALSE(FindLabel("MINUSX", value));
}

TEST_F(ParserTest, UnknownAndAmbiguousNames) {
  EXPECT_EQ(Fill("ECR=1,COLOR=2"), kSyntaxFieldNameNotFound);
  EXPECT_EQ(Fill("ECR=1,MO=2"), kSyntaxFieldNameNotUnique);
  EXPECT_EQ(Fill("ECR=1,,MODE=2"), kSyntaxFieldNameNotUnique) << "empty name between commas";
  EXPECT_EQ(Fill("ECR=1,Q=2"), kSyntaxFieldNameNotUnique);
  EXPECT_EQ(Fill("ECR=1,QTYM=2"), kSyntaxFieldNameNotUnique) << "QTY is a prefix of QTYM";
  ASSERT_EQ(Fill("ECR=1,QTY=2"), 0) << "an exact first match ends the search";
  EXPECT_EQ(Slot(7), "2");
  ASSERT_EQ(Fill(",", 9), 0) << "an empty name is fine when the command has one field";
  EXPECT_EQ(Slot(1), "VERO");
}

TEST_F(ParserTest, ExactFieldNameAfterAnInexactOneWins) {
  ASSERT_TRUE(LoadDefinitionText("[5]\n1=MODEL\n2=MODE\n3=TEXT\n4=TEXTA,3\n5=TEXTB,3\n"));
  ASSERT_EQ(Fill("MODE=7"), 0);
  EXPECT_EQ(Slot(2), "7");
  ASSERT_EQ(Fill("TEX=8"), 0) << "fields that fill the same slot never conflict";
  EXPECT_EQ(Slot(3), "8");
}

TEST_F(ParserTest, MandatoryFields) {
  EXPECT_EQ(Fill("MODE=2"), kSyntaxMandatoryField);
  EXPECT_EQ(Fill(""), kSyntaxMandatoryField);
  EXPECT_EQ(Fill("#1=4"), 0);
}

TEST_F(ParserTest, LaterFieldOverwritesAndErrorsKeepEarlierSlots) {
  EXPECT_EQ(Fill("ECR=1,MODE=2,MODE=3,COLOR=1"), kSyntaxFieldNameNotFound);
  EXPECT_EQ(Slot(1), "1");
  EXPECT_EQ(Slot(2), "3");
}

TEST_F(ParserTest, ValueLengthLimit) {
  const std::string longest(kMaxFieldValueLength, 'X');
  ASSERT_EQ(Fill("ECR=1,TEXT='" + longest + "'"), 0);
  EXPECT_EQ(Slot(4), longest);
  EXPECT_EQ(Fill("ECR=1,TEXT='" + longest + "X'"), kSyntaxIllegalValue);
  EXPECT_EQ(Fill("ECR=1,#6=" + std::string(kMaxFieldValueLength + 1, '1')), kSyntaxIllegalValue);
}

TEST_F(ParserTest, AssignmentDetails) {
  std::size_t position = 0;
  std::string name;
  std::string value;
  bool quoted = true;
  const std::string_view line = "  VERYLONGFIELDNAME = 1== 2 , NEXT";
  ASSERT_EQ(ParseFieldAssignment(line, position, name, value, quoted), 0);
  EXPECT_EQ(name, "VERYLONGFI") << "the name keeps ten characters";
  EXPECT_EQ(value, "12") << "a further '=' is dropped with the blanks after it";
  EXPECT_FALSE(quoted);
  EXPECT_EQ(line.substr(position), "NEXT");
  position = line.size();
  EXPECT_EQ(ParseFieldAssignment(line, position, name, value, quoted), kSyntaxUnexpectedEndOfLine);
}

TEST_F(ParserTest, SavedFieldsSurviveANestedLine) {
  ASSERT_EQ(Fill("ECR=1,TEXT='OUTER',MODE=2"), 0);
  SaveCommandFields();
  ASSERT_EQ(Fill("ECR=9,AMOUNT=5"), 0);
  EXPECT_EQ(Slot(4), "");
  RestoreCommandFields();
  EXPECT_EQ(Slot(1), "1");
  EXPECT_EQ(Slot(4), "OUTER");
  EXPECT_TRUE(Quoted(4));
  EXPECT_EQ(Slot(6), "");
}

TEST(NextField, SplitsAtTheSeparator) {
  std::size_t position = 0;
  std::string field;
  bool quoted = true;
  const std::string_view text = "  @BATCH.TXT ,  'RES,ULT.TXT' ,X  ";
  ASSERT_EQ(NextField(text, position, field, quoted), kNextFieldOk);
  EXPECT_EQ(field, "@BATCH.TXT");
  EXPECT_FALSE(quoted);
  ASSERT_EQ(NextField(text, position, field, quoted), kNextFieldOk);
  EXPECT_EQ(field, "RES,ULT.TXT");
  EXPECT_TRUE(quoted);
  ASSERT_EQ(NextField(text, position, field, quoted), kNextFieldOk);
  EXPECT_EQ(field, "X");
  EXPECT_EQ(NextField(text, position, field, quoted), kNextFieldEndOfText);
}

TEST(NextField, QuotingRules) {
  std::string field;
  bool quoted = false;
  std::size_t position = 0;
  ASSERT_EQ(NextField("'A''B'", position, field, quoted), kNextFieldOk);
  EXPECT_EQ(field, "A'B");
  const char* const bad[] = {"A'B'", "'", "'OPEN", "'A''"};
  for (const char* text : bad) {
    position = 0;
    EXPECT_EQ(NextField(text, position, field, quoted), kNextFieldBadQuoting) << text;
  }
}

TEST(NextField, SeparatorCharCanBeChanged) {
  Library().options.SeparatorChar = ';';
  std::size_t position = 0;
  std::string field;
  bool quoted = false;
  ASSERT_EQ(NextField("A,B;C", position, field, quoted), kNextFieldOk);
  EXPECT_EQ(field, "A,B");
  ASSERT_EQ(NextField("A,B;C", position, field, quoted), kNextFieldOk);
  EXPECT_EQ(field, "C");
  Library().options = TranslatorOptions{};
}

}  // namespace
}  // namespace quadrel
