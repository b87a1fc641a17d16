// The configuration record that the events of a register are read with.
#pragma once

#include "state/ecr_config.h"

namespace quadrel {

// The record of register `ecr` when it is valid, else slot 0 (also for a
// number outside 1..kMaxEcr, which an event may carry).
const EcrConfigRecord& EventRecord(int ecr);

// True when the record of `ecr` or slot 0 is valid.
bool EventRecordValid(int ecr);

}  // namespace quadrel
