// One process-wide flag that guards the translator and the protocol library
// against re-entry. Both pump window messages while they wait for the
// register, so a COM call or a posted message can arrive in the middle of a
// request; whoever holds the gate (a client's command, AutoRun's file) runs
// alone and everyone else is told "busy".
#pragma once

namespace ravelin {

class TTranslatorGate {
 public:
  TTranslatorGate() : entered_(!held_) { held_ = true; }
  ~TTranslatorGate() {
    if (entered_) held_ = false;
  }
  TTranslatorGate(const TTranslatorGate&) = delete;
  TTranslatorGate& operator=(const TTranslatorGate&) = delete;

  // False when someone else already holds the gate: do not call through.
  bool Entered() const { return entered_; }
  static bool Held() { return held_; }

 private:
  // Only the window thread touches it (apartment threading).
  static inline bool held_ = false;
  bool entered_;
};

}  // namespace ravelin
