#include "wire/event_builder.h"


#include "config/bcd_digits.h"
#include "config/word_parsing.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kTextCodeMark = 0xFF;
constexpr int kDateDigits = 10;
constexpr std::uint8_t kKindBits = 0x3F;


void AppendText(std::string_view text, std::size_t width, std::vector<std::uint8_t>& out) {
  text = text.substr(0, width);
  out.insert(out.end(), text.begin(), text.end());
  out.insert(out.end(), width - text.size(), ' ');
}

// "W:rest" -> W (1..kMaxFieldBytes) and rest.
bool SplitWidth(std::string_view value, int& width, std::string_view& rest) {
  const std::size_t colon = value.find(':');
  if (colon == std::string_view::npos) return false;
  const auto w = ParseInRange(value.substr(0, colon), 1, kMaxFieldBytes);
  if (!w) return false;
  width = static_cast<int>(*w);
  rest = value.substr(colon + 1);
  return true;
}

bool AppendBcd(std::string_view number, int width, std::vector<std::uint8_t>& out) {
  if (width < 1 || width > kMaxFieldBytes) return false;
  const auto bytes = PackBcd(number, width);
  if (!bytes) return false;
  out.insert(out.end(), bytes->begin(), bytes->end());
  return true;
}

bool EncodeField(std::string_view name, std::string_view value, const EventWidths& widths,
                 std::vector<std::uint8_t>& out) {
  int width = 0;
  std::string_view rest;
  if (name == "amount") return AppendBcd(value, widths.amountBytes, out);
  if (name == "code") return AppendBcd(value, widths.codeBytes, out);
  if (name == "bcdb") return AppendBcd(value, widths.bcdBytesB, out);
  if (name == "bcd") return SplitWidth(value, width, rest) && AppendBcd(rest, width, out);
  if (name == "textcode") {
    if (value.size() > kTextCodeChars) return false;
    out.push_back(kTextCodeMark);
    AppendText(value, kTextCodeChars, out);
    return true;
  }
  if (name == "text") {
    if (!SplitWidth(value, width, rest)) return false;
    AppendText(rest, static_cast<std::size_t>(width), out);
    return true;
  }
  if (name == "byte") {
    const auto n = ParseInRange(value, 0, 0xFF);
    if (n) out.push_back(static_cast<std::uint8_t>(*n));
    return n.has_value();
  }
  if (name == "word") {
    const auto n = ParseInRange(value, 0, 0xFFFF);
    if (n) out.insert(out.end(), {static_cast<std::uint8_t>(*n), static_cast<std::uint8_t>(*n >> 8)});
    return n.has_value();
  }
  if (name == "date") {
    return value.size() == kDateDigits && value[0] != '-' && AppendBcd(value, kDateDigits / 2, out);
  }
  if (name == "hex") {
    const auto bytes = ParseHex(value);
    if (bytes) out.insert(out.end(), bytes->begin(), bytes->end());
    return bytes.has_value();
  }
  return false;
}

}  // namespace

EventWidths WidthsOf(const RegisterConfig& config) {
  return {config.Byte(Area::Block4, 35), config.Byte(Area::OutputSettings, 9) & 0x0F,
          config.Byte(Area::Block4, 41)};
}

std::optional<std::uint8_t> RecordKindByte(int kind, int flagDigit) {
  if (kind < 0 || kind > kKindBits || flagDigit < 0 || flagDigit > 3) return std::nullopt;
  return static_cast<std::uint8_t>(kind | (flagDigit & 1) << 7 | (flagDigit & 2) << 5);
}

bool EncodeEventFields(std::span<const std::string> fields, const EventWidths& widths,
                       std::vector<std::uint8_t>& out, std::string& error) {
  for (const std::string& field : fields) {
    const std::size_t colon = field.find(':');
    const std::string_view text(field);
    if (colon == std::string::npos ||
        !EncodeField(text.substr(0, colon), text.substr(colon + 1), widths, out)) {
      error = "bad field " + field;
      return false;
    }
  }
  return true;
}

}  // namespace ecrsim
