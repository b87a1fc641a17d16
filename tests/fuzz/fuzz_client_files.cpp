// The files a client or the spool folder hands the translator, fuzzed: the
// first byte picks the kind, the rest is the file, run by its command against
// the simulated register (logos and barcodes on): a batch file (the "@"
// request with its errors file, as AutoRun runs it), article and O-file upload
// files, logo .GRA and .BIN files and a barcode data file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "commands/barcodes/barcode_library.h"
#include "control/control_commands.h"
#include "translator_host.h"

namespace {

struct FileKind {
  const char* name;
  const char* line;
};

constexpr FileKind kKinds[] = {
    {"spool.dat", "@'spool.dat','errors.txt'"},
    {"articles.txt", "TRASFER MODO='UA', FILE='articles.txt', LOG='log.txt'"},
    {"ofiles.txt", "TRASFER MODO='UO', FILE='ofiles.txt', LOG='log.txt'"},
    {"logo.gra", "LOGO NUMERO=2, FILE='logo.gra'"},
    {"logo.bin", "LOGO FILE='logo.bin', IMPOSTA"},
    {"qrcode.txt", "STAMPA FILEDATI='qrcode.txt', CODBARRE=158"},
    {"code128.txt", "DOCSTAMPA FILEDATI='code128.txt', CODBARRE=120"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool bound = quadrel::BindBarcodeLibrary() == quadrel::kBarcodeBound;
  if (!bound) std::abort();
  if (size == 0) return 0;
  const FileKind& kind = kKinds[data[0] % std::size(kKinds)];
  fuzz::TranslatorHost host;
  if (ecrsim::RunControlLine(host.sim, "set 1 feature 50 1") != "OK\n") std::abort();
  std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
  // A batch file's own lines name files in the private folder only, as Run's do.
  if (kind.line[0] == '@')
    for (char& c : file)
      if (c == '/' || c == '\\') c = '_';
  std::ofstream(kind.name, std::ios::binary) << file;
  host.Run(kind.line);
  return 0;
}
