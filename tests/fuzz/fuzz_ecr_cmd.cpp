// Whole command lines through EcrCmd against the simulated register, with the
// shipped definitions: every handler's parameter checks, its frames and its
// files. The input is up to 16 lines of the command language; the dictionary
// holds the definitions file's command, field and value words.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "translator_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr int kMaxLines = 16;
  fuzz::TranslatorHost host;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  for (int line = 0; line < kMaxLines && !input.empty(); ++line) {
    const std::size_t end = input.find('\n');
    host.Run(std::string(input.substr(0, end)));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  }
  return 0;
}
