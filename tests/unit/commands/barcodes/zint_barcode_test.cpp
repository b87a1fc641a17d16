// The symbol-library adapter against a stand-in for zint: how the symbol is
// set up from the slots, where its rows start, the three record forms, and
// the failures that queue nothing.
#include <gtest/gtest.h>

#include <zint.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "commands/barcodes/zint_barcode.h"
#include "language/command_fields.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;

constexpr int kData = 3, kFirst = 11;

// zint as far as the adapter sees it: a bitmap of `width` x `height` whose
// pixel (x, y) is dark when (x + y) % 3 is 0, and what it was given.
struct StandIn {
  int width = 10, height = 2, encodeResult = 0, bufferResult = 0, rotation = -1;
  std::vector<std::string> encoded;
  zint_symbol seen{};
};
StandIn* zint = nullptr;

const ZintCalls kStandIn = {
    [] { return new zint_symbol{}; },
    [](zint_symbol*, const unsigned char* data, int length) {
      zint->encoded.emplace_back(reinterpret_cast<const char*>(data), length);
      return zint->encodeResult;
    },
    [](zint_symbol* symbol, int rotation) {
      zint->rotation = rotation;
      symbol->bitmap_width = zint->width;
      symbol->bitmap_height = zint->height;
      symbol->bitmap = static_cast<unsigned char*>(std::calloc(static_cast<std::size_t>(zint->width * zint->height), 3));
      for (int i = 0; i < zint->width * zint->height; ++i)
        symbol->bitmap[i * 3] = (i % zint->width + i / zint->width) % 3 == 0 ? 0 : 255;
      zint->seen = *symbol;
      return zint->bufferResult;
    },
    [](zint_symbol* symbol) {
      std::free(symbol->bitmap);
      delete symbol;
    },
};

Bytes Record(int index) {
  const KeyRecord& record = KeyBatch().Record(index);
  return Bytes(record.data.begin(), record.data.begin() + record.length);
}

class ZintBarcode : public TranslatorTest {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    ClearCommandFields();
    standIn = StandIn{};
    zint = &standIn;
  }
  static void Slot(int slot, const std::string& text) { CommandFields().value[static_cast<std::size_t>(slot)] = text; }
  int Render(int kind, ZintForm form = ZintForm::OutputFrames, int graphicMode = 1, int margin = 0) {
    return RenderZintBarcode(kStandIn, {kind, kData, kFirst, margin, form, {24, 16}, graphicMode});
  }
  StandIn standIn;
};

TEST_F(ZintBarcode, TheSymbolIsSetUpFromTheKindAndTheSlots) {
  const std::string file = ::testing::TempDir() + "zint_data.txt";
  std::ofstream(file, std::ios::binary) << "from the file";
  Slot(kFirst + kZintDataFile, file);
  Slot(kData, "data");
  Slot(kFirst + kZintData3, "three");
  Slot(kFirst + kZintRotation, "1");
  Slot(kFirst + kZintInputMode, "7");
  Slot(kFirst + kZintOutputOptions, "4");
  ASSERT_EQ(Render(158), 0);
  EXPECT_EQ(standIn.encoded, (std::vector<std::string>{"from the file", "data", "three"}));
  EXPECT_EQ(standIn.seen.symbology, BARCODE_QRCODE);
  EXPECT_EQ(standIn.seen.option_1, 2);
  EXPECT_EQ(standIn.seen.option_3, 100);
  EXPECT_STREQ(reinterpret_cast<const char*>(standIn.seen.text), "");  // readable by default: zint writes it
  EXPECT_EQ(standIn.seen.input_mode, DATA_MODE);
  EXPECT_EQ(standIn.seen.output_options, BARCODE_BOX);
  EXPECT_EQ(standIn.rotation, 90);
  std::remove(file.c_str());

  // An unlisted kind has no symbology; the data, cut to the field, is its text.
  SetUp();
  Slot(kData, std::string(300, 'D'));
  Slot(kFirst + kZintPrimary, std::string(200, 'P'));
  ASSERT_EQ(Render(105), 0);
  EXPECT_EQ(standIn.seen.symbology, 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(standIn.seen.text)), std::string(127, 'D'));
  EXPECT_EQ(std::string(standIn.seen.primary), std::string(127, 'P'));

  // EAN data lose the caller's check digit, in the caller's slot; an add-on keeps it.
  for (const auto& [given, kept] : {std::pair{"4006381333931", "400638133393"}, {"96385074", "9638507"},
                                    {"4006381333931+12", "4006381333931+12"}}) {
    SetUp();
    Slot(kData, given);
    ASSERT_EQ(Render(113), 0);
    EXPECT_EQ(CommandFields().value[kData], kept);
    EXPECT_EQ(standIn.encoded.at(0), kept);
  }
}

struct OffsetRow {
  ZintForm form;
  int width, margin;
  const char* alignment;
  int offset;  // -1: refused as too wide
};

