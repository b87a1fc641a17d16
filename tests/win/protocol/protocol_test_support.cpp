#include <winsock2.h>

#include "protocol/protocol_test_support.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace protocol_test {
namespace {

constexpr DWORD kReplyTimeoutMs = 5000;

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

struct WinsockUser {
  WinsockUser() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUser() { WSACleanup(); }
};

}  // namespace

SimControl::SimControl(std::uint16_t controlPort) {
  static WinsockUser winsock;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(controlPort);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    throw std::runtime_error("no simulator control port " + std::to_string(controlPort));
  }
  const DWORD timeout = kReplyTimeoutMs;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  socket_ = s;
}

SimControl::~SimControl() { closesocket(static_cast<SOCKET>(socket_)); }

std::string SimControl::Run(const std::string& line) {
  const SOCKET s = static_cast<SOCKET>(socket_);
  const std::string sent = line + "\n";
  send(s, sent.data(), static_cast<int>(sent.size()), 0);
  std::string reply;
  char buffer[512];
  for (;;) {
    if (reply.size() >= 2 && reply.back() == '\n') {
      const auto previous = reply.find_last_of('\n', reply.size() - 2);
      const std::string last = reply.substr(previous == std::string::npos ? 0 : previous + 1);
      if (last.rfind("OK", 0) == 0 || last.rfind("ERROR", 0) == 0) return reply;
    }
    const int n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) return reply;
    reply.append(buffer, static_cast<std::size_t>(n));
  }
}

SimPorts FixturePorts() {
  std::ifstream file(ECRSIM_PORTS_FILE);
  SimPorts ports;
  unsigned wire = 0, control = 0;
  if (!(file >> wire >> control)) throw std::runtime_error("no simulator ports in " ECRSIM_PORTS_FILE);
  ports.wire = static_cast<std::uint16_t>(wire);
  ports.control = static_cast<std::uint16_t>(control);
  return ports;
}

bool SimProcess::Start(std::uint16_t wirePort) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = nullptr;
  std::string command = "\"" + ProgramFolder() + "ecrsim.exe\" --port " + std::to_string(wirePort) + " --control 0";
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &process_);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return false;
  }
  // Two lines name the ports; a simulator that does not print them in time failed.
  std::string out;
  const DWORD deadline = GetTickCount() + 20000;
  while (out.find("control port") == std::string::npos || out.find('\n', out.find("control port")) == std::string::npos) {
    DWORD available = 0;
    if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) break;
    if (available == 0) {
      if (static_cast<int>(deadline - GetTickCount()) <= 0) break;
      Sleep(20);
      continue;
    }
    char buffer[256];
    DWORD got = 0;
    if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
    out.append(buffer, got);
  }
  CloseHandle(readEnd);
  unsigned wire = 0, control = 0;
  const auto wireAt = out.find("wire port "), controlAt = out.find("control port ");
  if (wireAt == std::string::npos || controlAt == std::string::npos ||
      std::sscanf(out.c_str() + wireAt, "wire port %u", &wire) != 1 ||
      std::sscanf(out.c_str() + controlAt, "control port %u", &control) != 1) {
    Stop();
    return false;
  }
  ports = {static_cast<std::uint16_t>(wire), static_cast<std::uint16_t>(control)};
  return true;
}

void SimProcess::Stop() {
  if (!process_.hProcess) return;
  if (ports.control) {
    try {
      SimControl(ports.control).Run("stop");
    } catch (const std::exception&) {
    }
  }
  if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};
  ports = {};
}

PortKey::PortKey(int number, const std::map<std::string, std::string>& values)
    : path_(std::string(kPortsKey) + "\\" + std::to_string(number)) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, path_.c_str());
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    throw std::runtime_error("cannot create " + path_);
  }
  for (const auto& [name, value] : values) {
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }
  RegCloseKey(key);
}

PortKey::~PortKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, path_.c_str()); }

std::map<std::string, std::string> EthernetPortValues(std::uint16_t wirePort, int answerTimeoutMs) {
  return {{"PortType", "EthernetHostPC"},
          {"ECRIP", "127.0.0.1"},
          {"ECRPortNumber", std::to_string(wirePort)},
          {"AnswerTimeout", std::to_string(answerTimeoutMs)}};
}

template <typename T>
static bool Bind(HMODULE module, T& slot, const char* name) {
  slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return slot != nullptr;
}

bool ProtocolLibrary::Load(const char* fileName) {
  module = LoadLibraryA(fileName);
  if (!module) return false;
  return Bind(module, GetLastProtocolError, "GetLastProtocolError") && Bind(module, OpenProt, "OpenProt") &&
         Bind(module, GetClient, "GetClient") && Bind(module, CloseProt, "CloseProt") &&
         Bind(module, SetOnRxEvent, "SetOnRxEvent") && Bind(module, SetOnNetChangeEvent, "SetOnNetChangeEvent") &&
         Bind(module, SetMessRxEvent, "SetMessRxEvent") && Bind(module, SendData, "SendData") &&
         Bind(module, EcrIO, "EcrIO") && Bind(module, EcrBrdcIO, "EcrBrdcIO") &&
         Bind(module, GetEcrMessage, "GetEcrMessage") && Bind(module, GetEcrAnswer, "GetEcrAnswer") &&
         Bind(module, GetEcrIStatus, "GetEcrIStatus") && Bind(module, GetByteCount, "GetByteCount") &&
         Bind(module, SendStExRq, "SendStExRq");
}

ProtocolLibrary::~ProtocolLibrary() {
  if (module) {
    if (CloseProt) CloseProt(0);
    FreeLibrary(module);
  }
}

std::string Hex(const std::uint8_t* bytes, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", bytes[i]);
    text += hex;
  }
  return text;
}

}  // namespace protocol_test
