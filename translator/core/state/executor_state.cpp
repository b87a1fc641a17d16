#include "state/executor_state.h"

namespace quadrel {

ExecutorState& Executor() {
  static ExecutorState state;
  return state;
}

}  // namespace quadrel
