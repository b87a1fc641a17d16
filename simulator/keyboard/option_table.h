// Table 7, the register's options: what the fields of one keying of the
// table change in the option block (block 2), the way the register reads
// them. Block 5 byte k gives the position of option k in the option block
// (0xFF: the register has no such option; nor has it option 14 without the
// nine-digit line, nor option 1 on model 6); the table takes one field for
// each option it has, in the order of their numbers, option 17 only while
// option 16 is on, and eight text lines after option 27 while option 27 is
// on.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "config/register_config.h"

namespace ecrsim {

constexpr int kOptionTable = 7;

// Lays the options keyed in `fields` over `memory` (address -> byte, over the
// configured block 2). An empty field leaves its option as it was. Option 1
// is a text of three bytes; 2 and 7 one BCD byte; 13 one binary byte; 17 and
// 18 two bytes from four hexadecimal digits; 21 and 22 amounts (block 4 byte
// 35 BCD bytes, the register's decimals); the others a switch in bit 0 ("2"
// on, any other digit off).
void PlaceOptions(const RegisterConfig& config, const std::vector<std::string>& fields,
                  std::map<std::uint32_t, std::uint8_t>& memory);

}  // namespace ecrsim
