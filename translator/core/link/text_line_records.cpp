#include "link/text_line_records.h"

#include <algorithm>

#include "language/command_field_values.h"
#include "state/ecr_config.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kKeyPrintLine = '8';
constexpr int kDocumentLines = 4;

}  // namespace

std::string PrintLineBytes(std::string_view text) {
  std::string bytes = PcToEcrText(text);
  bytes.resize(
      std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(std::max(0, CurrentRecord().PrintWidth))));
  return bytes;
}

void AddTextLine(KeyRecords& records, std::uint8_t kind, std::uint8_t sub, std::string_view ecrText) {
  std::string field;
  field.push_back(static_cast<char>(kind));
  field.push_back(static_cast<char>(sub));
  field.append(ecrText);
  field.push_back('\0');
  records.Record().TextBytes(field).Key(kKeyPrintLine);
}

void AddDocumentLines(KeyRecords& records, int firstSlot) {
  for (int line = 0; line < kDocumentLines; ++line) {
    const int slot = firstSlot + line;
    if (line > 0 && !FieldGiven(slot)) continue;
    AddTextLine(records, kTextLineDocument, static_cast<std::uint8_t>(line), PrintLineBytes(FieldText(slot)));
  }
}

}  // namespace quadrel
