#include "till/current_amount.h"

#include <algorithm>
#include <string>

#include "config/bcd_digits.h"
#include "config/config_places.h"

namespace ecrsim {
namespace {

constexpr int kTillDecimals = 2;

std::int64_t Scaled(std::int64_t hundredths, int decimals) {
  for (int d = kTillDecimals; d < decimals; ++d) hundredths *= 10;
  for (int d = decimals; d < kTillDecimals; ++d) hundredths /= 10;
  return hundredths;
}

}  // namespace

std::vector<std::uint8_t> CountersWithAmount(const RegisterConfig& config, std::int64_t hundredths) {
  std::vector<std::uint8_t> data = config.Data(Area::Counters);
  const int width = config.Byte(Area::Block4, kAmountBytesByte);
  const auto amount =
      PackBcd(std::to_string(Scaled(hundredths, config.Byte(Area::Identity, kDecimalsByte))), width);
  const std::size_t at = kCurrentAmountOffset - 1;
  if (amount && data.size() >= at + amount->size()) std::ranges::copy(*amount, data.begin() + at);
  return data;
}

}  // namespace ecrsim
