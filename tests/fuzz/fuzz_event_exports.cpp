// Drives every event export with arbitrary register bytes, lengths, register
// numbers and configuration widths. The head of the input sets the scene:
//   byte 0: the export; byte 1: options (bits 0-1 OutEditOptions, 2
//   EnableTradDC, 3 DataCaptureFormat 2, 4 '"' quotes, 5 negative length,
//   6 text-code reply); bytes 2-5: register number; bytes 6-9: amount, code
//   and the two BCD widths; byte 10: record validity (bit 0 slot 0, bit 1
//   slot 1, bit 2 the event's register) and bit 7 feature 77; byte 11: the
//   reply kind. The rest is the event's data, or the client's answer.
// Data and out-buffers are exact-size heap copies so any overrun is caught.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "events/ext_file_reply.h"
#include "interfaces/translator_exports.h"
#include "language/message_tables.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace {

constexpr std::size_t kHeadBytes = 12;
constexpr int kExports = 6;

void ConfigureSlot(int slot, const std::uint8_t* head, bool valid) {
  quadrel::EcrConfigRecord& record = quadrel::EcrRecord(slot);
  record.AmountBytes = head[6];
  record.CodeBytes = head[7] & 0x0F;
  record.BcdBytesA = head[8];
  record.BcdBytesB = head[9];
  record.EcrNumber = valid ? std::max(slot, 1) : 0;
  record.FeatureLevels[77] = head[10] >> 7;
}

void SetScene(const std::uint8_t* head, int ecr) {
  quadrel::ResetAllEcrRecords();
  ConfigureSlot(0, head, head[10] & 1);
  ConfigureSlot(1, head, head[10] & 2);
  if (ecr >= 1 && ecr <= quadrel::kMaxEcr) ConfigureSlot(ecr, head, head[10] & 4);
  quadrel::TranslatorOptions& options = quadrel::Library().options;
  options.OutEditOptions = head[1] & 3;
  options.EnableTradDC = (head[1] >> 2) & 1;
  options.DataCaptureFormat = 1 + ((head[1] >> 3) & 1);
  options.QuoteChar = (head[1] & 0x10) ? '"' : '\'';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  static const bool ready = [] {
    quadrel::WriteDefaultMessageTexts();
    return true;
  }();
  (void)ready;
  if (size < kHeadBytes) return 0;
  int ecr = 0;
  std::memcpy(&ecr, input + 2, sizeof ecr);
  SetScene(input, ecr);
  const std::vector<unsigned char> data(input + kHeadBytes, input + size);
  // A negative length now and then, as a confused host might pass.
  const int len = (input[1] & 0x20) ? -static_cast<int>(data.size()) : static_cast<int>(data.size());
  const unsigned char* bytes = data.empty() ? nullptr : data.data();

  switch (input[0] % kExports) {
    case 0:
      (void)std::strlen(Trad_DCXEvent(ecr, bytes, len));
      break;
    case 1:
      (void)std::strlen(Trad_DCYEvent(ecr, bytes, len));
      break;
    case 2:
      (void)std::strlen(Trad_IEvent(ecr, bytes, len));
      break;
    case 3: {
      auto code = std::make_unique<char[]>(21);
      int status = 0;
      double quantity = 0;
      Trad_FileExtEnq(ecr, bytes, len, &status, code.get(), &quantity);
      if (std::strlen(code.get()) > 20) std::abort();
      break;
    }
    case 4: {
      auto code = std::make_unique<char[]>(21);
      int status = 0;
      double value1 = 0, value2 = 0;
      Trad_FileExtUpd(ecr, bytes, len, &status, code.get(), &value1, &value2);
      if (std::strlen(code.get()) > 20) std::abort();
      break;
    }
    default: {
      const std::string answer(data.begin(), data.end());  // cut at a zero byte by the export, as a C text
      auto reply = std::make_unique<unsigned char[]>(quadrel::kExtReplyBufferSize);
      int length = -1;
      Trad_RispExtEnq(ecr, input[11] % 6, (input[1] >> 6) & 1, answer.c_str(), reply.get(), &length);
      if (length < 0 || static_cast<std::size_t>(length) > quadrel::kExtReplyBufferSize) std::abort();
      break;
    }
  }
  return 0;
}
