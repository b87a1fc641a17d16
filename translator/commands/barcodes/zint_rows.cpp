// The rendered symbol's rows as graphic print rows in the KeyBatch: where the
// rows start on the line, and the three record forms.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "commands/barcodes/zint_barcode.h"
#include "commands/barcodes/zint_symbol.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/key_batch.h"

namespace quadrel {
namespace {

constexpr int kOutputFrame = 'O', kPrintLine = 13, kRowAttribute = 6;
constexpr int kKeyFrame = 'A', kKeyText = 19, kPrintField = 4, kGraphicField = 4, kPrintKey = '8';
constexpr int kFrameRepeatByte = 4;   // 'O' 13 1 6 count
constexpr int kRecordRepeatByte = 6;  // 'A' 19 L 4 4 offset count
constexpr int kRecordFieldExtra = 5;  // 4, 4, the offset, the count, the closing 0
constexpr int kMaxByte = 255;
constexpr int kBlankRecordPadding = 6;

enum Alignment { kAlignNone = -1, kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// Where the rows start: bytes of 8 dots in output frames, characters in key
// records. The margin moves them right, unless the symbol would then pass the
// line's end; an alignment places them itself. False when the symbol is wider
// than the line or the offset does not fit its byte.
bool RowOffset(const ZintRequest& request, int alignment, int width, int& offset) {
  const int lineDots = request.line.Dots();
  const int h = request.line.dotsPerCharacter;
  const bool records = request.form == ZintForm::KeyRecords;
  if (lineDots < width) return false;
  const int spare = lineDots - width;
  offset = request.margin;
  if (lineDots < request.margin * h + width) offset = (records ? spare / 2 : spare) / h;
  const int unit = records ? h : 8;
  if (alignment == kAlignLeft) offset = 0;
  if (alignment == kAlignCentre) offset = spare / unit / 2;
  if (alignment == kAlignRight) offset = spare / unit;
  return offset <= kMaxByte;
}

class RowWriter {
 public:
  RowWriter(const ZintRequest& request, KeyRecordQueue& queue)
      : form_(request.form), repeat_(request.graphicMode == 1), queue_(queue) {}

  // A row of dots at `offset`; an empty row is a blank one.
  void Row(int offset, std::span<const std::uint8_t> dots) {
    const auto byte = [this](int value) { queue_.Append(static_cast<std::uint8_t>(value)); };
    if (form_ == ZintForm::KeyRecords) {
      for (const int value : {kKeyFrame, kKeyText, static_cast<int>(dots.size()) + kRecordFieldExtra, kPrintField,
                              kGraphicField, offset, 1})
        byte(value);
      queue_.Append(dots);
      byte(0);
      byte(kPrintKey);
      if (dots.empty())
        for (int i = 0; i < kBlankRecordPadding; ++i) byte(0);
      queue_.EndKeyRecordRepeat(kRecordRepeatByte);
      return;
    }
    for (const int value : {kOutputFrame, kPrintLine, repeat_ ? 1 : 0, kRowAttribute}) byte(value);
    if (repeat_) byte(1);
    byte(offset);
    queue_.Append(dots);
    if (repeat_)
      queue_.EndKeyRecordRepeat(kFrameRepeatByte);
    else
      queue_.EndKeyRecord();
  }

  void BlankRows(int count) {
    for (int i = 0; i < count; ++i) Row(0, {});
  }

 private:
  ZintForm form_;
  bool repeat_;
  KeyRecordQueue& queue_;
};

// Copies the closed records of `rows` to the end of the KeyBatch.
void MoveToKeyBatch(const KeyRecordQueue& rows) {
  for (int i = 0; i < rows.Count(); ++i) {
    const KeyRecord& record = rows.Record(i);
    KeyBatch().Append(std::span(record.data.data(), static_cast<std::size_t>(record.length)));
    KeyBatch().EndKeyRecord();
  }
}

}  // namespace

int RenderZintBarcode(const ZintCalls& zint, const ZintRequest& request) {
  int alignment = kAlignNone;
  const int alignmentSlot = request.firstSlot + kZintAlignment;
  if (FieldGiven(alignmentSlot) &&
      (!FieldInteger(alignmentSlot, alignment) || alignment < kAlignLeft || alignment > kAlignRight))
    return kResultIllegalValue;
  ZintBitmap bitmap;
  if (const int drawn = DrawZintSymbol(zint, request, bitmap)) return drawn;
  int offset = 0;
  const int rowBytes = (bitmap.width + 7) / 8;
  if (!RowOffset(request, alignment, bitmap.width, offset) ||
      (request.form == ZintForm::KeyRecords && rowBytes + kRecordFieldExtra > kMaxByte))
    return kResultSymbolTooWide;

  // Built aside first, so that a symbol the KeyBatch cannot hold leaves it untouched.
  const auto rows = std::make_unique<KeyRecordQueue>();
  RowWriter writer(request, *rows);
  writer.BlankRows(kZintBlankRowsBefore);
  for (const auto& row : bitmap.rows) writer.Row(offset, row);
  writer.BlankRows(kZintBlankRowsAfter);
  if (rows->Overflowed() || rows->Count() > kMaxKeyRecords - KeyBatch().Count()) return kResultInternalError;
  MoveToKeyBatch(*rows);
  return 0;
}

}  // namespace quadrel
