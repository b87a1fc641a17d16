#include "dll/quadrel_exports.h"

namespace {

template <typename Proc>
bool Bind(HMODULE module, const char* name, Proc& proc) {
  proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return proc != nullptr;
}

}  // namespace

bool QuadrelExports::Load() {
  module = LoadLibraryA("Quadrel.dll");
  if (!module) return false;
  // Every export of the list, as the service object binds them.
#define BIND_EXPORT(result, name, parameters) &&Bind(module, #name, name)
  return true QUADREL_EXPORTS(BIND_EXPORT);
#undef BIND_EXPORT
}

void QuadrelExports::Unload() {
  if (module) FreeLibrary(module);
  module = nullptr;
}
