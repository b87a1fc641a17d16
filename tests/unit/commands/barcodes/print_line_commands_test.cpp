// Commands 21 and 22 byte for byte against the scripted host: the output
// frames 22 sends at once, the key records 21 queues, and the refusals that
// send nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/barcodes/code128.h"
#include "commands/barcodes/code39.h"
#include "commands/barcodes/ean.h"
#include "definition_text.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Row(int (*encode)(std::span<std::uint8_t>, std::string_view), std::string_view text, int bytes) {
  Bytes row(static_cast<std::size_t>(bytes));
  encode(row, text);
  return row;
}

Bytes Code39Row(std::string_view text, int moduleDots, int bytes) {
  Bytes row(static_cast<std::size_t>(bytes));
  EncodeCode39(row, text, moduleDots, false);
  return row;
}

// A key record of command 21: 'A' 19 L, the body, '8'.
Bytes PrintRecord(const Bytes& body) {
  return Concat({bytes({'A', 19, static_cast<int>(body.size())}), body, bytes({'8'})});
}

const Bytes kEan13 = Row(EncodeEan13, "4006381333931", kEan13RowBytes);
const Bytes kEan13Guard = Row(EncodeEan13, std::string(13, ' '), kEan13RowBytes);
const Bytes kEan8 = Row(EncodeEan8, "96385074", kEan8RowBytes);
const Bytes kEan8Guard = Row(EncodeEan8, std::string(8, ' '), kEan8RowBytes);

struct FrameRow {
  const char* line;
  int graphicMode;
  std::vector<Bytes> frames;
};

struct RefusalRow {
  const char* line;
  int printWidth;
};

class PrintLineCommands : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    EcrRecord(1).EcrNumber = 1;    // configuration read: no frames for it
    EcrRecord(1).PrintWidth = 24;  // 16 dots a character, 48 bytes a line
  }
  int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }
};

TEST_F(PrintLineCommands, PrintLineSendsItsOutputFrames) {
  const Bytes code128 = [] {
    Bytes row(8);
    std::string caption;
    EncodeCode128(row, "AB", 1, Code128Set::B, caption);
    return row;
  }();
  const std::vector<FrameRow> rows = {
      {"STAMPA INIZIO, BIT1INIZIO, BIT2INIZIO", 0, {bytes({'O', 11, 3})}},
      {"STAMPA FINE, BIT1FINE, CODBARRE=2, TESTO='A'", 0, {bytes({'O', 12, 1})}},
      {"STAMPA TESTO='CIAO', ATTRIBUTO=2, MARGINE=3",
       0,
       {Concat({bytes({'O', 13, 0, 2, 3}), bytes("CIAO")})}},
      {"STAMPA TESTO='ABCDEFGHIJKLMNOPQRSTUVWXYZ'",
       0,
       {Concat({bytes({'O', 13, 0, 0, 0}), bytes("ABCDEFGHIJKLMNOPQRSTUVWX")})}},
      {"STAMPA TESTO='0A0B1', ATTRIBUTO=132", 0, {bytes({'O', 0x8D, 0, 0x84, 0, 0x0A, 0x0B, 0x10})}},
      {"STAMPA TESTO='400638133393', CODBARRE",
       0,
       {Concat({bytes({'O', 13, 0, 0, 0}), bytes("400638133393")})}},
      {"STAMPA TESTO='4006381333931', CODBARRE=1",
       1,
       {Concat({bytes({'O', 13, 1, 6, 100, 2}), kEan13}), Concat({bytes({'O', 13, 1, 6, 4, 2}), kEan13Guard}),
        Concat({bytes({'O', 13, 0, 0, 0}), bytes("4 006381 333931")})}},
      {"STAMPA TESTO='96385074', CODBARRE=0, MARGINE=1",
       1,
       {Concat({bytes({'O', 13, 1, 6, 100, 3}), kEan8}), Concat({bytes({'O', 13, 1, 6, 4, 3}), kEan8Guard}),
        Concat({bytes({'O', 13, 0, 0, 2}), bytes("9638 5074")})}},
      // 4 characters of 26 dots: 6 columns, the caption 2 in, after the 2 the margin takes.
      {"STAMPA TESTO='AB', CODBARRE=2, MARGINE=4",
       1,
       {Concat({bytes({'O', 13, 1, 6, 100, 4}), Code39Row("AB", 2, 13)}),
        Concat({bytes({'O', 13, 0, 0, 4}), bytes("AB")})}},
      {"STAMPA TESTO='AB', CODBARRE=5, MODULO=1",
       1,
       {Concat({bytes({'O', 13, 1, 6, 100, 0}), code128}),
        Concat({bytes({'O', 13, 0, 0, 0}), bytes(" AB")})}},
  };
  for (const FrameRow& row : rows) {
    SCOPED_TRACE(row.line);
    SetUp();
    EcrRecord(1).GraphicMode = row.graphicMode;
    if (std::string(row.line).find("TESTO") == std::string::npos) host.expect("S").answer(0, status_idle());
    for (const Bytes& frame : row.frames) host.expect(frame).answer(0, bytes({'O'}));
    EXPECT_EQ(Run(row.line), 0);
    EXPECT_EQ(host.pending(), 0);
  }
  // A line whose attribute has bit 7 goes with exchange mode 0, every other frame with 3.
  for (const auto& seen : host.frames()) {
    if (seen.frame[0] != 'O') continue;
    EXPECT_EQ(seen.mode, seen.frame[1] == 0x8D ? 0 : 3);
  }
}

