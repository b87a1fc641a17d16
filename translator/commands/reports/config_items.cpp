// Items of the configuration record, the line and the host.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/reports/info_items.h"
#include "commands/reports/info_text.h"
#include "config/chip_card_fields.h"
#include "config/ecr_conf_texts.h"
#include "language/result_codes.h"
#include "link/ecr_readiness.h"
#include "link/ecr_state_fields.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kReaderStateBits = 0x03;
constexpr int kStateStandBy = 'H';
constexpr int kIdentityStampOffset = 31;  // 'T' answer: the register's date and time
constexpr int kPresenceBits = 0x03;
constexpr int kLineDirect = 1;  // presence value of a register on a direct line

InfoItem Text(std::string text) {
  return {0, std::move(text)};
}

InfoItem ChipCardItem(const EcrConfigRecord& record) {
  const int state = EcrStatusBytes().state;
  if ((state & kReaderStateBits) == kReaderStateBits)
    return Text(ChipCardFields(record, ChipCardStyle::Enquiry).value_or(""));
  return Text(state == kStateStandBy ? "1" : "99");
}

InfoItem ExtendedStatusItem() {
  std::vector<std::uint8_t> bytes;
  const int result = ReadExtendedStatus(bytes);
  if (result != 0) return {HostLinkError(result), {}};
  return Text(BytesToHex(bytes));
}

InfoItem IdentityStampItem() {
  int error = 0;
  if (!SendFrame1('T', error) || FrameBuffer().length < kIdentityStampOffset + 5) return Text("");
  std::array<std::uint8_t, 5> stamp{};
  std::copy_n(FrameBuffer().data.begin() + kIdentityStampOffset, 5, stamp.begin());
  return Text(StampText(stamp));
}

InfoItem TextWidthsItem(const EcrConfigRecord& record) {
  const HostInfoRecord* host = Library().host.info;
  const bool wide = host && host->wideText != 0;
  return Text(std::to_string(record.TextWidthB) + (wide ? ",1," : ",0,") + std::to_string(record.TextWidthA));
}

InfoItem FileInfoItem(const EcrConfigRecord& r) {
  const int used = r.FileInfo33 == 0 ? 100 : static_cast<int>(r.FileInfo42 * 100.0 / r.FileInfo33 + 0.5);
  return Text(InfoText()
                  .Number(r.FileInfo8)
                  .Number(r.FileInfo10)
                  .Number(r.FileInfo8 - r.FileInfo10)
                  .Number(r.FileInfo33)
                  .Number(r.FileInfo42)
                  .Number(used)
                  .Number(r.FileInfoB47)
                  .Finish());
}

// A failed read leaves the record suspect: it is read again next time.
InfoItem HeaderTextItem(EcrConfigRecord& record) {
  int error = 0;
  const int length = 2 * record.TextWidthA;
  if (!ReadEcrMemory(static_cast<std::uint16_t>(record.Block3Word5), static_cast<std::uint8_t>(length),
                     error)) {
    record.EcrNumber = 0;
    return {kResultConfigReadError, {}};
  }
  const auto* data = reinterpret_cast<const char*>(FrameBuffer().data.data() + 1);
  std::string text = EcrToPcText(std::string_view(data, length), record);
  text.erase(text.find_last_not_of(' ') + 1);
  return Text(std::move(text));
}

}  // namespace

InfoItem LineStateItem() {
  const HostInfoRecord* host = Library().host.info;
  const int ecr = SelectedEcr();
  int d = host && host->presenceFlags && ecr >= 0 && ecr <= kMaxEcr ? host->presenceFlags[ecr] & kPresenceBits
                                                                    : 0;
  int flags = 0;
  if (d != 0 && AskHostStatus(1, flags) != 0) d = 0;
  InfoText text;
  text.Number(d);
  if (d == kLineDirect) {
    std::vector<std::uint8_t> extended;
    text.Number(flags & HOST_STATUS_NOT_READY ? 1 : 0);
    text.Number(ReadExtendedStatus(extended) == 0 && !extended.empty() ? extended[0] : 0);
    std::string fields;
    int error = 0;
    if (ReadEcrStateFields(fields, error)) text.Raw(fields);
  }
  return Text(text.Finish());
}

InfoItem ConfigItem(int item, EcrConfigRecord& record) {
  switch (item) {
    case 1:
      return Text(InfoText().Text(record.EcrId).Finish());
    case 2:
      return Text(InfoText().Text(record.ModelCode).Finish());
    case 3:
      return Text(InfoText().Text(record.FirmwareName).Finish());
    case 4:
      return Text(InfoCountersText(record).value_or(""));
    case 5:
      return ChipCardItem(record);
    case 6:
      return ExtendedStatusItem();
    case 7:
      return IdentityStampItem();
    case 13:
      return TextWidthsItem(record);
    case 14:
      return FileInfoItem(record);
    case 15:
      return HeaderTextItem(record);
    default:
      return {kResultIllegalValue, {}};
  }
}

}  // namespace quadrel
