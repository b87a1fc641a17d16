#include "commands/session/slave_mode.h"

#include <cstdint>
#include <string>

#include "language/command_field_values.h"
#include "language/command_fields.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "state/ecr_config.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

enum SlaveField : int { kFieldOn = 1, kFieldOff = 2, kFieldText = 3, kFieldOutputs = 4 };

constexpr std::uint8_t kSlaveStateQuery = 23;
constexpr std::uint8_t kSlaveText = 2;
constexpr std::uint8_t kOutputSettings = 14;
constexpr int kLeadingZeroFeature = 1;
constexpr int kOutputsFeature = 103;
constexpr int kOutputFlagBits = 0x07;
constexpr int kDataErrorRefused = kClassEcrDataError | 4;  // 2052: the register refuses in this key position
constexpr int kKeyPositionTries = 3;
constexpr const char* kToKeyPosition14 = "#9 #4=14";

int QuerySlaveState() {
  int error = 0;
  return SendFrame3('U', 0, kSlaveStateQuery, error) ? 0 : error;
}

// Turns the register to key position 14 with a nested command and asks
// again, while it refuses: after a 2052, twice; the last turn after any
// failure. 8 when the last answer is still 2052. The handler's own fields
// survive the nested commands.
int RecoverSlaveQuery(int error) {
  SaveCommandFields();
  int tries = 0;
  while (error != 0 && tries < kKeyPositionTries && (error == kDataErrorRefused || tries == kKeyPositionTries - 1)) {
    SendKeyBatch(TradExecCommand(kToKeyPosition14), nullptr, 0);
    error = QuerySlaveState();
    ++tries;
  }
  RestoreCommandFields();
  return tries == kKeyPositionTries && error == kDataErrorRefused ? kResultNotInRegPosition : 0;
}

// 'H' 2 and the text; registers with the leading-zero feature take a zero
// byte before the text and one after it, the others two after it.
std::string SlaveTextFrame() {
  std::string frame = {'H', static_cast<char>(kSlaveText)};
  const bool leadingZero = CurrentRecord().FeatureLevels[kLeadingZeroFeature] != 0;
  if (leadingZero) frame.push_back('\0');
  frame += PcToEcrText(FieldText(kFieldText));
  frame.push_back('\0');
  if (!leadingZero) frame.push_back('\0');
  return frame;
}

int SendText(const std::string& frame) {
  int error = 0;
  return SendEcrFrame(FRAME_PLAIN, reinterpret_cast<const std::uint8_t*>(frame.data()), static_cast<int>(frame.size()),
                      error)
             ? 0
             : error;
}

}  // namespace

int CmdSetSlaveMode() {
  const bool switching = FieldGiven(kFieldOn) || FieldGiven(kFieldOff);
  const std::string text = switching && FieldGiven(kFieldText) ? SlaveTextFrame() : std::string();
  if (text.size() > kMaxFrameLength) return kResultIllegalValue;
  int outputs = 0;
  const bool sendOutputs = CurrentRecord().FeatureLevels[kOutputsFeature] != 0 && FieldGiven(kFieldOutputs);
  if (sendOutputs && (!FieldInteger(kFieldOutputs, outputs) || outputs < 0))
    return kResultIllegalValue;

  if (const int error = QuerySlaveState())
    if (const int refused = RecoverSlaveQuery(error)) return refused;
  int error = 0;
  if (switching) {
    if (!SendFrame2('H', FieldGiven(kFieldOn) ? 1 : 0, error)) return error;
    if (!text.empty())
      if (const int failed = SendText(text)) return failed;
  }
  if (sendOutputs && !SendFrame3('O', kOutputSettings, static_cast<std::uint8_t>(outputs & kOutputFlagBits), error)) return error;
  return 0;
}

}  // namespace quadrel
