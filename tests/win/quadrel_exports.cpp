#include "quadrel_exports.h"

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
  return Bind(module, "TradInit", TradInit) && Bind(module, "TradClose", TradClose) &&
         Bind(module, "GetEnableTradDC", GetEnableTradDC) && Bind(module, "SetEnableTradDC", SetEnableTradDC) &&
         Bind(module, "GetQuoteChar", GetQuoteChar) && Bind(module, "SetQuoteChar", SetQuoteChar) &&
         Bind(module, "GetSeparatorChar", GetSeparatorChar) &&
         Bind(module, "SetSeparatorChar", SetSeparatorChar) &&
         Bind(module, "GetOutEditOptions", GetOutEditOptions) &&
         Bind(module, "SetOutEditOptions", SetOutEditOptions) && Bind(module, "EcrCmd", EcrCmd) &&
         Bind(module, "GetEcrConfVal", GetEcrConfVal) && Bind(module, "GetEcrConfStr", GetEcrConfStr);
}

void QuadrelExports::Unload() {
  if (module) FreeLibrary(module);
  module = nullptr;
}
