// The key records of the sales, key and text commands through the executor
// and the key-batch sender, byte for byte against the scripted host, and the
// refusals that leave the queue empty.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "definition_text.h"
#include "language/result_text.h"
#include "platform/platform.h"
#include "run_line.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_answer;
using quadrel_test::status_idle;

constexpr int kOpen = 0x01;  // transaction flags: a transaction is open

// What a row changes before its line runs.
struct Given {
  bool fast = true;  // AlwayMaxSpeedFP
  bool salesSwitch = false;
  int keyPosition = 1;
  int transaction = 0;
  std::vector<int> features;

  Given Slow(bool salesSwitchOn = false) const {
    Given g = *this;
    g.fast = false;
    g.salesSwitch = salesSwitchOn;
    return g;
  }
  Given Position(int position) const {
    Given g = *this;
    g.keyPosition = position;
    return g;
  }
  Given Open() const {
    Given g = *this;
    g.transaction = kOpen;
    return g;
  }
  Given Features(std::vector<int> levels) const {
    Given g = *this;
    g.features = std::move(levels);
    return g;
  }
};

struct RecordRow {
  const char* line;
  Given setup;
  std::vector<Bytes> records;
};

struct RefusalRow {
  std::string line;
  Given setup;
  int result;
};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

class KeyRecordCommands : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    EcrRecord(1).EcrNumber = 1;  // configuration read: no frames for it
    EcrRecord(1).PrintWidth = 6;
    EcrRecord(1).FirmwareLevel = 30;
    EcrRecord(1).Decimals = 2;
  }

  // Applies `setup`; returns the status the executor's 'S' frame gets, when it sends one.
  void Apply(const Given& setup, const std::string& line) {
    Library().switches.AlwayMaxSpeedFP = setup.fast;
    Library().options.SkipStatusForSales = setup.salesSwitch;
    for (int feature : setup.features) EcrRecord(1).FeatureLevels[feature] = 2;
    const Bytes status = status_answer(1, 0, setup.transaction, setup.keyPosition);
    EcrStatusBytes().transactionFlags = setup.transaction;
    EcrStatusBytes().keyPosition = setup.keyPosition;
    const bool sale = line.rfind("VENDITA", 0) == 0 || line.rfind("PAGA", 0) == 0;
    if (!(sale && (setup.fast || setup.salesSwitch))) host.expect("S").answer(0, status);
  }

  int Run(const std::string& line) { return test_support::RunLine(line); }
};

const std::string kLongText(300, 'X');

