#include "commands/barcodes/barcode_library.h"

#include "platform/platform.h"

namespace quadrel {
namespace {

BarcodeLibrary library;

}  // namespace

int BindBarcodeLibrary(const char* fileName) {
  library = BarcodeLibrary{};
  library.module = platform::LoadLibraryFile(fileName);
  if (!library.module) return kBarcodeLibraryMissing;

  struct Entry {
    const char* name;
    void** slot;
  };
  const Entry entries[] = {
      {"ZBarcode_Create", &library.ZBarcode_Create},
      {"ZBarcode_Encode_and_Buffer", &library.ZBarcode_Encode_and_Buffer},
      {"ZBarcode_Delete", &library.ZBarcode_Delete},
      {"ZBarcode_Print", &library.ZBarcode_Print},
      {"ZBarcode_Buffer", &library.ZBarcode_Buffer},
      {"ZBarcode_Encode", &library.ZBarcode_Encode},
      {"ZBarcode_Encode_File", &library.ZBarcode_Encode_File},
      {"ZBarcode_Encode_File_and_Print", &library.ZBarcode_Encode_File_and_Print},
      {"ZBarcode_Encode_and_Print", &library.ZBarcode_Encode_and_Print},
  };
  for (const Entry& entry : entries) {
    *entry.slot = platform::FindLibrarySymbol(library.module, entry.name);
    if (!*entry.slot) return kBarcodeEntryMissing;  // the first missing one ends the binding
  }
  library.available = true;
  return kBarcodeBound;
}

const BarcodeLibrary& Barcodes() { return library; }

ZintCalls BoundZintCalls() {
  if (!library.available) return {};
  return {reinterpret_cast<zint_symbol* (*)()>(library.ZBarcode_Create),
          reinterpret_cast<int (*)(zint_symbol*, const unsigned char*, int)>(library.ZBarcode_Encode),
          reinterpret_cast<int (*)(zint_symbol*, int)>(library.ZBarcode_Buffer),
          reinterpret_cast<void (*)(zint_symbol*)>(library.ZBarcode_Delete)};
}

}  // namespace quadrel
