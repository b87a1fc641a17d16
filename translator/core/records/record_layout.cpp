#include "records/record_layout.h"

#include <algorithm>

#include "language/command_fields.h"

namespace quadrel {

int RecordSize(std::span<const RecordField> layout) {
  return layout.empty() ? 0 : layout.back().offset + layout.back().size;
}

int BuildRecord(std::span<const RecordField> layout, const FieldEncoder& encode, RecordBytes& out) {
  for (const RecordField& field : layout) {
    if (const int error = encode(field, out)) return error;
  }
  return 0;
}

int OverlayGivenFields(std::span<const RecordField> layout, const FieldEncoder& encode, RecordBytes& record) {
  for (const RecordField& field : layout) {
    if (CommandFields().value[field.slot].empty()) continue;
    RecordBytes bytes;
    if (const int error = encode(field, bytes)) return error;
    std::copy(bytes.begin(), bytes.end(), record.begin() + field.offset);
  }
  return 0;
}

}  // namespace quadrel