TEST_F(PrintLineCommands, WithoutRepeatCountsEveryRowIsAFrameAndAFailedOneEndsTheCommand) {
  for (int i = 0; i < 104; ++i) host.expect("O").answer(0, bytes({'O'}));
  host.expect("O").answer(0, bytes({'O'}));
  EXPECT_EQ(Run("STAMPA TESTO='4006381333931', CODBARRE=1"), 0);
  ASSERT_EQ(host.frames().size(), 105u);
  EXPECT_EQ(host.frames()[99].frame, Concat({bytes({'O', 13, 0, 6, 2}), kEan13}));
  EXPECT_EQ(host.frames()[100].frame, Concat({bytes({'O', 13, 0, 6, 2}), kEan13Guard}));

  SetUp();
  host.expect("O").answer(0, bytes({'O'}));
  host.expect("O").answer(4, {}, 7);
  EXPECT_NE(Run("STAMPA TESTO='AB', CODBARRE=2"), 0);
  EXPECT_EQ(host.frames().size(), 107u);
}

TEST_F(PrintLineCommands, RefusedLinesSendNothing) {
  const std::vector<RefusalRow> rows = {
      {"STAMPA TESTO='AB', CODBARRE=2, MODULO=4", 24},
      {"STAMPA TESTO='X', CODBARRE=0, MODULO=0", 24},
      {"STAMPA TESTO='40063813339A1', CODBARRE=1", 24},
      {"STAMPA TESTO='4006381333.31', CODBARRE=1", 24},
      {"STAMPA TESTO='Ab', CODBARRE=2", 24},
      {"STAMPA TESTO='ABCDEFG', CODBARRE=3, MODULO=3", 24},  // 390 dots on a line of 384
      {"STAMPA TESTO='AB', CODBARRE=2, MARGINE=40", 24},     // the margin counts bytes
      {"STAMPA TESTO='ABCDEFGHIJ', CODBARRE=5, MODULO=3", 24},
      {"STAMPA TESTO='1234567890123', CODBARRE=1, MARGINE=23", 24},
      {"STAMPA TESTO='1234567890123', CODBARRE=1, MARGINE=254", 200},  // the offset would pass 255
      {"STAMPA TESTO='ABC', CODBARRE=7", 24},
      {"STAMPA TESTO='0G', ATTRIBUTO=4", 24},
      {"STAMPA TESTO='A', MARGINE=256", 24},
  };
  for (const RefusalRow& row : rows) {
    SCOPED_TRACE(row.line);
    SetUp();
    EcrRecord(1).PrintWidth = row.printWidth;
    const std::size_t before = host.frames().size();
    EXPECT_EQ(Run(row.line), 265);
    EXPECT_EQ(host.frames().size(), before);
  }
}

TEST_F(PrintLineCommands, BarcodeRecordsQueueTheSameLinesAsKeyRecords) {
  const std::vector<FrameRow> rows = {
      {"DOCSTAMPA INIZIO", 0, {PrintRecord(bytes({4, 0x80, 0}))}},
      {"DOCSTAMPA FINE, CODBARRE=2", 0, {PrintRecord(bytes({4, 0, 0}))}},
      {"DOCSTAMPA TESTO='AB'", 0, {PrintRecord(bytes({4, 3, 'A', 'B', 0}))}},
      {"DOCSTAMPA TESTO='0A0B', ATTRIBUTO=4, MARGINE=2",
       0,
       {PrintRecord(bytes({4, 4, 2, 1, 0x0A, 0x0B, 0}))}},
      {"DOCSTAMPA ATTRIBUTO=64", 0, {PrintRecord(bytes({4, 65, 0}))}},
      {"DOCSTAMPA ATTRIBUTO=2", 0, {}},
      {"DOCSTAMPA TESTO='96385074', CODBARRE=0",
       0,
       {PrintRecord(Concat({bytes({4, 4, 1, 100}), kEan8, bytes({0})})),
        PrintRecord(Concat({bytes({4, 4, 1, 5}), kEan8Guard, bytes({0})})),
        PrintRecord(Concat({bytes({4, 1}), bytes(" 9638 5074"), bytes({0})}))}},
      {"DOCSTAMPA TESTO='4006381333931', CODBARRE=1, MARGINE=3",
       0,
       {PrintRecord(Concat({bytes({4, 4, 3, 100}), kEan13, bytes({0})})),
        PrintRecord(Concat({bytes({4, 4, 3, 5}), kEan13Guard, bytes({0})})),
        PrintRecord(Concat({bytes({4, 1}), bytes("  4 006381 333931"), bytes({0})}))}},
      {"DOCSTAMPA TESTO='AB', CODBARRE=2",
       0,
       {PrintRecord(Concat({bytes({4, 4, 1, 100}), Code39Row("AB", 2, 13), bytes({0})})),
        PrintRecord(Concat({bytes({4, 1}), bytes("   AB"), bytes({0})}))}},
  };
  for (const FrameRow& row : rows) {
    SCOPED_TRACE(row.line);
    SetUp();
    host.expect("S").answer(0, status_idle());
    for (const Bytes& record : row.frames) host.expect(record).answer(0, status_idle());
    EXPECT_EQ(Run(row.line), 0);
    EXPECT_EQ(host.pending(), 0);
  }
}

TEST_F(PrintLineCommands, RefusedBarcodeRecordsQueueNothing) {
  for (const char* line :
       {"DOCSTAMPA TESTO='Ab', CODBARRE=2", "DOCSTAMPA TESTO='1234567890123', CODBARRE=1, MARGINE=30",
        "DOCSTAMPA TESTO='ABCDEFGHIJKL', CODBARRE=3"}) {
    SCOPED_TRACE(line);
    SetUp();
    host.expect("S").answer(0, status_idle());
    EXPECT_EQ(Run(line), 265);
    EXPECT_EQ(host.pending(), 0);
  }
}

}  // namespace
}  // namespace quadrel
