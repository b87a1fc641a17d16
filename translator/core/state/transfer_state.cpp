#include "state/transfer_state.h"

namespace quadrel {

TransferState& Transfer() {
  static TransferState state;
  return state;
}

}  // namespace quadrel
