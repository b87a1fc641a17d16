// The register's identity block ('O' 17) as the information enquiry reads it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "link/register_link.h"

namespace quadrel {

struct EcrConfigRecord;

using IdentityBlock = std::array<std::uint8_t, kIdentityBlockBytes>;

// The block, for registers whose function levels say they have one
// (`FeatureLevels` entry 127); nullopt otherwise or when its answer is short.
std::optional<IdentityBlock> ReadIdentityBlockOf(const EcrConfigRecord& record);

// The 16-bit little-endian word at `offset` of the block.
int IdentityWord(const IdentityBlock& block, int offset);

}  // namespace quadrel
