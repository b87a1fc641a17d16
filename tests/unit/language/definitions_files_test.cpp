// The definitions file we ship, read by the real loader: every command of the
// language has a keyword, every keyword and parameter name can be typed in full
// and abbreviated, and the command lines the translator runs by itself (and
// the lines its register dumps write) parse.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "definition_text.h"
#include "language/command_fields.h"
#include "language/command_word.h"
#include "language/definition_file.h"
#include "language/definition_tables.h"
#include "language/field_parser.h"
#include "language/result_codes.h"
#include "language/result_text.h"

namespace quadrel {
namespace {

const std::string kShippedFile = test_support::ShippedDefinitionsPath();

// Every command number that has a handler, and the numbers the totals dumps
// write their lines under.
constexpr int kLanguageCommands[] = {
    1,  2,  3,  4,  5,  8,  9,  10, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21,  22,  23,  24,
    25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 43,  45,  46,  47,
    48, 49, 51, 52, 53, 54, 55, 60, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80,  120, 121, 122,
    124, 59, 61, 63, 64, 65};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) !=
        std::toupper(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

// The result of FindCommandWord for `token`, and the command it chose.
std::pair<int, int> LookUpCommand(const std::string& token) {
  std::size_t position = 0;
  int command = 0;
  const int result = FindCommandWord(token, position, command);
  return {result, command};
}

struct ParsedLine {
  int result = 0;  // 0, or the syntax row of the first failure
  int command = 0;
};

// Parses a whole command line as the executor does: command word, then fields.
ParsedLine ParseCommandLine(std::string_view line) {
  ParsedLine parsed;
  std::size_t position = 0;
  parsed.result = FindCommandWord(line, position, parsed.command);
  if (parsed.result == kCommandWordFound)
    parsed.result = FillCommandFields(line, parsed.command, position);
  return parsed;
}

class ShippedDefinitions : public ::testing::Test {
 protected:
  // Other suites load their own files into the same tables, so load ours afresh.
  void SetUp() override { ASSERT_TRUE(LoadDefinitionFile(kShippedFile)) << kShippedFile; }

  static std::vector<int> KeywordNumbers() {
    std::vector<int> numbers;
    for (int n = 1; n <= kMaxCommandNumber; ++n)
      if (!OpcodeTable().entries[n].keyword.empty()) numbers.push_back(n);
    return numbers;
  }
};

TEST_F(ShippedDefinitions, EveryCommandHasAKeywordThatSelectsIt) {
  for (int number : kLanguageCommands) {
    SCOPED_TRACE(number);
    const OpcodeEntry& entry = OpcodeTable().entries[number];
    ASSERT_FALSE(entry.keyword.empty());
    EXPECT_EQ(entry.command, number);
    EXPECT_EQ(LookUpCommand(entry.keyword), std::make_pair(kCommandWordFound, number));
  }
  // '#n' reaches the highest command too.
  EXPECT_EQ(OpcodeTable().highestCommand, 124);
  EXPECT_EQ(LookUpCommand("#124"), std::make_pair(kCommandWordFound, 124));
}

TEST_F(ShippedDefinitions, EveryKeywordCanBeAbbreviatedToItsShortestUniquePrefix) {
  const std::vector<int> numbers = KeywordNumbers();
  for (int number : numbers) {
    const std::string& keyword = OpcodeTable().entries[number].keyword;
    SCOPED_TRACE(keyword);
    // A keyword that starts another can only be typed in full.
    for (int other : numbers) {
      if (other != number) {
        EXPECT_FALSE(StartsWithIgnoringCase(OpcodeTable().entries[other].keyword, keyword));
      }
    }
    std::size_t length = 1;
    for (; length <= keyword.size(); ++length) {
      const std::string_view prefix(keyword.data(), length);
      bool shared = false;
      for (int other : numbers)
        shared |= other != number && StartsWithIgnoringCase(OpcodeTable().entries[other].keyword, prefix);
      if (!shared) break;
    }
    ASSERT_LE(length, keyword.size());
    EXPECT_EQ(LookUpCommand(keyword.substr(0, length)), std::make_pair(kCommandWordFound, number));
    if (length > 1) {
      EXPECT_EQ(LookUpCommand(keyword.substr(0, length - 1)).first, kCommandWordNotUnique);
    }
  }
}

TEST_F(ShippedDefinitions, EveryFieldNameReachesItsOwnSlot) {
  for (int command = 0; command <= kMaxCommandNumber; ++command) {
    const CommandFieldNames& names = FieldNameTable().commands[command];
    if (names.highestField == 0) continue;
    SCOPED_TRACE("command " + std::to_string(command));
    // A parameter list without a keyword is a section number typed wrong.
    EXPECT_FALSE(OpcodeTable().entries[command].keyword.empty());
    for (int field = 1; field <= names.highestField; ++field) {
      const FieldNameEntry& entry = names.fields[field];
      if (entry.name.empty()) continue;
      SCOPED_TRACE(entry.name);
      EXPECT_LE(entry.name.size(), kMaxNameLength);
      EXPECT_EQ(entry.slot, field);
      int slot = 0;
      EXPECT_EQ(FindFieldName(command, entry.name, slot), 0);
      EXPECT_EQ(slot, field);
      // Abbreviations stay usable only while no name starts another.
      for (int other = 1; other <= names.highestField; ++other) {
        if (other != field && !names.fields[other].name.empty()) {
          EXPECT_FALSE(StartsWithIgnoringCase(names.fields[other].name, entry.name));
        }
      }
    }
  }
}

struct LineCase {
  const char* line;
  int command;
  std::vector<std::pair<int, const char*>> slots;  // slot -> expected text
};

void ExpectLinesParse(const std::vector<LineCase>& cases) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    const ParsedLine parsed = ParseCommandLine(c.line);
    ASSERT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.command, c.command);
    for (const auto& [slot, text] : c.slots) EXPECT_EQ(CommandFields().value[slot], text) << slot;
  }
}

