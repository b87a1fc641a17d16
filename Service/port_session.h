// What a client connection needs from the driver window: the one client slot,
// the logical port, and the translator and protocol library behind it. The
// window implements it for the product; tests put a fake port behind it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "client_events.h"
#include "command_switches.h"

namespace ravelin {

// The translator options reached through numeric properties 3 to 6.
enum class TTranslatorOption { EnableTradDC, QuoteChar, SeparatorChar, OutEditOptions };

class IPortSession {
 public:
  virtual ~IPortSession() = default;

  // Client slot: index, or -1 when none is free or AutoRun runs a file.
  virtual int TakeClientSlot(IClientEventTarget* client) = 0;
  // Frees the slot; the port closes when no client remains.
  virtual void FreeClientSlot(int slot) = 0;
  // False when an exclusive bit is held by another slot (the rest is stored).
  virtual bool SetSlotEventMask(std::int32_t mask, int slot) = 0;
  virtual std::int32_t GetSlotEventMask(int slot) = 0;

  // 0 when open; 20 when the port could not be opened; else TradInit's result.
  virtual int OpenLogicalPort(int port) = 0;
  virtual bool CloseLogicalPort() = 0;

  // The translator. `answer` holds at least 256 bytes (the translator never
  // writes more).
  virtual int EcrCmd(const char* line, char* answer) = 0;
  virtual int GetOption(TTranslatorOption option) = 0;
  virtual void SetOption(TTranslatorOption option, int value) = 0;
  virtual int GetEcrConfVal(unsigned id) = 0;
  virtual std::string GetEcrConfStr(unsigned id) = 0;

  // The protocol library. For EcrIO, *outLen holds the output capacity on the
  // way in and the output length on the way out.
  virtual int PortEcrIO(int a1, int a2, const char* in, int inLen, char* out, int* outLen,
                        int* detail) = 0;
  virtual int PortGetEcrIStatus(int ecr) = 0;  // -1 when not available
  virtual int PortGetLastError() = 0;

  // Posts WM_RUNASYNCCMD for the slot; the window then calls the slot's
  // RunPendingCommand. False when the message could not be posted.
  virtual bool PostAsyncCommand(int slot) = 0;

  // Answers to enquiries and interactivities, sent after the client's handler.
  virtual IEventReplies& Replies() = 0;
};

// The session the program serves its clients with: the driver window in the
// product, a fake port in the test build of the server. Made on the program's
// thread after COM is up; null when it cannot be made.
std::unique_ptr<IPortSession> MakePortSession(const TStartOptions& options);

}  // namespace ravelin
