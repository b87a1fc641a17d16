#include "records/ofile_record.h"

#include <algorithm>
#include <string>

#include "language/command_fields.h"
#include "language/result_codes.h"
#include "records/record_frame.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kFirstSmallValueSlot = 3;
constexpr int kLastSmallValueSlot = 10;
constexpr int kByteValueSlot = 11;
constexpr int kTextBytes = 16;
constexpr int kPercentBytes = 2;
constexpr int kOFileBodyStart = 4;  // in the read answer
constexpr int kAnyTextKind = 1;     // a kind with the text layout

const std::string& Slot(int slot) {
  return CommandFields().value[slot];
}

// How the kind-dependent fields are written.
struct OFileForms {
  ArticleGeometry geometry;
  bool codeInText = false;     // slot 12 is an article code (kind 7)
  bool percentByKind = false;  // a write-back: the kind decides the percentage's form
  int kind = 0;
};

// The percentage as a write-back of `kind` carries it: kind 6 keeps the two
// decimals, the others the whole percent and a 0 byte.
int AppendPercentOfKind(RecordBytes& out, const std::string& digits, int kind) {
  if (kind == kOFileKindTwoDecimalPercent || digits.size() > 2 * kPercentBytes)
    return AppendBcd(out, digits, kPercentBytes);
  std::string padded;
  PadLeft(padded, digits, 2 * kPercentBytes, '0');
  if (const int error = AppendBcd(out, std::string_view(padded).substr(0, 2), 1)) return error;
  out.push_back(0);
  return 0;
}

int EncodeOFileField(const RecordField& field, const OFileForms& forms, RecordBytes& out) {
  const std::string& value = Slot(field.slot);
  switch (field.slot) {
    case kOFileKindSlot:
    case kOFileSmallNumberSlot:
      return AppendSmallNumber(out, value, kMaxOFileKind);
    case kByteValueSlot:
      return AppendSmallNumber(out, value, 0xFF);
    case kOFileTextSlot:
      if (!forms.codeInText) {
        AppendText(out, value, field.size);
        return 0;
      }
      return AppendArticleCode(
          out, ReadArticleCode(value, CommandFields().quoted[field.slot], forms.geometry), forms.geometry);
    case kOFilePercentSlot:
      return forms.percentByKind ? AppendPercentOfKind(out, value, forms.kind)
                                 : AppendBcd(out, value, field.size);
    default:  // the eight small values and the two amounts
      return AppendBcd(out, value, field.size);
  }
}

FieldEncoder EncoderFor(const OFileForms& forms) {
  return [forms](const RecordField& field, RecordBytes& out) { return EncodeOFileField(field, forms, out); };
}

// The kind slot 2 gives (0 when empty).
int GivenKind(int& kind) {
  RecordBytes byte;
  if (const int error = AppendSmallNumber(byte, Slot(kOFileKindSlot), kMaxOFileKind)) return error;
  kind = byte[0];
  return 0;
}

}  // namespace

std::vector<RecordField> OFileLayout(int kind, const ArticleGeometry& g) {
  std::vector<RecordField> layout = {{kOFileKindSlot, 0, 1}};
  if (kind == kOFileKindEmpty) return layout;
  for (int slot = kFirstSmallValueSlot; slot <= kLastSmallValueSlot; ++slot)
    layout.push_back({slot, slot - 2, 1});
  layout.push_back({kByteValueSlot, 9, 1});
  if (kind == kOFileKindArticle) {
    layout.push_back({kOFileTextSlot, 10, g.codeBytes});
    return layout;
  }
  const int w = g.amountBytes;
  layout.insert(layout.end(), {{kOFileTextSlot, 10, kTextBytes},
                               {kOFileSmallNumberSlot, 26, 1},
                               {kOFileFirstAmountSlot, 27, w},
                               {kOFileSecondAmountSlot, 27 + w, w},
                               {kOFilePercentSlot, 27 + 2 * w, kPercentBytes}});
  return layout;
}

int CheckOFileFields(const ArticleGeometry& geometry) {
  int kind = 0;
  if (const int error = GivenKind(kind)) return error;
  OFileForms forms{geometry, kind == kOFileKindArticle};
  // Every slot once: the text layout holds them all.
  std::vector<RecordField> layout = OFileLayout(kAnyTextKind, geometry);
  RecordBytes scratch(static_cast<std::size_t>(RecordSize(layout)) +
                      static_cast<std::size_t>(geometry.codeBytes));
  if (forms.codeInText) layout[10].size = geometry.codeBytes;
  return OverlayGivenFields(layout, EncoderFor(forms), scratch);
}

int EncodeOFileRecord() {
  const ArticleGeometry geometry = CurrentArticleGeometry();
  int kind = 0;
  if (const int error = GivenKind(kind)) return error;
  RecordBytes body;
  const OFileForms forms{geometry, kind == kOFileKindArticle};
  if (const int error = BuildRecord(OFileLayout(kind, geometry), EncoderFor(forms), body)) return error;
  return AppendToFrame(FrameBuffer(), body);
}

int MergeOFileRecord() {
  const ArticleGeometry geometry = CurrentArticleGeometry();
  const FrameBufferData& answer = FrameBuffer();
  if (answer.length <= kOFileBodyStart) return kClassAnswerLetter | answer.data[0];
  const auto stored = answer.data.begin() + kOFileBodyStart;
  const int storedLength = answer.length - kOFileBodyStart;

  int kind = stored[0];
  if (!Slot(kOFileKindSlot).empty()) {
    if (const int error = GivenKind(kind)) return error;
  }
  const std::vector<RecordField> layout = OFileLayout(kind, geometry);
  const int size = RecordSize(layout);
  // What the register did not send back is written as zeros, never as
  // whatever the buffer held.
  RecordBytes record(static_cast<std::size_t>(size), 0);
  std::copy_n(stored, std::min(storedLength, size), record.begin());
  const OFileForms forms{geometry, kind == kOFileKindArticle, true, kind};
  if (const int error = OverlayGivenFields(layout, EncoderFor(forms), record)) return error;

  // A percentage without decimals is one byte; kind 6 keeps both.
  const bool onePercentByte = layout.back().slot == kOFilePercentSlot && kind != kOFileKindTwoDecimalPercent;
  record.resize(static_cast<std::size_t>(onePercentByte ? size - 1 : size));
  return AppendToFrame(SavedFrameCopy(), record);
}

}  // namespace quadrel
