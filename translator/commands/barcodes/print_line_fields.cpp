#include "commands/barcodes/print_line_fields.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kMarginField = 5;
constexpr int kTextField = 3;
constexpr int kMaxByte = 255;
constexpr int kMaxModuleDots = 3;
constexpr std::size_t kMaxHexDigits = 108;

}  // namespace

bool ByteField(int slot, int fallback, int high, int& value) {
  if (!FieldGiven(slot)) {
    value = fallback;
    return true;
  }
  return FieldInteger(slot, value) && value >= 0 && value <= high;
}

int ReadPrintLine(const PrintLineSlots& slots, int firstRowByte, const LineGeometry& line,
                  LineRequest& request) {
  request = LineRequest{};
  request.text = FieldText(kTextField);
  if (!ByteField(kMarginField, 0, kMaxByte, request.margin)) return kResultIllegalValue;
  if (!FieldGiven(slots.kind)) return 0;

  int kind = 0;
  if (!FieldIsFlag(slots.kind) && !FieldInteger(slots.kind, kind)) return kResultIllegalValue;
  if (slots.moduleWidth != 0 &&
      (!ByteField(slots.moduleWidth, kDefaultModuleDots, kMaxModuleDots, request.moduleDots) ||
       request.moduleDots < 1))
    return kResultIllegalValue;
  return ApplyBarcodeKind(kind, std::max(request.margin, firstRowByte), line, request);
}

bool HexLineBytes(const std::string& hex, std::string& bytes) {
  std::vector<std::uint8_t> values;
  const std::string_view digits = std::string_view(hex).substr(0, kMaxHexDigits);
  const bool allDigits = std::all_of(digits.begin(), digits.end(),
                                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
  if (!allDigits) return false;
  HexToBytes(digits, values);  // an odd last digit still makes a byte
  bytes.assign(values.begin(), values.end());
  return true;
}

}  // namespace quadrel
