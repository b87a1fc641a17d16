#include "run/retry_policy.h"

#include "language/result_codes.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {

namespace {
constexpr int kDataErrorRetried = kClassEcrDataError | 7;  // 2055, the only data error retried
}

int IsFinalFailure(int code, int retriesLeft) {
  if (retriesLeft <= 0) return 1;
  const TranslatorSwitches& switches = Library().switches;
  switch (ResultClass(code)) {
    case kClassCriticalState:
      return switches.RetryOn8XXX || switches.RetryOn16XXX ? 0 : 1;
    // Other data errors are returned at once by the retry policy, so they are final.
    case kClassEcrDataError:
      return switches.RetryOn8XXX && code == kDataErrorRetried ? 0 : 1;
    case kClassEcrError:
      return switches.RetryOn16XXX ? 0 : 1;
    default:
      return 1;
  }
}

void CountFailure(int code) {
  switch (ResultClass(code)) {
    case kClassHostLink:
    case kClassCriticalState:
    case kClassEcrDataError:
    case kClassEcrError:
      ++Executor().EcrErrorCount;
      break;
    default:
      ++Executor().ErrorCount;
      break;
  }
}

}  // namespace quadrel
