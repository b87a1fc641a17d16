// Parses arbitrary command lines against a small vocabulary: normalisation,
// the command word, the parameters and the separator fields. The first byte
// picks the quote character so quoting is explored with more than one.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "language/command_fields.h"
#include "language/command_line.h"
#include "language/command_word.h"
#include "language/definition_file.h"
#include "language/field_parser.h"
#include "state/library_state.h"

namespace {

constexpr const char* kVocabulary =
    "[OPCOD]\n1=ALPHA\n2=ALPHA2\n5=SELECT\n10=PAGA,12\n12=PAY\n"
    "[5]\n1=ECR,O\n2=MODE\n3=MODEL\n4=TEXT\n5=DESCR,4\n"
    "[12]\n1=AMOUNT\n2=QTY\n"
    "[EQU]\nEUR=978\nMINUS=-5\n[EQUTASTI]\nCASH=40\n";

bool LoadVocabulary() {
  const std::string path = "/tmp/quadrel_fuzz_cmd_" + std::to_string(::getpid()) + ".ini";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fputs(kVocabulary, file);
  std::fclose(file);
  const bool loaded = quadrel::LoadDefinitionFile(path);
  std::remove(path.c_str());
  return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quadrel;
  static const bool loaded = LoadVocabulary();
  if (!loaded) __builtin_trap();
  if (size == 0) return 0;
  static constexpr char kQuotes[] = {'\'', '"', '\0'};
  Library().options.QuoteChar = kQuotes[data[0] % 3];
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::string line;
  if (NormalizeLine(line, input) > kMaxCommandLineLength) __builtin_trap();
  std::size_t position = 0;
  int command = 0;
  if (FindCommandWord(line, position, command) == kCommandWordFound) {
    if (command < 1 || command > 149 || position > line.size()) __builtin_trap();
    FillCommandFields(line, command, position);
    for (const std::string& slot : CommandFields().value) {
      if (slot.size() > kMaxFieldValueLength) __builtin_trap();
    }
  }

  // The raw input as separator fields: every call must make progress.
  std::size_t fieldPosition = 0;
  std::string field;
  bool quoted = false;
  while (NextField(input, fieldPosition, field, quoted) == kNextFieldOk) {
    if (fieldPosition > input.size() || field.size() > input.size()) __builtin_trap();
  }
  return 0;
}
