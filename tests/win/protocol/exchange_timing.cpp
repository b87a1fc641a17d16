#include "protocol/exchange_timing.h"

#include <cstdint>

namespace protocol_test {

double MicrosecondsPerCall(int calls, const std::function<void()>& call) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < calls; ++i) call();
  QueryPerformanceCounter(&end);
  return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) /
         calls;
}

double StatusExchangeMicroseconds(ProtocolLibrary& library, int calls) {
  std::uint8_t frame[] = {'S'};
  std::uint8_t answer[512];
  return MicrosecondsPerCall(calls, [&] {
    int length = sizeof answer;
    int detail = 0;
    library.EcrIO(1, 3, frame, sizeof frame, answer, &length, &detail);
  });
}

}  // namespace protocol_test
