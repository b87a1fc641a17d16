#include "commands/reports/info_text.h"

#include <cstdio>

#include "state/library_state.h"
#include "text/code_page.h"
#include "text/out_field.h"

namespace quadrel {

InfoText& InfoText::Number(long long value) {
  return Number(std::to_string(value));
}

InfoText& InfoText::Number(std::string_view digits) {
  EditOutField(text_, digits, 0);
  return *this;
}

InfoText& InfoText::Text(std::string_view text) {
  EditOutField(text_, text, OUT_FIELD_TEXT);
  return *this;
}

InfoText& InfoText::Hex(std::span<const std::uint8_t> bytes) {
  return Number(BytesToHex(bytes));
}

InfoText& InfoText::Raw(std::string_view text) {
  text_ += text;
  return *this;
}

std::string InfoText::Finish() {
  const char separator = SeparatorChar();
  if (separator != 0 && !text_.empty() && text_.back() == separator) text_.pop_back();
  return std::move(text_);
}

std::string StampText(const std::array<std::uint8_t, 5>& b) {
  const TranslatorOptions& o = Library().options;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02x%c%02x%c%02x %02x%c%02x", b[0], o.DateSeparator, b[1],
                o.DateSeparator, b[2], b[3], o.TimeSeparator, b[4]);
  std::string text;
  if (o.QuoteChar != 0) text += o.QuoteChar;
  text += stamp;
  if (o.QuoteChar != 0) text += o.QuoteChar;
  return text;
}

}  // namespace quadrel
