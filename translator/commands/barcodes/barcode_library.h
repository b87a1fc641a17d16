// The barcode library (zint), bound by file name at attach. The library still
// works without it; only the zint-rendered barcode kinds are then unavailable.
#pragma once

struct zint_symbol;

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

// The file bound at attach: the shipped zint.dll, or Debian's zint natively.
#ifdef _WIN32
constexpr const char* kBarcodeLibraryFile = "zint.dll";
#else
constexpr const char* kBarcodeLibraryFile = "libzint.so.2.11";
#endif

// Loads the barcode library (or the given file) and resolves the nine entry points.
int BindBarcodeLibrary(const char* fileName = kBarcodeLibraryFile);
const BarcodeLibrary& Barcodes();

// The four calls the zint-rendered barcodes make.
struct ZintCalls {
  zint_symbol* (*create)() = nullptr;
  int (*encode)(zint_symbol* symbol, const unsigned char* data, int length) = nullptr;
  int (*buffer)(zint_symbol* symbol, int rotationDegrees) = nullptr;
  void (*destroy)(zint_symbol* symbol) = nullptr;
};

// The bound library's calls; all null when it is not available.
ZintCalls BoundZintCalls();

}  // namespace quadrel