TEST_F(KeyRecordCommands, EachCommandQueuesItsRecordsByteForByte) {
  const Given slow = Given{}.Slow();
  const Given open = Given{}.Open();
  const std::vector<RecordRow> rows = {
      // 10: one record when fast, a record per key otherwise
      {"VENDITA REPARTO=3, PREZZO=12.50, QUANTITA=2, DESCRIZ='PANE'",
       {},
       {Concat({bytes({'A', 42, 19, 4}), bytes("PANE"), bytes({145, 2, 27, 1, 2, 13, 5, 10, 26, 3, 24})})}},
      {"VENDITA REPARTO=3, PREZZO=12.50, QUANTITA=2, DESCRIZ='PANE'",
       slow,
       {Concat({bytes({'A', 42, 19, 4}), bytes("PANE"), bytes({145})}), bytes({'A', 2, 27}),
        bytes({'A', 1, 2, 13, 5, 10, 26}), bytes({'A', 3, 24})}},
      {"VENDITA ARTICOLO=123", slow, {bytes({'A', 1, 2, 3, 25})}},
      {"VENDITA REPARTO=1, ARTICOLO=9, RESO, STORNO", {}, {bytes({'A', 28, 59, 1, 24, 9, 25})}},
      {"VENDITA REPARTO=1", Given{}.Slow(true).Position(3), {bytes({'A', 1, 24})}},
      // 11: the payment key by type
      {"PAGA IMPORTO=5", open, {bytes({'A', 5, '1'})}},
      {"PAGA TIPO=7, IMPORTO=5", open, {bytes({'A', 5, '1'})}},
      {"PAGA TIPO=5", open, {bytes({'A', '6'})}},
      {"PAGA TIPO=10", open, {bytes({'A', '>'})}},
      {"PAGA TIPO=130, IMPORTO=5", open, {bytes({'A', 5, 130})}},
      {"PAGA TIPO=0, IMPORTO=5", open, {bytes({'A', 5})}},
      {"PAGA TIPO=200, IMPORTO=5", open, {bytes({'A', 5})}},
      {"PAGA TIPO=-1, IMPORTO=5", open, {bytes({'A', 5})}},
      {"PAGA TIPO=2, IMPORTO=' 12 '", Given{}.Slow().Open(), {bytes({'A', 1, 2, '2'})}},
      {"VENDITA REPARTO=1, QUANTITA=1.234", {}, {bytes({'A', 1, 13, 2, 3, 4, 27, 1, 24})}},
      // 12, 16, 17, 80
      {"IMPORTO33", {}, {bytes({'A', 33})}},
      {"IMPORTO33 IMPORTO='  '", {}, {bytes({'A', 33})}},
      {"IMPORTO31 IMPORTO=1.5, DOLLARO, DESCRIZ='X'", {}, {bytes({'A', '$'}), bytes({'A', 1, 13, 5, 31})}},
      {"IMPORTO32 IMPORTO=2, DESCRIZ='X'",
       Given{}.Features({96}),
       {bytes({'A', 42, 19, 1, 'X', 145}), bytes({'A', 2, 32})}},
      {"IMPORTO34 IMPORTO=10", {}, {bytes({'A', 1, 10, 34})}},
      // 15 and 9
      {"CHIAVE NUM=2", {}, {bytes({'A', 2, 14})}},
      {"CHIAVE Z", {}, {bytes({'A', 3, 14})}},
      {"INP TESTOA='AB', TESTOB='CD', TERM=145", {}, {bytes({'A', 19, 5, 'A', 'B', 0, 'C', 'D', 145})}},
      {"INP TESTOB='CD', TERM=42", {}, {bytes({'A', 19, 2, 'C', 'D', 42})}},
      {"INP NUM=12, TERM=36", {}, {bytes({'A', 1, 2, 36})}},
      {"INP", {}, {bytes({'A', 0})}},
      // 60: the key position first when it is not REG
      {"SCONTRINO REPARTO=2, IMPORTO=10, TIPO=2",
       Given{}.Features({105}),
       {bytes({'A', 10, 169, 2, 24, 1, 10, '2'})}},
      {"SCONTRINO NUMERO=4, REPARTO=2, PREZZO=3, TIPO=0",
       Given{}.Position(3).Features({105}),
       {bytes({'A', 1, 14, 4, 169, 3, 26, 2, 24})}},
      // 19, 20, 14: text lines cut to the print width (6) or their own limits
      {"TESTI TESTO1='AB', TESTO2='ABCDEFGH'",
       {},
       {bytes({'A', 19, 5, 2, 0, 'A', 'B', 0, '8'}),
        Concat({bytes({'A', 19, 9, 2, 1}), bytes("ABCDEF"), bytes({0, '8'})})}},
      {"RIGA TESTO='Z'", {}, {bytes({'A', 19, 4, 3, 0, 'Z', 0, '8'})}},
      {"RIGA", {}, {}},
      {"VISORE TESTO1='ABCDEFGHIJKLMNOPQRST', TESTO2='B', OPZIONE, LARGO",
       {},
       {Concat({bytes({'A', 19, 17, 1, 6}), bytes("ABCDEFGHIJKL"), bytes({0, 'B', 0, '8'})})}},
      {"VISORE TESTO2='B', OPZIONE", {}, {bytes({'A', 19, 5, 1, 2, 0, 'B', 0, '8'})}},
      // 23: document lines only for choices 2 and 3 on registers with them
      {"TASTODOC SCELTA=2, NUMERO=5", {}, {bytes({'A', 65, 5, ','})}},
      {"TASTODOC SCELTA=3, RIGA1='X', RIGA3='Y', TASTO187=1",
       Given{}.Features({58, 23}),
       {bytes({'A', 19, 4, 5, 0, 'X', 0, '8'}), bytes({'A', 19, 4, 5, 2, 'Y', 0, '8'}), bytes({'A', '-'}),
        bytes({'A', 187})}},
      // 24, 124
      {"CAMPO180 PREFISSO=12, CODICE=34, VALORE=5",
       Given{}.Features({117}),
       {bytes({'A', 180, 145, 1, 2, 3, 4, 145, 5, 145})}},
      {"CAMPO188 TESTO='AB'", Given{}.Features({117}), {bytes({'A', 188, 145, 19, 2, 'A', 'B', 145, 145})}},
      // 25
      {"SEQ158 NUMERO=7, DOPPIO", Given{}.Features({85}), {bytes({'A', 7, 158, 158})}},
      {"SEQ158 TRANSAZ", Given{}.Open().Features({85}), {bytes({'A', 158})}},
      {"SEQ158 NUMERO=7, TIPO=2, RIGA2='Q'",
       Given{}.Features({85, 58}),
       {bytes({'A', 19, 3, 5, 0, 0, '8'}), bytes({'A', 19, 4, 5, 1, 'Q', 0, '8'}), bytes({'A', 7, 158}),
        bytes({'A', 2, 159})}},
      {"SEQ158 NUMERO=7, TIPO", Given{}.Features({85}), {bytes({'A', 7, 158}), bytes({'A', 159})}},
  };
  for (const RecordRow& row : rows) {
    SCOPED_TRACE(row.line);
    SetUp();
    Apply(row.setup, row.line);
    for (const Bytes& record : row.records) host.expect(record).answer(0, status_idle());
    EXPECT_EQ(Run(row.line), 0);
    EXPECT_EQ(host.pending(), 0);
    for (int feature : row.setup.features) EcrRecord(1).FeatureLevels[feature] = 0;
  }
}

