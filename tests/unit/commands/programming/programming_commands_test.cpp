// The programming commands (31-41, 45, 46, 53) through the executor and the
// key-batch sender: the key records of every model and function branch byte
// for byte, the reads before and after them, and the refusals that leave the
// queue empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "definition_text.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

using Setup = std::function<void(EcrConfigRecord&)>;
using Exchange = std::pair<Bytes, Bytes>;  // frame and the register's answer

struct Row {
  std::string line;
  Setup setup;
  std::vector<Exchange> reads;
  std::vector<Bytes> records;
  int result = 0;
  std::vector<Exchange> after{};  // frames the command sends once its records went
  Bytes status = status_idle();
};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes TextField(std::string_view text) {
  return Concat({bytes({'A', 19, static_cast<int>(text.size())}), bytes(text), bytes({145})});
}

const Bytes kSkip = bytes({'A', 145});
const Bytes kEnd1 = bytes({'A', 146});
const Bytes kEnd2 = bytes({'A', 146, 146});

Setup Model(char letter, std::vector<int> levels = {}, int version = 0) {
  return [=](EcrConfigRecord& ecr) {
    ecr.ModelLetter = letter;
    ecr.Version = version;
    for (int level : levels) ecr.FeatureLevels[level] = 1;
  };
}

// Two header lines of four bytes at 0x2000, the nine-digit line behind them.
Setup HeaderRegister(char letter, bool nineDigits, std::vector<int> levels = {}) {
  return [=](EcrConfigRecord& ecr) {
    Model(letter, levels)(ecr);
    ecr.RecordCount = 2;
    ecr.RecordTableAddress = 0x2000;
    ecr.PrintWidth = 4;
    ecr.IdentityFlag48 = nineDigits ? 1 : 0;
  };
}

// Ten records of 20 bytes at 0x1000, five more behind 'U' 0 0x20 4.
Setup Table15Register(std::vector<int> levels = {57}) {
  return [=](EcrConfigRecord& ecr) {
    Model('T', levels)(ecr);
    ecr.LineParam = 10;
    ecr.ExtInfoB = 1;
    ecr.Ext31W48 = 5;
    ecr.Ext31W43 = 3;
    ecr.AreaAddress[7] = 0x1000;
    ecr.AreaAddress[8] = 20;
  };
}

Exchange Read(int address, int length, std::string_view held) {
  return {bytes({'D', address & 0xFF, address >> 8, length}), Concat({bytes({'D'}), bytes(held)})};
}

class ProgrammingCommands : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void Check(const Row& row) {
    SCOPED_TRACE(row.line);
    TranslatorTest::SetUp();
    EcrConfigRecord& ecr = EcrRecord(1);
    ecr.EcrNumber = 1;
    ecr.IdentityByte47 = 10;
    ecr.AmountBytes = 5;
    if (row.setup) row.setup(ecr);
    Executor().ProgSessionState = 1;
    host.expect("S").answer(0, row.status);
    for (const auto& [frame, answer] : row.reads) host.expect(frame).answer(0, answer);
    for (const Bytes& record : row.records) host.expect(record).answer(0, status_idle());
    for (const auto& [frame, answer] : row.after) host.expect(frame).answer(0, answer);
    EXPECT_EQ(SendKeyBatch(TradExecCommand(row.line), nullptr, 0), row.result);
    EXPECT_EQ(KeyBatch().Count(), 0);
    EXPECT_EQ(host.pending(), 0);
  }
};