TEST_F(ZintBarcode, RowsStartAtTheMarginUnlessTheLineEndsFirstOrAnAlignmentPlacesThem) {
  // 24 characters of 16 dots: a line of 384 dots.
  constexpr ZintForm kFrames = ZintForm::OutputFrames, kRecords = ZintForm::KeyRecords;
  const OffsetRow rows[] = {
      {kFrames, 384, 0, "", 0},    {kFrames, 385, 0, "", -1},   {kRecords, 385, 0, "", -1},
      {kFrames, 100, 5, "", 5},    {kFrames, 300, 10, "", 5},   {kRecords, 300, 10, "", 2},
      {kFrames, 100, 5, "0", 0},   {kFrames, 100, 0, "1", 17},  {kFrames, 100, 0, "2", 35},
      {kRecords, 100, 0, "1", 8},  {kRecords, 100, 0, "2", 17},
  };
  for (const OffsetRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.width << " dots, margin " << row.margin << ", alignment '"
                                      << row.alignment << "'");
    SetUp();
    KeyBatch().Append(bytes({'A', 0}));
    KeyBatch().EndKeyRecord();
    Slot(kData, "x");
    Slot(kFirst + kZintAlignment, row.alignment);
    standIn.width = row.width;
    const int result = Render(120, row.form, 0, row.margin);
    if (row.offset < 0) {
      EXPECT_EQ(result, kResultSymbolTooWide);
      EXPECT_EQ(KeyBatch().Count(), 1);
      continue;
    }
    ASSERT_EQ(result, 0);
    // After the batch's own record: the five blank rows of a plain frame, or the one folded record of the blanks.
    EXPECT_EQ(row.form == kFrames ? Record(6)[4] : Record(2)[5], row.offset);
  }
}

TEST_F(ZintBarcode, RowsAreQueuedInTheirRecordForm) {
  // Rows of 10 dots: 1001001001 and 0010010010.
  const Bytes row0 = bytes({0x92, 0x40}), row1 = bytes({0x24, 0x80});
  Slot(kData, "x");
  ASSERT_EQ(Render(158, ZintForm::OutputFrames, 1, 2), 0);
  ASSERT_EQ(KeyBatch().Count(), 4);
  EXPECT_EQ(Record(0), bytes({'O', 13, 1, 6, 5, 0}));
  EXPECT_EQ(Record(1), Bytes({'O', 13, 1, 6, 1, 2, row0[0], row0[1]}));
  EXPECT_EQ(Record(2), Bytes({'O', 13, 1, 6, 1, 2, row1[0], row1[1]}));
  EXPECT_EQ(Record(3), bytes({'O', 13, 1, 6, 25, 0}));

  SetUp();
  ASSERT_EQ(Render(158, ZintForm::OutputFrames, 0, 2), 0);
  ASSERT_EQ(KeyBatch().Count(), 32);
  EXPECT_EQ(Record(4), bytes({'O', 13, 0, 6, 0}));
  EXPECT_EQ(Record(6), Bytes({'O', 13, 0, 6, 2, row1[0], row1[1]}));
  EXPECT_EQ(Record(31), bytes({'O', 13, 0, 6, 0}));

  SetUp();
  standIn.height = 4;  // the fourth row repeats the first
  ASSERT_EQ(Render(158, ZintForm::KeyRecords, 1, 2), 0);
  ASSERT_EQ(KeyBatch().Count(), 6);
  EXPECT_EQ(Record(0), bytes({'A', 19, 5, 4, 4, 0, 5, 0, '8', 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Record(1), Bytes({'A', 19, 7, 4, 4, 2, 1, row0[0], row0[1], 0, '8'}));
  EXPECT_EQ(Record(4), Record(1));
  EXPECT_EQ(Record(5)[6], 25);
}

TEST_F(ZintBarcode, FailuresQueueNothing) {
  struct FailureRow {
    int encodeResult, bufferResult, height;
    bool library;
    int result;
  };
  const FailureRow rows[] = {
      {5, 0, 2, true, kResultSymbolNotRendered},   {0, 2, 2, true, kResultSymbolNotRendered},
      {0, 0, 2, false, kResultSymbolNotRendered},  {0, 0, 971, true, kResultInternalError},
  };
  for (const FailureRow& row : rows) {
    SetUp();
    Slot(kData, "x");
    standIn.encodeResult = row.encodeResult;
    standIn.bufferResult = row.bufferResult;
    standIn.height = row.height;  // plain frames: 30 blank rows and one frame a row
    const ZintCalls calls = row.library ? kStandIn : ZintCalls{};
    EXPECT_EQ(RenderZintBarcode(calls, {158, kData, kFirst, 0, ZintForm::OutputFrames, {24, 16}, 0}), row.result);
    EXPECT_EQ(KeyBatch().Count(), 0);
    EXPECT_FALSE(KeyBatch().Overflowed());
  }
  SetUp();
  Slot(kData, "x");
  standIn.height = 970;  // exactly the batch's 1000 records
  EXPECT_EQ(Render(158, ZintForm::OutputFrames, 0), 0);
  EXPECT_EQ(KeyBatch().Count(), 1000);
}

}  // namespace
}  // namespace quadrel
