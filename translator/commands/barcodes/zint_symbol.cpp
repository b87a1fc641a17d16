#include "commands/barcodes/zint_symbol.h"

#include <zint.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <string>

#include "files/binary_file.h"
#include "language/command_field_values.h"
#include "language/command_fields.h"
#include "language/result_codes.h"

namespace quadrel {
namespace {

constexpr int kKindBase = 100;
constexpr float kDefaultHeight = 40.0f;
constexpr float kDefaultScale = 1.0f;
constexpr int kKindTruncatedCheck = 113;  // its check digit is left to zint
constexpr int kKindQrCode = 158;
constexpr int kKindReadableByDefault = 120;
constexpr int kQrOption1 = 2;
constexpr int kQrOption3 = 100;
constexpr int kMaxInputMode = 2;
constexpr std::size_t kMaxDataFileBytes = 1 << 20;  // far beyond any symbol's capacity

struct KindRange {
  int first, last;
};

// The kinds whose symbology is the kind less 100; any other kind gives 0.
constexpr KindRange kLibraryKinds[] = {
    {101, 104}, {106, 109}, {113, 113}, {116, 116}, {118, 118}, {120, 125}, {128, 132}, {134, 134},
    {137, 137}, {140, 140}, {147, 147}, {149, 153}, {155, 158}, {160, 160}, {163, 163}, {166, 172},
    {174, 177}, {179, 182}, {184, 187}, {189, 190}, {192, 193}, {197, 199}, {202, 202}, {204, 204},
    {206, 206}, {208, 208}, {210, 210}, {212, 212}, {228, 242},
};

bool ListedKind(int kind) {
  return std::any_of(std::begin(kLibraryKinds), std::end(kLibraryKinds),
                     [kind](const KindRange& range) { return kind >= range.first && kind <= range.last; });
}

class SymbolSlots {
 public:
  explicit SymbolSlots(const ZintRequest& request) : first_(request.firstSlot) {}
  const std::string& Text(ZintSlot slot) const { return FieldText(first_ + slot); }
  bool Given(ZintSlot slot) const { return FieldGiven(first_ + slot); }
  // A given slot into `value`; false when it is not a whole number.
  bool Integer(ZintSlot slot, int& value) const { return !Given(slot) || FieldInteger(first_ + slot, value); }

 private:
  int first_;
};

bool ReadScale(const std::string& text, float& scale) {
  const std::size_t first = text.find_first_not_of(' ');
  const std::size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos) return false;
  const char* end = text.data() + last + 1;
  const auto [stop, error] = std::from_chars(text.data() + first, end, scale);
  return error == std::errc() && stop == end;
}

// At most size - 1 bytes, always terminated.
template <std::size_t N, typename Char>
void CopyText(Char (&field)[N], const std::string& text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), length);
  field[length] = 0;
}

// EAN-13 and EAN-8 data lose the check digit the caller wrote (zint adds
// its own); with an add-on ('+') the data stays as it is.
void DropCheckDigit(std::string& data) {
  if (data.find('+') == std::string::npos && (data.size() == 8 || data.size() == 13)) data.pop_back();
}

int SetUp(zint_symbol& symbol, const ZintRequest& request, const std::string& data) {
  const SymbolSlots slots(request);
  const bool listed = ListedKind(request.kind);
  symbol.symbology = listed ? request.kind - kKindBase : 0;
  symbol.height = kDefaultHeight;
  symbol.scale = kDefaultScale;
  if (request.kind == kKindQrCode) {
    symbol.option_1 = kQrOption1;
    symbol.option_3 = kQrOption3;
  }
  const bool readableByDefault = request.kind == kKindReadableByDefault || request.kind == kKindQrCode;
  int readable = readableByDefault ? 1 : 0;
  int height = 0, inputMode = 0, outputOptions = 0;
  if (!slots.Integer(kZintHumanReadable, readable) || !slots.Integer(kZintOption1, symbol.option_1) ||
      !slots.Integer(kZintOption2, symbol.option_2) || !slots.Integer(kZintOption3, symbol.option_3) ||
      !slots.Integer(kZintBorderWidth, symbol.border_width) || !slots.Integer(kZintInputMode, inputMode) ||
      !slots.Integer(kZintOutputOptions, outputOptions) || !slots.Integer(kZintHeight, height))
    return kResultIllegalValue;
  if (slots.Given(kZintScale) && !ReadScale(slots.Text(kZintScale), symbol.scale)) return kResultIllegalValue;
  if (slots.Given(kZintHeight)) symbol.height = static_cast<float>(height);
  if ((listed && request.kind != kKindTruncatedCheck && !readableByDefault) || readable == 0)
    CopyText(symbol.text, data);
  if (slots.Given(kZintPrimary)) CopyText(symbol.primary, slots.Text(kZintPrimary));
  symbol.input_mode = inputMode >= 0 && inputMode <= kMaxInputMode ? inputMode : DATA_MODE;
  symbol.output_options = outputOptions == BARCODE_BIND || outputOptions == BARCODE_BOX ? outputOptions : 0;
  return 0;
}

// The results of every encoding added up: the data file, the data, data 2-5.
int EncodeAll(const ZintCalls& zint, zint_symbol& symbol, const ZintRequest& request, const std::string& data) {
  const SymbolSlots slots(request);
  int sum = 0;
  const auto encode = [&](const std::string& bytes) {
    sum += zint.encode(&symbol, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  };
  std::string file;
  if (slots.Given(kZintDataFile) && ReadFileBytes(slots.Text(kZintDataFile), kMaxDataFileBytes, file)) encode(file);
  if (!data.empty()) encode(data);
  for (const ZintSlot slot : {kZintData2, kZintData3, kZintData4, kZintData5})
    if (slots.Given(slot)) encode(slots.Text(slot));
  return sum;
}

void ReadBitmap(const zint_symbol& symbol, ZintBitmap& bitmap) {
  constexpr int kBytesPerPixel = 3;
  bitmap.width = symbol.bitmap_width;
  const std::size_t rowBytes = static_cast<std::size_t>(symbol.bitmap_width + 7) / 8;
  bitmap.rows.assign(static_cast<std::size_t>(symbol.bitmap_height), std::vector<std::uint8_t>(rowBytes));
  const unsigned char* pixel = symbol.bitmap;
  for (auto& row : bitmap.rows)
    for (int x = 0; x < symbol.bitmap_width; ++x, pixel += kBytesPerPixel)
      if (*pixel == 0) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

}  // namespace

int DrawZintSymbol(const ZintCalls& zint, const ZintRequest& request, ZintBitmap& bitmap) {
  if (!zint.create || !zint.encode || !zint.buffer || !zint.destroy) return kResultSymbolNotRendered;
  std::string& data = CommandFields().value[static_cast<std::size_t>(request.dataSlot)];
  if (request.kind == kKindTruncatedCheck) DropCheckDigit(data);

  int rotation = 0;
  if (!SymbolSlots(request).Integer(kZintRotation, rotation)) return kResultIllegalValue;
  const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(zint.create(), zint.destroy);
  if (!symbol) return kResultSymbolNotRendered;
  if (const int set = SetUp(*symbol, request, data)) return set;
  if (EncodeAll(zint, *symbol, request, data) != 0 || zint.buffer(symbol.get(), rotation >= 0 && rotation <= 3 ? rotation * 90 : -1) != 0 ||
      !symbol->bitmap || symbol->bitmap_width <= 0 || symbol->bitmap_height < 0)
    return kResultSymbolNotRendered;
  ReadBitmap(*symbol, bitmap);
  return 0;
}

}  // namespace quadrel
