// The RS-485 address map (NetDef): 24 characters, one per register address
// 1 to 24; '0' marks an address not in use, any other character one in use.
#pragma once

#include <cstddef>
#include <string>

namespace lathwell {

inline constexpr std::size_t kAddressCount = 24;

// The first 24 characters of `text`, padded at the end with '0'.
std::string FittedNetDef(const std::string& text);

// Whether the address at `position` (0 for address 1) is in use.
bool AddressInUse(const std::string& netDef, std::size_t position);

// The fitted map with the address at `position` turned: '0' becomes '1',
// anything else '0'. A position outside the map changes nothing.
std::string ToggledAddress(const std::string& netDef, std::size_t position);

}  // namespace lathwell
