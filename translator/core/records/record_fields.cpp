#include "records/record_fields.h"

#include <algorithm>

#include "language/result_codes.h"
#include "state/ecr_config.h"
#include "text/code_page.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value of a decimal text of at most `max`, or a refusal.
int ReadBoundedNumber(std::string_view number, int max, int& value) {
  if (!AllDigits(number)) return kResultNotNumericField;
  const std::size_t digits = number.find_first_not_of('0');
  if (digits != std::string_view::npos && number.size() - digits > 6) return kResultNumericFieldIllegal;
  value = 0;
  for (const char c : number) value = value * 10 + (c - '0');
  return value > max ? kResultNumericFieldIllegal : 0;
}

}  // namespace

ArticleGeometry CurrentArticleGeometry() {
  const EcrConfigRecord& r = CurrentRecord();
  ArticleGeometry g;
  g.codeBytes = r.FileInfoB16;
  g.descriptionBytes = r.FileInfoB17;
  g.numericCodeBytes = r.FileInfoB18;
  g.priceBytes = r.FileInfoB22;
  g.fourthBytes = r.FileInfoB24;
  g.alphanumeric = r.FileFlag1 != 0;
  g.fourthValue = r.FileFlag4 != 0;
  g.extraGroup = r.FileFlag2 != 0;
  g.extraBytes = r.FileInfoB23;
  g.amountBytes = r.BcdBytesA;
  return g;
}

int AppendBcd(RecordBytes& out, std::string_view digits, int width) {
  if (!AllDigits(digits)) return kResultNotNumericField;
  if (width < 0 || digits.size() > 2 * static_cast<std::size_t>(width)) return kResultNumericFieldIllegal;
  std::string padded;
  PadLeft(padded, digits, 2 * width, '0');
  std::vector<std::uint8_t> packed;
  HexToBytes(padded, packed);
  out.insert(out.end(), packed.begin(), packed.end());
  return 0;
}

int AppendWord(RecordBytes& out, std::string_view number) {
  int value = 0;
  if (const int error = ReadBoundedNumber(number, 0xFFFF, value)) return error;
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  return 0;
}

int AppendSmallNumber(RecordBytes& out, std::string_view number, int max) {
  int value = 0;
  if (const int error = ReadBoundedNumber(number, max, value)) return error;
  out.push_back(static_cast<std::uint8_t>(value));
  return 0;
}

void AppendText(RecordBytes& out, std::string_view text, int width) {
  std::string field;
  PadRight(field, PcToEcrText(text), width, ' ');
  out.insert(out.end(), field.begin(), field.end());
}

ArticleCode ReadArticleCode(std::string_view code, bool quoted, const ArticleGeometry& geometry) {
  ArticleCode result{std::string(code), false};
  const bool mayBeNumber = geometry.numericCodeBytes != 0 && (!geometry.alphanumeric || !quoted);
  if (!mayBeNumber) return result;
  if (quoted) TrimRight(result.text);
  if (!result.text.empty() && result.text[0] == '~') {
    result.text.erase(0, 1);
    return result;
  }
  result.asNumber = !result.text.empty() && AllDigits(result.text);
  return result;
}

int AppendArticleCode(RecordBytes& out, const ArticleCode& code, const ArticleGeometry& geometry) {
  const auto width = static_cast<std::size_t>(geometry.codeBytes);
  if (code.text.empty()) return kResultArticleCodeInvalid;
  if (!geometry.alphanumeric) {
    if (!code.asNumber || code.text.size() > 2 * width) return kResultArticleCodeInvalid;
    return AppendBcd(out, code.text, geometry.codeBytes);
  }
  std::string field;
  if (code.asNumber)
    PadLeft(field, code.text, 2 * geometry.numericCodeBytes, '0');
  else
    field = code.text;
  // A number padded past the field would not fit either.
  if (field.size() > width) return kResultArticleCodeInvalid;
  field.append(width - field.size(), ' ');
  out.insert(out.end(), field.begin(), field.end());
  return 0;
}

}  // namespace quadrel
