// A client that opens the port and dies without Close or Release, as a
// crashing point-of-sale program does. Exit code 3 once the port was open.
#include <windows.h>

#include "com/tallis_client.h"

int main() {
  using namespace tallis_test;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TTallisClient client;
  if (FAILED(client.Create())) return 1;
  auto* events = new TEventRecorder;
  client.SetNumber(10, 1);
  if (client.OpenService(events) != 0) return 2;
  TerminateProcess(GetCurrentProcess(), 3);
  return 4;
}
