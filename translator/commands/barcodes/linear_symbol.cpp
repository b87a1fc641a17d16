#include "commands/barcodes/linear_symbol.h"

#include <algorithm>

#include "commands/barcodes/code39.h"
#include "commands/barcodes/ean.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "state/ecr_config.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kFirstLibraryKind = 101;
constexpr int kLastLinearKind = 6;

int DotsPerCharacter(int printWidth) {
  switch (printWidth) {
    case 24:
    case 36:
      return 16;
    case 30:
    case 40:
      return 14;
    default:
      return 12;
  }
}

// Code 39's width as the checks reckon it: a full character per symbol
// character, start and stop included.
int Code39Dots(const LineRequest& request) {
  const int characters = static_cast<int>(request.text.size()) + 2 + (request.check ? 1 : 0);
  return characters * kCode39CharacterModules * request.moduleDots;
}

bool LengthWithinLine(const LineRequest& request, const LineGeometry& line) {
  return !request.text.empty() &&
         request.text.size() <= static_cast<std::size_t>(std::max(0, line.printWidth));
}

int CentringPad(int columns, std::size_t captionLength) {
  const int length = static_cast<int>(captionLength);
  return length < columns ? (columns - length) / 2 : 0;
}

// The data characters with blanks between the EAN halves (and after the first
// digit of EAN-13, which stands outside the bars).
std::string EanCaption(const std::string& digits) {
  if (digits.size() == kEan8Digits) return digits.substr(0, 4) + ' ' + digits.substr(4);
  return digits.substr(0, 1) + ' ' + digits.substr(1, 6) + ' ' + digits.substr(7);
}

std::vector<std::uint8_t> RowBuffer(int rowOffset, const LineGeometry& line) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(std::max(0, line.Bytes() - rowOffset)));
}

int DrawEan(const LineRequest& request, int rowOffset, const LineGeometry& line, LinearSymbol& symbol) {
  const bool ean13 = request.kind == LineKind::Ean13;
  auto encode = ean13 ? EncodeEan13 : EncodeEan8;
  const std::string blanks(ean13 ? kEan13Digits : kEan8Digits, ' ');
  symbol.row = RowBuffer(rowOffset, line);
  symbol.guardRow = symbol.row;
  const int bytes = encode(symbol.row, request.text);
  if (bytes == 0 || encode(symbol.guardRow, blanks) == 0) return kResultIllegalValue;
  symbol.row.resize(static_cast<std::size_t>(bytes));
  symbol.guardRow.resize(static_cast<std::size_t>(bytes));
  symbol.caption = PcToEcrText(EanCaption(request.text));
  symbol.captionShift = ean13 ? 0 : 1;
  return 0;
}

}  // namespace

LineGeometry CurrentLineGeometry() {
  const int width = CurrentRecord().PrintWidth;
  return {width, DotsPerCharacter(width)};
}

int ApplyBarcodeKind(int kind, int rowOffset, const LineGeometry& line, LineRequest& request) {
  if (kind >= kFirstLibraryKind) {
    request.kind = LineKind::Library;
    request.libraryKind = kind;
    return 0;
  }
  if (kind < 0 || kind > kLastLinearKind) return kResultIllegalValue;
  if (kind <= 1) {
    if (request.text.empty() || !IsDecimalText(request.text)) return kResultIllegalValue;
    request.kind = request.text.size() == kEan13Digits  ? LineKind::Ean13
                   : request.text.size() == kEan8Digits ? LineKind::Ean8
                                                        : LineKind::Plain;
    return 0;
  }
  if (!LengthWithinLine(request, line)) return kResultIllegalValue;
  if (kind <= 3) {
    request.kind = LineKind::Code39;
    request.check = kind == 3;
    // The margin counts bytes of eight dots.
    return rowOffset * 8 + Code39Dots(request) > line.Dots() ? kResultIllegalValue : 0;
  }
  request.kind = LineKind::Code128;
  request.start = static_cast<Code128Set>(kind - 4);
  return 0;
}

int DrawLinearSymbol(const LineRequest& request, int rowOffset, const LineGeometry& line,
                     LinearSymbol& symbol) {
  symbol = LinearSymbol{};
  if (request.kind == LineKind::Ean13 || request.kind == LineKind::Ean8)
    return DrawEan(request, rowOffset, line, symbol);

  symbol.row = RowBuffer(rowOffset, line);
  int bytes = 0;
  int columns = 0;
  if (request.kind == LineKind::Code39) {
    bytes = EncodeCode39(symbol.row, request.text, request.moduleDots, request.check);
    symbol.caption = PcToEcrText(request.text);
    columns = Code39Dots(request) / line.dotsPerCharacter;
  } else {
    std::string caption;
    bytes = EncodeCode128(symbol.row, request.text, request.moduleDots, request.start, caption);
    symbol.caption = PcToEcrText(caption);
    columns = bytes * 8 / line.dotsPerCharacter;
  }
  if (bytes <= 0) return kResultIllegalValue;
  symbol.row.resize(static_cast<std::size_t>(bytes));
  symbol.captionPad = CentringPad(columns, symbol.caption.size());
  return 0;
}

}  // namespace quadrel
