// The frames that write one O-file record whose fields the parameter slots
// hold (command 52 and the O-file upload): every field checked first, then a
// whole write, or for a modify the stored record read, the given fields laid
// over it and written back.
#pragma once

#include "records/record_fields.h"

namespace quadrel {

// 0, a class 0x4000 refusal of a field, the register's refusal (a modify of
// a record that is not there included) or an exchange error.
int WriteOFileRecord(bool modify, const ArticleGeometry& geometry);

}  // namespace quadrel
