// Command 22: the line as output frames, sent at once.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/barcodes/linear_symbol.h"
#include "commands/barcodes/print_line_commands.h"
#include "commands/barcodes/print_line_fields.h"
#include "commands/barcodes/zint_barcode.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "state/ecr_config.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

enum PrintField : int {
  kFieldBegin = 1,
  kFieldEnd = 2,
  kFieldText = 3,
  kFieldAttribute = 4,
  kFieldBeginBit1 = 6,
  kFieldEndBit1 = 7,
  kFieldKind = 8,
  kFieldBeginBit2 = 9,
  kFieldModule = 10,
  kFieldSymbolSlots = 11,  // the symbol library's parameters, the data file last
  kFieldDataFile = kFieldSymbolSlots + kZintDataFile,
};

constexpr char kOutputFrame = 'O';
constexpr std::uint8_t kBeginPrintout = 11, kEndPrintout = 12, kPrintLine = 13;
constexpr std::uint8_t kAttributeHighBit = 0x80;
constexpr std::uint8_t kRowAttribute = 6;
constexpr int kBarRows = 100;
constexpr int kEanGuardRows = 4;
constexpr int kMaxOffset = 255;
constexpr int kHighBitFlags = FRAME_PLAIN | FRAME_MODE_0;

std::string Header(std::uint8_t code) {
  return {kOutputFrame, static_cast<char>(code)};
}

int Send(const std::string& frame, int flags = FRAME_PLAIN) {
  if (frame.size() > kMaxFrameLength) return kResultIllegalValue;
  int error = 0;
  return SendEcrFrame(flags, reinterpret_cast<const std::uint8_t*>(frame.data()),
                      static_cast<int>(frame.size()), error)
             ? 0
             : error;
}

int SendBeginOrEnd() {
  if (FieldGiven(kFieldBegin)) {
    const int f = (FieldIsFlag(kFieldBeginBit1) ? 1 : 0) + (FieldIsFlag(kFieldBeginBit2) ? 2 : 0);
    return Send(Header(kBeginPrintout) + static_cast<char>(f));
  }
  return Send(Header(kEndPrintout) + static_cast<char>(FieldIsFlag(kFieldEndBit1) ? 1 : 0));
}

// A line of text at `position` characters from the left.
std::string TextFrame(std::uint8_t attribute, int position, const std::string& ecrText) {
  const std::uint8_t code = attribute & kAttributeHighBit ? kPrintLine | kAttributeHighBit : kPrintLine;
  return Header(code) + '\0' + static_cast<char>(attribute) + static_cast<char>(position) + ecrText;
}

// `row` printed `count` times at `offset` bytes from the left: one frame with
// the count where the register takes one, else the same frame `count` times.
int SendRow(const std::vector<std::uint8_t>& row, int offset, int count) {
  if (offset > kMaxOffset) return kResultIllegalValue;
  const bool repeatForm = CurrentRecord().GraphicMode == 1;
  std::string frame =
      Header(kPrintLine) + static_cast<char>(repeatForm ? 1 : 0) + static_cast<char>(kRowAttribute);
  if (repeatForm) frame.push_back(static_cast<char>(count));
  frame.push_back(static_cast<char>(offset));
  frame.append(row.begin(), row.end());
  for (int sent = 0; sent < (repeatForm ? 1 : count); ++sent)
    if (const int result = Send(frame)) return result;
  return 0;
}

int SendBarcode(const LineRequest& request, const LineGeometry& line) {
  const bool ean = request.kind == LineKind::Ean13 || request.kind == LineKind::Ean8;
  // EAN rows start two bytes in, leaving room for the first digit of the caption.
  const int offset = ean ? request.margin + 2 : request.margin;
  LinearSymbol symbol;
  if (const int drawn = DrawLinearSymbol(request, offset, line, symbol)) return drawn;
  if (const int sent = SendRow(symbol.row, offset, kBarRows)) return sent;
  if (ean) {
    if (const int sent = SendRow(symbol.guardRow, offset, kEanGuardRows)) return sent;
    return Send(TextFrame(0, request.margin + symbol.captionShift, symbol.caption));
  }
  const int position = request.margin * 8 / line.dotsPerCharacter + symbol.captionPad;
  return Send(TextFrame(0, position, symbol.caption.substr(0, static_cast<std::size_t>(line.printWidth))));
}

int SendPlainLine(const LineRequest& request, const LineGeometry& line) {
  int attribute = 0;
  if (!ByteField(kFieldAttribute, 0, 255, attribute)) return kResultIllegalValue;
  std::string text;
  if (attribute & kAttributeHexText) {
    if (!HexLineBytes(request.text, text)) return kResultIllegalValue;
  } else {
    text = PcToEcrText(request.text).substr(0, static_cast<std::size_t>(std::max(0, line.printWidth)));
  }
  const std::uint8_t byte = static_cast<std::uint8_t>(attribute);
  return Send(TextFrame(byte, request.margin, text), byte & kAttributeHighBit ? kHighBitFlags : FRAME_PLAIN);
}

}  // namespace

int CmdPrintLineOrBarcode() {
  const LineGeometry line = CurrentLineGeometry();
  LineRequest request;
  if (const int read = ReadPrintLine({kFieldKind, kFieldModule}, 0, line, request)) return read;
  if (FieldGiven(kFieldBegin) || FieldGiven(kFieldEnd)) return SendBeginOrEnd();
  switch (request.kind) {
    case LineKind::Plain:
      return SendPlainLine(request, line);
    case LineKind::Library:
      if (!FieldGiven(kFieldText) && !FieldGiven(kFieldDataFile)) return SendPlainLine(request, line);
      return RenderZintBarcode(BoundZintCalls(), {request.libraryKind, kFieldText, kFieldSymbolSlots, request.margin,
                                                  ZintForm::OutputFrames, line, CurrentRecord().GraphicMode});
    default:
      return SendBarcode(request, line);
  }
}

}  // namespace quadrel