TEST_F(ProgrammingCommands, DepartmentsOnEachModelBranch) {
  const Bytes table = bytes({'A', 1, 147, 145});
  const std::vector<Row> rows = {
      {"REPARTO NUMERO=3, DESCRIZ='PANE', PREZZO=0.00, LIMITE=5, CIFRA5=255, OPZ1=1",
       Model('T'),
       {},
       {table, bytes({'A', 3, 145}), TextField("PANE"), bytes({'A', 10, 145}), bytes({'A', 5, 145}), kSkip,
        bytes({'A', 1, 147, 145}), kEnd2}},
      {"REPARTO NUMERO=1, DESCRIZ='X', PREZZO=1.5, CIFRA12=2, CIFRA13=255, OPZ2=1, GRUPPO=4, VALORE11=7",
       Model('M', {59, 41, 85}),
       {},
       {table, bytes({'A', 1, 145}), TextField("X"), bytes({'A', 1, 13, 5, 145}), kSkip, kSkip,
        bytes({'A', 2, 145}), kSkip, kSkip, bytes({'A', 1, 147, 145}), bytes({'A', 4, 145}),
        bytes({'A', 7, 145}), kEnd2}},
      {"REPARTO NUMERO=2, VALORE14=12, VALORE15=3, CIFRA5=1, DESCRIZ='AB'",
       Model('6', {105}),
       {},
       {table, bytes({'A', 2, 145}), bytes({'A', 1, 2, 145}), bytes({'A', 3, 145}), bytes({'A', 1, 145}),
        TextField("AB"), kEnd1}},
      {"REPARTO NUMERO=10, DESCRIZ='A', VALORE10=5, OPZ3=1, OPZ4=0, OPZ5=1",
       Model('2', {81, 111, 113}, 40),
       {},
       {table, bytes({'A', 1, 10, 145}), TextField("A"), kSkip, kSkip, kSkip, kSkip,
        bytes({'A', 1, 147, 145}), bytes({'A', 10, 147, 145}), bytes({'A', 5, 147, 145}),
        bytes({'A', 1, 147, 145}), kEnd2}},
      {"REPARTO NUMERO=4, VALORE9=8, VALORE10=9",
       Model('7'),
       {},
       {table, bytes({'A', 4, 145}), kSkip, kSkip, kSkip, kSkip, kSkip, bytes({'A', 9, 145}),
        bytes({'A', 8, 145}), kEnd2}},
      {"TAB002 NUMERO=4, DESCRIZ='Q', PREZZO=0.00, VALORE3=2, OPZ5=1, VALORE8=3, VALORE7=4, "
       "CODICE=12345678901234",
       Model('F', {31, 90}),
       {},
       {bytes({'A', 2, 147, 145}), bytes({'A', 4, 145}), TextField("Q"), bytes({'A', 10, 145}),
        bytes({'A', 2, 145}), bytes({'A', 1, 147, 145}), bytes({'A', 3, 145}), bytes({'A', 4, 145}),
        bytes({'A', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3, 4, 145}), kEnd2}},
  };
  for (const Row& row : rows) Check(row);
}

TEST_F(ProgrammingCommands, ModifiersAndNumberedTables) {
  const std::vector<Row> rows = {
      {"MODIFICAT NUMERO=2, DESCRIZ='SC', OPZ3=1, VALORE=10",
       Model('T'),
       {},
       {bytes({'A', 6, 147, 145}), bytes({'A', 1, 147, 145}), bytes({'A', 1, 10, 145}), TextField("SC"),
        kEnd1}},
      {"MODIFICAT NUMERO=1, DESCRIZ='SC', OPZ3=1, VALORE=10",
       Model('K'),
       {},
       {bytes({'A', 5, 147, 145}), bytes({'A', 1, 10, 145}), kEnd1}},
      // #2 = 0 clears the record whatever it held.
      {"TAB015 NUMERO=3, VALORE2=0, DESCRIZ='Z'",
       Table15Register(),
       {Read(0x1028, 1, "\x07")},
       {bytes({'A', 1, 5, 147, 145}), bytes({'A', 3, 145}), bytes({'A', 10, 145}), kEnd1}},
      {"TAB015 NUMERO=12, DESCRIZ='Z'",
       Table15Register(),
       {{bytes({'U', 0, 0x20, 4, 2, 0}), bytes({'U', 0, 1})}},
       {bytes({'A', 1, 5, 147, 145}), bytes({'A', 1, 2, 145}), kSkip, TextField("Z"), kSkip, kSkip, kSkip,
        kSkip, kEnd2}},
      {"TAB015 NUMERO=3",
       Table15Register(),
       {Read(0x1028, 1, std::string(1, '\0'))},
       {bytes({'A', 1, 5, 147, 145}), bytes({'A', 3, 145}), kSkip, kEnd1}},
      {"TAB021 NUMERO=3, VALORE2=2, TESTO1='A', TESTO4='D', ALIQUOTA1=22.00",
       Table15Register(),
       {},
       {bytes({'A', 2, 1, 147, 145}), bytes({'A', 3, 145}), bytes({'A', 2, 145}), kSkip, TextField("A"),
        kSkip, kSkip, TextField("D"), bytes({'A', 2, 2, 13, 10, 10, 145}), kSkip, kSkip, kEnd2}},
      {"TAB251 VALORE1=1, VALORE4=40, TESTO='T'",
       Model('T'),
       {},
       {bytes({'A', 2, 5, 1, 145}), bytes({'A', 1, 145}), kSkip, kSkip, bytes({'A', 4, 10, 145}),
        TextField("T")}},
  };
  for (const Row& row : rows) Check(row);
}

