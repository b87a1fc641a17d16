// The pieces the information enquiry's texts are made of: output fields as
// the output options edit them, and the quoted date-and-time stamps.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quadrel {

// Output fields, each followed by the separator; Finish drops the last one.
class InfoText {
 public:
  InfoText& Number(long long value);
  InfoText& Number(std::string_view digits);
  InfoText& Text(std::string_view text);
  InfoText& Hex(std::span<const std::uint8_t> bytes);  // as a number field
  InfoText& Raw(std::string_view text);                // no editing, no separator
  std::string Finish();

 private:
  std::string text_;
};

// QuoteChar, day/month/year hour:minute of five bytes written as hex (BCD
// digits), with the date and time separators, QuoteChar.
std::string StampText(const std::array<std::uint8_t, 5>& dayMonthYearHourMinute);

}  // namespace quadrel
