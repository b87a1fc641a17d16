// Command 28: #1-#5 switch settings bytes 1, 3, 4, 5, 6 ("VERO" or 2 on,
// "1" off, anything else unchanged), #6 one or two digits as BCD into byte 9
// where the register allows it, #7 the register: empty the current one, 0
// every present one, n register n.
#include <string>
#include <vector>

#include "commands/reports/report_commands.h"
#include "config/ecr_config_read.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/register_checks.h"
#include "link/settings_write_back.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kSwitchedBytes[] = {1, 3, 4, 5, 6};  // for #1 to #5
constexpr int kCodeSlot = 6;
constexpr int kCodeByte = 9;
constexpr int kRegisterSlot = 7;
constexpr int kFeatureSettingCode = 83;  // the register takes the code of #6
constexpr int kPresent = 1, kExcluded = 2;

int PresenceFlags(int ecr) {
  const HostInfoRecord* info = Library().host.info;
  return info && info->presenceFlags ? info->presenceFlags[ecr] : 0;
}

int RegisterCount() {
  const HostInfoRecord* info = Library().host.info;
  return info ? info->registerCount : 0;
}

// The registers #7 names; 275 for a number the line does not have.
int Targets(std::vector<int>& targets) {
  if (!FieldGiven(kRegisterSlot)) {
    targets = {CurrentEcr()};
    return 0;
  }
  int n = -1;
  const bool multi = (Library().TradFlags & TRADF_MULTI_ECR) != 0;
  if (!FieldInteger(kRegisterSlot, n) || n < 0 || n > RegisterCount() || n > kMaxEcr || (!multi && n > 1))
    return kResultEcrNumberIllegal;
  if (n != 0) {
    if (!(PresenceFlags(n) & kPresent)) return kResultEcrNumberIllegal;
    targets = {n};
    return 0;
  }
  for (int ecr = 1; ecr <= RegisterCount() && ecr <= kMaxEcr; ++ecr)
    if ((PresenceFlags(ecr) & (kPresent | kExcluded)) == kPresent) targets.push_back(ecr);
  return 0;
}

// #6 as two BCD digits; false for anything but one or two digits.
bool SettingCode(std::uint8_t& code) {
  const std::string& text = FieldText(kCodeSlot);
  int value = 0;
  if (text.empty() || text.size() > 2 || !FieldInteger(kCodeSlot, value) || value < 0) return false;
  code = static_cast<std::uint8_t>((value / 10) << 4 | value % 10);
  return true;
}

int ApplyFields(EcrSettings& settings) {
  for (int slot = 1; slot <= 5; ++slot) {
    std::uint8_t& byte = settings[static_cast<std::size_t>(kSwitchedBytes[slot - 1] - 1)];
    if (FieldSwitchOn(slot)) {
      byte = 1;
    } else if (FieldText(slot) == "1") {
      byte = 0;
    }
  }
  if (FieldGiven(kCodeSlot) && HasFeature(kFeatureSettingCode)) {
    std::uint8_t code = 0;
    if (!SettingCode(code)) return kResultIllegalValue;
    settings[kCodeByte - 1] = code;
  }
  return 0;
}

int UpdateSettings(int ecr) {
  CurrentEcr() = ecr;
  SetCurrentRecordSlot(ecr);
  if (const int error = ReadEcrConfig(0)) return error;
  EcrSettings settings{};
  if (const int error = ReadEcrSettings(settings)) return error;
  if (const int error = ApplyFields(settings)) return error;
  return WriteEcrSettings(settings);
}

}  // namespace

int CmdSetOutputSettings() {
  std::vector<int> targets;
  if (const int error = Targets(targets)) return error;
  int result = 0;
  for (const int ecr : targets) {
    result = UpdateSettings(ecr);
    if (result != 0) break;
  }
  // The selected register is current again, whatever happened.
  CurrentEcr() = SelectedEcr();
  SetCurrentRecordSlot(SelectedEcr());
  return result;
}

}  // namespace quadrel