TEST_F(ProgrammingCommands, HeaderLinesOnlyWhenTheyDiffer) {
  const std::string line = "INTESTAZ RIGA1='AB', RIGA2='CD', CIFRE9='123456789'";
  const std::vector<Row> rows = {
      {line,
       HeaderRegister('T', true, {11}),
       {Read(0x2008, 9, "123456789"), Read(0x2000, 4, "AB  "), Read(0x2004, 4, "XY  ")},
       {bytes({'A', 4, 147, 145}), TextField("123456789"), TextField("AB"), TextField("CD"), kEnd1, kSkip}},
      {line,
       HeaderRegister('Z', true),
       {Read(0x2008, 9, "123456789"), Read(0x2000, 4, "AB  "), Read(0x2004, 4, "CD  ")},
       {}},
      // A header dump holds no nine-digit line: it stays as it is, the lines are sent.
      {"INTESTAZ RIGA1='AB'",
       HeaderRegister('T', true),
       {},
       {bytes({'A', 4, 147, 145}), kSkip, TextField("AB"), kSkip, kEnd1}},
      {"INTESTAZ RIGA2='CD'", HeaderRegister('T', true, {11}), {Read(0x2004, 4, "CD  ")}, {}},
      // Nothing to compare with: the lines are sent.
      {"INTESTAZ RIGA1='AB'",
       HeaderRegister('T', false),
       {},
       {bytes({'A', 4, 147, 145}), TextField("AB"), kSkip, kEnd1}},
  };
  for (const Row& row : rows) Check(row);
}

TEST_F(ProgrammingCommands, RefusalsQueueNothing) {
  const std::string longText(256, 'X');
  const std::vector<Row> rows = {
      {"REPARTO NUMERO=0", Model('T'), {}, {}, 270},
      {"REPARTO NUMERO=11", Model('T'), {}, {}, 270},
      {"REPARTO NUMERO=1, DESCRIZ='" + longText + "'", Model('T'), {}, {}, 265},
      {"REPARTO NUMERO=1, PREZZO='1,50'", Model('T'), {}, {}, 265},
      {"TAB002 NUMERO=1, CODICE=1234567890123456789", Model('T', {90}), {}, {}, 265},
      {"MODIFICAT NUMERO=3", Model('T'), {}, {}, 278},
      {"TAB015 NUMERO=1", Model('T'), {}, {}, 268},
      {"TAB015 NUMERO=16", Table15Register(), {}, {}, 265},
      {"TAB015 NUMERO=11",
       Table15Register(),
       {{bytes({'U', 0, 0x20, 4, 1, 0}), bytes({'U', 5})}},
       {},
       0x8005},
      {"TAB021 NUMERO=1", Model('T'), {}, {}, 268},
      {"TAB021 NUMERO=4", Table15Register(), {}, {}, 265},
      {"INTESTAZ CIFRE9='12345'", HeaderRegister('T', true), {}, {}, 265},
      {"INTESTAZ CIFRE9='123456789'",
       HeaderRegister('T', true),
       {{bytes({'D', 8, 0x20, 9}), bytes({'D'})}},
       {},
       4},
  };
  for (const Row& row : rows) Check(row);
  EXPECT_EQ(EcrRecord(1).EcrNumber, 0);  // the failed read marks the record unread
}

// Options 1, 2, 16, 17, 18, 27 and 28 at bytes 0-6 of the option block at
// 0x3000, the others missing.
Setup OptionRegister() {
  return [=](EcrConfigRecord& ecr) {
    Model('T', {109})(ecr);
    ecr.AreaAddress[3] = 0x3000;
    std::fill(std::begin(ecr.Block5Data), std::end(ecr.Block5Data), 0xFF);
    const int options[] = {1, 2, 16, 17, 18, 27, 28};
    for (int i = 0; i < 7; ++i) ecr.Block5Data[options[i]] = static_cast<std::uint8_t>(i);
  };
}

