// Messages of a process that no one watches (a spooler service started with
// "/p"): a message box there would wait forever for a click, so the text goes
// to the debugger output instead.
#pragma once

#include <functional>
#include <string>

#include "notifier.h"

namespace ravelin {

class TLogNotifier final : public Notifier {
 public:
  using Sink = std::function<void(const std::string& line)>;
  // The product writes to the debugger output.
  explicit TLogNotifier(Sink sink = {});

  // A text that repeats the previous one is written once: a port that does
  // not open is tried again every second.
  void Show(const std::string& text) override;

 private:
  Sink sink_;
  std::string last_;
};

}  // namespace ravelin
