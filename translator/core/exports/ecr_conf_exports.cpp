#include "exports/ecr_conf_exports.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "config/ecr_conf_texts.h"
#include "config/ecr_conf_values.h"
#include "config/ecr_config_read.h"
#include "exports/chip_card_text.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

enum StringItem : int {
  kStrHostStatus = 0,
  kStrEcrId = 1,
  kStrModelCode = 2,
  kStrFirmwareName = 3,
  kStrInfoCounters = 4,
  kStrChipCard = 5,
  kStrExtendedStatus = 6,
  kStrSettingValues = 7,
  kStringItemCount
};

// Points CurrentEcr at an explicitly named register for one export call and
// back at the selected register on every way out.
class EcrSwitch {
 public:
  explicit EcrSwitch(int ecr) : switched_(ecr > 0) {
    if (switched_) CurrentEcr() = ecr;
  }
  ~EcrSwitch() {
    if (switched_) CurrentEcr() = SelectedEcr();
  }
  EcrSwitch(const EcrSwitch&) = delete;
  EcrSwitch& operator=(const EcrSwitch&) = delete;

 private:
  bool switched_;
};

// One text a string item; the host reads it until the next call of the same item.
std::array<std::string, kStringItemCount> itemTexts;

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

std::optional<std::string> ItemText(int item, const EcrConfigRecord& record) {
  switch (item) {
    case kStrEcrId:
      return FieldText(record.EcrId);
    case kStrModelCode:
      return FieldText(record.ModelCode);
    case kStrFirmwareName:
      return FieldText(record.FirmwareName);
    case kStrInfoCounters:
      return InfoCountersText(record);
    case kStrChipCard:
      return ChipCardText(record);
    case kStrExtendedStatus:
      return ExtendedStatusHex();
    case kStrSettingValues:
      return SettingValuesText(record);
    default:
      return std::nullopt;
  }
}

const char* Published(int item, std::optional<std::string> text) {
  if (!text) return nullptr;
  itemTexts[item] = std::move(*text);
  return itemTexts[item].c_str();
}

const char* ConfigText(std::uint32_t id) {
  const int ecr = EcrOfConfId(id);
  const int item = ItemOfConfId(id);
  if (ecr > 0 && !EcrAddressable(ecr)) return nullptr;
  if (id == 0) return Published(kStrHostStatus, HostStatusText());
  const EcrSwitch ecrSwitch(ecr);
  if (ReadEcrConfig(0) != 0) return nullptr;
  if (item == kStrHostStatus || item >= kStringItemCount) return nullptr;
  return Published(item, ItemText(item, EcrRecord(CurrentEcr())));
}

}  // namespace

bool EcrAddressable(int ecr) {
  const HostInfoRecord* host = Library().host.info;
  if (!host || ecr < 1 || ecr > kMaxEcr || ecr > host->registerCount) return false;
  if (!(Library().TradFlags & TRADF_MULTI_ECR)) return ecr == 1;
  return host->presenceFlags && (host->presenceFlags[ecr] & 1);
}

}  // namespace quadrel

using namespace quadrel;

int QUADREL_CALL GetEcrConfVal(std::uint32_t id) {
  const ExportEntry entry;
  if (!entry.Entered()) return -1;
  try {
    const int ecr = EcrOfConfId(id);
    if (ecr > 0 && !EcrAddressable(ecr)) return -1;
    const EcrSwitch ecrSwitch(ecr);
    return EcrConfValue(ItemOfConfId(id), ecr > 0);
  } catch (...) {
    return -1;
  }
}

const char* QUADREL_CALL GetEcrConfStr(std::uint32_t id) {
  const ExportEntry entry;
  if (!entry.Entered()) return nullptr;
  try {
    return ConfigText(id);
  } catch (...) {
    return nullptr;
  }
}
