// The protocol library of one open logical port: chosen by the port's type,
// loaded, bound, opened on the port key, and its two callbacks registered.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "interfaces/protocol_library.h"
#include "notifier.h"

namespace ravelin {

// Texts shown while a port opens (Windows-1252, as the message box shows them).
inline constexpr const char* kNoSuchPortMessage = "La Porta Logica selezionata \xE8 inesistente";
inline constexpr const char* kLibraryNotFoundMessage = "Impossibile trovare la dll con nome:\n\n\t";
inline constexpr const char* kLibraryIncompatibleMessage = " non compatibile, manca la funzione:\n\n";

// Where the library's callbacks end up. Called on the library's own threads:
// implementations only post messages.
class IProtocolEventHandler {
 public:
  // Receive callback: a register message is waiting under `index`.
  virtual void OnRegisterMessage(int index, int eventChar) = 0;
  // Network-change callback: the line's status changed.
  virtual void OnLineStatusChange(int value, int detail) = 0;

 protected:
  ~IProtocolEventHandler() = default;
};

class TProtocolDriver {
 public:
  // Loads, binds and opens; IsOpen tells whether it worked. Failures other
  // than OpenProt's own are shown through `notifier`. Once open, the
  // library's callbacks reach `handler` (null: they are dropped); it is in
  // place before the callbacks are registered, so no early event is lost.
  TProtocolDriver(const std::string& keyPath, Notifier& notifier, IProtocolEventHandler* handler);
  // Closes the port when it is open and unloads the library.
  ~TProtocolDriver();
  TProtocolDriver(const TProtocolDriver&) = delete;
  TProtocolDriver& operator=(const TProtocolDriver&) = delete;

  bool IsOpen() const { return open_; }
  // Telematic port types: GetClient is bound and may be called.
  bool IsTelematic() const { return telematic_; }
  const std::string& LibraryFileName() const { return fileName_; }

  // Stops the callbacks, CloseProt(0), unloads the library. Idempotent.
  void ProtClose();

  bool ProtSendData(int ecr, const void* data, int length);
  int ProtEcrIO(int ecrOrRequest, int mode, void* in, void* inLength, void* out, void* outLength, void* detail);
  bool ProtGetEcrIStatus(int ecr, int& status);
  bool ProtGetEcrMessage(int index, TEcrMessage& message);
  int ProtGetByteCount();
  // GetClient(n), only for the telematic types (the only ones that bind it).
  std::optional<int> ProtGetClient(int n);
  // Asks the library for its last error and keeps code and text.
  int ProtFetchLastError();
  int LastErrorCode() const { return lastErrorCode_; }
  const std::string& LastErrorText() const { return lastErrorText_; }

 private:
  bool Bind(Notifier& notifier);
  bool Usable() const { return module_ != nullptr && open_; }

  HMODULE module_ = nullptr;
  ProtocolEntryPoints entry_;
  std::string fileName_;
  bool telematic_ = false;
  bool open_ = false;
  int lastErrorCode_ = 0;
  std::string lastErrorText_;
};

}  // namespace ravelin
