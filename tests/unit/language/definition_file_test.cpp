#include "language/definition_file.h"

#include <gtest/gtest.h>

#include <string>

#include "definition_text.h"
#include "language/command_word.h"
#include "language/definition_tables.h"
#include "language/message_tables.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

using test_support::LoadDefinitionText;
using test_support::WriteDefinitionText;

class DefinitionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearDefinitionTables();
    WriteDefaultMessageTexts();
  }
  void TearDown() override {
    Library().options = TranslatorOptions{};
    ClearDefinitionTables();
    WriteDefaultMessageTexts();
  }
};

constexpr const char* kSampleFile =
    "; sample vocabulary\n"
    "[OPCOD]\n"
    "1 = VENDITA ; sale\n"
    "5=SELECT\n"
    "10=PAGA,12\n"
    "[5]\n"
    "1=ECR,O\n"
    "2=MODE\n"
    "4=ALT,2\n"
    "[EQU]\n"
    "EUR=978\n"
    "MINUS=-5\n"
    "[EQUTASTI]\n"
    "CASH=40\n"
    "TOTAL=41\n";

TEST_F(DefinitionFileTest, LoadsKeywordsFieldsLabelsAndKeyNames) {
  ASSERT_TRUE(LoadDefinitionText(kSampleFile));

  const OpcodeTableData& opcodes = OpcodeTable();
  EXPECT_EQ(opcodes.highestCommand, 10);
  EXPECT_EQ(opcodes.entries[1].keyword, "VENDITA");
  EXPECT_EQ(opcodes.entries[1].command, 1);
  EXPECT_EQ(opcodes.entries[10].keyword, "PAGA");
  EXPECT_EQ(opcodes.entries[10].command, 12);
  EXPECT_TRUE(opcodes.entries[2].keyword.empty());

  const CommandFieldNames& select = FieldNameTable().commands[5];
  EXPECT_EQ(select.highestField, 4);
  EXPECT_EQ(select.fields[1].name, "ECR");
  EXPECT_TRUE(select.fields[1].mandatory);
  EXPECT_EQ(select.fields[1].slot, 1);
  EXPECT_FALSE(select.fields[2].mandatory);
  EXPECT_EQ(select.fields[4].slot, 2);

  const LabelTableData& labels = LabelTable();
  ASSERT_EQ(labels.count, 4);
  EXPECT_EQ(labels.labels[1].name, "EUR");
  EXPECT_EQ(labels.labels[1].value, 978);
  EXPECT_EQ(labels.labels[2].value, -5);
  EXPECT_EQ(labels.keyMap[40], 3);
  EXPECT_EQ(labels.keyMap[41], 4);
  EXPECT_EQ(labels.keyMap[978 % 256], 0) << "[EQU] labels never enter the key map";
}

TEST_F(DefinitionFileTest, MissingFileFails) {
  EXPECT_FALSE(LoadDefinitionFile("/nonexistent/quadrel/TALLIS.INI"));
}

TEST_F(DefinitionFileTest, SectionHeaderLosesItsLastCharacterWhateverItIs) {
  // "[OPCOD" names section OPCO: a command section (number 0), not [OPCOD].
  ASSERT_TRUE(LoadDefinitionText("[OPCOD\n1=WORD\n"));
  EXPECT_EQ(OpcodeTable().highestCommand, 0);
  EXPECT_EQ(FieldNameTable().commands[0].fields[1].name, "WORD");
}

TEST_F(DefinitionFileTest, LoneBracketOpensAnEmptySection) {
  ASSERT_TRUE(LoadDefinitionText("[\n1=FIRST\n[]\n2=SECOND\n"));
  EXPECT_EQ(FieldNameTable().commands[0].fields[1].name, "FIRST");
  EXPECT_EQ(FieldNameTable().commands[0].fields[2].name, "SECOND");
}

TEST_F(DefinitionFileTest, CommandSectionTakesTheLeadingNumberOfItsName) {
  ASSERT_TRUE(LoadDefinitionText("[30 TRANSFER]\n1=FILE\n[149]\n40=LAST\n"));
  EXPECT_EQ(FieldNameTable().commands[30].fields[1].name, "FILE");
  EXPECT_EQ(FieldNameTable().commands[149].fields[40].name, "LAST");
  EXPECT_EQ(FieldNameTable().commands[149].highestField, 40);
}

