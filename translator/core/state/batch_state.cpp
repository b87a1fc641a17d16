#include "state/batch_state.h"

namespace quadrel {

BatchRunState& BatchRun() {
  static BatchRunState state;
  return state;
}

}  // namespace quadrel