Exchange OptionBlock(int option16, int option28) {
  std::string block(60, '\0');
  block[2] = static_cast<char>(option16);
  block[6] = static_cast<char>(option28);
  return Read(0x3000, 60, block);
}

TEST_F(ProgrammingCommands, OptionsKeyOnlyWhatTheRegisterHas) {
  const Bytes table = bytes({'A', 7, 147, 145});
  const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
  std::vector<Bytes> fortyLines = {TextField(forty.substr(0, 16)), TextField(forty.substr(16, 16)),
                                   TextField(forty.substr(32))};
  fortyLines.insert(fortyLines.end(), 5, kSkip);
  const std::vector<Bytes> eightSkips(8, kSkip);
  auto records = [&](std::initializer_list<Bytes> head, const std::vector<Bytes>& lines) {
    std::vector<Bytes> out = {table};
    out.insert(out.end(), head);
    out.insert(out.end(), lines.begin(), lines.end());
    out.push_back(kEnd1);
    return out;
  };
  const std::vector<Row> rows = {
      // Option 16 keyed "2" brings option 17 although the block holds 0 (its hex letters go as
      // key 0); 40 characters: three lines.
      {"OPZIONI OPZ01='ABC', OPZ02=5, OPZ03=1, OPZ16=2, OPZ17='0A1b', OPZ18=9, OPZ27='" + forty + "'",
       OptionRegister(),
       {OptionBlock(0, 0)},
       records({TextField("ABC"), bytes({'A', 5, 145}), bytes({'A', 2, 147, 145}),
                bytes({'A', 10, 0, 1, 0, 145}), kSkip, bytes({'A', 2, 147, 145})},
               fortyLines),
       0,
       {OptionBlock(1, 1)}},
      // Option 16 set in the block; one character "2" switches the lines on, all eight empty.
      {"OPZIONI OPZ27=2",
       OptionRegister(),
       {OptionBlock(1, 0)},
       records({kSkip, kSkip, kSkip, kSkip, kSkip, bytes({'A', 2, 147, 145})}, eightSkips),
       0,
       {OptionBlock(1, 1)}},
      // "1" turns option 17 off; without #27 the block's option 28 decides the lines.
      {"OPZIONI OPZ16=1, OPZ17=3",
       OptionRegister(),
       {OptionBlock(1, 1)},
       records({kSkip, kSkip, bytes({'A', 1, 147, 145}), kSkip, kSkip}, eightSkips),
       0,
       {OptionBlock(0, 1)}},
      {"OPZIONI OPZ27=1",
       OptionRegister(),
       {OptionBlock(0, 1)},
       records({kSkip, kSkip, kSkip, kSkip, bytes({'A', 1, 147, 145})}, {}),
       0,
       {OptionBlock(0, 0)}},
      {"OPZIONI OPZ01='ABCD'", OptionRegister(), {OptionBlock(0, 0)}, {}, 265},
      {"OPZIONI OPZ16=2, OPZ17='0G'", OptionRegister(), {OptionBlock(0, 0)}, {}, 265},
      {"OPZIONI OPZ02=1", OptionRegister(), {{bytes({'D', 0, 0x30, 60}), bytes({'D'})}}, {}, 4},
  };
  for (const Row& row : rows) Check(row);
  // The block read after the records is the one kept.
  EXPECT_EQ(EcrRecord(1).Block2Data[2], 0);
}

TEST_F(ProgrammingCommands, CurrenciesAndGroups) {
  const std::vector<Row> rows = {
      {"VALUTA NUMERO=2, DESCRIZ='DOLLARO', CAMBIO=0.00, VALORE4=3, VALORE5=1",
       Model('T', {18}),
       {},
       {bytes({'A', 8, 147, 145}), bytes({'A', 2, 145}), bytes({'A', 3, 145}), bytes({'A', 10, 145}),
        bytes({'A', 1, 145}), TextField("DOLLARO"), kEnd2}},
      {"GRUPPO NUMERO=5, DESCRIZ='BEVANDE'",
       Model('T', {41}),
       {},
       {bytes({'A', 1, 4, 147, 145}), bytes({'A', 5, 145}), TextField("BEVANDE"), kEnd1}},
      {"VALUTA NUMERO=1", Model('T'), {}, {}, 279},
      {"VALUTA NUMERO=6", Model('T', {18}), {}, {}, 265},
      {"VALUTA NUMERO=1, DESCRIZ='DOLLARI USA'", Model('T', {18}), {}, {}, 265},
      {"GRUPPO NUMERO=1", Model('T'), {}, {}, 273},
      {"GRUPPO NUMERO=6", Model('T', {41}), {}, {}, 265},
      {"GRUPPO NUMERO=1, DESCRIZ='SURGELATI 1'", Model('T', {41}), {}, {}, 265},
  };
  for (const Row& row : rows) Check(row);
}

