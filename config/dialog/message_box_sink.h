// The form's messages as message boxes over the form's window.
#pragma once

#include <windows.h>

#include "model/message_sink.h"

namespace lathwell {

class MessageBoxSink : public MessageSink {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Inform(const std::string& text) override;
  void ReportError(const std::string& text) override;
  bool Confirm(const std::string& question) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace lathwell
