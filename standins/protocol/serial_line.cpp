#include <windows.h>

#include "byte_line.h"

namespace prot {
namespace {

constexpr DWORD kReadPauseMs = 5;    // pause between reads that found nothing
constexpr DWORD kWriteLimitMs = 5000;  // a write that takes longer (flow control held) fails

// Reads return at once with what has arrived, so the reader thread polls and
// never holds the port while an exchange writes (synchronous handles serialise
// their I/O on Windows; waiting reads under Wine ignore the port's time-outs).
class SerialLine final : public ByteLine {
 public:
  explicit SerialLine(HANDLE port) : port_(port) {}
  ~SerialLine() override { CloseHandle(port_); }

  bool Send(std::span<const std::uint8_t> bytes) override {
    DWORD written = 0;
    return WriteFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }

  int Receive(std::uint8_t* buffer, int size, int timeoutMs) override {
    const DWORD start = GetTickCount();
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(port_, buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
      if (got > 0) return static_cast<int>(got);
      if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) return 0;
      Sleep(kReadPauseMs);
    }
  }

 private:
  HANDLE port_;
};

bool Configure(HANDLE port, const PortSettings& settings) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port, &dcb)) return false;
  dcb.BaudRate = settings.speed;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = settings.ctsCheck;
  dcb.fOutxDsrFlow = settings.dsrCheck;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  if (!SetCommState(port, &dcb)) return false;
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;  // with both totals 0: return what is there
  timeouts.WriteTotalTimeoutConstant = kWriteLimitMs;
  return SetCommTimeouts(port, &timeouts) != 0;
}

}  // namespace

std::unique_ptr<ByteLine> OpenSerialLine(const PortSettings& settings, std::string& error) {
  const std::string device = "\\\\.\\" + settings.serialPort;
  HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    error = "cannot open " + settings.serialPort;
    return nullptr;
  }
  if (!Configure(port, settings)) {
    CloseHandle(port);
    error = "cannot set up " + settings.serialPort + " at " + std::to_string(settings.speed) + " baud";
    return nullptr;
  }
  return std::make_unique<SerialLine>(port);
}

}  // namespace prot
