// The simulated register's keyboard: key position, the programming function
// that position 4 opens, the clear key, malformed key records, and the
// 'O' 14 record of the programming session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard/key_interpreter.h"
#include "sim_register.h"

namespace ecrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kIdle = 0x01;
constexpr std::uint8_t kNotReady = 0x04;

class SimulatorKeyboardTest : public ::testing::Test {
 protected:
  SimulatorKeyboardTest() : reg_(*BuiltInConfig("t72")) {}

  Reply Keys(const Bytes& keys) {
    Bytes frame = {'A'};
    frame.insert(frame.end(), keys.begin(), keys.end());
    return reg_.Exchange(frame);
  }
  const StatusBytes& Status() { return reg_.Status(); }

  SimRegister reg_;
};

TEST_F(SimulatorKeyboardTest, ProgrammingPositionAndFunctionAsTheSessionKeysThem) {
  EXPECT_EQ(Keys({0, 0, 4, kKeyPosition}).hostResult, kHostOk);
  EXPECT_EQ(Status().keyPosition, kProgrammingPosition);
  EXPECT_EQ(Status().state & kIdle, kIdle);
  // The confirm key without a number opens nothing and is no error.
  EXPECT_EQ(Keys({kKeyConfirm}).hostResult, kHostOk);
  EXPECT_EQ(reg_.keyboard.openFunction, 0);

  // The function number and the confirm key open the function: not idle.
  const Reply opened = Keys({2, kKeyConfirm});
  EXPECT_EQ(opened.hostResult, kHostOk);
  EXPECT_EQ(opened.answer[1] & kIdle, 0);  // the answer already shows it
  EXPECT_EQ(reg_.keyboard.openFunction, 2);

  // Inside the function: a table with 147, a record, fields; the end key
  // ends the record and the table, a second one in another record the function.
  EXPECT_EQ(Keys({1, 2, kKeyTable, kKeyConfirm, 3, kKeyConfirm, 5, kKeyConfirm}).hostResult, kHostOk);
  EXPECT_EQ(Keys({kKeyEnd, kKeyEnd}).hostResult, kHostOk);
  EXPECT_EQ(reg_.keyboard.openFunction, 2);
  EXPECT_EQ(*reg_.keyboard.tables.Fields(12, 3), std::vector<std::string>{"5"});
  // A record number with no table chosen is a key out of sequence.
  EXPECT_EQ(Keys({1, 2, kKeyConfirm}).hostResult, kHostCritical);
  EXPECT_EQ(Keys({kKeyClear}).hostResult, kHostOk);
  EXPECT_EQ(Keys({kKeyEnd}).hostResult, kHostOk);
  EXPECT_EQ(reg_.keyboard.openFunction, 0);
  EXPECT_EQ(Status().state & kIdle, kIdle);

  // Back to REG: '1' and the position key; a further end key changes nothing.
  EXPECT_EQ(Keys({1, kKeyPosition, kKeyEnd}).hostResult, kHostOk);
  EXPECT_EQ(Status().keyPosition, kRegPosition);
  EXPECT_EQ(Status().critical, 0);
}

TEST_F(SimulatorKeyboardTest, WrongFunctionNumberIsACriticalStateUntilTheClearKey) {
  Keys({4, kKeyPosition});
  reg_.keyboard.programmingFunction = 3;
  const Reply r = Keys({2, kKeyConfirm});
  EXPECT_EQ(r.hostResult, kHostCritical);
  EXPECT_EQ(r.answer[2], kCriticalNoSuchFunction);
  EXPECT_EQ(r.answer[1] & kNotReady, kNotReady);
  EXPECT_EQ(reg_.keyboard.openFunction, 0);

  // Keys are ignored until the clear key, which may begin the same record.
  EXPECT_EQ(Keys({3, kKeyConfirm}).hostResult, kHostCritical);
  EXPECT_EQ(reg_.keyboard.openFunction, 0);
  EXPECT_EQ(Keys({kKeyClear, 3, kKeyConfirm}).hostResult, kHostOk);
  EXPECT_EQ(reg_.keyboard.openFunction, 3);
  EXPECT_EQ(Status().state & kNotReady, 0);
}

TEST_F(SimulatorKeyboardTest, KeyPositionNeedsOneDigitAndNoOpenTransaction) {
  for (const Bytes& keys : {Bytes{kKeyPosition}, Bytes{1, 2, kKeyPosition}, Bytes{4, kKeyDecimalPoint, kKeyPosition},
                            Bytes{4, kKeyDecimalPoint, kKeyDecimalPoint}}) {
    const Reply r = Keys(keys);
    EXPECT_EQ(r.hostResult, kHostCritical) << keys.size();
    EXPECT_EQ(Status().critical, kCriticalKeySequence) << keys.size();
    EXPECT_EQ(Status().keyPosition, kRegPosition) << keys.size();
    Keys({kKeyClear});
  }
  // Key '0' is digit 0: position 0 is one digit.
  EXPECT_EQ(Keys({kKeyZero, kKeyPosition}).hostResult, kHostOk);
  EXPECT_EQ(Status().keyPosition, 0);

  reg_.Status().transaction = 0x01;
  EXPECT_EQ(Keys({4, kKeyPosition}).hostResult, kHostCritical);
  EXPECT_EQ(Status().critical, kCriticalTransactionOpen);
  EXPECT_EQ(Status().keyPosition, 0);
}

