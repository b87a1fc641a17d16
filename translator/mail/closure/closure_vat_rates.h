// The VAT rates of a closure report, read from the register's VAT-rate file
// as command 3 writes it: one programming line per rate.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quadrel {

constexpr int kVatRateEntries = 5;  // entry 0 (no VAT) and four rates
constexpr std::size_t kVatRateMaxLength = 7;

struct VatRate {
  std::int64_t code = 0;
  std::string rate;  // decimal comma, such as "22,00"
};

// Entry n is the rate of VAT index n; entries the text did not fill are empty.
using VatRateTable = std::array<VatRate, kVatRateEntries>;

// Entry 0 is code 0 at "0,00"; line n of `text` (CR LF lines) fills entry n
// from its parameters #1 (the code) and #2 (the rate, its first "." made ",",
// cut to 7 characters). Lines after the fourth are ignored.
VatRateTable LoadVatRates(std::string_view text);

}  // namespace quadrel