TEST_F(ShippedDefinitions, LinesTheTranslatorRunsItselfParse) {
  ExpectLinesParse({
      // Sending the XML documents: key position Z (3), numeric input 99 closed by
      // the confirm key, back to position R (1).
      {"CHIAVE Z", 15, {{4, "VERO"}, {1, ""}, {2, ""}}},
      {"INP NUM=99, TERM=145", 9, {{1, "99"}, {4, "145"}}},
      {"CHIAVE R", 15, {{2, "VERO"}, {4, ""}}},
      // Nested lines written by number; none may trip over a mandatory field.
      {"#22 #27='qrcode.txt', #8=158, Scala=1.5 , #16=2", 22,
       {{27, "qrcode.txt"}, {8, "158"}, {11, "1.5"}, {16, "2"}}},
      {"#22 #1=1", 22, {{1, "1"}}},
      {"#22 #2=2", 22, {{2, "2"}}},
      {"#121 #6", 121, {{6, "VERO"}}},
      {"#29 #1=1", 29, {{1, "1"}}},
      {"#29 #2=1", 29, {{2, "1"}}},
      {"#9 #4=14", 9, {{4, "14"}}},
      {"#8", 8, {}},
      {"#71 #1=10", 71, {{1, "10"}}},
      {"#72 #13=2, #18=12, #6='0001_12.txt'", 72, {{13, "2"}, {18, "12"}, {6, "0001_12.txt"}}},
      {"#72 #1=010124, #2=010124, #3=5, #4=5, #6='dumplastsco.txt'", 72, {{1, "010124"}, {4, "5"}}},
      {"#3 #1=3, #2='IVAEMAIL.DAT', #5", 3, {{1, "3"}, {2, "IVAEMAIL.DAT"}, {5, "VERO"}}},
      {"#3 #1=4, #2='headder.txt'", 3, {{1, "4"}, {2, "headder.txt"}}},
  });
}

TEST_F(ShippedDefinitions, DumpedLinesReplayWithTheirSymbolicValues) {
  ExpectLinesParse({
      // Yes/no and unprogrammed digits as the programming-table dumps write them.
      {"REPARTO NUMERO=3, DESCRIZ='PANE', LIMITE=0, OPZ1=SI, CIFRA5=??, PREZZO=1.50, OPZ2=NO",
       31, {{2, "PANE"}, {4, "2"}, {5, "255"}, {6, "1.50"}, {8, "1"}}},
      // Key names as the keyboard dump writes them, in the code and in a sequence.
      {"TASTIERA1 POSIZIONE=12, CODICE=MACRO3, SEQUENZA='CIFRA1 CONFERMA '", 43,
       {{1, "12"}, {2, "202"}, {3, "CIFRA1 CONFERMA "}}},
      {"TASTIERA2 POSIZIONE=3, CODICE=PAGAM1", 54, {{2, "49"}}},
      {"INP TERM=CONFERMA", 9, {{4, "145"}}},
  });
}

TEST_F(ShippedDefinitions, KeyNamesCarryTheirOwnKeyCodes) {
  const LabelTableData& labels = LabelTable();
  for (int code = 0; code < kKeyCodeCount; ++code) {
    const int label = labels.keyMap[code];
    if (label == 0) continue;
    ASSERT_GE(label, 1);
    ASSERT_LE(label, labels.count);
    EXPECT_EQ(labels.labels[label].value, code) << labels.labels[label].name;
    int value = -1;
    EXPECT_TRUE(FindLabel(labels.labels[label].name, value));
    EXPECT_EQ(value, code) << labels.labels[label].name << ": an earlier label shadows it";
  }
  // The keys the translator itself places: digits, point, text, confirm, end, table.
  for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 19, 145, 146, 147})
    EXPECT_NE(labels.keyMap[code], 0) << code;
  // Macro keys 200-239 are all named.
  for (int code = 200; code <= 239; ++code) EXPECT_NE(labels.keyMap[code], 0) << code;
}

TEST_F(ShippedDefinitions, MandatoryFieldsAreRefusedBeforeTheHandlerRuns) {
  for (const char* line : {"TASTIERA1 CODICE=5", "TASTIERA2 POSIZIONE=5", "CHIPCARD TIPO=1",
                           "INFO FILE='x.txt'", "VERIFICA"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ParseCommandLine(line).result, kSyntaxMandatoryField);
  }
  // Fields a handler answers with its own code are left to the handler.
  for (const char* line : {"SCONTRINO IMPORTO=5", "ARTICOLO DESCRIZ='X'", "MAILSCONT UTENTE='u'",
                           "GIORNALE DIRETTO", "XML DA=1"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ParseCommandLine(line).result, 0);
  }
}

TEST_F(ShippedDefinitions, ResultCodesWithoutBuiltInTextGetOne) {
  // Barcode too wide, barcode not encoded, no mail phone number, and the three
  // ways a reset to idle can end: without the file their texts end at " : ".
  for (int code : {281, 282, 283, 1025, 1026, 1027}) {
    std::string text;
    FormatResultText(text, code);
    SCOPED_TRACE(text);
    ASSERT_GT(text.size(), 3u);
    EXPECT_NE(text.substr(text.size() - 3), " : ");
  }
}

}  // namespace
}  // namespace quadrel
