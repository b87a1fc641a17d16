// A record as a list of fields, each filled from one parameter slot: the
// whole record from every field, or the given fields laid over a stored one.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "records/record_fields.h"

namespace quadrel {

struct RecordField {
  int slot;    // the parameter slot that fills it
  int offset;  // from the first byte of the record body
  int size;
};

// Appends the bytes of field `field` (exactly its size) from its slot, an
// empty slot giving zeros or blanks; 0 or a refusal.
using FieldEncoder = std::function<int(const RecordField& field, RecordBytes& out)>;

// Bytes from the first field's offset to the end of the last field.
int RecordSize(std::span<const RecordField> layout);

// Appends every field of `layout` in order.
int BuildRecord(std::span<const RecordField> layout, const FieldEncoder& encode, RecordBytes& out);

// Lays every field whose slot is given over `record`, which holds at least
// RecordSize(layout) bytes.
int OverlayGivenFields(std::span<const RecordField> layout, const FieldEncoder& encode, RecordBytes& record);

}  // namespace quadrel