TEST_F(KeyRecordCommands, RefusedCommandsQueueNothing) {
  const std::string longText = "DESCRIZ='" + kLongText + "'";
  const std::vector<RefusalRow> rows = {
      {"VENDITA QUANTITA=2", {}, 269},
      {"VENDITA REPARTO=1", Given{}.Slow().Position(2), 8},
      {"PAGA IMPORTO=5", {}, 15},
      {"PAGA TIPO='X', IMPORTO=5", Given{}.Open(), 265},
      {"PAGA IMPORTO=5", Given{}.Slow().Position(3).Open(), 8},
      {"IMPORTO33 IMPORTO=5", Given{}.Position(2), 8},
      {"CHIAVE", {}, 265},
      {"INP TERM=256", {}, 265},
      {"SCONTRINO REPARTO=1", {}, 5},
      {"SCONTRINO REPARTO=1", Given{}.Open().Features({105}), 6},
      {"SCONTRINO IMPORTO=1", Given{}.Features({105}), 269},
      {"SCONTRINO REPARTO=1, TIPO=11", Given{}.Features({105}), 265},
      {"TASTODOC SCELTA=4", {}, 9},
      {"TASTODOC SCELTA=1, TASTO187=1", {}, 5},
      {"TASTODOC SCELTA=1", Given{}.Open(), 6},
      {"CAMPO180 CODICE=1", Given{}.Features({117}), 266},
      {"CAMPO180 TESTO='A'", {}, 5},
      {"CAMPO188 TESTO='A'", Given{}.Position(2).Features({117}), 8},
      {"SEQ158 DOPPIO", Given{}.Features({85}), 266},
      {"SEQ158 NUMERO=1, TIPO=4", Given{}.Features({85}), 265},
      {"SEQ158 TRANSAZ", Given{}.Features({85}), 15},
      {"SEQ158 NUMERO=1", {}, 5},
      {"VISORE RIGAA1='X'", {}, 268},
      // Amounts, prices and quantities: a decimal number with the register's
      // decimals (2), a quantity with three; nothing else, and 73 sends nothing.
      {"VENDITA REPARTO=1, PREZZO='2X.50'", {}, 265},
      {"VENDITA REPARTO=1, PREZZO='1,50'", {}, 265},
      {"VENDITA REPARTO=1, PREZZO=1.505", {}, 265},
      {"VENDITA REPARTO=1, QUANTITA=1.2345", {}, 265},
      {"PAGA IMPORTO='1 2'", Given{}.Open(), 265},
      {"PAGA IMPORTO='-5'", Given{}.Open(), 265},
      {"IMPORTO33 IMPORTO='1.2.3'", {}, 265},
      {"IMPORTO31 IMPORTO='.'", {}, 265},
      {"IMPORTO32 IMPORTO='" + std::string(19, '1') + "'", {}, 265},
      {"IMPORTO34 IMPORTO='1E3'", {}, 265},
      {"CHIAVE NUM='2A'", {}, 265},
      {"CHIAVE NUM=1.5", {}, 265},
      {"INP NUM='1,5', TERM=36", {}, 265},
      {"SCONTRINO REPARTO=2, IMPORTO='10,00'", Given{}.Features({105}), 265},
      {"SCONTRINO REPARTO=2, PREZZO='3-'", Given{}.Features({105}), 265},
      {"VERIFICA IMPORTO='12,50'", {}, 265},
      {"VERIFICA IMPORTO=12.505", {}, 265},
      {"VERIFICA IMPORTO=99999999999999999999", {}, 265},
      // Texts too long for their one-byte length, and 60's 120-byte record.
      {"VENDITA REPARTO=1, DESCRIZ='" + std::string(256, 'D') + "'", {}, 31},
      {"IMPORTO33 IMPORTO=1, DESCRIZ='" + kLongText + "'", Given{}.Features({96}), 31},
      {"INP TESTOA='" + kLongText + "'", {}, 31},
      {"CAMPO188 TESTO='" + kLongText + "'", Given{}.Features({117}), 31},
      {"SCONTRINO REPARTO=1, DESCRIZ='" + std::string(111, 'D') + "'", Given{}.Features({105}), 31},
  };
  for (const RefusalRow& row : rows) {
    SCOPED_TRACE(row.line);
    SetUp();
    Apply(row.setup, row.line);
    EXPECT_EQ(Run(row.line), row.result);
    EXPECT_EQ(KeyBatch().Count(), 0);
    EXPECT_EQ(host.pending(), 0);
    for (int feature : row.setup.features) EcrRecord(1).FeatureLevels[feature] = 0;
  }
}

