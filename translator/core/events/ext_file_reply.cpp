#include "events/ext_file_reply.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>

#include "events/event_record.h"
#include "language/command_line.h"
#include "language/message_tables.h"
#include "text/code_page.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kLetterNotFound = 'N';
constexpr std::uint8_t kLetterFound = 'F';
constexpr std::uint8_t kLetterCode = 'C';
constexpr std::uint8_t kLetterError = 'M';
constexpr std::uint8_t kErrorFrameCode = 0x02;
constexpr std::uint8_t kTextCodeMark = 0xFF;
constexpr std::size_t kDescriptionLength = 20;
constexpr int kAnswerFields = 6;
constexpr char kIndexMark = 'I';  // F5 may carry 'I' and a digit 0-4 in a 'F' reply
constexpr int kWordMin = -32768;
constexpr int kWordMax = 65535;

struct AnswerFields {
  std::string code, description, number, unused, codeByte, price;
};

// Splits the answer into its six fields; fields missing at the end are empty.
std::optional<AnswerFields> SplitAnswer(std::string_view answer) {
  AnswerFields fields;
  std::array<std::string*, kAnswerFields> slots = {&fields.code,   &fields.description, &fields.number,
                                                   &fields.unused, &fields.codeByte,    &fields.price};
  std::size_t position = 0;
  for (std::string* slot : slots) {
    bool quoted = false;
    const int result = NextField(answer, position, *slot, quoted);
    if (result == kNextFieldEndOfText) {
      slot->clear();
      continue;
    }
    if (result != kNextFieldOk) return std::nullopt;
  }
  return fields;
}

bool AllOf(std::string_view text, bool (*accept)(char)) {
  return std::all_of(text.begin(), text.end(), accept);
}
bool IsDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsUpperHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'A' && c <= 'F');
}

// Appends `digits` padded on the left with '0' to 2 x `width` digits and packed
// two a byte; false when they do not fit or are not hex digits.
bool AppendPacked(std::vector<std::uint8_t>& frame, std::string_view digits, std::size_t width) {
  if (digits.size() > 2 * width || !AllOf(digits, IsUpperHexDigit)) return false;
  std::string padded;
  PadLeft(padded, digits, static_cast<int>(2 * width), '0');
  std::vector<std::uint8_t> bytes;
  if (!HexToBytes(padded, bytes)) return false;
  frame.insert(frame.end(), bytes.begin(), bytes.end());
  return true;
}

bool AppendCode(std::vector<std::uint8_t>& frame, std::string_view code, bool asText, std::size_t codeBytes) {
  if (!asText) return AppendPacked(frame, code, codeBytes);
  if (code.size() > kExtReplyTextCodeLength) return false;
  frame.push_back(kTextCodeMark);
  std::string padded;
  PadRight(padded, code, static_cast<int>(kExtReplyTextCodeLength), ' ');
  frame.insert(frame.end(), padded.begin(), padded.end());
  return true;
}

bool AppendWord(std::vector<std::uint8_t>& frame, std::string_view text) {
  int value = 0;
  if (!text.empty()) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < kWordMin || value > kWordMax)
      return false;
  }
  frame.push_back(static_cast<std::uint8_t>(value & 0xFF));
  frame.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  return true;
}

// One or two hex digits, in a 'F' reply optionally followed by 'I' and a digit 0-4.
bool AppendCodeByte(std::vector<std::uint8_t>& frame, std::string_view text, bool indexAllowed) {
  std::string_view digits = text;
  const std::size_t index = text.find(kIndexMark);
  if (index != std::string_view::npos) {
    if (!indexAllowed || index == 0 || index + 2 != text.size() || text[index + 1] < '0' ||
        text[index + 1] > '4')
      return false;
    digits = text.substr(0, index);
  }
  return AppendPacked(frame, digits, 1);
}

void AppendDescription(std::vector<std::uint8_t>& frame, std::string_view text) {
  std::string padded;
  PadRight(padded, text, static_cast<int>(kDescriptionLength), ' ');
  std::string converted = PcToEcrText(padded);
  converted.resize(kDescriptionLength, ' ');
  frame.insert(frame.end(), converted.begin(), converted.end());
}

std::optional<std::vector<std::uint8_t>> BuildFoundReply(int ecr, unsigned kind, bool textCode,
                                                         std::string_view answer) {
  const std::optional<AnswerFields> fields = SplitAnswer(answer);
  if (!fields) return std::nullopt;
  const EcrConfigRecord& config = EventRecord(ecr);
  const std::size_t codeBytes = static_cast<std::size_t>(std::max(config.CodeBytes, 0));
  const std::size_t priceBytes = static_cast<std::size_t>(std::max(config.BcdBytesA, 0));
  const bool codeReply = kind == EXT_REPLY_BCD_CODE;

  std::vector<std::uint8_t> frame{codeReply ? kLetterCode : kLetterFound};
  const bool built = AppendCode(frame, fields->code, textCode && !codeReply, codeBytes) &&
                     AppendWord(frame, fields->number) &&
                     AppendCodeByte(frame, fields->codeByte, !codeReply) &&
                     AllOf(fields->price, IsDecimalDigit) && AppendPacked(frame, fields->price, priceBytes);
  if (!built) return std::nullopt;
  AppendDescription(frame, fields->description);
  if (frame.size() > kExtReplyBufferSize) return std::nullopt;
  return frame;
}

}  // namespace

std::vector<std::uint8_t> FileExtErrorFrame() {
  std::vector<std::uint8_t> frame{kLetterError, kErrorFrameCode};
  for (const int row : {kMsgFileError, kMsgExtFileError}) {
    const std::string& text = IntMsgTable().Row(row);
    frame.insert(frame.end(), text.begin(), text.end());
    frame.push_back(0);
  }
  return frame;
}

std::vector<std::uint8_t> BuildFileExtReply(int ecr, unsigned kind, bool textCode, std::string_view answer) {
  if (!EventRecordValid(ecr) || kind > EXT_REPLY_BCD_CODE) return FileExtErrorFrame();
  if (kind == EXT_REPLY_NOT_FOUND) return {kLetterNotFound};
  return BuildFoundReply(ecr, kind, textCode, answer).value_or(FileExtErrorFrame());
}

}  // namespace quadrel
