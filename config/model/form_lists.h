// The fixed choices of the form's lists; the first entry of each is the default.
#pragma once

#include <array>

namespace lathwell {

inline constexpr std::array<const char*, 8> kSpeeds{"1200",  "2400",  "4800",  "9600",
                                                    "19200", "38400", "57600", "115200"};

inline constexpr int kSerialPortCount = 16;  // "COM1" to "COM16"
inline constexpr const char* kFirstSerialPort = "COM1";

}  // namespace lathwell
