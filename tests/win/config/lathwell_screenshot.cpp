// Puts Lathwell's form in the edit state of a sample RS-485 port, with the
// single-port AutoRun group shown, for a screenshot:
// writes the form's place on the screen ("WxH+X+Y") into READY_FILE, waits
// (bounded) for QUIT_FILE, then cancels and closes the form.
//   lathwell_screenshot READY_FILE QUIT_FILE
#include <windows.h>

#include <cstdio>

#include "interfaces/registry.h"
#include "lathwell_window.h"
#include "port_form_ids.h"
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
  const std::string settings = registry::kDriverKey;
  const lathwell_test::SettingValue autoRun(HKEY_CURRENT_USER, settings, "AutoRun", "940");
  const lathwell_test::SettingValue commandFile(HKEY_CURRENT_USER, settings, "AutoRun CommandFile",
                                                "c:\\spool\\cassa1.txt");
  const lathwell_test::SettingValue errorsFile(HKEY_CURRENT_USER, settings, "AutoRun ErrorsFile",
                                               "c:\\spool\\cassa1.err");
  const lathwell_test::SettingValue spooler(HKEY_LOCAL_MACHINE, settings, "EnableSpoolerAutoRun", "0");
  lathwell_test::LathwellWindow lathwell;
  if (lathwell.Form() == nullptr) return 1;
  lathwell.TypePort("940");
  lathwell.Click(IDC_MODIFY);

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
