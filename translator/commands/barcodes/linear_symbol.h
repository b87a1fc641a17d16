// The line a print-line command prints: plain text, or a linear barcode drawn
// as one row of dots (printed many times over for the bars' height) with a
// caption under it. Shared by the frame command (22) and the key-record
// command (21), which differ only in how they send it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commands/barcodes/code128.h"

namespace quadrel {

enum class LineKind { Plain, Ean13, Ean8, Code39, Code128, Library };

// The printable line of the current register.
struct LineGeometry {
  int printWidth = 0;        // characters
  int dotsPerCharacter = 0;  // by the print width
  int Dots() const { return printWidth * dotsPerCharacter; }
  int Bytes() const { return Dots() / 8; }
};

LineGeometry CurrentLineGeometry();

struct LineRequest {
  LineKind kind = LineKind::Plain;
  int libraryKind = 0;  // the symbol library's kind (above 100)
  bool check = false;   // Code 39 with its check character
  Code128Set start = Code128Set::A;
  int moduleDots = 2;
  int margin = 0;  // characters for a plain line, bytes for barcode rows
  std::string text;
};

// The kind of a barcode field value (0-6 or above 100) applied to `request`,
// whose text and module width are set; then the checks that need no drawing:
// EAN data must be decimal (13 or 8 characters make a symbol, any other length
// a plain line), Code 39 and 128 data from 1 to the print width characters,
// and a Code 39 symbol starting at byte `rowOffset` must fit the line.
// 0 or 265.
int ApplyBarcodeKind(int kind, int rowOffset, const LineGeometry& line, LineRequest& request);

struct LinearSymbol {
  std::vector<std::uint8_t> row;
  std::vector<std::uint8_t> guardRow;  // EAN: the guard bars alone
  std::string caption;                 // in the register's character set
  int captionShift = 0;                // EAN-8's caption starts a character further right
  int captionPad = 0;                  // blanks that centre a Code 39 or 128 caption under its bars
};

// Draws the barcode of `request` with its row starting at byte `rowOffset`;
// 265 when a character is outside the symbology or the row does not fit the
// line from there.
int DrawLinearSymbol(const LineRequest& request, int rowOffset, const LineGeometry& line,
                     LinearSymbol& symbol);

}  // namespace quadrel
