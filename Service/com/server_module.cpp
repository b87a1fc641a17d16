#include "com/server_module.h"

#include <oleauto.h>

#include "com/tallis_codes.h"

namespace ravelin {
namespace {

DWORD g_thread = 0;
bool g_endWhenUnused = false;
long g_locks = 0;

}  // namespace

void InitServerModule(DWORD thread, bool endWhenUnused) {
  g_thread = thread;
  g_endWhenUnused = endWhenUnused;
}

void LockServerModule() { InterlockedIncrement(&g_locks); }

void UnlockServerModule() {
  if (InterlockedDecrement(&g_locks) == 0 && g_endWhenUnused && g_thread)
    PostThreadMessageW(g_thread, WM_QUIT, 0, 0);
}

long ServerModuleLocks() { return g_locks; }

ITypeInfo* TallisTypeInfo() {
  static ITypeInfo* typeInfo = [] {
    wchar_t path[MAX_PATH];
    ITypeLib* library = nullptr;
    ITypeInfo* info = nullptr;
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return info;
    if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library))) return info;
    library->GetTypeInfoOfGuid(kDiidTallisInterface, &info);
    library->Release();
    return info;
  }();
  return typeInfo;
}

}  // namespace ravelin
