// Commands through the translator and the protocol library: command lines
// (synchronous or posted), configuration values, DirectIO and the register status.
#include "com/tallis_interface_impl.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "translator_gate.h"

namespace ravelin {
namespace {

constexpr char kBusyText[] = "Driver occupato";
constexpr char kRunningText[] = "Comando in esecuzione";
// The translator's own text for a line too long for it, so a client logs the
// same reason whichever buffer refused the line.
constexpr char kLineTooLongText[] = "ERROR 1/18 : SINTAX ERROR 18 : SOURCE LINE TOO LONG";
constexpr std::size_t kSyncAnswerBytes = 1024;
constexpr std::size_t kAsyncAnswerBytes = 256;

}  // namespace

std::int32_t TTallisInterfaceImpl::EcrCmd(const std::string& line, std::string& answer) {
  answer.clear();
  if (!Connected()) return lastResult_ = SOR_NO_PORT;
  if (Busy() || TTranslatorGate::Held()) {
    answer = kBusyText;
    return SOR_BUSY;
  }
  if (line.size() > kMaxCommandLine || line.find('\0') != std::string::npos) {
    answer = kLineTooLongText;
    return lastResult_ = SOR_LINE_TOO_LONG;
  }
  commandLine_ = line;
  clientState_ = csRunning;
  if (async_) {
    // Nothing would ever run the line or end the busy state.
    if (!port_.PostAsyncCommand(slot_)) {
      clientState_ = csIdle;
      return lastResult_ = SOR_FAILED;
    }
    answer = kRunningText;
    return SOR_OK;
  }
  std::array<char, kSyncAnswerBytes> buffer{};
  std::int32_t result;
  {
    TTranslatorGate gate;
    result = port_.EcrCmd(commandLine_.c_str(), buffer.data());
  }
  buffer.back() = '\0';
  answer = buffer.data();
  clientState_ = csIdle;
  lastResult_ = result;
  AfterDelivery();
  return result;
}

void TTallisInterfaceImpl::RunPendingCommand() {
  if (!Connected() || !Busy()) return;
  AddRef();
  std::array<char, kAsyncAnswerBytes> buffer{};
  std::int32_t result;
  {
    TTranslatorGate gate;
    if (gate.Entered()) {
      result = port_.EcrCmd(commandLine_.c_str(), buffer.data());
    } else {
      result = SOR_BUSY;
      std::strcpy(buffer.data(), kBusyText);
    }
  }
  buffer.back() = '\0';
  // Idle and the result known before the client hears of it, so its handler
  // may send the next command at once.
  clientState_ = csIdle;
  lastResult_ = result;
  if (wantsCommandComplete_ && Connected()) {
    auto record = std::make_unique<TClientEvent>();
    record->kind = ekCommandComplete;
    record->ecr = 0;
    record->number = result;
    record->text = buffer.data();
    queue_.Enqueue(std::move(record));
  }
  AfterDelivery();
  Release();
}

std::int32_t TTallisInterfaceImpl::EcrConfVal(std::int32_t id) {
  if (!Connected()) return lastResult_ = SOR_NO_PORT;
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) return lastResult_ = SOR_BUSY;
  return port_.GetEcrConfVal(static_cast<unsigned>(id));
}

std::string TTallisInterfaceImpl::EcrConfStr(std::int32_t id) {
  if (!Connected()) {
    lastResult_ = SOR_NO_PORT;
    return {};
  }
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) {
    lastResult_ = SOR_BUSY;
    return {};
  }
  return port_.GetEcrConfStr(static_cast<unsigned>(id));
}

std::int32_t TTallisInterfaceImpl::DirectIO(std::int32_t command, std::int32_t data,
                                            std::string& text) {
  if (!Connected()) return lastResult_ = SOR_NO_PORT;
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) return lastResult_ = SOR_BUSY;
  if (text.size() > kMaxDirectInput) return lastResult_ = SOR_LINE_TOO_LONG;
  std::array<char, kMaxDirectInput + 1> input{};
  std::copy(text.begin(), text.end(), input.begin());
  std::array<char, kDirectOutputBytes> output{};
  int outLen = kDirectOutputBytes;  // the capacity, on the way in
  int detail = 0;
  const int result = port_.PortEcrIO(data, command, input.data(),
                                     static_cast<int>(text.size()) + 1, output.data(), &outLen,
                                     &detail);
  // A protocol library that reports more than it was given room for gets cut.
  outLen = std::clamp(outLen, 0, kDirectOutputBytes);
  text.assign(output.data(), static_cast<std::size_t>(outLen));
  return result;
}

std::int32_t TTallisInterfaceImpl::EcrStatus(std::int32_t ecr) {
  if (!Connected()) {
    lastResult_ = SOR_NO_PORT;
    return SOR_BAD_INDEX;
  }
  // A status request must not slip between the frames of a command on the way.
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) return lastResult_ = SOR_BUSY;
  const int status = port_.PortGetEcrIStatus(ecr);
  lastResult_ = status == -1 ? port_.PortGetLastError() : SOR_OK;
  return status;
}

}  // namespace ravelin
