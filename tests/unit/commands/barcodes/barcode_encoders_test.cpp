// The linear barcode encoders against known symbols (module patterns as the
// symbology standards and zint draw them), and what they refuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commands/barcodes/code128.h"
#include "commands/barcodes/code39.h"
#include "commands/barcodes/ean.h"

namespace quadrel {
namespace {

using Row = std::vector<std::uint8_t>;
using Encoder = std::function<int(Row&)>;

// One character a module ('1' a bar), read every `moduleDots` dots; false
// when a module's dots disagree or a dot is set past `modules`.
bool ReadModules(const Row& row, int modules, int moduleDots, std::string& out) {
  out.clear();
  for (std::size_t dot = 0; dot < row.size() * 8; ++dot) {
    const bool set = (row[dot / 8] >> (7 - dot % 8)) & 1;
    const std::size_t module = dot / static_cast<std::size_t>(moduleDots);
    if (module >= static_cast<std::size_t>(modules)) {
      if (set) return false;
    } else if (dot % moduleDots == 0) {
      out.push_back(set ? '1' : '0');
    } else if (set != (out.back() == '1')) {
      return false;
    }
  }
  return true;
}

struct SymbolRow {
  const char* name;
  Encoder encode;
  int moduleDots;
  int bytes;
  std::string modules;
};

std::string Bytes(std::initializer_list<int> values) {
  return std::string(values.begin(), values.end());
}

TEST(BarcodeEncoders, DrawKnownSymbols) {
  const std::vector<SymbolRow> rows = {
      {"EAN-13", [](Row& r) { return EncodeEan13(r, "4006381333931"); }, 2, 24,
       "10100011010100111010111101111010001001011001101010100001010000101000010111010010000101100110101"},
      {"EAN-8", [](Row& r) { return EncodeEan8(r, "96385074"); }, 2, 17,
       "1010001011010111101111010110111010101001110111001010001001011100101"},
      {"EAN-13 blanks", [](Row& r) { return EncodeEan13(r, std::string(13, ' ')); }, 2, 24,
       "101" + std::string(42, '0') + "01010" + std::string(42, '0') + "101"},
      {"Code 39", [](Row& r) { return EncodeCode39(r, "AB", 2, false); }, 2, 13,
       "100101101101011010100101101011010010110100101101101"},
      {"Code 39 check", [](Row& r) { return EncodeCode39(r, "CODE 39", 1, true); }, 1, 17,
       "10010110110101101101001010110101101001010101100101101101011001010100110101101011011001010101011001011"
       "0101101"
       "010110010100101101101"},
      {"Code 128 B",
       [](Row& r) {
         std::string c;
         return EncodeCode128(r, "Ab", 3, Code128Set::B, c);
       },
       3, 22, "110100100001010001100010010000110101001100001100011101011"},
      {"Code 128 C bytes",
       [](Row& r) {
         std::string c;
         return EncodeCode128(r, Bytes({12, 34}), 1, Code128Set::C, c);
       },
       1, 8, "110100111001011001110010001011000100100111101100011101011"},
      {"Code 128 escapes",
       [](Row& r) {
         std::string c;
         return EncodeCode128(r, "{B{1AB", 1, Code128Set::A, c);
       },
       1, 9, "11010010000111101011101010001100010001011000100101100001100011101011"},
  };
  for (const SymbolRow& row : rows) {
    SCOPED_TRACE(row.name);
    Row dots(64);
    EXPECT_EQ(row.encode(dots), row.bytes);
    std::string modules;
    EXPECT_TRUE(ReadModules(dots, static_cast<int>(row.modules.size()), row.moduleDots, modules));
    EXPECT_EQ(modules, row.modules);
  }
}

TEST(BarcodeEncoders, EanStartsWithTheGuardAndTheFirstSpace) {
  Row dots(kEan13RowBytes);
  EXPECT_EQ(EncodeEan13(dots, "9780201379624"), kEan13RowBytes);
  EXPECT_EQ(dots[0], 0xCC);
}

struct CaptionRow {
  std::string text;
  Code128Set start;
  std::string caption;
};

TEST(BarcodeEncoders, Code128CaptionShowsTheData) {
  const std::vector<CaptionRow> rows = {
      {"{B{1AB", Code128Set::A, "  AB"},
      {"a{{b", Code128Set::B, " a{b"},
      {Bytes({'A', 1}), Code128Set::A, " A "},
      {Bytes({5, 99}) + "{Bz", Code128Set::C, " 0599 z"},
      {"A{Sa", Code128Set::A, " A a"},
      {std::string(80, 'X'), Code128Set::B, " " + std::string(kCode128CaptionMax - 1, 'X')},
  };
  for (const CaptionRow& row : rows) {
    SCOPED_TRACE(row.text);
    Row dots(256);
    std::string caption = "old";
    EXPECT_GT(EncodeCode128(dots, row.text, 1, row.start, caption), 0);
    EXPECT_EQ(caption, row.caption);
  }
}

struct RefusalRow {
  const char* name;
  Encoder encode;
  int refused;
};

TEST(BarcodeEncoders, RefuseWhatTheSymbologyCannotHoldAndNeverDrawPastTheRow) {
  const auto code128 = [](std::string text, Code128Set set, std::size_t bytes = 64) {
    return [=](Row& r) {
      std::string caption;
      r.resize(bytes);
      return EncodeCode128(r, text, 2, set, caption);
    };
  };
  const std::vector<RefusalRow> rows = {
      {"EAN-13 letter", [](Row& r) { return EncodeEan13(r, "400638133393X"); }, 0},
      {"EAN-13 length", [](Row& r) { return EncodeEan13(r, "400638133393"); }, 0},
      {"EAN-8 point", [](Row& r) { return EncodeEan8(r, "9638.074"); }, 0},
      {"EAN-13 short row",
       [](Row& r) {
         r.resize(23);
         return EncodeEan13(r, "4006381333931");
       },
       0},
      {"Code 39 lower case", [](Row& r) { return EncodeCode39(r, "Ab", 2, false); }, kCode39Refused},
      {"Code 39 short row",
       [](Row& r) {
         r.resize(12);
         return EncodeCode39(r, "AB", 2, false);
       },
       kCode39Refused},
      {"Code 128 unknown set", code128("{XAB", Code128Set::B), 0},
      {"Code 128 unknown escape", code128("A{9", Code128Set::B), 0},
      {"Code 128 lone escape", code128("AB{", Code128Set::B), 0},
      {"Code 128 set escape alone", code128("{C", Code128Set::B), 0},
      {"Code 128 empty", code128("", Code128Set::B), 0},
      {"Code 128 lower case in A", code128("a", Code128Set::A), 0},
      {"Code 128 control in B", code128(Bytes({9}), Code128Set::B), 0},
      {"Code 128 above 99 in C", code128(Bytes({100}), Code128Set::C), 0},
      {"Code 128 shift in C", code128("{S" + Bytes({1}), Code128Set::C), 0},
      {"Code 128 shift at the end", code128("A{S", Code128Set::B), 0},
      {"Code 128 wider than the row", code128("ABCDEFGH", Code128Set::B, 26), 0},
  };
  for (const RefusalRow& row : rows) {
    SCOPED_TRACE(row.name);
    Row dots(64);
    EXPECT_EQ(row.encode(dots), row.refused);
  }
}

}  // namespace
}  // namespace quadrel
