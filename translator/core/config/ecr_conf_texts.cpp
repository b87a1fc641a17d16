#include "config/ecr_conf_texts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <vector>

#include "config/config_text_fields.h"
#include "link/register_link.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kMultiEcrProtocol = 1;
constexpr int kHostSwitch1 = 0x01;
constexpr int kHostSwitch2 = 0x02;
constexpr std::size_t kEcrFlagsColumn = 10;

// Loads the answer of an exchange that must have succeeded with answer byte 1 = 0.
bool ExchangeAccepted(bool sent, ConfigTextFields& fields) {
  if (!sent) return false;
  fields.UseFrameAnswer();
  return fields.Byte(1) == 0;
}

char TwoDigits(int value, int position) {
  const int clamped = std::clamp(value, 0, 99);
  return static_cast<char>('0' + (position == 0 ? clamped / 10 : clamped % 10));
}

char FlagDigit(const HostInfoRecord& host, int ecr) {
  return static_cast<char>('0' + (host.presenceFlags ? host.presenceFlags[ecr] & 3 : 0));
}

}  // namespace

std::optional<std::string> HostStatusText() {
  const HostInfoRecord* host = Library().host.info;
  if (!host) return std::nullopt;
  std::string text(kHostStatusTextChars, ' ');
  text[0] = static_cast<char>('0' + host->protocolType);
  text[1] = TwoDigits(host->registerCount, 0);
  text[2] = TwoDigits(host->registerCount, 1);
  text[3] = TwoDigits(SelectedEcr(), 0);
  text[4] = TwoDigits(SelectedEcr(), 1);
  text[5] = host->hostSwitches & kHostSwitch1 ? '1' : '0';
  text[6] = host->hostSwitches & kHostSwitch2 ? '1' : '0';
  const int shown = host->protocolType == kMultiEcrProtocol ? kMaxEcr : 1;
  for (int ecr = 1; ecr <= shown; ++ecr) text[kEcrFlagsColumn + ecr - 1] = FlagDigit(*host, ecr);
  return text;
}

std::optional<std::string> InfoCountersText(const EcrConfigRecord& record) {
  ConfigTextFields fields(record);
  int error = 0;
  if (!ExchangeAccepted(SendFrame3('U', 0, 23, error), fields)) return std::nullopt;
  const int d = record.AmountBytes;
  bool whole = fields.Digit(6);
  fields.Separator();
  whole = whole && fields.Digit(4, 0x01);
  fields.Separator();
  whole = whole && fields.UnsignedByte(5) && fields.Bcd(9, 2);
  for (int i = 0; i < 6 && whole; ++i) whole = fields.Bcd(11 + i * d, d);
  whole = whole && fields.Word(7);
  if (!whole) return std::nullopt;
  // Newer registers add two totals and a signed count after the six amounts.
  const int more = 11 + 6 * d;
  if (more < fields.AnswerLength() && fields.Fits(more, 2 * d + 1)) {
    fields.Bcd(more, d);
    fields.Bcd(more + d, d);
    fields.SignedByte(more + 2 * d);
  }
  return fields.Finish(kInfoCountersTextChars);
}

int ReadExtendedStatus(std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  const HostInfoRecord* host = Library().host.info;
  if (!host || !host->statusEx) return kNoExtendedStatus;
  int status = 0;
  int length = 0;
  std::array<std::uint8_t, kHostStatusExBytes> buffer{};
  const int result = host->statusEx(CurrentEcr(), 0, &status, &length, buffer.data());
  char line[80];
  std::snprintf(line, sizeof line, "IDSECRCNF_STATUSEX iF %d", result);
  HostTraceLine(2, line);
  std::snprintf(line, sizeof line, "IDSECRCNF_STATUSEX iEcrStExLn %d", length);
  HostTraceLine(2, line);
  std::snprintf(line, sizeof line, "IDSECRCNF_STATUSEX iEcrSt %d", status);
  HostTraceLine(2, line);
  if (result != 0) return result;
  // A length the buffer cannot hold is the host's fault: show no bytes rather than others.
  const bool lengthValid = length >= 0 && length <= kHostStatusExBytes;
  bytes.assign(buffer.begin(), buffer.begin() + (lengthValid ? length : 0));
  return 0;
}

std::optional<std::string> ExtendedStatusHex() {
  std::vector<std::uint8_t> bytes;
  if (ReadExtendedStatus(bytes) != 0) return std::nullopt;
  return BytesToHex(bytes);
}

std::optional<std::string> SettingValuesText(const EcrConfigRecord& record) {
  ConfigTextFields fields(record);
  int error = 0;
  if (!SendFrame2('C', 20, error)) return std::nullopt;
  fields.UseFrameAnswer();
  bool whole = fields.Digit(1);
  fields.Separator();
  whole = whole && fields.UnsignedByte(2) && fields.UnsignedByte(3) && fields.UnsignedByte(4) &&
          fields.SignedLong(5) && fields.SignedLong(9) && fields.SignedLong(13) && fields.Bcd(17, 3);
  if (!whole) return std::nullopt;
  return fields.Finish(kSettingValuesTextChars);
}

}  // namespace quadrel
