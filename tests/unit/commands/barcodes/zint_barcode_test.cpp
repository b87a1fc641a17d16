// The symbol-library adapter against a stand-in for zint: the symbol's set-up,
// where its rows start, the record forms, and failures that queue nothing.
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
constexpr ZintForm kFrames = ZintForm::OutputFrames, kRecords = ZintForm::KeyRecords;

// A bitmap of width x height whose pixel (x, y) is dark when (x + y) % 3 is 0.
struct StandIn {
  int width = 10, height = 2, encodeResult = 0, bufferResult = 0, rotation = -1;
  std::vector<std::string> encoded;
  zint_symbol seen{};
} zint;

const ZintCalls kStandIn = {
    [] { return new zint_symbol{}; },
    [](zint_symbol*, const unsigned char* data, int length) {
      zint.encoded.emplace_back(reinterpret_cast<const char*>(data), length);
      return zint.encodeResult;
    },
    [](zint_symbol* symbol, int rotation) {
      zint.rotation = rotation;
      symbol->bitmap_width = zint.width;
      symbol->bitmap_height = zint.height;
      symbol->bitmap = static_cast<unsigned char*>(std::calloc(static_cast<std::size_t>(zint.width * zint.height), 3));
      for (int i = 0; i < zint.width * zint.height; ++i)
        symbol->bitmap[i * 3] = (i % zint.width + i / zint.width) % 3 == 0 ? 0 : 255;
      zint.seen = *symbol;
      return zint.bufferResult;
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
    zint = StandIn{};
    Slot(kData, "x");
  }
  static void Slot(int slot, const std::string& text) { CommandFields().value[static_cast<std::size_t>(slot)] = text; }
  static int Render(int kind, ZintForm form = kFrames, int graphicMode = 1, int margin = 0) {
    return RenderZintBarcode(kStandIn, {kind, kData, kFirst, margin, form, {24, 16}, graphicMode});
  }
};

TEST_F(ZintBarcode, TheSymbolIsSetUpFromTheKindAndTheSlots) {
  const std::string file = ::testing::TempDir() + "zint_data.txt";
  std::ofstream(file, std::ios::binary) << "from the file";
  for (const auto& [slot, text] : {std::pair{kZintDataFile, file}, {kZintData3, "three"}, {kZintRotation, "1"},
                                   {kZintInputMode, "7"}, {kZintOutputOptions, "4"}})
    Slot(kFirst + slot, text);
  ASSERT_EQ(Render(158), 0);
  EXPECT_EQ(zint.encoded, (std::vector<std::string>{"from the file", "x", "three"}));
  EXPECT_EQ(zint.seen.symbology, BARCODE_QRCODE);
  EXPECT_EQ(zint.seen.option_1, 2);
  EXPECT_EQ(zint.seen.option_3, 100);
  EXPECT_EQ(zint.seen.text[0], 0);  // readable by default: zint writes it
  EXPECT_EQ(zint.seen.input_mode, DATA_MODE);
  EXPECT_EQ(zint.seen.output_options, BARCODE_BOX);
  EXPECT_EQ(zint.rotation, 90);
  std::remove(file.c_str());

  // An unlisted kind has no symbology; its data, cut to the field, is the text.
  SetUp();
  Slot(kData, std::string(300, 'D'));
  Slot(kFirst + kZintPrimary, std::string(200, 'P'));
  ASSERT_EQ(Render(105), 0);
  EXPECT_EQ(zint.seen.symbology, 0);
  EXPECT_EQ(reinterpret_cast<const char*>(zint.seen.text), std::string(127, 'D'));
  EXPECT_EQ(zint.seen.primary, std::string(127, 'P'));

  // EAN data lose the caller's check digit, in the caller's slot; an add-on keeps it.
  for (const auto& [given, kept] : {std::pair{"4006381333931", "400638133393"}, {"96385074", "9638507"},
                                    {"4006381333931+12", "4006381333931+12"}}) {
    SetUp();
    Slot(kData, given);
    ASSERT_EQ(Render(113), 0);
    EXPECT_EQ(CommandFields().value[kData], kept);
    EXPECT_EQ(zint.encoded.at(0), kept);
  }
}

