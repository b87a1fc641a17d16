// The amount of the receipt in progress as the register reports it in its
// counters answer ('U' 0 23), in the register's own decimals.
#pragma once

#include <cstdint>
#include <vector>

#include "config/register_config.h"

namespace ecrsim {

constexpr int kCurrentAmountOffset = 11;  // answer offset of the amount in 'U' 0 23

// The configured counters answer data with the amount `hundredths` (the
// till's unit) written at kCurrentAmountOffset, as many bytes wide as the
// configuration's amounts and scaled to its decimals.
std::vector<std::uint8_t> CountersWithAmount(const RegisterConfig& config, std::int64_t hundredths);

}  // namespace ecrsim
