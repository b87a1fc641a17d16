// Command 51 against the scripted host: the code field of each register
// geometry, the whole body, the field list of the combined write, the
// read-merge-write of a partial modify, and the refusals before any frame.
#include "commands/articles/article_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "definition_text.h"
#include "event_fixture.h"
#include "language/definition_file.h"
#include "run/command_executor.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::FromHex;

std::string Blanks(int count) {
  std::string hex;
  for (int i = 0; i < count; ++i) hex += "20";
  return hex;
}

class ArticleCommand : public test_support::WithShippedDefinitions<EventTest> {
 protected:
  // Numeric codes of 4 BCD bytes, 8-byte descriptions, 3-byte prices.
  void SetUp() override {
    EventTest::SetUp();
    EcrConfigRecord& r = EcrRecord(1);
    r.FileInfoB16 = 4;
    r.FileInfoB17 = 8;
    r.FileInfoB18 = 3;
    r.FileInfoB22 = 3;
    r.FileInfoB24 = 2;
    r.FileFlag1 = r.FileFlag4 = 0;
  }
  // 13-character codes (a number as six digits), with the 2-byte fourth value.
  static void Alphanumeric() {
    EcrConfigRecord& r = EcrRecord(1);
    r.FileInfoB16 = 13;
    r.FileFlag1 = r.FileFlag4 = 1;
  }
  static Bytes Frame(std::string_view hex) { return FromHex(hex); }
};

TEST_F(ArticleCommand, DeleteSendsTheCodeFieldOfEachForm) {
  struct Case {
    bool alphanumeric;
    const char* code;
    const char* expected;  // the frame in hex, or empty for 0x4003
  } cases[] = {
      {false, "123", "550012 00000123"},
      {false, "'00123  '", "550012 00000123"},  // quoted: trailing blanks cut
      {false, "12345678", "550012 12345678"},
      {false, "123456789", ""},
      {false, "'12A'", ""},
      {false, "''", ""},
      {true, "123", "550012 303030313233 20202020202020"},
      {true, "'123'", "550012 313233 20202020202020202020"},  // quoted: text
      {false, "'~123'", ""},                                  // a code marked as text is no number
      {true, "'AB'", "550012 4142 2020202020202020202020"},
      {true, "'ABCDEFGHIJKLMN'", ""},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.alphanumeric) Alphanumeric();
    const std::string line = std::string("ARTICOLO CODICE=") + c.code + ", DESCRIZ='IGNORED', OPERAZ='C'";
    if (*c.expected) host.expect(Frame(c.expected)).answer(0, bytes({'U', 0}));
    EXPECT_EQ(TradExecCommand(line), *c.expected ? 0 : kResultArticleCodeInvalid) << line;
    EXPECT_EQ(host.pending(), 0) << line;
  }
}

TEST_F(ArticleCommand, InsertSendsTheWholeBody) {
  Alphanumeric();
  host.expect(Frame("550002 4142" + Blanks(11) + "50454E" + Blanks(5) +
                    "0201 0300 0A05 000150 001200 000005 0077"))
      .answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE='AB', DESCRIZ='PEN', NUMERO1=258, NUMERO2=3, CLASSE='a', "
                            "PREZZO1=1.50, PREZZO2=12, PREZZO3=0.05, VALORE4=77, CIFRA=5, OPERAZ='I'"),
            0);
}

TEST_F(ArticleCommand, APartialInsertOrModifyOfAnExistingArticleReplacesOnlyTheGivenField) {
  host.expect(Frame("550002 00000123" + Blanks(8) + "0000 0000 0000 000250 000000 000000"))
      .answer(0, bytes({'U', 3}));
  host.expect(Frame("550003 00000123"))
      .answer(0, Frame("55 00 03 04 00000123 4F4C44204E414D45 0100 0200 1203 "
                       "000100 000200 000300 FFFF"));
  host.expect(Frame("550006 00000123 04 4F4C44204E414D45 0100 0200 1203 000250 000200 000300"))
      .answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=123, PREZZO1=2.5"), 0);
}

TEST_F(ArticleCommand, AModifyOrInsertOfAMissingArticleInsertsTheWholeRecord) {
  host.expect(Frame("550003 00000009")).answer(0, bytes({'U', 6}));
  host.expect(Frame("550002 00000009 58" + Blanks(7) + "0000 0000 0000 000000 000000 000000"))
      .answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=9, DESCRIZ='X', OPERAZ='MI'"), 0);
}

TEST_F(ArticleCommand, AModifyWithEveryFieldWritesTheRecordWithoutReadingIt) {
  host.expect(Frame("550006 00000123 04 41" + Blanks(7) + "0100 0200 0300 000100 000200 000300"))
      .answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=123, DESCRIZ='A', NUMERO1=1, NUMERO2=2, CLASSE='3', PREZZO1=1, "
                            "PREZZO2=2, PREZZO3=3, OPERAZ='M'"),
            0);
}

TEST_F(ArticleCommand, TheCombinedWriteSendsAFieldListOrTheWholeBody) {
  EcrRecord(1).FeatureLevels[92] = 1;
  host.expect(Frame("55801B 00000123 120300 0150")).answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=123, PREZZO1=1.5"), 0);
  host.expect(Frame("55001B 00000123 41" + Blanks(7) + "0100 0200 0300 000100 000200 000300"))
      .answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=123, DESCRIZ='A', NUMERO1=1, NUMERO2=2, CLASSE='3', PREZZO1=1, "
                            "PREZZO2=2, PREZZO3=3, OPERAZ='MI'"),
            0);
}

TEST_F(ArticleCommand, BadFieldsAreRefusedBeforeAnyFrame) {
  Alphanumeric();
  const std::pair<const char*, int> cases[] = {
      {"CLASSE='123'", kResultDptFieldInvalid},       {"CLASSE='G'", kResultDptFieldInvalid},
      {"OPERAZ='X'", kResultCommandFieldInvalid},     {"PREZZO1=1.234", kResultNotNumericField},
      {"NUMERO1=70000", kResultNumericFieldIllegal},  {"VALORE4=12345", kResultNumericFieldIllegal},
      {"PREZZO2=123456", kResultNumericFieldIllegal},
  };
  for (const auto& [field, code] : cases) {
    EXPECT_EQ(TradExecCommand(std::string("ARTICOLO CODICE=1, OPERAZ='M', ") + field), code) << field;
  }
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(ArticleCommand, TheRegistersRefusalsComeBackAsTheirCodes) {
  struct Case {
    const char* line;
    Bytes answer;
    int result;
  } cases[] = {
      {"ARTICOLO CODICE=1, OPERAZ='M'", bytes({'U', 6}), 0x8006},  // no insert after a modify's read
      {"ARTICOLO CODICE=1, OPERAZ='I'", bytes({'U', 5}), 0x8005},
      {"ARTICOLO CODICE=1, OPERAZ='C'", bytes({'U', 6}), 0x8006},
      {"ARTICOLO CODICE=1, OPERAZ='M'", bytes({'U', 0}), 0x10000 + 'U'},  // a read answer without the record
      {"ARTICOLO CODICE=1, OPERAZ='I'", bytes({'U'}), 0x10000 + 'U'},
  };
  for (const Case& c : cases) {
    host.expect_any().answer(0, c.answer);
    EXPECT_EQ(TradExecCommand(c.line), c.result) << c.line;
    EXPECT_EQ(host.pending(), 0) << c.line;
  }
}

}  // namespace
}  // namespace quadrel
