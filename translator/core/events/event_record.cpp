#include "events/event_record.h"

namespace quadrel {
namespace {

bool IsValidEcrRecord(int ecr) {
  return ecr >= 1 && ecr <= kMaxEcr && EcrRecord(ecr).EcrNumber != 0;
}

}  // namespace

const EcrConfigRecord& EventRecord(int ecr) {
  return IsValidEcrRecord(ecr) ? EcrRecord(ecr) : EcrRecord(0);
}

bool EventRecordValid(int ecr) {
  return IsValidEcrRecord(ecr) || EcrRecord(0).EcrNumber != 0;
}

}  // namespace quadrel
