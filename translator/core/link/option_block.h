// The register's option block: where it lies, where each option sits in it,
// and the copy of it kept in the EcrConfigRecord (Block2Data). Command 36
// keys the options in from it; the option dump writes it out, so both find
// an option in the same place.
#pragma once

#include <cstdint>
#include <optional>

#include "state/ecr_config.h"

namespace quadrel {

constexpr int kOptionBlockBytes = 60;
constexpr int kLastOption = 28;

// The byte of the option block that holds option `option` (1..28); none
// when the register lacks the option (0xFF in Block5Data) or places it
// outside the block.
std::optional<int> OptionPosition(const EcrConfigRecord& ecr, int option);
// The register has option `option` (its position is not 0xFF).
bool HasOption(const EcrConfigRecord& ecr, int option);
// The kept byte of option `option`; 0 when it has no position.
std::uint8_t OptionByte(const EcrConfigRecord& ecr, int option);

// Reads the option block from the register into ecr.Block2Data: 0, or 4
// ("CONFIGURATION READ ERROR ECR ") with the kept copy unchanged.
int ReadOptionBlock(EcrConfigRecord& ecr);

}  // namespace quadrel
