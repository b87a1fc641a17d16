// What AutoRun needs from the driver window. The port functions have the
// signatures of the window's own (IPortSession), so the window serves both
// with one implementation each; tests put a fake port behind it.
#pragma once

#include <string>

#include "port_session.h"

namespace ravelin {

class IAutoRunPort {
 public:
  virtual ~IAutoRunPort() = default;

  // 0 when open; anything else is a failed open (20, or TradInit's result).
  virtual int OpenLogicalPort(int port) = 0;
  virtual bool CloseLogicalPort() = 0;
  // The translator's EcrCmd; `answer` holds kAutoRunAnswerBytes bytes.
  virtual int EcrCmd(const char* line, char* answer) = 0;
  // The translator's options, which clients may have changed.
  virtual int GetOption(TTranslatorOption option) = 0;
  virtual void SetOption(TTranslatorOption option, int value) = 0;

  // A client holds a slot (lConnectionAlive is not 0).
  virtual bool ClientConnected() = 0;
  // The slot table's AutoRun-running flag: set, clients are refused a slot.
  virtual void SetAutoRunRunning(bool running) = 0;
  // Lets the window's pending messages run (timer ticks, COM calls).
  virtual void ProcessMessages() = 0;

  // eAutoRun: the answer of the last command file.
  virtual void ShowAutoRunAnswer(const std::string& answer) = 0;
  // A line for the driver window's log.
  virtual void LogAutoRun(const std::string& text) = 0;
  // The " AutoRun " group: shown in single-port mode while AutoRun is on.
  virtual void ShowAutoRunGroup(bool visible) = 0;
};

}  // namespace ravelin
