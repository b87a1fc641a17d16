// What the protocol library tests share: the simulator the ctest fixture
// started (or one of their own), port keys in the prefix's registry, and the
// library loaded by file name with its 15 functions bound.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "protocol_api.h"

namespace protocol_test {

inline constexpr const char* kPortsKey = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA\\Ports";

// A control connection to an ecrsim; Run sends one line and returns the reply
// up to and including its OK/ERROR line ("" when the simulator does not answer).
class SimControl {
 public:
  explicit SimControl(std::uint16_t controlPort);
  ~SimControl();
  std::string Run(const std::string& line);
  bool Ok(const std::string& line) { return Run(line).find("OK") != std::string::npos; }

 private:
  std::uintptr_t socket_;
};

struct SimPorts {
  std::uint16_t wire = 0;
  std::uint16_t control = 0;
};
// The ports of the fixture's simulator.
SimPorts FixturePorts();

// An ecrsim of the test's own (for stopping and restarting it).
class SimProcess {
 public:
  ~SimProcess() { Stop(); }
  bool Start(std::uint16_t wirePort);  // 0: any free port
  void Stop();                         // "stop", then waits for the exit (bounded)
  SimPorts ports;

 private:
  PROCESS_INFORMATION process_{};
};

// HKLM ports key + "\" + number, written anew from `values`; removed at destruction.
class PortKey {
 public:
  PortKey(int number, const std::map<std::string, std::string>& values);
  ~PortKey();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};
std::map<std::string, std::string> EthernetPortValues(std::uint16_t wirePort, int answerTimeoutMs = 800);

struct ProtocolLibrary {
  HMODULE module = nullptr;
  void(__stdcall* GetLastProtocolError)(int*, char*) = nullptr;
  int(__stdcall* OpenProt)(const char*, const char*) = nullptr;
  int(__stdcall* GetClient)(int) = nullptr;
  void(__stdcall* CloseProt)(int) = nullptr;
  int(__stdcall* SetOnRxEvent)(ProtEventProc) = nullptr;
  int(__stdcall* SetOnNetChangeEvent)(ProtEventProc) = nullptr;
  int(__stdcall* SetMessRxEvent)(ProtEventProc) = nullptr;
  int(__stdcall* SendData)(int, const void*, int) = nullptr;
  int(__stdcall* EcrIO)(int, int, void*, int, void*, int*, int*) = nullptr;
  int(__stdcall* EcrBrdcIO)(int, const void*, int, int, int, void*, int*, int*) = nullptr;
  int(__stdcall* GetEcrMessage)(int, TEcrMessage*) = nullptr;
  int(__stdcall* GetEcrAnswer)(int, void*, int*) = nullptr;
  int(__stdcall* GetEcrIStatus)(int, int*) = nullptr;
  int(__stdcall* GetByteCount)() = nullptr;
  int(__stdcall* SendStExRq)(int) = nullptr;

  bool Load(const char* fileName);  // false when the file or a function is missing
  ~ProtocolLibrary();
};

// Hex of bytes, "53 01 00" style, for readable assertions.
std::string Hex(const std::uint8_t* bytes, int length);

}  // namespace protocol_test
