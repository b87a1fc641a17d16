// The server process's life: every live object and every LockServer(TRUE)
// holds it; when the last hold goes in a process that COM started, the
// message loop is told to end.
#pragma once

#include <windows.h>

namespace ravelin {

// `endWhenUnused`: post WM_QUIT to `thread` when the count falls to zero.
void InitServerModule(DWORD thread, bool endWhenUnused);
void LockServerModule();
void UnlockServerModule();
long ServerModuleLocks();

// The type information of ITallisInterface from the program's own type
// library; null when it cannot be loaded. Not AddRef'd.
ITypeInfo* TallisTypeInfo();

}  // namespace ravelin
