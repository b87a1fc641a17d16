#include "events/ext_file_events.h"

#include <algorithm>

#include "events/event_record.h"
#include "text/bcd_text.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kTextCodeMark = 0xFF;
constexpr std::size_t kShownCodeBytes = kExtCodeTextLength / 2;
constexpr std::size_t kUpdateValue1Bytes = 4;
constexpr double kAmountScale = 1000.0;

std::size_t Width(int configured) {
  return static_cast<std::size_t>(std::max(configured, 0));
}

// Reads the article code at the start of `data` and returns the position
// after it, or the end of the data when the code is cut short (the code is
// then empty). A BCD code wider than the code text shows its first bytes.
std::size_t ReadArticleCode(int ecr, std::span<const std::uint8_t> data, int& status, std::string& code) {
  const bool textCode = !data.empty() && data[0] == kTextCodeMark;
  const std::size_t codeEnd = textCode ? 1 + kExtCodeTextLength : Width(EventRecord(ecr).CodeBytes);
  status = textCode ? EXT_CODE_TEXT : EXT_CODE_BCD;
  if (!EventRecordValid(ecr)) status = textCode ? EXT_CODE_TEXT_UNCONFIGURED : EXT_CODE_BCD_UNCONFIGURED;
  code.clear();
  if (codeEnd > data.size()) return data.size();
  if (textCode) {
    code.assign(data.begin() + 1, data.begin() + static_cast<std::ptrdiff_t>(codeEnd));
    code.resize(std::min(code.find('\0'), code.size()));  // the host reads it as a C text
  } else {
    code = BytesToHex(data.first(std::min(codeEnd, kShownCodeBytes)));
  }
  return codeEnd;
}

// Reads `width` bytes at `position` when they are all there; moves past them.
bool ReadBcd(std::span<const std::uint8_t> data, std::size_t& position, std::size_t width, double& value) {
  if (width == 0 || position > data.size() || data.size() - position < width) return false;
  value = BcdToNumber(data.subspan(position, width));
  position += width;
  return true;
}

}  // namespace

FileExtEnquiry DecodeFileExtEnquiry(int ecr, std::span<const std::uint8_t> data) {
  FileExtEnquiry enquiry;
  std::size_t position = ReadArticleCode(ecr, data, enquiry.status, enquiry.code);
  const std::size_t amountBytes = Width(EventRecord(ecr).AmountBytes);
  double first = 0;
  if (!ReadBcd(data, position, amountBytes, first)) return enquiry;
  enquiry.quantity = first / kAmountScale;
  double second = 0;
  // A second amount of zero leaves the first as it is rather than dividing by it.
  if (ReadBcd(data, position, amountBytes, second) && second != 0) enquiry.quantity /= second / kAmountScale;
  return enquiry;
}

FileExtUpdate DecodeFileExtUpdate(int ecr, std::span<const std::uint8_t> data) {
  FileExtUpdate update;
  std::size_t position = ReadArticleCode(ecr, data, update.status, update.code);
  if (!ReadBcd(data, position, kUpdateValue1Bytes, update.value1)) return update;
  update.value1 /= kAmountScale;
  ReadBcd(data, position, Width(EventRecord(ecr).BcdBytesB), update.value2);
  return update;
}

}  // namespace quadrel