TEST_F(DefinitionFileTest, MandatoryMarkIsAnUpperCaseO) {
  ASSERT_TRUE(LoadDefinitionText("[7]\n3=FIELD,O\n4=OTHER,o\n5=THIRD, O\n"));
  const CommandFieldNames& fields = FieldNameTable().commands[7];
  EXPECT_TRUE(fields.fields[3].mandatory);
  EXPECT_FALSE(fields.fields[4].mandatory);
  EXPECT_EQ(fields.fields[4].slot, 4) << "a letter reads as slot 0, that is the key";
  EXPECT_FALSE(fields.fields[5].mandatory);
}

TEST_F(DefinitionFileTest, LeadingCommaBelongsToTheName) {
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\n3=,X\n4=A,B,7\n"));
  EXPECT_EQ(OpcodeTable().entries[3].keyword, ",X");
  EXPECT_EQ(OpcodeTable().entries[3].command, 3);
  EXPECT_EQ(OpcodeTable().entries[4].keyword, "A");
  EXPECT_EQ(OpcodeTable().entries[4].command, 4) << "B,7 reads as no number";
}

TEST_F(DefinitionFileTest, StructuralErrorsFailTheLoad) {
  const char* const broken[] = {
      "[OPCOD]\nNOEQUALS\n",    "[OPCOD]\n=WORD\n",
      "[OPCOD]\n0=WORD\n",      "[OPCOD]\n150=WORD\n",
      "[OPCOD]\nX=WORD\n",      "[OPCOD]\n5=WORD,150\n",
      "[OPCOD]\n5=WORD,-1\n",   "[OPCOD]\n5=KEYWORDLONG\n",
      "[5]\n0=FIELD\n",         "[5]\nX=FIELD\n",
      "[5]\n41=FIELD\n",        "[5]\n3=FIELD,41\n",
      "[5]\n3=FIELDNAME11\n",   "[150]\n1=FIELD\n",
      "[EQU]\nLABELNAME11=1\n", "[EQU]\nEUR=ABC\n",
      "[EQU]\nEUR=\n",          "[EQU]\nEUR=99999999999\n",
      "[EQUTASTI]\nKEY=256\n",  "[EQUTASTI]\nKEY=-1\n",
  };
  for (const char* text : broken) {
    EXPECT_FALSE(LoadDefinitionText(text)) << text;
  }
}

TEST_F(DefinitionFileTest, LimitsThemselvesAreAccepted) {
  EXPECT_TRUE(
      LoadDefinitionText("[OPCOD]\n149=KEYWORD10C,149\n[0]\n40=FIELDNAME0,40\n[EQUTASTI]\nK0=0\nK255=255\n"));
  EXPECT_EQ(OpcodeTable().entries[149].keyword, "KEYWORD10C");
  EXPECT_EQ(LabelTable().keyMap[255], 2);
}

TEST_F(DefinitionFileTest, ThreeHundredLabelsFitAndOneMoreFails) {
  std::string text = "[EQU]\n";
  for (int i = 1; i <= kMaxLabels; ++i) text += "L" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  ASSERT_TRUE(LoadDefinitionText(text));
  EXPECT_EQ(LabelTable().count, kMaxLabels);
  EXPECT_EQ(LabelTable().labels[kMaxLabels].name, "L300");
  EXPECT_FALSE(LoadDefinitionText(text + "EXTRA=1\n"));
}

TEST_F(DefinitionFileTest, LaterKeyNameForTheSameCodeWins) {
  ASSERT_TRUE(LoadDefinitionText("[EQUTASTI]\nOLD=7\nNEW=7\n"));
  EXPECT_EQ(LabelTable().keyMap[7], 2);
}

TEST_F(DefinitionFileTest, LastLineWithoutLineFeedIsLoaded) {
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\r\n1=FIRST\r\n2=LAST"));
  EXPECT_EQ(OpcodeTable().entries[1].keyword, "FIRST");
  EXPECT_EQ(OpcodeTable().entries[2].keyword, "LAST");
  EXPECT_EQ(OpcodeTable().highestCommand, 2);
}

