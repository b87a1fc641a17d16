#include "link/settings_write_back.h"

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
constexpr int kSettingsBytes = 9;  // answer bytes 1 to 9
constexpr int kEchoByte = 4;

// 'C' 3 read, then 'C' 3 written back with the echo byte set to `echo`
// unless `onlyWhenOff` and the echo is already on. `written` tells whether
// the write happened.
int WriteEcho(std::uint8_t echo, bool onlyWhenOff, bool& written) {
  written = false;
  int error = 0;
  FrameBufferData& buffer = FrameBuffer();
  const std::array<std::uint8_t, 2> read = {kSettingsLetter, kOutputSettings};
  buffer.Load(read);
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return error;
  if (buffer.length < 1 + kSettingsBytes) return kClassAnswerLetter | buffer.data[0];
  if (onlyWhenOff && buffer.data[kEchoByte] != 0) return 0;

  std::array<std::uint8_t, 2 + kSettingsBytes> write = {kSettingsLetter, kOutputSettings};
  for (int i = 1; i <= kSettingsBytes; ++i) {
    write[static_cast<std::size_t>(1 + i)] = i == kEchoByte ? echo : buffer.data[static_cast<std::size_t>(i)];
  }
  buffer.Load(write);
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return error;
  written = true;
  return 0;
}

}  // namespace

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

}  // namespace quadrel