TEST_F(ProgrammingCommands, PercentagesParametersAndTable4) {
  auto limits = [](char letter, int extended, int level76 = 0) {
    return [=](EcrConfigRecord& ecr) {
      Model(letter)(ecr);
      ecr.FeatureLevels[76] = static_cast<std::uint8_t>(level76);
      ecr.ModelLimitD = 121;
      ecr.ModelLimitE = 492;
      ecr.ModelLimitF = 3;
      ecr.Block4Width42 = 8;
      ecr.ExtInfoB = extended;
    };
  };
  const Exchange fileInfo = {bytes({'U', 0, 1}), Concat({bytes({'U', 0}), Bytes(84, 0)})};
  auto percentages = [](std::string_view percent, std::string_view sizes) {
    return std::vector<Bytes>{
        bytes({'A', 0, 0, 4, 14}), bytes({'A', 1, 2, 1, 145}), kSkip,
        TextField(percent),        TextField(sizes),           bytes({'A', 4, 9, 2, 145, 2, 147, 145})};
  };
  const Bytes busy = quadrel_test::status_answer(2, 0, 1);
  const std::vector<Row> rows = {
      {"PERCENT PERC1=100", limits('T', 0), {}, percentages(":0000000", "00071607"), 0, {fileInfo}},
      {"PERCENT PERC1=100, FLAG2, DIMW=12, PERC6=0",
       limits('T', 1),
       {},
       percentages(":00000000000", "02141606"),
       0,
       {fileInfo}},
      {"PERCENT FLAG1=1, FLAG8, DIMV=20, DIMB=24", limits('T', 0), {}, {}, 265},  // v must equal w
      {"PERCENT PERC1=60, PERC2=50", limits('T', 0), {}, {}, 265},
      {"PERCENT PERC5=-1", limits('T', 0), {}, {}, 265},
      {"PERCENT DIMV=13", limits('T', 0), {}, {}, 265},
      {"PERCENT FLAG2, DIMV=10, DIMW=12", limits('T', 0), {}, {}, 265},
      {"PERCENT DIMB=25", limits('T', 0), {}, {}, 265},
      {"PERCENT PERC1=1", limits('T', 0), {}, {}, 6, {}, busy},
      {"PARAMETRO NUMERO=64, VALORE=255", limits('N', 0), {{bytes({'C', 10, 64, 255}), bytes({'C', 0})}}, {}},
      {"PARAMETRO NUMERO=1, VALORE=0", limits('T', 0), {}, {}, 268},
      {"PARAMETRO NUMERO=65, VALORE=0", limits('N', 0), {}, {}, 265},
      {"PARAMETRO NUMERO=1, VALORE=256", limits('N', 0), {}, {}, 265},
      {"PARAMETRO NUMERO=1, VALORE=0", limits('N', 0), {}, {}, 6, {}, busy},
      {"TAB004 NUMERO=8, VALORE3=1, VALORE4=5, VALORE5=7, TESTO='X'",
       limits('T', 0),
       {},
       {bytes({'A', 0, 0, 4, 14}), bytes({'A', 3, 145}), bytes({'A', 8, 145}), bytes({'A', 1, 145}),
        bytes({'A', 5, 145}), kEnd1}},
      {"TAB004 NUMERO=1, VALORE5=7, TESTO='X'",
       limits('T', 0, 2),
       {},
       {bytes({'A', 0, 0, 4, 14}), bytes({'A', 3, 145}), bytes({'A', 1, 145}), kSkip, kSkip,
        bytes({'A', 7, 145}), TextField("X"), kEnd1}},
      {"TAB004 NUMERO=9", limits('T', 0), {}, {}, 265},
      {"TAB004 NUMERO=1", limits('T', 0), {}, {}, 6, {}, busy},
  };
  for (const Row& row : rows) Check(row);
}

}  // namespace
}  // namespace quadrel
