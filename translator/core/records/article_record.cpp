#include "records/article_record.h"

#include <cctype>
#include <string>

#include "language/command_fields.h"
#include "language/result_codes.h"
#include "records/record_frame.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kFirstNumberSlot = 3;
constexpr int kSecondNumberSlot = 4;
constexpr int kClassSlot = 5;
constexpr int kSecondPriceSlot = 7;
constexpr int kMaxFieldListOffset = 0xFF;

const std::string& Slot(int slot) {
  return CommandFields().value[slot];
}

// The class pair: the class in two hex digits, then 0 and the class digit.
int AppendClassPair(RecordBytes& out) {
  const std::string& cls = Slot(kClassSlot);
  const std::string& digit = Slot(kArticleClassDigitSlot);
  if (cls.size() > 2) return kResultDptFieldInvalid;
  std::string hex = std::string(2 - cls.size(), '0') + cls + '0' + (digit.empty() ? '0' : digit[0]);
  for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::vector<std::uint8_t> pair;
  if (!HexToBytes(hex, pair)) return kResultDptFieldInvalid;
  out.insert(out.end(), pair.begin(), pair.end());
  return 0;
}

int EncodeArticleField(const RecordField& field, RecordBytes& out) {
  switch (field.slot) {
    case kArticleDescriptionSlot:
      AppendText(out, Slot(field.slot), field.size);
      return 0;
    case kFirstNumberSlot:
    case kSecondNumberSlot:
      return AppendWord(out, Slot(field.slot));
    case kClassSlot:
      return AppendClassPair(out);
    default:  // the prices and the fourth value
      return AppendBcd(out, Slot(field.slot), field.size);
  }
}

}  // namespace

std::vector<RecordField> ArticleLayout(const ArticleGeometry& g) {
  const int d = g.descriptionBytes;
  const int p = g.priceBytes;
  std::vector<RecordField> layout = {{kArticleDescriptionSlot, 0, d},
                                     {kFirstNumberSlot, d, 2},
                                     {kSecondNumberSlot, d + 2, 2},
                                     {kClassSlot, d + 4, 2},
                                     {kArticleFirstPriceSlot, d + 6, p},
                                     {kSecondPriceSlot, d + 6 + p, p},
                                     {kArticleThirdPriceSlot, d + 6 + 2 * p, p}};
  if (g.fourthValue) layout.push_back({kArticleFourthValueSlot, d + 6 + 3 * p, g.fourthBytes});
  return layout;
}

int BuildArticleBody(const ArticleGeometry& geometry, RecordBytes& out) {
  return BuildRecord(ArticleLayout(geometry), EncodeArticleField, out);
}

int EncodeArticleRecord(int firstOffset) {
  const ArticleGeometry geometry = CurrentArticleGeometry();
  RecordBytes out;
  if (firstOffset == 0) {
    if (const int error = BuildArticleBody(geometry, out)) return error;
    return AppendToFrame(FrameBuffer(), out);
  }
  for (const RecordField& field : ArticleLayout(geometry)) {
    if (Slot(field.slot).empty()) continue;
    const int offset = firstOffset + field.offset;
    if (offset > kMaxFieldListOffset || field.size > kMaxFieldListOffset) return kResultInternalError;
    out.push_back(static_cast<std::uint8_t>(offset));
    out.push_back(static_cast<std::uint8_t>(field.size));
    if (const int error = EncodeArticleField(field, out)) return error;
  }
  return AppendToFrame(FrameBuffer(), out);
}

int MergeArticleRecord() {
  const ArticleGeometry geometry = CurrentArticleGeometry();
  const std::vector<RecordField> layout = ArticleLayout(geometry);
  const FrameBufferData& answer = FrameBuffer();
  const int bodyStart = 4 + geometry.codeBytes;
  const int size = RecordSize(layout);
  if (answer.length < bodyStart + size) return kClassAnswerLetter | answer.data[0];
  // The stored fourth value goes back as it was unless a new one is given:
  // a write that ended before it would lose it.
  RecordBytes record(answer.data.begin() + bodyStart, answer.data.begin() + bodyStart + size);
  if (const int error = OverlayGivenFields(layout, EncodeArticleField, record)) return error;
  FrameBufferData& copy = SavedFrameCopy();
  const std::uint8_t width = static_cast<std::uint8_t>(geometry.codeBytes);
  if (const int error = AppendToFrame(copy, {&width, 1})) return error;
  return AppendToFrame(copy, record);
}

}  // namespace quadrel
