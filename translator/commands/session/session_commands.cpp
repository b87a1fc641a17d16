#include "commands/session/session_commands.h"

#include <cstdint>
#include <initializer_list>
#include <string>

#include "config/ecr_config_read.h"
#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kKeyFrame = 'A';
constexpr std::uint8_t kOutputFrame = 'O';
constexpr std::uint8_t kClearKey = 0;
constexpr std::uint8_t kDollarKey = '$';
constexpr std::uint8_t kKeyPositionKey = 14;
constexpr std::uint8_t kDigit4Key = 4;  // key position 4: programming
constexpr std::uint8_t kFunctionKey = 145;
constexpr std::uint8_t kLeaveProgrammingKey = 146;
constexpr std::uint8_t kOutputSettingRecord = 14;
constexpr int kOutputBits = 0x07;
constexpr int kFeatureOutputSetting = 103;

constexpr int kStateIdle = 0x01;
constexpr int kTransactionBusy = 0x21;  // a transaction open, or bit 5

enum ProgSessionField : int { kFieldFunction = 1, kFieldOutput = 2 };

// Appends one whole record; 0, or 31 when the queue is full.
int QueueRecord(std::initializer_list<std::uint8_t> bytes) {
  KeyRecordQueue& batch = KeyBatch();
  for (const std::uint8_t byte : bytes) batch.Append(byte);
  return batch.EndKeyRecord();
}

bool EcrIdle() {
  const EcrStatusFields& status = EcrStatusBytes();
  return (status.state & kStateIdle) && !(status.transactionFlags & kTransactionBusy);
}

// 'A', the digit keys of the register's programming function number, 145.
int QueueFunctionNumber(const EcrConfigRecord& record) {
  std::string keys(1, static_cast<char>(kKeyFrame));
  DigitsToKeys(keys, std::to_string(record.ModelLimitB));
  keys.push_back(static_cast<char>(kFunctionKey));
  KeyBatch().Append(keys);
  return KeyBatch().EndKeyRecord();
}

}  // namespace

void EndProgSession() {
  Executor().ProgSessionState = 0;
  Library().progFunctionKeyed = false;
}

int CmdClearKey() {
  Executor().StopOnRecordError = 1;
  return QueueRecord({kKeyFrame, kClearKey});
}

int CmdDollarKey() {
  Executor().StopOnRecordError = 1;
  return QueueRecord({kKeyFrame, kDollarKey});
}

int CmdOpenProgSession() {
  int outputBits = 0;
  const bool outputGiven = FieldGiven(kFieldOutput);
  if (outputGiven && !FieldInteger(kFieldOutput, outputBits)) return kResultInvalidParameters;
  if (!EcrIdle()) return kResultEcrNotIdle;
  if (const int read = ReadEcrConfig(0); read != 0) return read;
  const EcrConfigRecord& record = EcrRecord(CurrentEcr());

  if (const int queued =
          QueueRecord({kKeyFrame, kClearKey, kClearKey, kDigit4Key, kKeyPositionKey}))
    return queued;
  const bool keyFunction = FieldIsFlag(kFieldFunction);
  if (keyFunction) {
    if (const int queued = QueueFunctionNumber(record)) return queued;
  }
  if (record.FeatureLevels[kFeatureOutputSetting] != 0 && outputGiven) {
    const auto bits = static_cast<std::uint8_t>(outputBits & kOutputBits);
    if (const int queued = QueueRecord({kOutputFrame, kOutputSettingRecord, bits})) return queued;
  }
  Library().progFunctionKeyed = keyFunction;
  Executor().ProgSessionState = -1;
  return 0;
}

int CmdCloseProgSession() {
  int queued = 0;
  if (!(EcrStatusBytes().state & kStateIdle)) queued = QueueRecord({kKeyFrame, kLeaveProgrammingKey});
  EndProgSession();
  return queued;
}

}  // namespace quadrel
