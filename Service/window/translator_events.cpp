#include "window/translator_events.h"

#include <cstring>

#include "port/translator_library.h"

namespace ravelin {
namespace {

// The article code: at most 20 characters and a terminator from the
// translator; the buffer is larger and zeroed so a missing terminator is harmless.
constexpr std::size_t kCodeBytes = 21;
constexpr int kReplyFrameBytes = 1024;

std::string Copied(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

bool TTranslatorEvents::Usable() const { return translator_ && translator_->ok(); }

std::string TTranslatorEvents::DataX(int ecr, const std::uint8_t* data, int length) {
  return Usable() ? Copied(translator_->entry().Trad_DCXEvent(ecr, data, length)) : std::string();
}

std::string TTranslatorEvents::DataY(int ecr, const std::uint8_t* data, int length) {
  return Usable() ? Copied(translator_->entry().Trad_DCYEvent(ecr, data, length)) : std::string();
}

std::string TTranslatorEvents::Interact(int ecr, const std::uint8_t* data, int length) {
  return Usable() ? Copied(translator_->entry().Trad_IEvent(ecr, data, length)) : std::string();
}

void TTranslatorEvents::FileExtEnq(int ecr, const std::uint8_t* data, int length, TClientEvent& record) {
  if (!Usable()) return;
  char code[kCodeBytes + 11] = {};
  int status = 0;
  double quantity = 0.0;
  translator_->entry().Trad_FileExtEnq(ecr, data, length, &status, code, &quantity);
  record.number = status;
  record.text.assign(code, strnlen(code, kCodeBytes));
  record.value1 = quantity;
}

void TTranslatorEvents::FileExtUpd(int ecr, const std::uint8_t* data, int length, TClientEvent& record) {
  if (!Usable()) return;
  char code[kCodeBytes + 11] = {};
  int status = 0;
  double first = 0.0, second = 0.0;
  translator_->entry().Trad_FileExtUpd(ecr, data, length, &status, code, &first, &second);
  record.number = status;
  record.text.assign(code, strnlen(code, kCodeBytes));
  record.value1 = first;
  record.value2 = second;
}

Bytes TTranslatorEvents::ReplyToEnquiry(int ecr, unsigned replyCode, int status, const std::string& replyText) {
  if (!Usable()) return {};
  std::uint8_t frame[kReplyFrameBytes] = {};
  int length = 0;
  translator_->entry().Trad_RispExtEnq(ecr, replyCode, status, replyText.c_str(), frame, &length);
  if (length < 0 || length > kReplyFrameBytes) return {};
  return Bytes(frame, frame + length);
}

}  // namespace ravelin