TEST_F(DefinitionFileTest, LinesAreCutAfter79Characters) {
  // Uncut, the value would read "12 <blanks> 34", which is no integer.
  const std::string line = "A=12" + std::string(75, ' ') + "34";
  ASSERT_TRUE(LoadDefinitionText("[EQU]\n" + line + "\nB=5\n"));
  EXPECT_EQ(LabelTable().labels[1].value, 12);
  EXPECT_EQ(LabelTable().labels[2].value, 5);
}

TEST_F(DefinitionFileTest, SecondLoadForgetsTheFirstFilesVocabulary) {
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\n20=ALPHA\n[20]\n1=FIRST\n[EQU]\nEUR=978\n[EQUTASTI]\nCASH=40\n"));
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\n3=BETA\n[EQUTASTI]\nTOTAL=41\n"));

  EXPECT_EQ(OpcodeTable().highestCommand, 3);
  EXPECT_TRUE(OpcodeTable().entries[20].keyword.empty());
  std::size_t position = 0;
  int command = 0;
  EXPECT_EQ(FindCommandWord("ALPHA", position, command), kCommandWordNotFound);
  EXPECT_EQ(FieldNameTable().commands[20].highestField, 0);
  EXPECT_TRUE(FieldNameTable().commands[20].fields[1].name.empty());
  EXPECT_EQ(LabelTable().count, 1);
  EXPECT_EQ(LabelTable().labels[1].name, "TOTAL");
  EXPECT_EQ(LabelTable().keyMap[40], 0);
  EXPECT_EQ(LabelTable().keyMap[41], 1);
}

TEST_F(DefinitionFileTest, FailedLoadLeavesNoVocabularyOfTheFileBefore) {
  ASSERT_TRUE(LoadDefinitionText("[OPCOD]\n20=ALPHA\n"));
  EXPECT_FALSE(LoadDefinitionFile("/nonexistent/quadrel/TALLIS.INI"));
  EXPECT_EQ(OpcodeTable().highestCommand, 0);
  EXPECT_TRUE(OpcodeTable().entries[20].keyword.empty());
}

TEST_F(DefinitionFileTest, QuotedMessageTextKeepsItsBlanks) {
  ASSERT_TRUE(LoadDefinitionText("[INTMSG]\n2='NOT OK '\n3=FAILED  \n"));
  EXPECT_EQ(IntMsgTable().Row(2), "NOT OK ");
  EXPECT_EQ(IntMsgTable().Row(3), "FAILED");
}

TEST_F(DefinitionFileTest, SemicolonIsACommentOnlyOutsideQuotes) {
  ASSERT_TRUE(LoadDefinitionText("[INTMSG]\n5='YES;SI' ; comment\n6=NO;NAY\n"));
  EXPECT_EQ(IntMsgTable().Row(5), "YES;SI");
  EXPECT_EQ(IntMsgTable().Row(6), "NO");
}

TEST_F(DefinitionFileTest, DoubledQuotesInMessageTexts) {
  ASSERT_TRUE(LoadDefinitionText("[ERRMSG0]\n3='''PROG'' OPEN'\n"));
  EXPECT_EQ(ErrMsgTable(0).Row(3), "'PROG' OPEN");
}

TEST_F(DefinitionFileTest, MessageLinesThatDoNotFitAreIgnored) {
  const std::string tooLong(kShortMessageLength + 1, 'X');
  const std::string longest(kShortMessageLength, 'Y');
  ASSERT_TRUE(
      LoadDefinitionText("[INTMSG]\n"
                         "1=" +
                         tooLong +
                         "\n"
                         "40=ROW FORTY\n"
                         "X=NO ROW\n"
                         "3='UNCLOSED\n"
                         "16=" +
                         longest +
                         "\n"
                         "[ERRMSG12]\n0=TWELVE\n"
                         "[ERRMSG]\n0=NO TABLE\n"
                         "[ERRMSG1]\n30=BEYOND\n"
                         "[TOTG]\n100=BEYOND\n99=LAST TOTAL\n"
                         "[OPCOD]\n1=STILL\n"));
  EXPECT_EQ(IntMsgTable().Row(1), "OK.");
  EXPECT_EQ(IntMsgTable().Row(3), "ERROR ");
  EXPECT_EQ(IntMsgTable().Row(16), longest);
  EXPECT_EQ(ErrMsgTable(0).Row(0), "");
  EXPECT_EQ(ErrMsgTable(1).Row(0), "SINTAX ERROR ");
  EXPECT_EQ(TotgTable().Row(99), "LAST TOTAL");
  EXPECT_EQ(OpcodeTable().entries[1].keyword, "STILL") << "the rest of the file still loads";
}

