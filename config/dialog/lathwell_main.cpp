// Lathwell.exe: the configuration form of the driver settings.
#include <windows.h>

#include "dialog/port_form_dialog.h"
#include "dialog/win32_registry.h"
#include "dialog/win32_service_runner.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  lathwell::Win32Registry registry;
  lathwell::Win32ServiceRunner services;
  lathwell::RunPortFormDialog(instance, registry, services);
  return 0;
}
