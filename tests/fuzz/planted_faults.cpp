// A fuzz target with one planted fault, built with the real targets' flags: on
// every input it overflows a signed int (PLANTED_crash) or never returns
// (PLANTED_timeout). Its runs must fail, or no fuzz run could.
#include <climits>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, [[maybe_unused]] std::size_t size) {
#if defined(PLANTED_crash)
  volatile int largest = INT_MAX;
  volatile int sum = largest + static_cast<int>(size % 2) + 1;
  (void)sum;
#elif defined(PLANTED_timeout)
  volatile bool spinning = true;
  while (spinning) {
  }
#endif
  return 0;
}