TEST_F(DefinitionFileTest, ErrorTablesAndTotalsAreReplaced) {
  ASSERT_TRUE(
      LoadDefinitionText("[ERRMSG9]\n0=RISPOSTA ERRATA \n[ERRMSG6]\n19=LAST ROW\n"
                         "[TOTG]\n1=CONTANTI\n"));
  EXPECT_EQ(ErrMsgTable(9).Row(0), "RISPOSTA ERRATA");
  EXPECT_EQ(ErrMsgTable(6).Row(19), "LAST ROW");
  EXPECT_EQ(TotgTable().Row(1), "CONTANTI");
}

TEST_F(DefinitionFileTest, QuoteCharOfTheOptionsIsUsed) {
  Library().options.QuoteChar = '"';
  ASSERT_TRUE(LoadDefinitionText("[INTMSG]\n2=\" K;O \"\n5='SI'\n"));
  EXPECT_EQ(IntMsgTable().Row(2), " K;O ");
  EXPECT_EQ(IntMsgTable().Row(5), "'SI'");
}

TEST_F(DefinitionFileTest, DefaultsRestoreReplacedRowsAndEmptyTheTotals) {
  ASSERT_TRUE(
      LoadDefinitionText("[INTMSG]\n1=VA BENE\n19=ATTESA\n[TOTG]\n1=CONTANTI\n"
                         "[ERRMSG2]\n5=LINK DOWN\n"));
  WriteDefaultMessageTexts();
  EXPECT_EQ(IntMsgTable().Row(1), "OK.");
  EXPECT_EQ(TotgTable().Row(1), "");
  // Rows without a built-in text keep what the file wrote.
  EXPECT_EQ(IntMsgTable().Row(19), "ATTESA");
  EXPECT_EQ(ErrMsgTable(2).Row(5), "LINK DOWN");
}

TEST(MessageTables, DefaultsKeepTheirTrailingBlanksAndRowCounts) {
  WriteDefaultMessageTexts();
  EXPECT_EQ(IntMsgTable().Row(kMsgNonOk), "NON OK. ");
  EXPECT_EQ(IntMsgTable().Row(kMsgAborted), " *** ABORTED BY USER *** ");
  EXPECT_EQ(IntMsgTable().Row(kMsgCallInProgress), "CALL IN PROGRESS");
  EXPECT_EQ(ErrMsgTable(0).Row(33), "ECR MEMORY OVERFLOW");
  EXPECT_EQ(ErrMsgTable(1).Row(24), "PROGRAMMABLE GRAPHIC NOT AVAILABLE ON ECR ");
  EXPECT_EQ(ErrMsgTable(6).Row(12), "CAN NOT BLOCK. TRANSACTION OPEN ON ECR");
  EXPECT_EQ(ErrMsgTable(7).Row(8), "NUMERIC FILED ILLEGAL ");
  const int rows[kErrMsgTableCount] = {43, 30, 10, 10, 10, 10, 20, 20, 10, 10};
  for (int table = 0; table < kErrMsgTableCount; ++table) {
    EXPECT_EQ(ErrMsgTable(table).RowCount(), rows[table]) << table;
  }
  EXPECT_EQ(ErrMsgTable(10).RowCount(), 0);
  EXPECT_FALSE(ErrMsgTable(10).SetRow(0, "X"));
  EXPECT_EQ(ErrMsgTable(-1).Row(0), "");
}

}  // namespace
}  // namespace quadrel
