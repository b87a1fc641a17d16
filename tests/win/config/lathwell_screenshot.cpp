// Puts Lathwell's form in the edit state of a sample RS-485 port, with the
// single-port AutoRun group shown, for a screenshot:
// writes the form's place on the screen ("WxH+X+Y") into READY_FILE, waits
// (bounded) for QUIT_FILE, then cancels and closes the form.
//   lathwell_screenshot READY_FILE QUIT_FILE
#include <windows.h>

#include <cstdio>

#include "dialog/port_form_ids.h"
#include "lathwell_window.h"
#include "protocol/protocol_test_support.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  protocol_test::PortKey port(940, {{"", "Cassa banco 1"},
                                    {"PortType", "RS485"},
                                    {"NetDef", "110100000000000000000001"},
                                    {"EcrProt", "50187"},
                                    {"Port", "COM2"},
                                    {"Speed", "9600"},
                                    {"OnLine", "1"},
                                    {"LogLevel", "1"}});
  lathwell_test::LathwellWindow lathwell;
  if (lathwell.Form() == nullptr) return 1;
  lathwell.TypePort("940");
  lathwell.Click(IDC_MODIFY);
  // Typed, never stored: a running Ravelin would take the user's settings up.
  lathwell.Click(IDC_AUTO_RUN);
  lathwell.SetText(IDC_AUTO_RUN_PORT, "940");
  lathwell.SetText(IDC_AUTO_RUN_COMMAND_FILE, "c:\\spool\\cassa1.txt");
  lathwell.SetText(IDC_AUTO_RUN_ERRORS_FILE, "c:\\spool\\cassa1.err");

  RECT place{};
  GetWindowRect(lathwell.Form(), &place);
  FILE* ready = std::fopen(argv[1], "w");
  if (ready == nullptr) return 1;
  std::fprintf(ready, "%ldx%ld+%ld+%ld\n", place.right - place.left, place.bottom - place.top, place.left,
               place.top);
  std::fclose(ready);

  for (int waited = 0; waited < 300 && GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES; ++waited)
    Sleep(100);
  lathwell.Click(IDC_CANCEL_EDIT);
  std::printf("exit 0\n");
  return 0;
}
