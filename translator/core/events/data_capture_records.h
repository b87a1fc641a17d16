// Structured data-capture records of the register turned into text lines: the
// record's kind as two digits, then its fields, each edited by
// EditCaptureField. The layouts depend on the register's amount and code widths.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quadrel {

// FormatDataCaptureRecord modes.
constexpr int CAPTURE_MODE_HEX = 0;      // the record as uppercase hex, nothing else
constexpr int CAPTURE_MODE_FIELDS = 1;   // kind and fields
constexpr int CAPTURE_MODE_FLAGGED = 2;  // kind and fields with the flag digit

// Appends the text of `record` for register `ecr` (its configuration record,
// or slot 0 when that is not valid) and returns `dst`. A record too short for
// the fields of its kind appends nothing. Modes other than 0 and 2 edit as 1.
std::string& FormatDataCaptureRecord(int ecr, std::string& dst, std::span<const std::uint8_t> record,
                                     int mode);

}  // namespace quadrel
