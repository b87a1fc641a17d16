#include "port/protocol_driver.h"

#include <cstring>
#include <mutex>

#include "port/port_settings.h"
#include "port/port_types.h"
#include "port/program_library.h"

namespace ravelin {
namespace {

constexpr int kErrorTextBytes = 256;

// The driver whose library's callbacks are served (set at each successful
// open). The lock is held while a callback runs, so once ProtClose has cleared
// it no callback can still be inside the driver or its handler.
std::mutex gCurrentLock;
TProtocolDriver* gCurrentDriver = nullptr;
IProtocolEventHandler* gCurrentHandler = nullptr;

void __stdcall ProtRxCallback(int index, int eventChar) {
  std::lock_guard lock(gCurrentLock);
  if (gCurrentDriver && gCurrentHandler) gCurrentHandler->OnRegisterMessage(index, eventChar);
}

void __stdcall ProtNetChangeCallback(int value, int detail) {
  std::lock_guard lock(gCurrentLock);
  if (gCurrentDriver && gCurrentHandler) gCurrentHandler->OnLineStatusChange(value, detail);
}

template <typename T>
bool BindEntry(HMODULE module, T& slot, const char* name) {
  slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return slot != nullptr;
}

}  // namespace

TProtocolDriver::TProtocolDriver(const std::string& keyPath, Notifier& notifier, IProtocolEventHandler* handler) {
  const std::string portType = ReadPortType(keyPath);
  if (portType.empty()) {
    notifier.Show(kNoSuchPortMessage);
    return;
  }
  const ProtocolLibraryChoice choice = ProtocolLibraryFor(portType);
  fileName_ = choice.fileName;
  telematic_ = choice.telematic;
  module_ = LoadProgramLibrary(fileName_);
  if (!module_) {
    notifier.Show(kLibraryNotFoundMessage + fileName_);
    return;
  }
  if (!Bind(notifier)) return;

  if (!entry_.OpenProt(keyPath.c_str(), "")) {
    ProtFetchLastError();
    return;
  }
  open_ = true;
  {
    std::lock_guard lock(gCurrentLock);
    gCurrentDriver = this;
    gCurrentHandler = handler;
  }
  entry_.SetOnRxEvent(ProtRxCallback);
  entry_.SetOnNetChangeEvent(ProtNetChangeCallback);
}

TProtocolDriver::~TProtocolDriver() { ProtClose(); }

bool TProtocolDriver::Bind(Notifier& notifier) {
  const auto missing = [&](const char* name) {
    notifier.Show(fileName_ + kLibraryIncompatibleMessage + name);
    return false;
  };
  if (!BindEntry(module_, entry_.GetLastProtocolError, "GetLastProtocolError")) return missing("GetLastProtocolError");
  if (!BindEntry(module_, entry_.OpenProt, "OpenProt")) return missing("OpenProt");
  if (telematic_ && !BindEntry(module_, entry_.GetClient, "GetClient")) return missing("GetClient");
  if (!BindEntry(module_, entry_.CloseProt, "CloseProt")) return missing("CloseProt");
  if (!BindEntry(module_, entry_.SetOnRxEvent, "SetOnRxEvent")) return missing("SetOnRxEvent");
  if (!BindEntry(module_, entry_.SetOnNetChangeEvent, "SetOnNetChangeEvent")) return missing("SetOnNetChangeEvent");
  if (!BindEntry(module_, entry_.SetMessRxEvent, "SetMessRxEvent")) return missing("SetMessRxEvent");
  if (!BindEntry(module_, entry_.SendData, "SendData")) return missing("SendData");
  if (!BindEntry(module_, entry_.EcrIO, "EcrIO")) return missing("EcrIO");
  if (!BindEntry(module_, entry_.EcrBrdcIO, "EcrBrdcIO")) return missing("EcrBrdcIO");
  if (!BindEntry(module_, entry_.GetEcrMessage, "GetEcrMessage")) return missing("GetEcrMessage");
  if (!BindEntry(module_, entry_.GetEcrAnswer, "GetEcrAnswer")) return missing("GetEcrAnswer");
  if (!BindEntry(module_, entry_.GetEcrIStatus, "GetEcrIStatus")) return missing("GetEcrIStatus");
  if (!BindEntry(module_, entry_.GetByteCount, "GetByteCount")) return missing("GetByteCount");
  if (!BindEntry(module_, entry_.SendStExRq, "SendStExRq")) return missing("SendStExRq");
  return true;
}

void TProtocolDriver::ProtClose() {
  {
    // First: a callback arriving from the library's reader thread while it
    // shuts down must find nothing to call.
    std::lock_guard lock(gCurrentLock);
    if (gCurrentDriver == this) {
      gCurrentDriver = nullptr;
      gCurrentHandler = nullptr;
    }
  }
  if (!module_) return;
  if (open_) entry_.CloseProt(0);
  open_ = false;
  entry_ = {};
  FreeLibrary(module_);
  module_ = nullptr;
}

bool TProtocolDriver::ProtSendData(int ecr, const void* data, int length) {
  return Usable() && entry_.SendData(ecr, data, length) != 0;
}

int TProtocolDriver::ProtEcrIO(int ecrOrRequest, int mode, void* in, void* inLength, void* out, void* outLength,
                               void* detail) {
  if (!Usable()) return 2;  // no line
  return entry_.EcrIO(ecrOrRequest, mode, in, inLength, out, outLength, detail);
}

bool TProtocolDriver::ProtGetEcrIStatus(int ecr, int& status) {
  return Usable() && entry_.GetEcrIStatus(ecr, &status) != 0;
}

bool TProtocolDriver::ProtGetEcrMessage(int index, TEcrMessage& message) {
  return Usable() && entry_.GetEcrMessage(index, &message) != 0;
}

int TProtocolDriver::ProtGetByteCount() { return Usable() ? entry_.GetByteCount() : 0; }

std::optional<int> TProtocolDriver::ProtGetClient(int n) {
  if (!Usable() || !entry_.GetClient) return std::nullopt;
  return entry_.GetClient(n);
}

int TProtocolDriver::ProtFetchLastError() {
  if (!module_ || !entry_.GetLastProtocolError) return lastErrorCode_;
  char text[kErrorTextBytes + 1] = {};
  int code = 0;
  entry_.GetLastProtocolError(&code, text);
  lastErrorCode_ = code;
  lastErrorText_.assign(text, strnlen(text, kErrorTextBytes));
  return code;
}

}  // namespace ravelin
