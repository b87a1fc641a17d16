#include "register_checks.h"

#include "link/frame_exchange.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kStateIdle = 0x01;
constexpr int kTransactionOpenFlag = 0x01;
constexpr int kTransactionBusy = 0x21;  // a transaction open, or bit 5
constexpr int kRegPosition = 1;

}  // namespace

bool EcrIdle() {
  const EcrStatusFields& status = EcrStatusBytes();
  return (status.state & kStateIdle) && !(status.transactionFlags & kTransactionBusy);
}

bool TransactionOpen() {
  return (EcrStatusBytes().transactionFlags & kTransactionOpenFlag) != 0;
}

bool InRegPosition() {
  return EcrStatusBytes().keyPosition == kRegPosition;
}

int FeatureLevel(int index) {
  if (index < 0 || index >= 128) return 0;
  return CurrentRecord().FeatureLevels[index];
}

bool HasFeature(int index) {
  return FeatureLevel(index) != 0;
}

bool HasSecondKeyMap() {
  constexpr int kSecondKeyMapFeature = 95;
  return HasFeature(kSecondKeyMapFeature);
}

bool HasCurrencyTable() {
  constexpr int kCurrencyFeature = 18;
  return HasFeature(kCurrencyFeature);
}

bool HasGroupTable() {
  constexpr int kGroupFeature = 41;
  return HasFeature(kGroupFeature);
}

}  // namespace quadrel
