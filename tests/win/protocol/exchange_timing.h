// Timing for the benchmarks under Wine: microseconds a call over many calls,
// and the floor under every command, one status exchange of a protocol library.
#pragma once

#include <functional>

#include "protocol/protocol_test_support.h"

namespace protocol_test {

double MicrosecondsPerCall(int calls, const std::function<void()>& call);

// One 'S' frame and its answer for register 1 through `library`, already open.
double StatusExchangeMicroseconds(ProtocolLibrary& library, int calls);

}  // namespace protocol_test