TEST_F(SimulatorKeyboardTest, EntryIsLimitedAndTheClearKeyEmptiesIt) {
  EXPECT_EQ(Keys({1, 2, 3, 4, 5, 6, 7, 8, 9}).hostResult, kHostOk);
  EXPECT_EQ(reg_.keyboard.entryDigits, 9);
  EXPECT_EQ(Keys({1}).hostResult, kHostCritical);  // a tenth digit
  Keys({kKeyClear});
  EXPECT_EQ(reg_.keyboard.entryDigits, 0);
  // A digit then the clear key: the position key finds no entry.
  EXPECT_EQ(Keys({4, kKeyClear, kKeyPosition}).hostResult, kHostCritical);
}

TEST_F(SimulatorKeyboardTest, TextKeysSkipTheirTextAndATruncatedTextIsRefused) {
  // The text "4\x0E" must not be read as keys.
  EXPECT_EQ(Keys({kKeyText, 2, 4, kKeyPosition}).hostResult, kHostOk);
  EXPECT_EQ(Status().keyPosition, kRegPosition);
  EXPECT_EQ(Keys({kKeyText, 0, 4, kKeyPosition}).hostResult, kHostOk);
  EXPECT_EQ(Status().keyPosition, 4);
  for (const Bytes& keys : {Bytes{kKeyText}, Bytes{kKeyText, 3, 'a', 'b'}, Bytes{kKeyText, 255}}) {
    EXPECT_EQ(Keys(keys).hostResult, kHostCritical) << keys.size();
    EXPECT_EQ(Status().critical, kCriticalKeySequence);
    Keys({kKeyClear});
  }
  // A record of the letter alone is answered with the status.
  EXPECT_EQ(reg_.Exchange(Bytes{'A'}).hostResult, kHostOk);
}

// One receipt per row, keyed from idle: the critical code of the last record
// and the lines printed between the header and the closing rule.
TEST_F(SimulatorKeyboardTest, TillKeysPrintTheirLinesOrRefuseWithTheRegistersCode) {
  constexpr std::uint8_t D = kKeyDepartment, P = kKeyPrice, Q = kKeyQuantity, Z = kKeyZero,
                         pt = kKeyDecimalPoint;
  const struct {
    const char* name;
    std::vector<Bytes> records;
    std::uint8_t critical;
    const char* lines;
  } rows[] = {
      {"quantity with decimals, percent off",
       {{1, pt, 5, Q, 2, P, 3, D}, {1, Z, kKeyPercentOff}, {'1'}},
       0,
       "  1.5 X 2.00\nREPARTO 3                           3.00\nSCONTO 10%                         -0.30\n"
       "TOTALE                              2.70\nCONTANTI                            2.70\n"},
      {"refund, void and a surcharge",
       {{9, P, 1, D}, {kKeyRefund, 2, P, 1, D}, {kKeyVoid, 1, P, 1, D}, {5, kKeyAmountOn}, {'4'}},
       0,
       "REPARTO 1                           9.00\nRESO REPARTO 1                     -2.00\n"
       "STORNO REPARTO 1                   -1.00\nMAGGIORAZIONE                       5.00\n"
       "TOTALE                             11.00\nBUONI                              11.00\n"},
      {"card pays more than due",
       {{1, P, 1, D}, {2, '3'}},
       0,
       "REPARTO 1                           1.00\nTOTALE                              1.00\n"
       "CARTA                               2.00\nRESTO                               1.00\n"},
      {"discount over the total", {{1, P, 1, D}, {2, kKeyAmountOff}}, kCriticalAmountTooLarge, nullptr},
      {"department 0", {{1, P, Z, D}}, kCriticalNoSuchDepartment, nullptr},
      {"a sale after the subtotal",
       {{1, P, 1, D, kKeySubtotal}, {1, P, 1, D}},
       kCriticalKeySequence,
       nullptr},
      {"a price with three decimals", {{1, pt, 1, 1, 1, P}}, kCriticalKeySequence, nullptr},
      {"cancel without a receipt", {{kKeyCancel}}, kCriticalNoReceipt, nullptr},
      {"a negative first line", {{kKeyRefund, 1, P, 1, D}}, kCriticalNoReceipt, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    reg_.printer.Clear();
    for (const Bytes& record : row.records) Keys(record);
    EXPECT_EQ(Status().critical, row.critical);
    const std::string printed = reg_.printer.Text();
    if (row.lines) {
      const std::size_t body = printed.find('\n', printed.find("SCONTRINO")) + 1;
      EXPECT_EQ(printed.substr(body), std::string(row.lines) + std::string(40, '-') + "\n");
      EXPECT_EQ(Status().transaction, 0);
      EXPECT_EQ(Status().state, kIdle);
    }
    Keys({kKeyClear});
    if (Status().transaction != 0) Keys({kKeyCancel, kKeyConfirm});
  }
}

TEST_F(SimulatorKeyboardTest, OutputSettingRecordNeedsTheFunctionAndThreeBits) {
  // The built-in t72 lacks function 103: the record is refused.
  EXPECT_EQ(reg_.Exchange(Bytes{'O', 14, 5}).answer, (Bytes{'O', kRefuseUnknownFrame}));
  reg_.EditConfig().SetFeatureLevel(103, 1);
  const Reply r = reg_.Exchange(Bytes{'O', 14, 5});
  EXPECT_EQ(r.hostResult, kHostOk);
  EXPECT_EQ(r.answer, (Bytes{'O', 0}));
  EXPECT_EQ(reg_.outputBits, 5);
  for (const Bytes& frame : {Bytes{'O', 14}, Bytes{'O', 14, 8}, Bytes{'O', 14, 1, 0}}) {
    EXPECT_EQ(reg_.Exchange(frame).hostResult, kHostRefused) << frame.size();
    EXPECT_EQ(reg_.outputBits, 5);
  }
}

}  // namespace
}  // namespace ecrsim