TEST_F(ZintBarcode, RowsStartAtTheMarginUnlessTheLineEndsFirstOrAnAlignmentPlacesThem) {
  const struct {
    ZintForm form;
    int width, margin;
    const char* alignment;
    int offset;  // -1: too wide
  } rows[] = {
      // A line of 24 characters of 16 dots: 384 dots.
      {kFrames, 384, 0, "", 0},   {kFrames, 385, 0, "", -1},  {kRecords, 385, 0, "", -1}, {kFrames, 100, 5, "", 5},
      {kFrames, 300, 10, "", 5},  {kRecords, 300, 10, "", 2}, {kFrames, 100, 5, "0", 0},  {kFrames, 100, 0, "1", 17},
      {kFrames, 100, 0, "2", 35}, {kRecords, 100, 0, "1", 8}, {kRecords, 100, 0, "2", 17},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.width << " dots, margin " << row.margin << ", '" << row.alignment << "'");
    SetUp();
    KeyBatch().Append(bytes({'A', 0}));
    KeyBatch().EndKeyRecord();
    Slot(kFirst + kZintAlignment, row.alignment);
    zint.width = row.width;
    const int result = Render(120, row.form, 0, row.margin);
    EXPECT_EQ(result, row.offset < 0 ? kResultSymbolTooWide : 0);
    // After the batch's record: five plain blank frames, or the key records' one folded blank.
    if (row.offset < 0) {
      EXPECT_EQ(KeyBatch().Count(), 1);
    } else {
      EXPECT_EQ(row.form == kFrames ? Record(6)[4] : Record(2)[5], row.offset);
    }
  }
}

TEST_F(ZintBarcode, RowsAreQueuedInTheirRecordForm) {
  // Rows of 10 dots: 1001001001 and 0010010010.
  ASSERT_EQ(Render(158, kFrames, 1, 2), 0);
  const std::vector<Bytes> repeated = {bytes({'O', 13, 1, 6, 5, 0}), bytes({'O', 13, 1, 6, 1, 2, 0x92, 0x40}),
                                       bytes({'O', 13, 1, 6, 1, 2, 0x24, 0x80}), bytes({'O', 13, 1, 6, 25, 0})};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Record(i), repeated[static_cast<std::size_t>(i)]);

  SetUp();
  ASSERT_EQ(Render(158, kFrames, 0, 2), 0);
  EXPECT_EQ(KeyBatch().Count(), 32);
  EXPECT_EQ(Record(4), bytes({'O', 13, 0, 6, 0}));
  EXPECT_EQ(Record(6), bytes({'O', 13, 0, 6, 2, 0x24, 0x80}));

  SetUp();
  zint.height = 4;  // the fourth row repeats the first, not the row before it
  ASSERT_EQ(Render(158, kRecords, 1, 2), 0);
  ASSERT_EQ(KeyBatch().Count(), 6);
  EXPECT_EQ(Record(0), bytes({'A', 19, 5, 4, 4, 0, 5, 0, '8', 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Record(4), bytes({'A', 19, 7, 4, 4, 2, 1, 0x92, 0x40, 0, '8'}));
  EXPECT_EQ(Record(5)[6], 25);
}

TEST_F(ZintBarcode, FailuresQueueNothing) {
  const struct {
    int encodeResult, bufferResult, height;
    ZintCalls calls;
    int result;
  } rows[] = {
      {5, 0, 2, kStandIn, kResultSymbolNotRendered},
      {0, 2, 2, kStandIn, kResultSymbolNotRendered},
      {0, 0, 2, {}, kResultSymbolNotRendered},
      {0, 0, 971, kStandIn, kResultInternalError},  // 30 blank frames and 971 rows: one past the batch
      {0, 0, 970, kStandIn, 0},
  };
  for (const auto& row : rows) {
    SetUp();
    zint.encodeResult = row.encodeResult;
    zint.bufferResult = row.bufferResult;
    zint.height = row.height;
    EXPECT_EQ(RenderZintBarcode(row.calls, {158, kData, kFirst, 0, kFrames, {24, 16}, 0}), row.result);
    EXPECT_EQ(KeyBatch().Count(), row.result == 0 ? 1000 : 0);
  }
}

}  // namespace
}  // namespace quadrel
