// COM round trips of the product server: EcrCmd of a cheap command (command
// 4, one status frame to the simulator) against a plain property read, both
// late-bound from another process. Prints microseconds a call and the ratio.
//   tallis_com_bench [calls]   (the ecrsim fixture running; Ravelin registered)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "com/tallis_client.h"
#include "protocol/protocol_test_support.h"

namespace {

double MicrosecondsPerCall(int calls, const std::function<void()>& call) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < calls; ++i) call();
  QueryPerformanceCounter(&end);
  return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart) / calls;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tallis_test;
  const int calls = argc > 1 ? std::atoi(argv[1]) : 500;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  protocol_test::PortKey key(973, protocol_test::EthernetPortValues(protocol_test::FixturePorts().wire));
  TTallisClient client;
  if (FAILED(client.Create())) return 1;
  auto* events = new TEventRecorder;
  client.SetNumber(10, 973);
  if (client.OpenService(events) != 0) return 2;
  std::wstring answer;
  if (client.EcrCmd(L"NULLA", answer) != 0) return 3;
  const double property = MicrosecondsPerCall(calls, [&] { client.Number(8); });
  const double command = MicrosecondsPerCall(calls, [&] { client.EcrCmd(L"NULLA", answer); });
  std::printf("property read %.1f us, EcrCmd NULLA %.1f us, ratio %.1f (%d calls each)\n", property,
              command, command / property, calls);
  client.Close();
  client.Reset();
  events->Release();
  return 0;
}
