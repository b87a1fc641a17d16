// Commands 51 and 52 against a simulated register: what the register stores
// (read back through its control channel) after inserts, partial modifies,
// combined writes and deletes, for alphanumeric and numeric codes, and the
// register's refusals.
#include <gtest/gtest.h>

#include <string>

#include "control/control_commands.h"
#include "definition_text.h"
#include "language/definition_file.h"
#include "language/definition_tables.h"
#include "language/result_codes.h"
#include "run/command_executor.h"
#include "sim_command_fixture.h"

namespace quadrel {
namespace {

constexpr int kFeatureCombinedWrite = 92;
// t72 takes "123" as the 12 digits of a number and a blank.
const std::string kCode123 = "303030303030303030313233 20";

class RecordsSim : public SimCommandTest {
 protected:

  // The stored record as the control channel shows it, blanks removed from the key.
  std::string Stored(const std::string& kind, std::string key) {
    std::erase(key, ' ');
    return ecrsim::RunControlLine(host_.sim, "record 1 " + kind + " " + key);
  }
  static std::string Hex(const std::string& text) {
    std::string hex;
    for (const unsigned char c : text) hex += "0123456789ABCDEF"[c >> 4], hex += "0123456789ABCDEF"[c & 15];
    return hex;
  }
  // A price of `units` at the register's decimals, as its 5 BCD bytes.
  static std::string Price(int units) {
    std::string digits =
        std::to_string(units) + std::string(static_cast<std::size_t>(EcrRecord(1).Decimals), '0');
    return std::string(10 - digits.size(), '0') + digits;
  }
};

TEST_F(RecordsSim, AnInsertedArticleTakesAPartialModifyAndGoesOnDelete) {
  const std::string description = Hex("PEN") + Hex(std::string(17, ' '));
  ASSERT_EQ(TradExecCommand("ARTICOLO CODICE=123, DESCRIZ='PEN', PREZZO1=1, VALORE4=7, OPERAZ='I'"), 0);
  EXPECT_EQ(Stored("article", kCode123),
            description + "000000000000" + Price(1) + Price(0) + Price(0) + "000007\nOK\n");
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=123, OPERAZ='I'"), 0x8003);

  // Insert first, answered "exists": read, lay the price over the record, write it back.
  ASSERT_EQ(TradExecCommand("ARTICOLO CODICE=123, PREZZO2=2"), 0);
  EXPECT_EQ(Stored("article", kCode123),
            description + "000000000000" + Price(1) + Price(2) + Price(0) + "000007\nOK\n");

  ASSERT_EQ(TradExecCommand("ARTICOLO CODICE=123, OPERAZ='C'"), 0);
  EXPECT_EQ(Stored("article", kCode123), "ERROR no article " + kCode123.substr(0, 24) + "20\n");
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=123, OPERAZ='M'"), 0x8006);
  EXPECT_EQ(TradExecCommand("ARTICOLO CODICE=123, OPERAZ='C'"), 0x8006);
}

TEST_F(RecordsSim, TheCombinedWriteAndNumericCodesReachTheFile) {
  Reg().EditConfig().SetFeatureLevel(kFeatureCombinedWrite, 1);
  Reg().EditConfig().SetNumber(ecrsim::Area::FileInfo, 15, 1, 0x04);  // numeric codes, the fourth value
  ASSERT_EQ(TradExecCommand("SELEZIONA CASSA=1"), 0);
  // A new article from a field list: the other fields blank and zero.
  ASSERT_EQ(TradExecCommand("ARTICOLO CODICE=123, NUMERO1=258, CLASSE='1F'"), 0);
  const std::string key = "0000000000000000000000 0123";
  EXPECT_EQ(Stored("article", key),
            Hex(std::string(20, ' ')) + "020100001F00" + Price(0) + Price(0) + Price(0) + "000000\nOK\n");
  ASSERT_EQ(TradExecCommand("ARTICOLO CODICE=123, PREZZO3=3, OPERAZ='MI'"), 0);
  EXPECT_EQ(Stored("article", key),
            Hex(std::string(20, ' ')) + "020100001F00" + Price(0) + Price(0) + Price(3) + "000000\nOK\n");
}

TEST_F(RecordsSim, AnOFileRecordKeepsItsKindAcrossAModify) {
  EXPECT_EQ(TradExecCommand("OFILE NUMERO=5, TIPO=3, OPERAZ='M'"), 0x8006);
  ASSERT_EQ(TradExecCommand("OFILE NUMERO=5, TIPO=6, VAL2=34, TESTO='TEN', ALT19=9, ALT25=10.5"), 0);
  const std::string head = "06003400000000000000" + Hex("TEN") + Hex(std::string(13, ' ')) + "09";
  const std::string amounts = "00000000000000000000";
  EXPECT_EQ(Stored("ofile", "5"), head + amounts + "1050\nOK\n");
  ASSERT_EQ(TradExecCommand("OFILE NUMERO=5, PERCENT=3.5, OPERAZ='M'"), 0);
  EXPECT_EQ(Stored("ofile", "5"), head + amounts + "0350\nOK\n");
  // As kind 3 the percentage has no decimals.
  ASSERT_EQ(TradExecCommand("OFILE NUMERO=5, TIPO=3, PERCENT=3.5, OPERAZ='M'"), 0);
  EXPECT_EQ(Stored("ofile", "5"), "03" + head.substr(2) + amounts + "0300\nOK\n");
}

}  // namespace
}  // namespace quadrel
