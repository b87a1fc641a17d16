#include "commands/transfers/upload_lines.h"

#include <algorithm>
#include <string>

#include "language/command_fields.h"
#include "language/command_line.h"
#include "language/result_codes.h"
#include "records/article_record.h"
#include "records/article_write.h"
#include "records/ofile_record.h"
#include "records/ofile_write.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kOperationSlot = 0;
constexpr int kLastSlot = kFieldSlotCount - 1;
constexpr int kFirstNumberSlot = 3;
constexpr int kSecondNumberSlot = 4;
constexpr int kClassSlot = 5;
constexpr char kClassDigitMark = 'I';
constexpr char kLastClassDigit = '4';
constexpr std::size_t kMaxClassDigits = 2;
constexpr int kOFileTextBytes = 16;
constexpr std::size_t kShortPercentDigits = 2;

std::string& Slot(int slot) {
  return CommandFields().value[static_cast<std::size_t>(slot)];
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DigitsOnly(int first, int last) {
  for (int slot = first; slot <= last; ++slot) {
    if (!AllDigits(Slot(slot))) return kResultNotNumericField;
  }
  return 0;
}

// Field n of the line into slot n; a line with more fields than slots is refused.
int SplitLine(std::string_view line) {
  ClearCommandFields();
  Slot(0).clear();
  CommandFields().quoted[0] = false;
  std::size_t position = 0;
  for (int slot = 0;; ++slot) {
    std::string value;
    bool quoted = false;
    const int result = NextField(line, position, value, quoted);
    if (result == kNextFieldEndOfText) return 0;
    if (result != kNextFieldOk) return kResultAlphaFieldInvalid;
    if (slot > kLastSlot) return kResultLineSyntaxError;
    Slot(slot) = std::move(value);
    CommandFields().quoted[static_cast<std::size_t>(slot)] = quoted;
  }
}

// A text the register would have to cut is refused.
int TextFits(int slot, int bytes) {
  return PcToEcrText(Slot(slot)).size() > static_cast<std::size_t>(bytes) ? kResultAlphaFieldInvalid : 0;
}

// "dd" or "ddId": the class in slot 5, and d + 1 as the class digit of slot 10.
int SplitClass() {
  std::string& value = Slot(kClassSlot);
  std::string& digit = Slot(kArticleClassDigitSlot);
  digit.clear();
  const std::size_t mark = value.find(kClassDigitMark);
  if (mark != std::string::npos) {
    const std::string_view suffix = std::string_view(value).substr(mark + 1);
    if (mark == 0 || suffix.size() != 1 || suffix[0] < '0' || suffix[0] > kLastClassDigit)
      return kResultVatFieldInvalid;
    digit = static_cast<char>(suffix[0] + 1);
    value.resize(mark);
  }
  return value.size() > kMaxClassDigits ? kResultDptFieldInvalid : 0;
}

}  // namespace

int XferArticleLine(std::string_view line) {
  if (const int error = SplitLine(line)) return error;
  ArticleOperation op;
  if (!ParseArticleOperation(Slot(kOperationSlot), op)) return kResultCommandFieldInvalid;
  // The numbers and the prices (the class between them has its own rules).
  if (const int error = DigitsOnly(kFirstNumberSlot, kSecondNumberSlot)) return error;
  if (const int error = DigitsOnly(kArticleFirstPriceSlot, kArticleThirdPriceSlot)) return error;
  if (const int error = SplitClass()) return error;
  const ArticleGeometry geometry = CurrentArticleGeometry();
  if (const int error = TextFits(kArticleDescriptionSlot, geometry.descriptionBytes)) return error;
  const ArticleCode code =
      ReadArticleCode(Slot(kArticleCodeSlot), CommandFields().quoted[kArticleCodeSlot], geometry);
  return WriteArticle(op, code, geometry);
}

int XferOFileLine(std::string_view line) {
  if (const int error = SplitLine(line)) return error;
  const std::string& operation = Slot(kOperationSlot);
  const bool modify = operation == "M";
  if (!modify && operation != "I" && operation != "IM") return kResultCommandFieldInvalid;
  if (const int error = DigitsOnly(kOFileNumberSlot, kOFileLastPlainSlot)) return error;
  int kind = 0;
  ReadDigits(Slot(kOFileKindSlot), kind);
  if (kind != kOFileKindArticle) {
    if (const int error = TextFits(kOFileTextSlot, kOFileTextBytes)) return error;
  }
  // Two digits are the whole percent, except where the kind keeps decimals.
  std::string& percent = Slot(kOFilePercentSlot);
  if (percent.size() == kShortPercentDigits && kind != kOFileKindTwoDecimalPercent) percent += "00";
  return WriteOFileRecord(modify, CurrentArticleGeometry());
}

}  // namespace quadrel
