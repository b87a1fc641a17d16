// COM round trips of the product server: EcrCmd of a cheap command (command
// 4: the readiness check and the status frame, two exchanges with the
// simulator) against a plain property read, both late-bound from another
// process; and, for the floor under the command, one 'S' exchange of the
// protocol library loaded in this process. Prints microseconds a call and the
// ratio of command to property read.
//   tallis_com_bench [calls]   (the ecrsim fixture running; Ravelin registered)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "com/tallis_client.h"
#include "protocol/exchange_timing.h"
#include "protocol/protocol_test_support.h"

namespace {

constexpr int kLinkPort = 974;

// One status frame through the protocol library of this process, on a port
// of its own; 0 when the library or the port is not there.
double LinkExchangeMicroseconds(int calls) {
  protocol_test::PortKey key(kLinkPort, protocol_test::EthernetPortValues(protocol_test::FixturePorts().wire));
  protocol_test::ProtocolLibrary library;
  if (!library.Load("Sarnel.dll") || library.OpenProt(key.path().c_str(), "") != 1) return 0;
  const double us = protocol_test::StatusExchangeMicroseconds(library, calls);
  library.CloseProt(0);
  return us;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tallis_test;
  using protocol_test::MicrosecondsPerCall;
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
  const double link = LinkExchangeMicroseconds(calls);
  std::printf("property read %.1f us, EcrCmd NULLA %.1f us, ratio %.2f; link exchange %.1f us (%d calls each)\n",
              property, command, command / property, link, calls);
  client.Close();
  client.Reset();
  events->Release();
  return 0;
}
