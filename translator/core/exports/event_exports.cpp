// The event exports: the host hands over the raw bytes of an unsolicited
// register message and gets text or values for its client back, and builds
// the reply to an external-file enquiry from the client's answer.
#include "interfaces/translator_exports.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "events/data_capture_records.h"
#include "events/ext_file_events.h"
#include "events/ext_file_reply.h"
#include "files/capture_file.h"
#include "state/library_state.h"
#include "text/code_page.h"

using namespace quadrel;

namespace {

// The bytes the host gave; nothing for a null pointer or a length below 1.
std::span<const std::uint8_t> EventBytes(const unsigned char* data, int len) {
  if (data == nullptr || len <= 0) return {};
  return {data, static_cast<std::size_t>(len)};
}

std::string_view EventText(const unsigned char* data, int len) {
  const std::span<const std::uint8_t> bytes = EventBytes(data, len);
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Runs `fill` on the export's own result text and returns it; a failure
// leaves the text empty.
template <typename Fill>
const char* ResultText(std::string& buffer, Fill fill) {
  try {
    buffer.clear();
    fill(buffer);
  } catch (...) {
    buffer.clear();
  }
  return buffer.c_str();
}

int DataCaptureMode() {
  const TranslatorOptions& options = Library().options;
  return options.EnableTradDC != 0 ? options.DataCaptureFormat : CAPTURE_MODE_HEX;
}

void CopyCode(char* dst, const std::string& code) {
  if (dst == nullptr) return;
  const std::size_t length = std::min(code.size(), kExtCodeTextLength);
  std::memcpy(dst, code.data(), length);
  dst[length] = '\0';
}

template <typename T>
void Store(T* dst, T value) {
  if (dst != nullptr) *dst = value;
}

}  // namespace

const char* QUADREL_CALL Trad_DCXEvent(int, const unsigned char* data, int len) {
  static std::string text;
  return ResultText(text, [&](std::string& out) {
    out = EcrToPcText(EventText(data, len));
    WriteCaptureLine(out);
  });
}

const char* QUADREL_CALL Trad_DCYEvent(int ecr, const unsigned char* data, int len) {
  static std::string text;
  return ResultText(text, [&](std::string& out) {
    FormatDataCaptureRecord(ecr, out, EventBytes(data, len), DataCaptureMode());
  });
}

const char* QUADREL_CALL Trad_IEvent(int, const unsigned char* data, int len) {
  static std::string text;
  return ResultText(text, [&](std::string& out) { out = BytesToHex(EventBytes(data, len)); });
}

void QUADREL_CALL Trad_FileExtEnq(int ecr, const unsigned char* data, int len, int* status, char* code,
                                  double* quantity) {
  FileExtEnquiry enquiry;
  try {
    enquiry = DecodeFileExtEnquiry(ecr, EventBytes(data, len));
  } catch (...) {
    enquiry = FileExtEnquiry{};
  }
  Store(status, enquiry.status);
  CopyCode(code, enquiry.code);
  Store(quantity, enquiry.quantity);
}

void QUADREL_CALL Trad_FileExtUpd(int ecr, const unsigned char* data, int len, int* status, char* code,
                                  double* value1, double* value2) {
  FileExtUpdate update;
  try {
    update = DecodeFileExtUpdate(ecr, EventBytes(data, len));
  } catch (...) {
    update = FileExtUpdate{};
  }
  Store(status, update.status);
  CopyCode(code, update.code);
  Store(value1, update.value1);
  Store(value2, update.value2);
}

void QUADREL_CALL Trad_RispExtEnq(int ecr, unsigned kind, int textCode, const char* answer,
                                  unsigned char* reply, int* replyLength) {
  std::vector<std::uint8_t> frame;
  try {
    frame = BuildFileExtReply(ecr, kind, textCode != 0, answer != nullptr ? answer : "");
  } catch (...) {
    frame.clear();
  }
  if (reply == nullptr) frame.clear();
  if (!frame.empty()) std::memcpy(reply, frame.data(), frame.size());
  Store(replyLength, static_cast<int>(frame.size()));
}
