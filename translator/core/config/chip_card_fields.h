// The card fields of the chip-card reader ('C' 4 and 'C' 5), shared by the
// configuration export and the information enquiry, which show a few of them
// differently.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace quadrel {

struct EcrConfigRecord;

// Longest text, terminator not counted.
constexpr std::size_t kChipCardTextChars = 511;

enum class ChipCardStyle {
  Export,   // the card state as the reader gives it, the saved amount as hex digits
  Enquiry,  // state 3 shown as 1, the saved amount as a decimal amount
};

// 'C' 4 and 'C' 5: the card in the reader; nullopt when an exchange fails or
// a field lies beyond its answer.
std::optional<std::string> ChipCardFields(const EcrConfigRecord& record, ChipCardStyle style);

}  // namespace quadrel