TEST_F(KeyRecordCommands, SixtyTakesARecordOfExactly120Bytes) {
  // 'A' 10 169, 42 19 n text 145, 1 24, '1' = 10 + n bytes.
  for (const auto& [length, result] : {std::pair{110, 0}, std::pair{111, 31}}) {
    SetUp();
    const std::string line = "SCONTRINO REPARTO=1, DESCRIZ='" + std::string(length, 'D') + "'";
    Apply(Given{}.Features({105}), line);
    if (result == 0) host.expect_any().answer(0, status_idle());
    EXPECT_EQ(Run(line), result) << length;
    EcrRecord(1).FeatureLevels[105] = 0;
  }
}

TEST_F(KeyRecordCommands, QueryTextReplacesTheNextSuccessText) {
  std::string text;
  EXPECT_EQ(Run("MESSAGGIO CODICE=257"), 0);
  FormatResultText(text, 0);
  EXPECT_EQ(text, "ERROR 1/1 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND");
  FormatResultText(text, 0);
  EXPECT_EQ(text, "OK.");
  EXPECT_EQ(Run("MESSAGGIO CODICE=0"), 0);
  FormatResultText(text, 0);
  EXPECT_EQ(text, "OK.");
  EXPECT_EQ(Run("MESSAGGIO CARTELLA=1"), 24);
  EXPECT_EQ(Run("MESSAGGIO CODICE='abc'"), 22);
  EXPECT_EQ(Run("MESSAGGIO CARTELLA"), 0);
  FormatResultText(text, 0);
  EXPECT_EQ(text, platform::CurrentDirectory());
  EXPECT_TRUE(host.frames().empty());
}

}  // namespace
}  // namespace quadrel
