#include "autorun/log_notifier.h"

#include <utility>

#include "platform/platform.h"

namespace ravelin {

TLogNotifier::TLogNotifier(Sink sink) : sink_(std::move(sink)) {
  if (!sink_) sink_ = [](const std::string& line) { platform::DebugOutput(line.c_str()); };
}

void TLogNotifier::Show(const std::string& text) {
  if (text == last_) return;
  last_ = text;
  sink_("Ravelin: " + text + "\n");
}

}  // namespace ravelin
