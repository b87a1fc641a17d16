// Command 21: the line as key records, queued for the key-batch sender.
#include <algorithm>
#include <cstdint>
#include <string>

#include "commands/barcodes/linear_symbol.h"
#include "commands/barcodes/print_line_commands.h"
#include "commands/barcodes/print_line_fields.h"
#include "commands/barcodes/zint_barcode.h"
#include "config/ecr_config_read.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/key_records.h"
#include "link/text_line_records.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

enum RecordField : int {
  kFieldBegin = 1,
  kFieldEnd = 2,
  kFieldText = 3,
  kFieldAttribute = 4,
  kFieldKind = 6,
  kFieldSymbolSlots = 9,  // the symbol library's parameters, the data file last
  kFieldDataFile = kFieldSymbolSlots + kZintDataFile,
};

constexpr std::uint8_t kBeginAttribute = 0x80;
constexpr std::uint8_t kRowAttribute = 0x04;
constexpr std::uint8_t kCaptionAttribute = 0x01;
constexpr int kAttributeEmptyLine = 0x40;
constexpr int kTextAttribute = 3;  // a text given with attribute 0
constexpr char kBarRows = 100;
constexpr char kEanGuardRows = 5;
constexpr char kSingleRow = 1;

void AddPrintLine(KeyRecords& keys, std::uint8_t attribute, const std::string& body) {
  AddTextLine(keys, kTextLinePrint, attribute, body);
}

void AddRow(KeyRecords& keys, int position, char count, const std::vector<std::uint8_t>& row) {
  std::string body{static_cast<char>(position), count};
  body.append(row.begin(), row.end());
  AddPrintLine(keys, kRowAttribute, body);
}

// The caption after `blanks` blanks, cut to the line.
void AddCaption(KeyRecords& keys, int blanks, const std::string& caption, const LineGeometry& line) {
  std::string body = std::string(static_cast<std::size_t>(blanks), ' ') + caption;
  body.resize(std::min(body.size(), static_cast<std::size_t>(std::max(0, line.printWidth))));
  AddPrintLine(keys, kCaptionAttribute, body);
}

int AddBarcode(KeyRecords& keys, const LineRequest& request, int position, const LineGeometry& line) {
  LinearSymbol symbol;
  if (const int drawn = DrawLinearSymbol(request, position, line, symbol)) return drawn;
  AddRow(keys, position, kBarRows, symbol.row);
  if (request.kind == LineKind::Ean13 || request.kind == LineKind::Ean8) {
    AddRow(keys, position, kEanGuardRows, symbol.guardRow);
    AddCaption(keys, position - 1 + symbol.captionShift, symbol.caption, line);
  } else {
    AddCaption(keys, position + symbol.captionPad, symbol.caption, line);
  }
  return 0;
}

int AddPlainLine(KeyRecords& keys, const LineRequest& request, int attribute, const LineGeometry& line) {
  if (!(attribute & kAttributeHexText)) {
    AddPrintLine(keys, static_cast<std::uint8_t>(attribute),
                 PcToEcrText(request.text).substr(0, static_cast<std::size_t>(std::max(0, line.printWidth))));
    return 0;
  }
  std::string bytes;
  if (!HexLineBytes(request.text, bytes)) return kResultIllegalValue;
  AddPrintLine(keys, static_cast<std::uint8_t>(attribute),
               std::string{static_cast<char>(request.margin), kSingleRow} + bytes);
  return 0;
}

int BuildRecords(KeyRecords& keys, const LineRequest& request, int position, const LineGeometry& line) {
  if (FieldGiven(kFieldBegin)) {
    AddPrintLine(keys, kBeginAttribute, {});
    return 0;
  }
  if (FieldGiven(kFieldEnd)) {
    AddPrintLine(keys, 0, {});
    return 0;
  }
  int attribute = 0;
  if (!ByteField(kFieldAttribute, 0, 255, attribute)) return kResultIllegalValue;
  if (!FieldGiven(kFieldText) && !FieldGiven(kFieldDataFile)) {
    if (attribute & kAttributeEmptyLine) AddPrintLine(keys, static_cast<std::uint8_t>(attribute | 1), {});
    return 0;
  }
  if (request.kind != LineKind::Plain) return AddBarcode(keys, request, position, line);
  return AddPlainLine(keys, request, attribute == 0 ? kTextAttribute : attribute, line);
}

}  // namespace

int CmdBarcodeRecords() {
  if (const int read = ReadEcrConfig(0); read != 0) return read;
  Executor().StopOnRecordError = 1;
  const LineGeometry line = CurrentLineGeometry();
  LineRequest request;
  // Rows start one byte in at the least.
  if (const int read = ReadPrintLine({kFieldKind, 0}, 1, line, request);
      read != 0 && !FieldGiven(kFieldBegin) && !FieldGiven(kFieldEnd))
    return read;
  if (request.kind == LineKind::Library && !FieldGiven(kFieldBegin) && !FieldGiven(kFieldEnd) &&
      (FieldGiven(kFieldText) || FieldGiven(kFieldDataFile)))
    return RenderZintBarcode(BoundZintCalls(), {request.libraryKind, kFieldText, kFieldSymbolSlots, request.margin,
                                                ZintForm::KeyRecords, line, CurrentRecord().GraphicMode});
  KeyRecords keys;
  if (const int built = BuildRecords(keys, request, std::max(request.margin, 1), line)) return built;
  return keys.Queue();
}

}  // namespace quadrel
