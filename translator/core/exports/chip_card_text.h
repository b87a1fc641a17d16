// GetEcrConfStr's chip-card text. It wakes the reader through command 71, so
// it sits above the executor with the other exports.
#pragma once

#include <optional>
#include <string>

#include "state/ecr_config.h"

namespace quadrel {

// 'C' 4 and 'C' 5: the card in the reader; "99" when the reader stays unready.
std::optional<std::string> ChipCardText(const EcrConfigRecord& record);

}  // namespace quadrel
