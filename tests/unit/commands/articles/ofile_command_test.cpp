// Command 52 against the scripted host: the body of each kind, the kind's
// parameter moves, the read-merge-write of a modify with the percentage in
// the stored kind's form, and the refusals before any frame.
#include "commands/articles/ofile_command.h"

#include <gtest/gtest.h>

#include <string>

#include "definition_text.h"
#include "event_fixture.h"
#include "language/definition_file.h"
#include "run/command_executor.h"

namespace quadrel {
namespace {

using quadrel_test::bytes;
using quadrel_test::FromHex;

const std::string kNoValues = "0000000000000000 00";  // eight small values and the byte value
const std::string kBlankText = "20202020202020202020202020202020";

class OFileCommand : public test_support::WithShippedDefinitions<EventTest> {
 protected:
  // 3-byte amounts; article codes of 4 BCD bytes for kind 7.
  void SetUp() override {
    EventTest::SetUp();
    EcrRecord(1).BcdBytesA = 3;
    EcrRecord(1).FileInfoB16 = 4;
    EcrRecord(1).FileInfoB18 = 3;
  }
  // Record 5 is stored as `body`.
  void ExpectRead(const std::string& body) {
    host.expect(FromHex("55000D 0500")).answer(0, FromHex("55 00 0500 " + body));
  }
};

TEST_F(OFileCommand, AWriteSendsTheBodyOfTheKindWithItsMoves) {
  struct Case {
    const char* fields;
    std::string body;
  } cases[] = {
      {"TIPO=0, TESTO='GONE'", "00"},
      {"TIPO=3, VAL1=12, BYTE=200, TESTO='CASH', CIFRE=7, ALT19=1.5, IMPORTO2=2, PERCENT=12.5",
       "03 1200000000000000 C8 43415348202020202020202020202020 07 000150 000200 1250"},
      {"TIPO=7, ALT26=123, CIFRE=5", "07" + kNoValues + "00000123"},
      // Only kind 3 itself moves: 35 only shares its low bits.
      {"TIPO=35, ALT19=9, IMPORTO1=1", "23" + kNoValues + kBlankText + "00 000100 000000 0000"},
      // An alternative not given leaves the common parameter.
      {"TIPO=4, ALT21=3, IMPORTO2=2", "04" + kNoValues + kBlankText + "00 000300 000200 0000"},
      {"TIPO=6, ALT19=9, ALT24=1, ALT22=2, ALT25=7.25",
       "06" + kNoValues + kBlankText + "09 000100 000200 0725"},
  };
  for (const Case& c : cases) {
    host.expect(FromHex("55000C 0201 " + c.body)).answer(0, bytes({'U', 0}));
    EXPECT_EQ(TradExecCommand(std::string("OFILE NUMERO=258, ") + c.fields), 0) << c.fields;
    EXPECT_EQ(host.pending(), 0) << c.fields;
  }
}

TEST_F(OFileCommand, AModifyWritesThePercentageInTheStoredKindsForm) {
  const std::string stored = kNoValues + kBlankText + "00 000000 000000 ";
  // Kind 3: the whole percent, and the frame ends with it.
  ExpectRead("03" + stored + "0000");
  host.expect(FromHex("55000C 0500 03" + stored + "12")).answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("OFILE NUMERO=5, PERCENT=12, OPERAZ='M'"), 0);
  // Kind 6 keeps the decimals, also when the kind is not given again.
  ExpectRead("06" + stored + "0000");
  host.expect(FromHex("55000C 0500 06" + stored + "1250")).answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("OFILE NUMERO=5, PERCENT=12.5, OPERAZ='M'"), 0);
  // A kind given turns the record into that kind.
  ExpectRead("06" + stored + "1250");
  host.expect(FromHex("55000C 0500 00")).answer(0, bytes({'U', 0}));
  EXPECT_EQ(TradExecCommand("OFILE NUMERO=5, TIPO=0, OPERAZ='M'"), 0);
}

TEST_F(OFileCommand, AModifyOfAMissingRecordInsertsNothing) {
  host.expect(FromHex("55000D 0500")).answer(0, bytes({'U', 6}));
  EXPECT_EQ(TradExecCommand("OFILE NUMERO=5, TIPO=3, OPERAZ='M'"), 0x8006);
  EXPECT_EQ(host.frames().size(), 1u);
}

TEST_F(OFileCommand, BadFieldsAreRefusedBeforeAnyFrame) {
  const std::pair<const char*, int> cases[] = {
      {"NUMERO=1, TIPO=100", kResultNumericFieldIllegal},
      {"NUMERO=1, BYTE=256", kResultNumericFieldIllegal},
      {"NUMERO=1, VAL1=123", kResultNumericFieldIllegal},
      {"NUMERO=1, TIPO=2, CIFRE=100", kResultNumericFieldIllegal},
      {"NUMERO=70000", kResultNumericFieldIllegal},
      {"NUMERO='5'", kResultNotNumericField},
      {"NUMERO=1, OPERAZ='X'", kResultCommandFieldInvalid},
      {"NUMERO=1, IMPORTO1=1.234", kResultNotNumericField},
      {"NUMERO=1, PERCENT=123", kResultNotNumericField},
      {"NUMERO=1, TIPO=7, ALT26='12345678Z'", kResultArticleCodeInvalid},
      {"NUMERO=1, TIPO=2, OPERAZ='M', VAL8=100", kResultNumericFieldIllegal},
  };
  for (const auto& [fields, code] : cases) {
    EXPECT_EQ(TradExecCommand(std::string("OFILE ") + fields), code) << fields;
  }
  EXPECT_TRUE(host.frames().empty());
}

}  // namespace
}  // namespace quadrel
