#include "dialog/message_box_sink.h"

namespace lathwell {
namespace {

constexpr const char* kTitle = "Lathwell";

}  // namespace

void MessageBoxSink::Inform(const std::string& text) {
  MessageBoxA(owner_, text.c_str(), kTitle, MB_OK);
}

void MessageBoxSink::ReportError(const std::string& text) {
  MessageBoxA(owner_, text.c_str(), kTitle, MB_OK | MB_ICONERROR);
}

bool MessageBoxSink::Confirm(const std::string& question) {
  return MessageBoxA(owner_, question.c_str(), kTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace lathwell
