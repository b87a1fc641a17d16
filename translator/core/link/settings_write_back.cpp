#include "link/settings_write_back.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "interfaces/host_info.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kSettingsLetter = 'C';
constexpr std::uint8_t kOutputSettings = 3;
constexpr int kEchoByte = 4;

// 'C' 3 read, then 'C' 3 written back with the echo byte set to `echo`
// unless `onlyWhenOff` and the echo is already on. `written` tells whether
// the write happened.
int WriteEcho(std::uint8_t echo, bool onlyWhenOff, bool& written) {
  written = false;
  EcrSettings settings;
  if (const int error = ReadEcrSettings(settings)) return error;
  if (onlyWhenOff && settings[kEchoByte - 1] != 0) return 0;
  settings[kEchoByte - 1] = echo;
  if (const int error = WriteEcrSettings(settings)) return error;
  written = true;
  return 0;
}

}  // namespace

int ReadEcrSettings(EcrSettings& settings) {
  int error = 0;
  FrameBufferData& buffer = FrameBuffer();
  const std::array<std::uint8_t, 2> read = {kSettingsLetter, kOutputSettings};
  buffer.Load(read);
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return error;
  if (buffer.length < 1 + kEcrSettingsBytes) return kClassAnswerLetter | buffer.data[0];
  std::copy_n(buffer.data.begin() + 1, kEcrSettingsBytes, settings.begin());
  return 0;
}

int WriteEcrSettings(const EcrSettings& settings) {
  std::array<std::uint8_t, 2 + kEcrSettingsBytes> write = {kSettingsLetter, kOutputSettings};
  std::copy(settings.begin(), settings.end(), write.begin() + 2);
  FrameBuffer().Load(write);
  int error = 0;
  return SendFrameBuffer(FRAME_PLAIN, error) ? 0 : error;
}

int WriteBackEcrSettings() {
  LibraryState& lib = Library();
  if (!lib.settingsChanged) return 0;

  bool written = false;
  if (const int error = WriteEcho(0, false, written)) return error;
  // Only now is the echo off: a failed write-back is tried again at the next
  // key batch or at TradClose.
  lib.settingsChanged = false;

  std::int32_t out = 0;
  RequestHostService(ECRIO_XFER_END, 0, nullptr, nullptr, nullptr, nullptr, &out);
  return 0;
}

int SwitchEcrEchoOn() {
  bool written = false;
  const int error = WriteEcho(1, true, written);
  if (written) Library().settingsChanged = true;
  return error;
}

int StartEcrEcho() {
  if (const int error = SwitchEcrEchoOn()) return error;
  std::int32_t out = 0;
  RequestHostService(ECRIO_ECHO_ON, 0, nullptr, nullptr, nullptr, nullptr, &out);
  return 0;
}

}  // namespace quadrel
