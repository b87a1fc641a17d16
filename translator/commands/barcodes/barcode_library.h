// The barcode library (zint), bound by file name at attach. The library still
// works without it; only the zint-rendered barcode kinds are then unavailable.
#pragma once

namespace quadrel {

// Entry points, in the order they are resolved. zint's functions are cdecl.
struct BarcodeLibrary {
  void* module = nullptr;
  void* ZBarcode_Create = nullptr;
  void* ZBarcode_Encode_and_Buffer = nullptr;
  void* ZBarcode_Delete = nullptr;
  void* ZBarcode_Print = nullptr;
  void* ZBarcode_Buffer = nullptr;
  void* ZBarcode_Encode = nullptr;
  void* ZBarcode_Encode_File = nullptr;
  void* ZBarcode_Encode_File_and_Print = nullptr;
  void* ZBarcode_Encode_and_Print = nullptr;
  bool available = false;  // the library and all nine entry points were found
};

constexpr int kBarcodeBound = 0;
constexpr int kBarcodeEntryMissing = -1;
constexpr int kBarcodeLibraryMissing = -3;

// Loads "zint.dll" (or the given file) and resolves the nine entry points.
int BindBarcodeLibrary(const char* fileName = "zint.dll");
const BarcodeLibrary& Barcodes();

}  // namespace quadrel
