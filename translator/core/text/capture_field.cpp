#include "text/capture_field.h"

#include "state/library_state.h"
#include "text/bcd_text.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kOptionsPlain = 1;    // no separators
constexpr int kOptionsCompact = 2;  // no leading zeros, no '+'
constexpr std::size_t kLongCodeBytes = 7;
constexpr int kWordDigits = 5;

int Options() {
  return Library().options.OutEditOptions;
}

// Only BCD values carry a sign in their first half-byte; the same bits in a
// text, a code, a byte or a word are part of the value.
bool IsBcdType(int type) {
  return type != CAPTURE_TEXT && type != CAPTURE_CODE && type != CAPTURE_BYTE && type != CAPTURE_WORD;
}

void AppendSeparator(std::string& dst) {
  if (Options() != kOptionsPlain && SeparatorChar() != '\0') dst += SeparatorChar();
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
  std::size_t start = 0;
  while (start + 1 < digits.size() && digits[start] == '0') ++start;
  return digits.substr(start);
}

void AppendCode(std::string& dst, std::span<const std::uint8_t> data) {
  const std::string digits = BytesToHex(data);
  // A 14-digit code with a padding zero in front is a 13-digit code.
  if (data.size() == kLongCodeBytes && digits[0] == '0') {
    dst.append(digits, 1);
  } else {
    dst += digits;
  }
}

void AppendByte(std::string& dst, std::uint8_t value) {
  if (value < 10 && Options() != kOptionsCompact) dst += '0';
  dst += std::to_string(value);
}

void AppendWord(std::string& dst, std::span<const std::uint8_t> data) {
  const int low = data[0];
  const int high = data.size() > 1 ? data[1] : 0;
  const std::string digits = std::to_string(low | high << 8);
  if (Options() != kOptionsCompact && digits.size() < kWordDigits)
    dst.append(kWordDigits - digits.size(), '0');
  dst += digits;
}

void AppendBcdDigits(std::string& dst, std::span<const std::uint8_t> data) {
  std::string digits = BytesToHex(data);
  if (digits[0] == 'D') digits[0] = '0';
  dst += Options() == kOptionsCompact ? WithoutLeadingZeros(digits) : std::string_view(digits);
}

void AppendRawText(std::string& dst, std::span<const std::uint8_t> data) {
  std::string text(data.begin(), data.end());
  for (char& c : text)
    if (c == '\0') c = ' ';
  AppendQuoted(dst, text);
}

}  // namespace

std::string& EditCaptureField(std::string& dst, std::span<const std::uint8_t> data, bool negative, int type) {
  AppendSeparator(dst);
  if (IsBcdType(type) && !data.empty() && (data[0] & 0xF0) == 0xD0) negative = !negative;
  if (negative) {
    dst += '-';
  } else if ((type == CAPTURE_SIGNED || type == CAPTURE_SIGNED_2) && Options() != kOptionsCompact) {
    dst += '+';
  }
  if (data.empty()) return dst;
  switch (type) {
    case CAPTURE_TEXT:
      AppendRawText(dst, data);
      break;
    case CAPTURE_CODE:
      AppendCode(dst, data);
      break;
    case CAPTURE_BYTE:
      AppendByte(dst, data[0]);
      break;
    case CAPTURE_WORD:
      AppendWord(dst, data);
      break;
    default:
      AppendBcdDigits(dst, data);
      break;
  }
  return dst;
}

std::string& EditCaptureClock(std::string& dst, std::span<const std::uint8_t, 5> clock) {
  AppendSeparator(dst);
  return AppendQuoted(dst, BcdClockText(clock));
}

std::string& AppendQuoted(std::string& dst, std::string_view text) {
  const char quote = QuoteChar();
  if (quote == '\0') return dst += text;
  dst += quote;
  for (const char c : text) {
    if (c == quote) dst += quote;
    dst += c;
  }
  dst += quote;
  return dst;
}

std::string& QuoteText(std::string& dst, std::string_view registerText) {
  return AppendQuoted(dst, EcrToPcText(registerText));
}

}  // namespace quadrel
